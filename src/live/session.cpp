#include "live/session.hpp"

#include <chrono>
#include <filesystem>
#include <sstream>

#include "live/result_json.hpp"
#include "report/diagnostic_json.hpp"
#include "report/json_writer.hpp"

namespace scenario::live {

namespace {

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
    auto compiled = std::make_unique<compiled_scenario>(scenario::compile(request_));
    const double compile_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();

    ++generation_;
    const bool ok = compiled->read() && compiled->counts.errors == 0;
    const document_paths paths = [&](const std::string& name) { return compiled->path_of(name); };
    const std::span<const diagnostic> diagnostics = compiled->state.diagnostics;

    std::ostringstream text;
    {
        json_writer json(text);
        json.begin_object();
        json.member("generation", static_cast<std::int64_t>(generation_));
        json.key("ok");
        json.boolean(ok);
        json.key("compile_ms");
        json.number(compile_ms);
        json.key("documents");
        json.begin_object();
        json.member("line", compiled->line_path);
        json.member("train", compiled->train_path);
        json.end_object();
        json.key("diagnostics");
        json.begin_array();
        for (const diagnostic& d : diagnostics) {
            write_error_json(d, paths, json);
        }
        json.end_array();
        // The drawing and the timetable show the same model.
        const compiled_scenario* shown = nullptr;
        if (ok) {
            shown = compiled.get();
            write_drawing(*compiled, generation_, false, diagnostics, json);
        } else if (last_good_) {
            // The last good model with this compile's errors marked on it.
            shown = last_good_.get();
            write_drawing(*last_good_, last_good_generation_, true, diagnostics, json);
        } else if (compiled->read()) {
            // Nothing good yet: the compile as it stands, as "scenario render" draws it.
            shown = compiled.get();
            write_drawing(*compiled, generation_, false, diagnostics, json);
        } else {
            json.member_null("drawing");
        }
        if (shown != nullptr) {
            write_timetable(*shown, request_.timetable, json);
        } else {
            json.member_null("timetable");
        }
        write_status(*compiled, json);
        json.end_object();
    }
    result_ = std::make_shared<const std::string>(std::move(text).str());
    ok_ = ok;
    compile_ms_ = compile_ms;
    counts_ = compiled->counts;
    if (ok) {
        last_good_ = std::move(compiled);
        last_good_generation_ = generation_;
    }
    return true;
}

}  // namespace scenario::live
