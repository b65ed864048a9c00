#include "language/server.hpp"

#include <algorithm>

#include "language/params.hpp"
#include "language/request_error.hpp"
#include "language/to_json.hpp"

namespace scenario::language {

using json = nlohmann::json;

scenario_methods::scenario_methods(const file_access& disk, const server_options& options)
    : documents_(disk, options.encoding), version_(options.version) {}

json scenario_methods::initialize(const client_capabilities& client) {
    client_ = client;
    return {{"capabilities",
             {{"textDocumentSync",
               {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
              {"hoverProvider", true},
              {"documentSymbolProvider", true},
              {"documentFormattingProvider", true},
              {"documentRangeFormattingProvider", true},
              {"completionProvider", {{"resolveProvider", false}}},
              {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}}}},
            {"serverInfo", {{"name", "scenario"}, {"version", version_}}}};
}

std::shared_ptr<const compiled_pair> scenario_methods::compile_and_publish(const std::string& uri,
                                                                           notification_sink& out) {
    const compile_outcome outcome = documents_.compile(uri);
    for (const std::string& notice : outcome.notices) {
        out.notify("window/showMessage", {{"type", 3}, {"message", notice}});
    }
    if (outcome.pair) {
        for (const document_diagnostics& d : diagnostics_of(*outcome.pair)) {
            out.notify("textDocument/publishDiagnostics", to_json(d));
        }
    }
    return outcome.pair;
}

std::pair<std::shared_ptr<const compiled_pair>, source_document> scenario_methods::pair_of(
    const std::string& uri, notification_sink& out) {
    std::shared_ptr<const compiled_pair> pair = documents_.last_compile(uri);
    if (!pair) {
        pair = compile_and_publish(uri, out);
    }
    const std::optional<source_document> which = pair ? pair->which(uri) : std::nullopt;
    if (!which) {
        return {nullptr, source_document::line};
    }
    return {pair, *which};
}

json scenario_methods::request(const std::string& method, const json& params, notification_sink& out) {
    // Each reads all its parameters before it acts.
    if (method == "textDocument/hover") {
        const std::string uri = document_uri(params);
        const text_position at = position_of(params);
        const auto [pair, which] = pair_of(uri, out);
        return to_json(pair ? hover_at(*pair, which, at) : std::nullopt, client_);
    }
    if (method == "textDocument/completion") {
        const std::string uri = document_uri(params);
        const text_position at = position_of(params);
        const auto [pair, which] = pair_of(uri, out);
        return to_json(pair ? completions_at(*pair, which, at) : std::vector<completion_item>{}, client_);
    }
    if (method == "textDocument/rangeFormatting") {
        const std::string uri = document_uri(params);
        const text_range range = range_of(params);
        const auto [pair, which] = pair_of(uri, out);
        return to_json(pair ? format_range_edits(*pair, which, range) : std::vector<text_edit>{});
    }
    if (method == "textDocument/formatting") {
        const auto [pair, which] = pair_of(document_uri(params), out);
        return to_json(pair ? format_edits(*pair, which) : std::vector<text_edit>{});
    }
    if (method == "textDocument/codeAction") {
        const std::string uri = document_uri(params);
        const text_range range = range_of(params);
        const std::optional<std::vector<std::string>> kinds = action_kinds(params);
        // Quick fixes are asked for when no kind is named, or "quickfix" or a kind it
        // belongs to ("" is every kind).
        const bool asked = !kinds || std::any_of(kinds->begin(), kinds->end(), [](const std::string& k) {
                               return k.empty() || k == "quickfix";
                           });
        const auto [pair, which] = pair_of(uri, out);
        return to_json(pair && asked ? quick_fixes_at(*pair, which, range) : std::vector<quick_fix>{},
                       client_);
    }
    if (method == "textDocument/documentSymbol") {
        const auto [pair, which] = pair_of(document_uri(params), out);
        return to_json(pair ? outline_of(*pair, which) : std::vector<outline_symbol>{});
    }
    throw request_error(error_code::method_not_found, "unknown method \"" + method + "\"");
}

void scenario_methods::notification(const std::string& method, const json& params,
                                    notification_sink& out) {
    if (method == "textDocument/didOpen") {
        const std::string uri = document_uri(params);
        documents_.open(uri, document_text_of(params));
        compile_and_publish(uri, out);
    } else if (method == "textDocument/didChange") {
        const std::string uri = document_uri(params);
        const std::vector<content_change> changes = content_changes(params);
        bool open = true;
        for (const content_change& c : changes) {
            open = documents_.change(uri, c.range, c.text);
        }
        if (!open) {
            throw request_error(error_code::invalid_params, "\"" + uri + "\" is not open");
        }
        compile_and_publish(uri, out);
    } else if (method == "textDocument/didSave") {
        compile_and_publish(document_uri(params), out);
    } else if (method == "textDocument/didClose") {
        const std::string uri = document_uri(params);
        const std::optional<std::string> partner = documents_.close(uri);
        out.notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
        // Its partner is compiled again with this document as on disk.
        if (partner) {
            compile_and_publish(*partner, out);
        }
    }
    // Any other notification ("$/cancelRequest", ...) needs nothing.
}

server::server(const file_access& disk, server_options options, std::ostream& log)
    : methods_(disk, options), protocol_(methods_, options.limits, log) {}

}  // namespace scenario::language
