#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/run_state.hpp"
#include "text/windows1252.hpp"

namespace scenario::live {

// What the live server compiles: the two documents as the user named them and the
// options a compile takes.
struct session_options {
    std::string line_path;
    std::string train_path;
    std::string scenario;  // the scenario and train names the compiler asks for
    std::string train;
    bool plan = true;
    text_encoding encoding = text_encoding::windows_1252;
};

// The compiles of one live session and their latest result, as the JSON text of
// docs/live.md. Each compile reads both documents afresh; the last compile without
// an error is kept, so that a broken save still shows the last good drawing (marked
// stale, with the new errors marked on it).
class compile_session {
  public:
    explicit compile_session(session_options options);
    ~compile_session();
    compile_session(const compile_session&) = delete;
    compile_session& operator=(const compile_session&) = delete;

    // Reads and compiles both documents and makes the result the latest. Returns
    // false and changes nothing when a document does not exist: an editor is replacing
    // it, and the watcher calls again once it is back.
    bool compile();

    // The number of the latest compile (1 for the first), 0 before any.
    std::uint64_t generation() const { return generation_; }
    // The latest result's JSON; shared, so that a response can keep it while it is sent.
    std::shared_ptr<const std::string> result() const { return result_; }
    const session_options& options() const { return options_; }
    // Of the latest compile: whether it had no error, its diagnostics' counts, its time.
    bool ok() const { return ok_; }
    std::size_t errors() const { return errors_; }
    std::size_t warnings() const { return warnings_; }
    double compile_ms() const { return compile_ms_; }

  private:
    session_options options_;
    std::uint64_t generation_ = 0;
    std::shared_ptr<const std::string> result_;
    bool ok_ = false;
    std::size_t errors_ = 0;
    std::size_t warnings_ = 0;
    double compile_ms_ = 0;
    // The last compile without an error (none yet: null) and its generation.
    std::unique_ptr<run_state> last_good_;
    std::uint64_t last_good_generation_ = 0;
};

}  // namespace scenario::live
