#include "cli/diagnostics_render.hpp"

#include "cli/messages.hpp"

namespace scenario::cli {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

std::string without_line_end(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::vector<diagnostic> recorded_errors(const run_state& stato) {
    if (!stato.diagnostics.empty() || stato.codice_errore == 0) {
        return stato.diagnostics;
    }
    diagnostic d;
    d.numero = stato.codice_errore;
    d.posizione = stato.posizione_errore;
    d.ha_posizione = stato.posizione_errore != 0;
    return {d};
}

std::string error_location(const diagnostic& d, const document_paths& paths) {
    if (d.documento.empty()) {
        return "scenario";
    }
    std::string out = paths(d.documento);
    if (d.riga > 0) {
        out += ":" + std::to_string(d.riga);
        if (d.colonna > 0) {
            out += ":" + std::to_string(d.colonna);
        }
    }
    return out;
}

std::string caret_line(const std::string& text, int colonna) {
    const std::size_t n = text.size();
    const std::size_t at = colonna > 1 ? std::min(static_cast<std::size_t>(colonna - 1), n) : 0;
    std::size_t start = at;
    while (start < n && blank(text[start])) {
        ++start;
    }
    if (start >= n || text[start] == ',') {
        start = at;  // an empty field: mark where it was
    }
    std::size_t end = start;
    const bool number =
        start < n && (text[start] == '-' || (text[start] >= '0' && text[start] <= '9'));
    while (end < n && text[end] != ',' && !(number && blank(text[end]))) {
        ++end;
    }
    while (end > start && blank(text[end - 1])) {
        --end;
    }
    std::string out;
    for (std::size_t i = 0; i < start; ++i) {
        out += text[i] == '\t' ? '\t' : ' ';
    }
    out += '^';
    if (end > start + 1) {
        out.append(end - start - 1, '~');
    }
    return out;
}

void render_error(const diagnostic& d, const document_paths& paths, std::ostream& err) {
    err << error_location(d, paths) << ": error " << d.numero << ": "
        << error_message(d.numero, d.dettaglio);
    if (d.ha_posizione) {
        err << " (position " << d.posizione << " m)";
    }
    err << '\n';
    if (!d.documento.empty() && d.riga > 0) {
        const std::string text = without_line_end(d.testo);
        err << text << '\n';
        if (d.colonna > 0) {
            err << caret_line(text, d.colonna) << '\n';
        }
    }
}

void render_errors(const run_state& stato, const document_paths& paths, std::ostream& err) {
    const std::vector<diagnostic> errors = recorded_errors(stato);
    for (const diagnostic& d : errors) {
        render_error(d, paths, err);
    }
    if (errors.empty()) {
        return;
    }
    const diagnostic& last = errors.back();
    if (last.numero == stato.codice_errore) {
        err << error_location(last, paths) << ": note: this is the error the compiler stores "
            << "(codice_errore " << stato.codice_errore << ", posizione_errore "
            << stato.posizione_errore << ")\n";
    } else {
        err << "scenario: note: the compiler stores error " << stato.codice_errore
            << " (posizione_errore " << stato.posizione_errore << ")\n";
    }
}

void write_error_json(const diagnostic& d, const document_paths& paths, json_writer& json) {
    json.begin_object();
    json.member("error", d.numero);
    json.member("position", d.posizione);
    const bool has_document = !d.documento.empty();
    const bool has_line = has_document && d.riga > 0;
    if (has_document) {
        json.member("document", paths(d.documento));
    } else {
        json.member_null("document");
    }
    if (has_line) {
        json.member("line", d.riga);
    } else {
        json.member_null("line");
    }
    if (has_line && d.colonna > 0) {
        json.member("column", d.colonna);
    } else {
        json.member_null("column");
    }
    if (has_line) {
        json.member("text", without_line_end(d.testo));
    } else {
        json.member_null("text");
    }
    json.member("message", error_message(d.numero, d.dettaglio));
    json.end_object();
}

}  // namespace scenario::cli
