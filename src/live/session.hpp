#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "compiled/compiled_scenario.hpp"
#include "live/drawing.hpp"

namespace scenario::live {

// The compiles of one live session and their latest result, as the JSON texts of
// docs/live.md: the whole result, what changed since the result before, and the detail of
// a window of its drawing. Each compile reads both documents afresh (the request names
// them); the last compile without an error is kept, so that a broken save still shows the
// last good drawing (marked stale, with the new errors marked on it).
//
// A result is made of parts, each one member of its JSON object written once per compile;
// a part that has not changed since the result before is left out of the changes.
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
    // The latest result's JSON, whole; shared, so that a response can keep it while it is
    // sent. Made when first asked for.
    std::shared_ptr<const std::string> result() const;
    // What changed from the result of generation `since` to the latest one (docs/live.md,
    // "Changes"), when `since` is the generation before it; else null (the whole result is
    // the answer).
    std::shared_ptr<const std::string> changes_since(std::uint64_t since) const;
    // The detail of a window of the latest drawing (GET /detail); null when there is no
    // drawing. The last few are kept.
    std::shared_ptr<const std::string> detail(metre_range window) const;

    const compile_request& request() const { return request_; }
    // Of the latest compile: whether it had no error, its diagnostics' counts, its time.
    bool ok() const { return ok_; }
    std::size_t errors() const { return counts_.errors; }
    std::size_t warnings() const { return counts_.warnings; }
    double compile_ms() const { return compile_ms_; }

  private:
    // One member of a result: its name and its value as JSON text.
    struct part {
        std::string name;
        std::string json;
    };

    compile_request request_;
    std::uint64_t generation_ = 0;
    bool ok_ = false;
    diagnostic_counts counts_;
    double compile_ms_ = 0;
    // The latest result: its members but the drawing, and the drawing (null: none).
    std::vector<part> parts_;
    std::shared_ptr<const live_drawing> drawing_;
    // The changes from the result before to the latest one (null after the first).
    std::shared_ptr<const std::string> changes_;
    // The last compile without an error (none yet: null) and its generation.
    std::shared_ptr<const compiled_scenario> last_good_;
    std::uint64_t last_good_generation_ = 0;
    // Made on request and kept: the whole result, and the last details asked for.
    mutable std::shared_ptr<const std::string> result_;
    struct kept_detail {
        std::int64_t from;
        std::int64_t to;
        std::shared_ptr<const std::string> json;
    };
    mutable std::list<kept_detail> details_;
};

}  // namespace scenario::live
