#include "language/formatting.hpp"

#include <algorithm>
#include <tuple>

#include "files/byte_sink.hpp"
#include "files/scenario_files.hpp"
#include "format/format.hpp"
#include "language/request_error.hpp"
#include "text/windows1252.hpp"

namespace scenario::language {

namespace {

// The lines of a laid-out document, without their line breaks (every one CR LF).
std::vector<std::string_view> lines_of(std::string_view formatted) {
    std::vector<std::string_view> lines;
    while (true) {
        const std::size_t lf = formatted.find('\n');
        if (lf == std::string_view::npos) {
            lines.push_back(formatted);
            return lines;
        }
        std::string_view line = formatted.substr(0, lf);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        formatted.remove_prefix(lf + 1);
    }
}

// What a compile gives that formatting must leave as it is: the files' bytes (encoded
// whether they would be written or not), the fatal error, whether the documents were
// read, and each diagnostic by kind and line.
std::vector<std::string> compiled_form(const compiled_scenario& c) {
    std::vector<std::string> form{c.read() ? "read" : "unread", std::to_string(c.fatal)};
    for (const output_file& f : output_files(c.state)) {
        string_sink bytes;
        try {
            encode_output(c.state, f.format, bytes);
            form.push_back(f.name + ":" + bytes.bytes());
        } catch (const std::exception& e) {
            form.push_back(f.name + ": " + e.what());
        }
    }
    for (const diagnostic& d : c.state.diagnostics) {
        form.push_back(std::to_string(static_cast<int>(d.level)) + " " + std::to_string(d.number) +
                       " " + d.name + " " + d.document + ":" + std::to_string(d.line));
    }
    return form;
}

// Lines first to last of a document laid out, as one edit; refused when the whole text
// so changed would compile to anything else.
std::vector<text_edit> edits_of_lines(const compiled_pair& pair, source_document which, int first,
                                      int last, layout_function layout) {
    const document_text& text = *pair.document(which).text;
    if (!text.faults().empty()) {
        throw request_error(error_code::request_failed,
                            "the document holds characters Windows-1252 cannot hold; "
                            "formatting would lose them");
    }
    const std::string formatted = layout(text.bytes(), which);
    const std::vector<std::string_view> lines = lines_of(formatted);
    if (static_cast<int>(lines.size()) != text.line_count()) {
        throw request_error(error_code::internal_error, "the layout changed the number of lines");
    }
    std::string bytes;  // the whole document with those lines laid out
    std::string replaced;  // those lines, in the editor's text
    for (int l = 0; l < text.line_count(); ++l) {
        const bool in = first <= l && l <= last;
        const std::string_view line = in ? lines[static_cast<std::size_t>(l)] : text.byte_line(l);
        bytes.append(line).append(text.line_end(l));
        if (in) {
            replaced += windows1252_to_utf8(line) + std::string(l < last ? text.line_end(l) : "");
        }
    }
    if (bytes == text.bytes()) {
        return {};
    }
    compile_request again = pair.request;
    std::optional<document_source>& source = which == source_document::line ? again.line : again.train_document;
    source->text = bytes;
    if (compiled_form(scenario::compile(again)) != compiled_form(pair.compiled)) {
        throw request_error(error_code::request_failed,
                            "the layout would change what the documents compile to; "
                            "the document is left as it is");
    }
    const int end_column = static_cast<int>(text.byte_line(last).size()) + 1;
    return {{{text.position_of(first + 1, 1), text.position_of(last + 1, end_column)}, replaced}};
}

const document_text& text_of(const compiled_pair& pair, source_document which) {
    if (!pair.document(which).text) {
        throw request_error(error_code::request_failed, "the document is not there");
    }
    return *pair.document(which).text;
}

}  // namespace

std::string canonical_layout(std::string_view text, source_document kind) {
    return format_document(text, kind);
}

std::vector<text_edit> format_edits(const compiled_pair& pair, source_document which,
                                    layout_function layout) {
    const document_text& text = text_of(pair, which);
    return edits_of_lines(pair, which, 0, text.line_count() - 1, layout);
}

std::vector<text_edit> format_range_edits(const compiled_pair& pair, source_document which,
                                          text_range selection, layout_function layout) {
    const document_text& text = text_of(pair, which);
    const int count = text.line_count();
    int last = selection.end.line;
    if (selection.end.character == 0 && last > selection.start.line) {
        --last;
    }
    const int first = std::clamp(selection.start.line, 0, count - 1);
    last = std::clamp(last, first, count - 1);
    return edits_of_lines(pair, which, first, last, layout);
}

}  // namespace scenario::language
