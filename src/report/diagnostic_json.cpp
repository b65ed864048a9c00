#include "report/diagnostic_json.hpp"

#include <cstdint>
#include <string_view>

namespace scenario {

namespace {

std::string without_line_end(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

void member_or_null(json_writer& json, std::string_view name, bool has, std::int64_t value) {
    if (has) {
        json.member(name, value);
    } else {
        json.member_null(name);
    }
}

}  // namespace

void write_error_json(const diagnostic& d, const document_paths& paths, json_writer& json) {
    json.begin_object();
    const bool numbered = d.level == severity::error && d.name.empty() && d.number != 0;
    member_or_null(json, "error", numbered, d.number);
    member_or_null(json, "position", numbered, d.position);
    const bool has_document = !d.document.empty();
    const bool has_line = has_document && d.line > 0;
    if (has_document) {
        json.member("document", paths(d.document));
    } else {
        json.member_null("document");
    }
    member_or_null(json, "line", has_line, d.line);
    member_or_null(json, "column", has_line && d.column > 0, d.column);
    if (has_line) {
        json.member_document("text", without_line_end(d.text));
    } else {
        json.member_null("text");
    }
    json.member_document("message", d.message);
    json.member("severity", d.level == severity::warning ? "warning"
                           : d.level == severity::note  ? "note"
                                                        : "error");
    if (d.name.empty()) {
        json.member_null("name");
    } else {
        json.member("name", d.name);
    }
    member_or_null(json, "end_column", has_line && d.column > 0, d.end_column);
    json.key("notes");
    json.begin_array();
    for (const diagnostic_note& n : d.notes) {
        json.begin_object();
        if (n.document.empty()) {
            json.member_null("document");
        } else {
            json.member("document", paths(n.document));
        }
        const bool note_line = !n.document.empty() && n.line > 0;
        member_or_null(json, "line", note_line, n.line);
        member_or_null(json, "column", note_line && n.column > 0, n.column);
        member_or_null(json, "end_column", note_line && n.column > 0, n.end_column);
        json.member_document("message", n.message);
        json.end_object();
    }
    json.end_array();
    json.key("fixes");
    json.begin_array();
    for (const diagnostic_fix& f : d.fixes) {
        json.begin_object();
        json.member("document", paths(f.document));
        json.member("line", f.line);
        member_or_null(json, "column", f.column > 0, f.column);
        member_or_null(json, "end_column", f.column > 0, f.end_column);
        json.member_document("replacement", f.replacement);
        json.member_document("title", f.title);
        json.key("certain");
        json.boolean(f.certain);
        json.end_object();
    }
    json.end_array();
    json.end_object();
}

}  // namespace scenario
