#include "format/format.hpp"

#include <algorithm>
#include <array>
#include <cstddef>

#include "grammar/grammar.hpp"
#include "model/file_names.hpp"

namespace scenario {

namespace {

constexpr bool blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// A number field the reader reads as written: empty, or an optional minus and digits.
bool plain_number(std::string_view v) {
    if (v.starts_with('-')) {
        v.remove_prefix(1);
        if (v.empty()) {
            return false;
        }
    }
    return std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A row cut at its commas: the keyword and at most this many fields (more: not a row
// of any layout).
constexpr std::size_t most_fields = 24;

struct cut_row {
    std::string_view keyword;
    std::array<std::string_view, most_fields> fields;  // trimmed
    std::size_t count = 0;
};

// False when the row has more fields than any layout, or a field with nothing at all
// between its comma and the next comma or the line's end (the compiler warns about
// two commas in a row; the row stays as written).
bool cut(std::string_view line, cut_row& row) {
    std::size_t comma = line.find(',');
    row.keyword = trim(line.substr(0, comma));
    row.count = 0;
    while (comma != std::string_view::npos) {
        const std::size_t from = comma + 1;
        comma = line.find(',', from);
        const std::string_view piece = line.substr(
            from, comma == std::string_view::npos ? std::string_view::npos : comma - from);
        if (piece.empty() || row.count == most_fields) {
            return false;
        }
        row.fields[row.count++] = trim(piece);
    }
    return true;
}

// The row with each field after its comma as `layout_of(i)` lays it out.
template <typename Layout>
void append_row(const cut_row& row, Layout layout_of, std::string& out) {
    out += row.keyword;
    for (std::size_t i = 0; i < row.count; ++i) {
        const std::string_view v = row.fields[i];
        const field_layout& f = layout_of(i);
        std::size_t blanks = f.width;
        if (f.align == field_align::right) {
            blanks = v.size() < f.width ? f.width - v.size() : 0;
        }
        out += ',';
        out.append(blanks, ' ');
        out += v;
    }
}

// Whether the line is exactly the row in this layout.
bool written_in(std::string_view line, const cut_row& row, std::span<const field_layout> layout) {
    if (layout.size() != row.count) {
        return false;
    }
    std::string text;
    text.reserve(line.size());
    append_row(
        row, [&](std::size_t i) -> const field_layout& { return layout[i]; }, text);
    return text == line;
}

// The one keyword that is not ASCII, as a UTF-8 document writes it.
constexpr std::string_view utf8_speed = "velocit\xc3\xa0";

void format_line(std::string_view line, source_document kind, bool utf8, std::string& out) {
    cut_row row;
    if (line.find(',') == std::string_view::npos) {
        const std::string_view t = trim(line);
        out += t.size() >= 2 && t.front() == '[' && t.back() == ']' ? t : line;
        return;
    }
    const keyword_description* keyword = nullptr;
    if (cut(line, row)) {
        keyword =
            keyword_written_as(kind, utf8 && row.keyword == utf8_speed ? "velocita" : row.keyword);
    }
    if (keyword == nullptr || row.count != keyword->fields.size()) {
        out += line;
        return;
    }
    for (std::size_t i = 0; i < row.count; ++i) {
        if (keyword->fields[i].width != field_width::text && !plain_number(row.fields[i])) {
            out += line;
            return;
        }
    }
    if (!keyword->second_layout.empty() && written_in(line, row, keyword->second_layout)) {
        out += line;
        return;
    }
    append_row(
        row, [&](std::size_t i) -> const field_layout& { return keyword->fields[i].layout; }, out);
}

}  // namespace

std::string format_document(std::string_view text, source_document kind) {
    return format_document(text, kind, text_encoding::windows_1252);
}

std::string format_document(std::string_view text, source_document kind, text_encoding encoding) {
    const bool utf8 = encoding == text_encoding::utf_8;
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 16);
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t lf = text.find('\n', from);
        if (lf == std::string_view::npos) {
            out += text.substr(from);
            break;
        }
        std::size_t end = lf;
        if (end > from && text[end - 1] == '\r') {
            --end;
        }
        format_line(text.substr(from, end - from), kind, utf8, out);
        out += "\r\n";
        from = lf + 1;
    }
    return out;
}

source_document document_kind(std::string_view file_name, std::string_view text) {
    if (scenario_of_line_document(file_name)) {
        return source_document::line;
    }
    if (looks_like_train_document(file_name)) {
        return source_document::train;
    }
    std::size_t line_rows = 0;
    std::size_t train_rows = 0;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t lf = text.find('\n', from);
        if (lf == std::string_view::npos) {
            lf = text.size();
        }
        const std::string_view line = text.substr(from, lf - from);
        const std::string_view keyword = trim(line.substr(0, line.find(',')));
        line_rows += keyword_written_as(source_document::line, keyword) != nullptr ? 1 : 0;
        train_rows += keyword_written_as(source_document::train, keyword) != nullptr ? 1 : 0;
        from = lf + 1;
    }
    return line_rows > train_rows ? source_document::line : source_document::train;
}

}  // namespace scenario
