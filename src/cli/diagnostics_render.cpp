#include "cli/diagnostics_render.hpp"

#include <algorithm>

#include "compiler/messages.hpp"
#include "text/windows1252.hpp"

namespace scenario::cli {

namespace {

std::string without_line_end(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

std::string place_text(const std::string& document, int line, int column,
                       const document_paths& paths) {
    if (document.empty()) {
        return "scenario";
    }
    std::string out = paths(document);
    if (line > 0) {
        out += ':';
        out += std::to_string(line);
        if (column > 0) {
            out += ':';
            out += std::to_string(column);
        }
    }
    return out;
}

}  // namespace

std::string fix_line(const diagnostic& d, const std::string& text) {
    const auto certain = std::find_if(d.fixes.begin(), d.fixes.end(),
                                      [](const diagnostic_fix& f) { return f.certain; });
    if (certain == d.fixes.end() || certain->document != d.document || certain->line != d.line ||
        certain->column <= 0) {
        return {};
    }
    const std::size_t at =
        std::min(static_cast<std::size_t>(certain->column - 1), text.size());
    std::string out;
    for (std::size_t i = 0; i < at; ++i) {
        out += text[i] == '\t' ? '\t' : ' ';
    }
    if (!certain->replacement.empty()) {
        return out + windows1252_to_utf8(certain->replacement);
    }
    // A removal: a "-" under each character that goes.
    out.append(static_cast<std::size_t>(std::max(certain->end_column - certain->column + 1, 1)),
               '-');
    return out;
}

std::string failure_line(const failure& e) {
    if (dynamic_cast<const document_text_error*>(&e) != nullptr) {
        return e.what();
    }
    return std::string("scenario: ") + e.what();
}

std::string read_failure_line(const read_failure& failure) {
    return failure.located ? failure.sentence : "scenario: " + failure.sentence;
}

warning_options warning_options_of(const parsed_args& args) {
    warning_options options;
    options.none = args.flag("-w");
    options.as_errors = args.flag("--werror");
    for (const std::string& name : args.values_of("-Wno-")) {
        if (!find_warning(name)) {
            throw usage_error("no warning is called \"" + name + "\" (in \"-Wno-" + name +
                              "\"); \"--help\" lists them");
        }
        options.off.insert(name);
    }
    for (const std::string& name : args.values_of("-W")) {
        if (!find_warning(name)) {
            throw usage_error("no warning is called \"" + name + "\" (in \"-W" + name +
                              "\"); \"--help\" lists them");
        }
        options.on.insert(name);
    }
    return options;
}

std::vector<diagnostic> shown_diagnostics(const run_state& state, const warning_options& options) {
    std::vector<diagnostic> shown;
    shown.reserve(state.diagnostics.size());
    for (const diagnostic& d : state.diagnostics) {
        if (d.level == severity::warning) {
            if (options.none || options.off.count(d.name) != 0) {
                continue;
            }
            shown.push_back(d);
            if (options.as_errors) {
                shown.back().level = severity::error;
            }
            continue;
        }
        shown.push_back(d);
    }
    return shown;
}

std::size_t error_count(std::span<const diagnostic> diagnostics) {
    return static_cast<std::size_t>(
        std::count_if(diagnostics.begin(), diagnostics.end(),
                      [](const diagnostic& d) { return d.level == severity::error; }));
}

std::size_t warning_count(std::span<const diagnostic> diagnostics) {
    return static_cast<std::size_t>(
        std::count_if(diagnostics.begin(), diagnostics.end(),
                      [](const diagnostic& d) { return d.level == severity::warning; }));
}

std::string error_location(const diagnostic& d, const document_paths& paths) {
    return place_text(d.document, d.line, d.column, paths);
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
    // The sentences and the line hold document text: shown as UTF-8 like everywhere else.
    // The caret is placed on the document's own bytes, one per character.
    const std::string message = windows1252_to_utf8(d.message);
    err << error_location(d, paths);
    if (d.level == severity::warning) {
        err << ": warning: " << message << " [-W" << d.name << ']';
    } else if (d.level == severity::note) {
        err << ": note: " << message;
    } else if (!d.name.empty()) {
        err << ": error: " << message << " [-Werror=" << d.name << ']';
    } else if (d.number == 0) {
        err << ": error: " << message;
    } else {
        err << ": error " << d.number << ": " << message;
        if (d.has_position) {
            err << " (position " << d.position << " m)";
        }
    }
    err << '\n';
    if (!d.document.empty() && d.line > 0) {
        const std::string text = without_line_end(d.text);
        err << windows1252_to_utf8(text) << '\n';
        if (d.column > 0) {
            err << caret_line(text, d.column, d.end_column) << '\n';
            if (const std::string mark = fix_line(d, text); !mark.empty()) {
                err << mark << '\n';
            }
        }
    }
    for (const diagnostic_note& n : d.notes) {
        err << place_text(n.document, n.line, n.column, paths)
            << ": note: " << windows1252_to_utf8(n.message) << '\n';
    }
    for (const diagnostic_fix& f : d.fixes) {
        err << place_text(f.document, f.line, f.column, paths)
            << (f.certain ? ": fix-it: " : ": fix-it, a choice: ") << windows1252_to_utf8(f.title)
            << '\n';
    }
}

void render_errors(std::span<const diagnostic> shown, const run_state& state,
                   const document_paths& paths, std::ostream& err) {
    const diagnostic* last = nullptr;
    for (const diagnostic& d : shown) {
        render_error(d, paths, err);
        last = class_of(d) == diagnostic_class::stored ? &d : last;
    }
    if (last == nullptr) {
        return;
    }
    if (last->number == state.codice_errore) {
        err << error_location(*last, paths) << ": note: this is the error the compiler stores "
            << "(codice_errore " << state.codice_errore << ", posizione_errore "
            << state.posizione_errore << ")\n";
    } else {
        err << "scenario: note: the compiler stores error " << state.codice_errore
            << " (posizione_errore " << state.posizione_errore << ")\n";
    }
}

}  // namespace scenario::cli
