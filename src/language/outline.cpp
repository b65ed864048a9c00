#include "language/outline.hpp"

#include "language/document_rows.hpp"
#include "text/windows1252.hpp"

namespace scenario::language {

namespace {

std::string utf8(std::string_view document_text) {
    return windows1252_to_utf8(document_text);
}

// A row of a kind the outline shows, or nothing.
std::optional<outline_symbol> row_symbol(const document_text& text, int l, document_part part) {
    const std::optional<entry_row> entry = read_entry_row(text.byte_line(l), part);
    if (!entry || entry->hit.entry->outline == outline_kind::none) {
        return std::nullopt;
    }
    const std::vector<row_field>& row = entry->fields;
    const outline_kind kind = entry->hit.entry->outline;
    const std::string where =
        row.size() > 1 && row[1].number ? std::to_string(*row[1].number) + " m" : std::string("?");
    std::string name = std::string(outline_name(kind)) + " at " + where;
    if (row.back().name.ends_with("name") || row.back().name.ends_with("text")) {
        name = utf8(row.back().text) + " (" + name + ")";
    }
    return outline_symbol{name,
                          where,
                          false,
                          kind,
                          text.field_range(l + 1, 0, 0),
                          text.field_range(l + 1, row[0].column, row[0].end_column),
                          {}};
}

}  // namespace

std::vector<outline_symbol> outline_of(const compiled_pair& pair, source_document which) {
    std::vector<outline_symbol> result;
    const std::optional<document_text>& found = pair.document(which).text;
    if (!found) {
        return result;
    }
    const document_text& text = *found;
    outline_symbol* section = nullptr;
    const auto close_section = [&](int last_line) {
        if (section != nullptr) {
            section->range.end = text.field_range(last_line, 0, 0).end;
        }
    };
    document_part part = document_part::before_general;
    for (int l = 0; l < text.line_count(); ++l) {
        if (const auto header = header_of(text.byte_line(l))) {
            close_section(l);
            part = part_at(text, l + 2, which);
            const std::vector<row_field> row = read_row(text.byte_line(l), nullptr);
            const text_range whole = text.field_range(l + 1, 0, 0);
            result.push_back({utf8(*header), {}, true, outline_kind::none, whole,
                              text.field_range(l + 1, row[0].column, row[0].end_column), {}});
            section = &result.back();
            continue;
        }
        if (part == document_part::before_general) {
            continue;
        }
        if (std::optional<outline_symbol> symbol = row_symbol(text, l, part)) {
            (section != nullptr ? section->children : result).push_back(std::move(*symbol));
        }
    }
    close_section(text.line_count());
    return result;
}

}  // namespace scenario::language
