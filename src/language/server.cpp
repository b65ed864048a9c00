#include "language/server.hpp"

#include <algorithm>
#include <span>

#include "compiler/messages.hpp"
#include "files/stores.hpp"
#include "format/format.hpp"
#include "language/document_rows.hpp"
#include "language/uris.hpp"
#include "model/file_names.hpp"
#include "model/near.hpp"

namespace scenario::language {

namespace {

// The protocol's error codes.
constexpr int parse_error = -32700;
constexpr int invalid_request = -32600;
constexpr int method_not_found = -32601;
constexpr int invalid_params = -32602;
constexpr int internal_error = -32603;
constexpr int server_not_initialized = -32002;
constexpr int request_failed = -32803;

constexpr std::string_view line_ending = "_linea.txt";
constexpr std::string_view train_ending = "-.txt";

// The line document a train document is read against when its own is missing: a route
// of the longest length the compiler takes, so that every entry is read.
constexpr std::string_view stand_in_line = "[generale]\r\nlunghezza percorso, 1000000\r\n[fine]\r\n";

std::optional<source_document> kind_of(const std::string& name) {
    if (name.size() > line_ending.size() && name.ends_with(line_ending)) {
        return source_document::line;
    }
    if (name.size() > train_ending.size() && name.ends_with(train_ending)) {
        return source_document::train;
    }
    return std::nullopt;
}

std::string utf8(std::string_view document_text) {
    return windows1252_to_utf8(document_text);
}

nlohmann::json position_json(const text_position& p) {
    return {{"line", p.line}, {"character", p.character}};
}

nlohmann::json range_json(const text_position& a, const text_position& b) {
    return {{"start", position_json(a)}, {"end", position_json(b)}};
}

// The range of a field (columns from 1, both ends included); the whole line for column
// 0, the document's start for line 0.
nlohmann::json field_range(const document_text& text, int line, int column, int end_column) {
    if (line <= 0) {
        return range_json({0, 0}, {0, 0});
    }
    if (column <= 0) {
        const auto length = static_cast<int>(text.byte_line(line - 1).size());
        return range_json(text.position_of(line, 1), text.position_of(line, length + 1));
    }
    return range_json(text.position_of(line, column),
                      text.position_of(line, std::max(end_column, column) + 1));
}

text_position position_from(const nlohmann::json& p) {
    return {p.at("line").get<int>(), p.at("character").get<int>()};
}

std::string value_text(std::int64_t v) {
    return std::to_string(v);
}

}  // namespace

server::server(const file_access& disk, server_options options)
    : disk_(disk), options_(std::move(options)) {}

void server::send(std::ostream& out, const json& message) const {
    write_message(out, message.dump(-1, ' ', false, json::error_handler_t::replace));
}

void server::reply(std::ostream& out, const json& id, json result) const {
    send(out, {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void server::fail(std::ostream& out, const json& id, int code, const std::string& message) const {
    send(out, {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void server::notify(std::ostream& out, const char* method, json params) const {
    send(out, {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
}

int server::run(std::istream& in, std::ostream& out) {
    while (true) {
        const framed_message m = read_message(in, options_.limits);
        switch (m.what) {
            case framed_message::kind::end:
                return exit_status();
            case framed_message::kind::bad_header:
                fail(out, nullptr, parse_error, m.why);
                break;
            case framed_message::kind::too_large:
                fail(out, nullptr, invalid_request, m.why);
                break;
            case framed_message::kind::message:
                if (!handle(m.content, out)) {
                    return exit_status();
                }
                break;
        }
    }
}

bool server::handle(std::string_view content, std::ostream& out) {
    json message = json::parse(content, nullptr, false);
    if (message.is_discarded()) {
        fail(out, nullptr, parse_error, "the message is not JSON");
        return true;
    }
    json id = nullptr;
    const bool has_id = message.is_object() && message.contains("id");
    if (has_id) {
        id = message["id"];
        if (!id.is_number_integer() && !id.is_string() && !id.is_null()) {
            fail(out, nullptr, invalid_request, "the id is neither a number nor a string");
            return true;
        }
    }
    if (!message.is_object() || message.value("jsonrpc", json()) != "2.0") {
        fail(out, id, invalid_request, "not a JSON-RPC 2.0 message");
        return true;
    }
    if (!message.contains("method")) {
        return true;  // a response to a request of ours: we send none
    }
    if (!message["method"].is_string()) {
        fail(out, id, invalid_request, "the method is not a string");
        return true;
    }
    const std::string method = message["method"].get<std::string>();
    const json params = message.value("params", json::object());
    if (!has_id) {
        try {
            notification(method, params, out);
        } catch (const std::exception&) {
            // A notification with unusable parameters is dropped.
        }
        return !exited_;
    }
    if (!initialized_ && method != "initialize") {
        fail(out, id, server_not_initialized, "the server is not initialized");
        return true;
    }
    if (shutdown_) {
        fail(out, id, invalid_request, "the server has shut down");
        return true;
    }
    try {
        json result = request(method, params, out);
        if (result.is_object() && result.contains("__error")) {
            fail(out, id, result["__error"].get<int>(), result["message"].get<std::string>());
        } else {
            reply(out, id, std::move(result));
        }
    } catch (const json::exception& e) {
        fail(out, id, invalid_params, std::string("unusable parameters: ") + e.what());
    } catch (const std::exception& e) {
        fail(out, id, internal_error, e.what());
    }
    return true;
}

nlohmann::json server::request(const std::string& method, const json& params, std::ostream& out) {
    if (method == "initialize") {
        if (initialized_) {
            return {{"__error", invalid_request}, {"message", "initialize came twice"}};
        }
        initialized_ = true;
        return {{"capabilities",
                 {{"textDocumentSync",
                   {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
                  {"hoverProvider", true},
                  {"documentSymbolProvider", true},
                  {"documentFormattingProvider", true},
                  {"completionProvider", {{"resolveProvider", false}}}}},
                {"serverInfo", {{"name", "scenario"}, {"version", options_.version}}}};
    }
    if (method == "shutdown") {
        shutdown_ = true;
        return nullptr;
    }
    if (method == "textDocument/hover") {
        return hover(params, out);
    }
    if (method == "textDocument/documentSymbol") {
        return symbols(params);
    }
    if (method == "textDocument/completion") {
        return completion(params);
    }
    if (method == "textDocument/formatting") {
        return formatting(params);
    }
    return {{"__error", method_not_found}, {"message", "unknown method \"" + method + "\""}};
}

void server::notification(const std::string& method, const json& params, std::ostream& out) {
    if (method == "exit") {
        exited_ = true;
        return;
    }
    if (!initialized_ || shutdown_) {
        return;  // dropped
    }
    if (method == "textDocument/didOpen") {
        const json& d = params.at("textDocument");
        const std::string uri = d.at("uri").get<std::string>();
        open_[uri] = document_text::from_unicode(d.at("text").get<std::string>());
        compile_and_publish(uri, out);
    } else if (method == "textDocument/didChange") {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        const auto it = open_.find(uri);
        if (it == open_.end()) {
            return;
        }
        for (const json& change : params.at("contentChanges")) {
            const std::string text = change.at("text").get<std::string>();
            if (change.contains("range")) {
                const json& r = change["range"];
                it->second.replace(position_from(r.at("start")), position_from(r.at("end")), text);
            } else {
                it->second = document_text::from_unicode(text);
            }
        }
        compile_and_publish(uri, out);
    } else if (method == "textDocument/didSave") {
        compile_and_publish(params.at("textDocument").at("uri").get<std::string>(), out);
    } else if (method == "textDocument/didClose") {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        std::string partner;
        if (const auto it = compiled_.find(uri); it != compiled_.end()) {
            partner = uri == it->second->line_uri ? it->second->train_uri : it->second->line_uri;
            compiled_.erase(it);
        }
        open_.erase(uri);
        notify(out, "textDocument/publishDiagnostics",
               {{"uri", uri}, {"diagnostics", json::array()}});
        // Its partner, when open, is compiled again with this document as on disk.
        if (open_.contains(partner)) {
            compile_and_publish(partner, out);
        }
    }
    // Any other notification ("initialized", "$/cancelRequest", ...) needs nothing.
}

std::optional<document_text> server::text_of(const std::string& uri) const {
    const std::string path = path_of_uri(uri);
    for (const auto& [u, text] : open_) {
        if (u == uri || (!path.empty() && path_of_uri(u) == path)) {
            return text;
        }
    }
    if (path.empty()) {
        return std::nullopt;
    }
    const std::optional<std::string> bytes = disk_.read(path);
    if (!bytes) {
        return std::nullopt;
    }
    return options_.encoding == text_encoding::utf_8 ? document_text::from_unicode(*bytes)
                                                     : document_text::from_windows1252(*bytes);
}

bool server::available(const std::string& uri) const {
    const std::string path = path_of_uri(uri);
    for (const auto& [u, text] : open_) {
        if (u == uri || (!path.empty() && path_of_uri(u) == path)) {
            return true;
        }
    }
    return !path.empty() && disk_.read(path).has_value();
}

void server::say_once(std::ostream& out, const std::string& key, const std::string& message) {
    if (said_.insert(key).second) {
        notify(out, "window/showMessage", {{"type", 3}, {"message", message}});
    }
}

std::shared_ptr<const compiled_pair> server::compiled_for(const std::string& uri,
                                                          std::ostream& out) {
    auto it = compiled_.find(uri);
    if (it == compiled_.end()) {
        compile_and_publish(uri, out);
        it = compiled_.find(uri);
    }
    return it == compiled_.end() ? nullptr : it->second;
}

void server::compile_and_publish(const std::string& uri, std::ostream& out) {
    const std::string name = name_of_uri(uri);
    const std::optional<source_document> kind = kind_of(name);
    if (!kind) {
        say_once(out, "name:" + uri,
                 "\"" + name + "\" is not named as a scenario document (NAME_linea.txt or "
                 "NAME_TRAIN-.txt): it is not compiled");
        return;
    }
    // The files beside it, the open documents first.
    std::vector<std::string> names;
    const std::string folder = folder_of_uri(uri);
    for (const auto& [u, text] : open_) {
        if (folder_of_uri(u) == folder) {
            names.push_back(name_of_uri(u));
        }
    }
    const std::vector<std::string> listed = disk_.list(folder);
    names.insert(names.end(), listed.begin(), listed.end());

    auto pair = std::make_shared<compiled_pair>();
    std::string scenario_name;
    std::string train_name;
    if (*kind == source_document::line) {
        scenario_name = name.substr(0, name.size() - line_ending.size());
        const std::string start = scenario_name + "_";
        // An open train document first, else the first on disk by name.
        std::optional<std::string> train;
        const auto fits = [&](const std::string& n) {
            return n.size() > start.size() + train_ending.size() && n.starts_with(start) &&
                   kind_of(n) == source_document::train;
        };
        for (const std::string& n : std::span(names).first(names.size() - listed.size())) {
            if (!train && fits(n)) {
                train = n;
            }
        }
        for (const std::string& n : listed) {
            if (fits(n) && (!train || (n < *train && !open_.contains(sibling_uri(uri, *train))))) {
                train = n;
            }
        }
        if (train) {
            train_name = train->substr(start.size(), train->size() - start.size() - train_ending.size());
        }
        pair->line_uri = uri;
        pair->train_uri = train ? sibling_uri(uri, *train) : std::string();
    } else {
        // The longest scenario name whose line document is there.
        for (std::size_t cut = name.find('_'); cut != std::string::npos; cut = name.find('_', cut + 1)) {
            const std::string s = name.substr(0, cut);
            if (std::find(names.begin(), names.end(), nome_documento_linea(s)) != names.end()) {
                scenario_name = s;
            }
        }
        const bool found = !scenario_name.empty();
        if (!found) {
            const auto cut = name.find('_');
            if (cut == std::string::npos || cut == 0 ||
                cut + 1 + train_ending.size() >= name.size()) {
                say_once(out, "name:" + uri,
                         "\"" + name + "\" is not named NAME_TRAIN-.txt: it is not compiled");
                return;
            }
            scenario_name = name.substr(0, cut);
        }
        train_name = name.substr(scenario_name.size() + 1,
                                 name.size() - scenario_name.size() - 1 - train_ending.size());
        pair->train_uri = uri;
        pair->line_uri = found ? sibling_uri(uri, nome_documento_linea(scenario_name)) : std::string();
    }

    pair->line_name = nome_documento_linea(scenario_name);
    pair->train_name = nome_documento_treno(scenario_name, train_name);
    compile_request request;
    request.scenario = scenario_name;
    request.train = train_name;
    if (!pair->line_uri.empty()) {
        if (auto text = text_of(pair->line_uri)) {
            pair->line_text = std::move(*text);
            pair->has_line = true;
            request.line = document_source{pair->line_name, pair->line_text.bytes()};
        }
    }
    if (!pair->train_uri.empty()) {
        if (auto text = text_of(pair->train_uri)) {
            pair->train_text = std::move(*text);
            pair->has_train = true;
            request.train_document = document_source{pair->train_name, pair->train_text.bytes()};
        }
    }
    if (!pair->has_train) {
        say_once(out, "alone:" + uri,
                 "no train document " + scenario_name + "_TRAIN-.txt beside \"" + name +
                     "\": the line document is read alone");
    }
    if (!pair->has_line) {
        say_once(out, "alone:" + uri,
                 "no line document \"" + pair->line_name + "\" beside \"" + name +
                     "\": the train document is read alone, against a route of 1000000 m");
        request.line = document_source{pair->line_name, std::string(stand_in_line)};
    }
    pair->compiled = compile(request);
    const run_state& state = pair->compiled.state;

    // The diagnostics of each document present.
    json line_list = json::array();
    json train_list = json::array();
    auto place = [&](const std::string& document) -> std::pair<json*, const document_text*> {
        if (document == pair->train_name && pair->has_train) {
            return {&train_list, &pair->train_text};
        }
        if (document == pair->line_name && pair->has_line) {
            return {&line_list, &pair->line_text};
        }
        if (document.empty()) {
            return pair->has_line ? std::pair{&line_list, &pair->line_text}
                                  : std::pair{&train_list, &pair->train_text};
        }
        return {nullptr, nullptr};  // a document that is not there
    };
    auto uri_of = [&](const std::string& document) {
        return document == pair->train_name ? pair->train_uri : pair->line_uri;
    };
    for (const diagnostic& d : state.diagnostics) {
        const auto [list, text] = place(d.document);
        if (list == nullptr) {
            continue;
        }
        json item = {{"range", field_range(*text, d.line, d.column, d.end_column)},
                     {"severity", d.level == severity::error     ? 1
                                  : d.level == severity::warning ? 2
                                                                 : 3},
                     {"source", "scenario"},
                     {"message", utf8(d.message)}};
        if (d.number != 0) {
            item["code"] = d.number;
        } else if (!d.name.empty()) {
            item["code"] = d.name;
        }
        if (!d.notes.empty()) {
            json related = json::array();
            for (const diagnostic_note& n : d.notes) {
                const auto [note_list, note_text] = place(n.document.empty() ? d.document : n.document);
                if (note_list == nullptr) {
                    continue;
                }
                related.push_back(
                    {{"location",
                      {{"uri", uri_of(n.document.empty() ? d.document : n.document)},
                       {"range", field_range(*note_text, n.line, n.column, n.end_column)}}},
                     {"message", utf8(n.message)}});
            }
            item["relatedInformation"] = std::move(related);
        }
        list->push_back(std::move(item));
    }
    // A character the compiler cannot be given: read as "?", and said where it is.
    auto add_faults = [&](const document_text& text, json& list) {
        for (const text_fault& f : text.faults()) {
            list.push_back({{"range", field_range(text, f.line, f.column, f.column)},
                            {"severity", 1},
                            {"source", "scenario"},
                            {"message", f.what + "; the compiler reads it as \"?\""}});
        }
    };
    add_faults(pair->line_text, line_list);
    add_faults(pair->train_text, train_list);

    if (pair->has_line) {
        compiled_[pair->line_uri] = pair;
        notify(out, "textDocument/publishDiagnostics",
               {{"uri", pair->line_uri}, {"diagnostics", std::move(line_list)}});
    }
    if (pair->has_train) {
        compiled_[pair->train_uri] = pair;
        notify(out, "textDocument/publishDiagnostics",
               {{"uri", pair->train_uri}, {"diagnostics", std::move(train_list)}});
    }
}

namespace {

const char* part_words(document_part part) {
    switch (part) {
        case document_part::general:
            return "a value of the line document's general part";
        case document_part::body:
            return "an entry of the line document's body";
        case document_part::train:
            return "an entry of the train document";
        case document_part::before_general:
            break;
    }
    return "";
}

std::string cell_line(const cella& c, std::int64_t i) {
    const std::string kind = c.tipo_cella == tipo::vuota ? "no element" : element_name(c.tipo_cella);
    return "cell " + value_text(i) + " (from " + value_text(50 * i) + " m): " + kind +
           "; valore1 " + value_text(c.valore1) + ", valore2 " + value_text(c.valore2) +
           ", valore3 " + value_text(c.valore3) + ", valore4 " + value_text(c.valore4) +
           ", tempo_segnale " + value_text(c.tempo_segnale) + ", avvicinamento " +
           value_text(c.avvicinamento) + ", montagna " + value_text(c.montagna) +
           ", vel_limite " + value_text(c.vel_limite) + ", pendenza " + value_text(c.pendenza) +
           ", aderenza " + value_text(c.aderenza);
}

std::string clock_text(std::int32_t seconds) {
    auto two = [](std::int32_t v) {
        std::string text(v < 10 ? "0" : "");
        text += std::to_string(v);
        return text;
    };
    return two(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60);
}

}  // namespace

nlohmann::json server::hover(const json& params, std::ostream& out) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const text_position at = position_from(params.at("position"));
    const auto pair = compiled_for(uri, out);
    if (!pair) {
        return nullptr;
    }
    const bool is_train = uri == pair->train_uri;
    const source_document kind = is_train ? source_document::train : source_document::line;
    const document_text& text = is_train ? pair->train_text : pair->line_text;
    if (at.line < 0 || at.line >= text.line_count()) {
        return nullptr;
    }
    const std::string_view line = text.byte_line(at.line);
    const int column = text.column_at(at);
    const document_part part = part_at(text, at.line + 1, kind);
    const std::optional<entry_row> entry = read_entry_row(line, part);
    if (!entry) {
        return nullptr;
    }
    const keyword_hit* hit = &entry->hit;
    const std::vector<row_field>& row = entry->fields;
    std::size_t under = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (column >= row[i].column) {
            under = i;
        }
    }
    const std::vector<std::string_view> forms = forms_of(*hit->entry);
    const std::vector<std::string_view> names = field_names(*hit->entry);
    std::string md = "**" + utf8(forms.empty() ? row[0].text : forms[0]) + "**: " +
                     part_words(hit->part) + "\n\n";
    if (under == 0) {
        md += "Fields, in order:\n";
        for (std::size_t i = 0; i < names.size(); ++i) {
            md += std::to_string(i + 1) + ". " + std::string(names[i]) + "\n";
        }
        if (forms.size() > 1) {
            md += "\nWritten as: ";
            for (std::size_t i = 0; i < forms.size(); ++i) {
                md += (i == 0 ? "" : ", ") + utf8(forms[i]);
            }
            md += "\n";
        }
    } else {
        md += "Line " + std::to_string(at.line + 1) + ":\n";
        for (std::size_t i = 1; i < row.size(); ++i) {
            const std::string value = row[i].number ? value_text(*row[i].number) : utf8(row[i].text);
            const std::string item = std::string(row[i].name) + " = " + value;
            md += "- " + (i == under ? "**" + item + "**" : item) + "\n";
        }
    }
    {
        // What it compiled to: the cells the trace says this row wrote, or else the cell
        // at the position it gives (an entry of the line body or the train document).
        const element_index& elements = pair->compiled.elements();
        const std::optional<std::int32_t> found = elements.row_at(kind, at.line + 1);
        const griglia& cells = pair->compiled.state.celle;
        std::vector<std::int64_t> shown;
        if (found) {
            for (const std::int32_t c : elements.cells_of(*found)) {
                shown.push_back(c);
            }
        }
        const bool gives_position =
            row.size() > 1 && hit->part != document_part::general &&
            (row[1].name.ends_with("chainage") || row[1].name.ends_with(" start"));
        const std::optional<std::int64_t> chainage =
            gives_position ? row[1].number : std::nullopt;
        if (chainage) {
            md += "\nPosition: " + value_text(*chainage) + " m";
            const std::int64_t cell = near(static_cast<double>(*chainage) / 50.0 + 1);
            if (shown.empty() && cell >= 0 && cell < static_cast<std::int64_t>(cells.size())) {
                md += ", in cell " + value_text(cell);
                shown.push_back(cell);
            }
            md += "\n";
        }
        if (!shown.empty()) {
            md += "\nCompiled to:\n";
            for (const std::int64_t c : shown) {
                if (c >= 0 && c < static_cast<std::int64_t>(cells.size())) {
                    md += "- " + cell_line(cells[static_cast<std::size_t>(c)], c) + "\n";
                }
            }
        }
        // A station: its header entry, its area and the cells of the area it marks.
        if (chainage && !forms.empty() && forms[0] == "stazione") {
            const std::string_view station = row.back().name.ends_with("name") ? row.back().text : "";
            for (int s = 1; s < voce_primo_cartello; ++s) {
                const voce& v = pair->compiled.state.voci[static_cast<std::size_t>(s)];
                if (v.progressiva != *chainage || v.nome != station) {
                    continue;
                }
                md += "\nStation entry " + std::to_string(s) + ": kind " +
                      value_text(v.tipo_stazione) + ", area " + value_text(v.inizio_area) +
                      " to " + value_text(v.fine_area) + " m, time " + clock_text(v.orario) + "\n";
                const std::int64_t from = std::max<std::int64_t>(0, near(v.inizio_area / 50.0) - 6);
                const std::int64_t to = std::min<std::int64_t>(
                    static_cast<std::int64_t>(cells.size()) - 1, near(v.fine_area / 50.0) + 1);
                std::string marked;
                for (std::int64_t c = from; c <= to; ++c) {
                    const cella& k = cells[static_cast<std::size_t>(c)];
                    if (k.avvicinamento != 0) {
                        marked += (marked.empty() ? "" : ", ") + value_text(c) + " (avvicinamento " +
                                  value_text(k.avvicinamento) + ")";
                    }
                }
                if (!marked.empty()) {
                    md += "Cells it marks: " + marked + "\n";
                }
                break;
            }
        }
    }
    const row_field& f = row[under];
    return {{"contents", {{"kind", "markdown"}, {"value", md}}},
            {"range", field_range(text, at.line + 1, f.column, f.end_column)}};
}

namespace {

// The rows the outline shows, by the keyword's first form: what they are called and
// their symbol kind.
struct outline_kind {
    std::string_view form;
    const char* what;
    int symbol_kind;
};
constexpr outline_kind outline_kinds[] = {
    {"stazione", "station", 19},           {"segnale", "signal", 24},
    {"rallentamento", "slowdown", 25},     {"montagna", "tunnel", 23},
    {"cartello_indicatore", "board", 15},  {"indicatori_vmax", "speed board", 15},
};

}  // namespace

nlohmann::json server::symbols(const json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const std::optional<document_text> found = text_of(uri);
    const std::optional<source_document> kind = kind_of(name_of_uri(uri));
    json result = json::array();
    if (!found || !kind) {
        return result;
    }
    const document_text& text = *found;
    json* section = nullptr;
    int section_line = 0;
    document_part part = document_part::before_general;
    auto close_section = [&](int last_line) {
        if (section != nullptr) {
            (*section)["range"] = field_range(text, section_line, 0, 0);
            (*section)["range"]["end"] = field_range(text, last_line, 0, 0)["end"];
        }
    };
    for (int l = 0; l < text.line_count(); ++l) {
        const std::string_view line = text.byte_line(l);
        if (const auto header = header_of(line)) {
            close_section(l);
            part = part_at(text, l + 2, *kind);
            const std::vector<row_field> row = read_row(line, nullptr);
            json symbol = {{"name", utf8(*header)},
                           {"kind", 3},
                           {"range", field_range(text, l + 1, 0, 0)},
                           {"selectionRange", field_range(text, l + 1, row[0].column, row[0].end_column)},
                           {"children", json::array()}};
            result.push_back(std::move(symbol));
            section = &result.back();
            section_line = l + 1;
            continue;
        }
        if (part == document_part::before_general) {
            continue;
        }
        const std::optional<entry_row> entry = read_entry_row(line, part);
        if (!entry) {
            continue;
        }
        const std::vector<std::string_view> forms = forms_of(*entry->hit.entry);
        const auto o = std::find_if(std::begin(outline_kinds), std::end(outline_kinds),
                                    [&](const outline_kind& k) { return !forms.empty() && forms[0] == k.form; });
        if (o == std::end(outline_kinds)) {
            continue;
        }
        const std::vector<row_field>& row = entry->fields;
        const std::string where =
            row.size() > 1 && row[1].number ? value_text(*row[1].number) + " m" : std::string("?");
        std::string name = std::string(o->what) + " at " + where;
        if (row.back().name.ends_with("name") || row.back().name.ends_with("text")) {
            name = utf8(row.back().text) + " (" + name + ")";
        }
        json symbol = {{"name", name},
                       {"detail", where},
                       {"kind", o->symbol_kind},
                       {"range", field_range(text, l + 1, 0, 0)},
                       {"selectionRange", field_range(text, l + 1, row[0].column, row[0].end_column)}};
        if (section != nullptr) {
            (*section)["children"].push_back(std::move(symbol));
        } else {
            result.push_back(std::move(symbol));
        }
    }
    close_section(text.line_count());
    return result;
}

nlohmann::json server::completion(const json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const text_position at = position_from(params.at("position"));
    const std::optional<document_text> found = text_of(uri);
    const std::optional<source_document> kind = kind_of(name_of_uri(uri));
    json items = json::array();
    if (!found || !kind) {
        return items;
    }
    const document_part part = part_at(*found, at.line + 1, *kind);
    if (part == document_part::before_general) {
        items.push_back({{"label", "[generale]"}, {"kind", 14}, {"insertText", "[generale]"},
                         {"insertTextFormat", 1}});
        return items;
    }
    for (const keyword_description& e : keywords_of(part)) {
        const std::vector<std::string_view> names = field_names(e);
        std::string detail;
        std::string snippet;
        for (std::size_t i = 0; i < names.size(); ++i) {
            detail += (i == 0 ? "" : ", ") + std::string(names[i]);
            snippet += ", ${" + std::to_string(i + 1) + ":" + std::string(names[i]) + "}";
        }
        for (const std::string_view form : forms_of(e)) {
            items.push_back({{"label", utf8(form)},
                             {"kind", 14},
                             {"detail", detail},
                             {"insertText", utf8(form) + snippet},
                             {"insertTextFormat", 2}});
        }
    }
    return items;
}

nlohmann::json server::formatting(const json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const std::optional<document_text> found = text_of(uri);
    const std::optional<source_document> kind = kind_of(name_of_uri(uri));
    if (!found || !kind) {
        return json::array();
    }
    if (!found->faults().empty()) {
        return {{"__error", request_failed},
                {"message", "the document holds characters Windows-1252 cannot hold; "
                            "formatting would lose them"}};
    }
    const std::string formatted = format_document(found->bytes(), *kind);
    if (formatted == found->bytes()) {
        return json::array();
    }
    return json::array({{{"range", range_json({0, 0}, found->end())}, {"newText", utf8(formatted)}}});
}

}  // namespace scenario::language
