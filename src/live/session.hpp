#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "compiled/compiled_scenario.hpp"

namespace scenario::live {

// The compiles of one live session and their latest result, as the JSON text of
// docs/live.md. Each compile reads both documents afresh (the request names them); the
// last compile without an error is kept, so that a broken save still shows the last good
// drawing (marked stale, with the new errors marked on it).
class compile_session {
  public:
    explicit compile_session(compile_request request);
    ~compile_session();
    compile_session(const compile_session&) = delete;
    compile_session& operator=(const compile_session&) = delete;

    // Reads and compiles both documents and makes the result the latest. Returns
    // false and changes nothing when a document does not exist: an editor is replacing
    // it, and the watcher calls again once it is back. Whatever the documents hold, it
    // never throws for them: what cannot be read or held is a diagnostic.
    bool compile();

    // The number of the latest compile (1 for the first), 0 before any.
    std::uint64_t generation() const { return generation_; }
    // The latest result's JSON; shared, so that a response can keep it while it is sent.
    std::shared_ptr<const std::string> result() const { return result_; }
    const compile_request& request() const { return request_; }
    // Of the latest compile: whether it had no error, its diagnostics' counts, its time.
    bool ok() const { return ok_; }
    std::size_t errors() const { return counts_.errors; }
    std::size_t warnings() const { return counts_.warnings; }
    double compile_ms() const { return compile_ms_; }

  private:
    compile_request request_;
    std::uint64_t generation_ = 0;
    std::shared_ptr<const std::string> result_;
    bool ok_ = false;
    diagnostic_counts counts_;
    double compile_ms_ = 0;
    // The last compile without an error (none yet: null) and its generation.
    std::unique_ptr<compiled_scenario> last_good_;
    std::uint64_t last_good_generation_ = 0;
};

}  // namespace scenario::live
