#include "live/session.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <vector>

#include "compiler/compile.hpp"
#include "files/file_error.hpp"
#include "files/stores.hpp"
#include "live/result_json.hpp"
#include "report/diagnostic_json.hpp"
#include "report/json_writer.hpp"

namespace scenario::live {

namespace {

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

bool has_error(const std::vector<diagnostic>& diagnostics) {
    return std::any_of(diagnostics.begin(), diagnostics.end(),
                       [](const diagnostic& d) { return d.level == severity::error; });
}

// A document that could not be read, as a diagnostic of no number at its place.
diagnostic read_failure(const file_error& e) {
    diagnostic d;
    d.document = e.path();
    d.message = e.reason();
    if (const auto* text = dynamic_cast<const document_text_error*>(&e)) {
        d.line = text->line();
        d.column = text->column();
        d.end_column = text->column();
    }
    return d;
}

}  // namespace

compile_session::compile_session(session_options options) : options_(std::move(options)) {}

compile_session::~compile_session() = default;

bool compile_session::compile() {
    if (!exists(options_.line_path) || !exists(options_.train_path)) {
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    auto stato = std::make_unique<run_state>();
    stato->nome_scenario = options_.scenario;
    stato->nome_treno = options_.train;
    tool_store store;
    bool read = true;
    std::int32_t fatal = 0;
    try {
        give_documents(store, options_.scenario, options_.train, options_.line_path,
                       options_.train_path, options_.encoding);
    } catch (const file_error& e) {
        stato->diagnostics.push_back(read_failure(e));
        read = false;
    }
    if (read) {
        fatal = compile_scenario(*stato, store, options_.plan ? 1 : 0);
    }
    const double compile_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();

    ++generation_;
    const bool ok = read && fatal == 0 && !has_error(stato->diagnostics);
    const document_paths paths = [&](const std::string& name) { return store.path_of(name); };
    const document_pair documents{options_.line_path, options_.train_path};

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
        json.member("line", options_.line_path);
        json.member("train", options_.train_path);
        json.end_object();
        json.key("diagnostics");
        json.begin_array();
        for (const diagnostic& d : stato->diagnostics) {
            write_error_json(d, paths, json);
        }
        json.end_array();
        if (ok) {
            write_drawing(*stato, generation_, false, stato->diagnostics, options_.plan,
                          documents, json);
        } else if (last_good_) {
            // The last good model with this compile's errors marked on it.
            write_drawing(*last_good_, last_good_generation_, true, stato->diagnostics,
                          options_.plan, documents, json);
        } else if (read) {
            // Nothing good yet: the compile as it stands, as "scenario render" draws it.
            write_drawing(*stato, generation_, false, stato->diagnostics, options_.plan,
                          documents, json);
        } else {
            json.member_null("drawing");
        }
        write_status(*stato, read && fatal == 0, json);
        json.end_object();
    }
    result_ = std::make_shared<const std::string>(std::move(text).str());
    ok_ = ok;
    compile_ms_ = compile_ms;
    errors_ = static_cast<std::size_t>(
        std::count_if(stato->diagnostics.begin(), stato->diagnostics.end(),
                      [](const diagnostic& d) { return d.level == severity::error; }));
    warnings_ = static_cast<std::size_t>(
        std::count_if(stato->diagnostics.begin(), stato->diagnostics.end(),
                      [](const diagnostic& d) { return d.level == severity::warning; }));
    if (ok) {
        last_good_ = std::move(stato);
        last_good_generation_ = generation_;
    }
    return true;
}

}  // namespace scenario::live
