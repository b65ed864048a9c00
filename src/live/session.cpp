#include "live/session.hpp"

#include <chrono>
#include <filesystem>

#include "live/result_json.hpp"
#include "report/diagnostic_json.hpp"
#include "report/json_writer.hpp"

namespace scenario::live {

namespace {

// Details of windows kept for the pages that ask again.
constexpr std::size_t kept_details = 32;

bool exists(const std::optional<document_source>& source) {
    std::error_code ec;
    return source && std::filesystem::exists(source->path, ec);
}

}  // namespace

compile_session::compile_session(compile_request request) : request_(std::move(request)) {}

compile_session::~compile_session() = default;

bool compile_session::compile() {
    if (!exists(request_.line) || !exists(request_.train_document)) {
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    auto compiled = std::make_shared<const compiled_scenario>(scenario::compile(request_));
    const double compile_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();

    const std::uint64_t generation = generation_ + 1;
    const bool ok = compiled->read() && compiled->counts.errors == 0;
    const document_paths paths = [&](const std::string& name) { return compiled->path_of(name); };
    const std::span<const diagnostic> diagnostics = compiled->state.diagnostics;

    std::vector<part> parts;
    parts.push_back({"documents", json_text([&](json_writer& json) {
                         json.begin_object();
                         json.member("line", compiled->line_path);
                         json.member("train", compiled->train_path);
                         json.end_object();
                     })});
    parts.push_back({"diagnostics", json_text([&](json_writer& json) {
                         json.begin_array();
                         for (const diagnostic& d : diagnostics) {
                             write_error_json(d, paths, json);
                         }
                         json.end_array();
                     })});
    parts.push_back(
        {"status", json_text([&](json_writer& json) { write_status(*compiled, json); })});

    // The drawing: this compile's when it had no error; else the last good one, stale,
    // with this compile's errors marked on it; else, nothing good yet, this compile as
    // "scenario render" draws it; none when the documents could not be read. The
    // timetable is of the same model.
    std::shared_ptr<const live_drawing> drawing;
    const compiled_scenario* shown = nullptr;
    if (ok || (!last_good_ && compiled->read())) {
        drawing = std::make_shared<const live_drawing>(compiled, diagnostics, generation, false,
                                                       drawing_.get());
        shown = compiled.get();
    } else if (last_good_) {
        drawing = std::make_shared<const live_drawing>(last_good_, diagnostics,
                                                       last_good_generation_, true, drawing_.get());
        shown = last_good_.get();
    }
    parts.push_back({"timetable", json_text([&](json_writer& json) {
                         if (shown != nullptr) {
                             write_timetable(*shown, request_.timetable, json);
                         } else {
                             json.null();
                         }
                     })});

    // Against the result before: the parts that changed, the drawing's changes.
    if (generation_ != 0) {
        changes_ = std::make_shared<const std::string>(json_text([&](json_writer& json) {
            json.begin_object();
            json.member("generation", static_cast<std::int64_t>(generation));
            json.member("since", static_cast<std::int64_t>(generation_));
            json.key("ok");
            json.boolean(ok);
            json.key("compile_ms");
            json.number(compile_ms);
            for (std::size_t i = 0; i < parts.size(); ++i) {
                if (i >= parts_.size() || parts_[i].json != parts[i].json) {
                    json.key(parts[i].name);
                    json.raw_value(parts[i].json);
                }
            }
            if (drawing && drawing_) {
                json.key("drawing_changes");
                drawing->write_changes(*drawing_, json);
            } else if (drawing) {
                json.key("drawing");
                drawing->write(json);
            } else if (drawing_) {
                json.member_null("drawing");
            }
            json.end_object();
        }));
    }

    generation_ = generation;
    ok_ = ok;
    compile_ms_ = compile_ms;
    counts_ = compiled->counts;
    parts_ = std::move(parts);
    drawing_ = std::move(drawing);
    result_.reset();
    details_.clear();
    if (ok) {
        last_good_ = std::move(compiled);
        last_good_generation_ = generation;
    }
    return true;
}

std::shared_ptr<const std::string> compile_session::result() const {
    if (!result_ && generation_ != 0) {
        result_ = std::make_shared<const std::string>(json_text([&](json_writer& json) {
            json.begin_object();
            json.member("generation", static_cast<std::int64_t>(generation_));
            json.key("ok");
            json.boolean(ok_);
            json.key("compile_ms");
            json.number(compile_ms_);
            for (const part& p : parts_) {
                json.key(p.name);
                json.raw_value(p.json);
            }
            json.key("drawing");
            if (drawing_) {
                drawing_->write(json);
            } else {
                json.null();
            }
            json.end_object();
        }));
    }
    return result_;
}

std::shared_ptr<const std::string> compile_session::changes_since(std::uint64_t since) const {
    return since + 1 == generation_ ? changes_ : nullptr;
}

std::shared_ptr<const std::string> compile_session::detail(metre_range window) const {
    if (!drawing_) {
        return nullptr;
    }
    for (auto it = details_.begin(); it != details_.end(); ++it) {
        if (it->from == window.from && it->to == window.to) {
            details_.splice(details_.begin(), details_, it);  // the most recent first
            return details_.front().json;
        }
    }
    auto json = std::make_shared<const std::string>(
        json_text([&](json_writer& w) { drawing_->write_detail(window, w); }));
    details_.push_front({window.from, window.to, json});
    if (details_.size() > kept_details) {
        details_.pop_back();
    }
    return json;
}

}  // namespace scenario::live
