#include "language/document_rows.hpp"

#include "compiler/field_reader.hpp"
#include "compiler/reading.hpp"
#include "model/reader_failure.hpp"

namespace scenario::language {

namespace {

std::string_view first_field(std::string_view line) {
    field_reader fields(line);
    try {
        return fields.text("keyword");
    } catch (const reader_failure&) {
        return {};
    }
}

bool same_case_free(std::string_view a, std::string_view b) {
    return a.size() == b.size() && contains(a, b);
}

}  // namespace

std::optional<std::string_view> header_of(std::string_view line) {
    const std::string_view field = first_field(line);
    if (section_header(field)) {
        return field;
    }
    return std::nullopt;
}

document_part part_at(const document_text& text, int line, source_document kind) {
    document_part part = document_part::before_general;
    for (int l = 0; l < line - 1 && l < text.line_count(); ++l) {
        const auto header = header_of(text.byte_line(l));
        if (!header) {
            continue;
        }
        if (part == document_part::before_general) {
            if (contains(*header, "[generale]")) {
                part =
                    kind == source_document::line ? document_part::general : document_part::train;
            }
        } else if (part == document_part::general) {
            part = document_part::body;
        }
    }
    return part;
}

namespace {

std::optional<keyword_hit> find_keyword(std::string_view field, document_part part) {
    if (field.empty()) {
        return std::nullopt;
    }
    const document_part order[] = {part, document_part::general, document_part::body,
                                   document_part::train};
    // A form written as it is first, then a keyword's test word anywhere in the field.
    for (const bool exact : {true, false}) {
        for (const document_part p : order) {
            for (const keyword_description& e : keyword_descriptions(p)) {
                if (exact) {
                    for (const std::string_view form : e.forms) {
                        if (same_case_free(field, form)) {
                            return keyword_hit{&e, p};
                        }
                    }
                } else if (contains(field, e.test.word) &&
                           (e.test.also.empty() || contains(field, e.test.also))) {
                    return keyword_hit{&e, p};
                }
            }
        }
    }
    return std::nullopt;
}

// The fields of an entry after its keyword field, as far as they can be read.
void read_fields(field_reader& fields, std::string_view line, const keyword_description& entry,
                 std::vector<row_field>& row) {
    for (const field_description& field : entry.fields) {
        if (fields.at_end()) {
            break;
        }
        row_field f{field.name, {}, 0, 0, {}};
        if (field.width == field_width::text) {
            f.text = fields.text("field");
        } else {
            f.number = fields.number<std::int32_t>("field");
            const field_place& at = fields.last();
            f.text =
                line.substr(at.offset, static_cast<std::size_t>(at.end_column - at.column + 1));
        }
        f.column = fields.last().column;
        f.end_column = fields.last().end_column;
        row.push_back(f);
    }
}

}  // namespace

std::vector<row_field> read_row(std::string_view line, const keyword_description* entry) {
    std::vector<row_field> row;
    field_reader fields(line);
    try {
        const std::string_view keyword = fields.text("keyword");
        if (keyword.empty() && fields.at_end()) {
            return row;
        }
        row.push_back({{}, keyword, fields.last().column, fields.last().end_column, {}});
        if (entry != nullptr) {
            read_fields(fields, line, *entry, row);
        }
    } catch (const reader_failure&) {
        // As far as the row can be read.
    }
    return row;
}

std::optional<entry_row> read_entry_row(std::string_view line, document_part part) {
    field_reader fields(line);
    std::optional<entry_row> row;
    try {
        for (int remarks = 0; remarks <= 2 && !fields.at_end(); ++remarks) {
            const std::string_view keyword = fields.text("keyword");
            const std::optional<keyword_hit> hit = find_keyword(keyword, part);
            if (!hit) {
                continue;
            }
            row = entry_row{*hit, {}};
            row->fields.push_back(
                {{}, keyword, fields.last().column, fields.last().end_column, {}});
            read_fields(fields, line, *hit->entry, row->fields);
            break;
        }
    } catch (const reader_failure&) {
        // As far as the row can be read.
    }
    return row;
}

}  // namespace scenario::language
