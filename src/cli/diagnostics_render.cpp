#include "cli/diagnostics_render.hpp"

#include "text/windows1252.hpp"

namespace scenario::cli {

namespace {

std::string without_line_end(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::string file_failure_line(const file_error& e) {
    if (dynamic_cast<const document_text_error*>(&e) != nullptr) {
        return e.what();
    }
    return std::string("scenario: ") + e.what();
}

std::size_t error_count(const run_state& stato) {
    std::size_t n = 0;
    for (const diagnostic& d : stato.diagnostics) {
        n += d.level == severity::error ? 1 : 0;
    }
    return n;
}

std::string error_location(const diagnostic& d, const document_paths& paths) {
    if (d.document.empty()) {
        return "scenario";
    }
    std::string out = paths(d.document);
    if (d.line > 0) {
        out += ':';
        out += std::to_string(d.line);
        if (d.column > 0) {
            out += ':';
            out += std::to_string(d.column);
        }
    }
    return out;
}

std::string caret_line(const std::string& text, int column, int end_column) {
    const std::size_t n = text.size();
    const std::size_t at = column > 1 ? std::min(static_cast<std::size_t>(column - 1), n) : 0;
    std::string out;
    for (std::size_t i = 0; i < at; ++i) {
        out += text[i] == '\t' ? '\t' : ' ';
    }
    out += '^';
    if (end_column > column) {
        out.append(static_cast<std::size_t>(end_column - column), '~');
    }
    return out;
}

void render_error(const diagnostic& d, const document_paths& paths, std::ostream& err) {
    // The sentence and the line hold document text: shown as UTF-8 like everywhere else.
    // The caret is placed on the document's own bytes, one per character.
    err << error_location(d, paths) << ": error " << d.number << ": "
        << windows1252_to_utf8(d.message);
    if (d.has_position) {
        err << " (position " << d.position << " m)";
    }
    err << '\n';
    if (!d.document.empty() && d.line > 0) {
        const std::string text = without_line_end(d.text);
        err << windows1252_to_utf8(text) << '\n';
        if (d.column > 0) {
            err << caret_line(text, d.column, d.end_column) << '\n';
        }
    }
}

void render_errors(const run_state& stato, const document_paths& paths, std::ostream& err) {
    const diagnostic* last = nullptr;
    for (const diagnostic& d : stato.diagnostics) {
        render_error(d, paths, err);
        last = d.level == severity::error ? &d : last;
    }
    if (last == nullptr) {
        return;
    }
    if (last->number == stato.codice_errore) {
        err << error_location(*last, paths) << ": note: this is the error the compiler stores "
            << "(codice_errore " << stato.codice_errore << ", posizione_errore "
            << stato.posizione_errore << ")\n";
    } else {
        err << "scenario: note: the compiler stores error " << stato.codice_errore
            << " (posizione_errore " << stato.posizione_errore << ")\n";
    }
}

void write_error_json(const diagnostic& d, const document_paths& paths, json_writer& json) {
    json.begin_object();
    json.member("error", d.number);
    json.member("position", d.position);
    const bool has_document = !d.document.empty();
    const bool has_line = has_document && d.line > 0;
    if (has_document) {
        json.member("document", paths(d.document));
    } else {
        json.member_null("document");
    }
    if (has_line) {
        json.member("line", d.line);
    } else {
        json.member_null("line");
    }
    if (has_line && d.column > 0) {
        json.member("column", d.column);
    } else {
        json.member_null("column");
    }
    if (has_line) {
        json.member_document("text", without_line_end(d.text));
    } else {
        json.member_null("text");
    }
    json.member_document("message", d.message);
    json.end_object();
}

}  // namespace scenario::cli
