#include "language/completion.hpp"

#include "language/document_rows.hpp"
#include "text/windows1252.hpp"

namespace scenario::language {

std::vector<completion_item> completions_at(const compiled_pair& pair, source_document which,
                                            text_position at) {
    std::vector<completion_item> items;
    const std::optional<document_text>& text = pair.document(which).text;
    if (!text) {
        return items;
    }
    const document_part part = part_at(*text, at.line + 1, which);
    if (part == document_part::before_general) {
        items.push_back({"[generale]", {}});
        return items;
    }
    for (const keyword_description& k : keyword_descriptions(part)) {
        std::vector<std::string> fields;
        for (const field_description& f : k.fields) {
            fields.emplace_back(f.name);
        }
        for (const std::string_view form : k.forms) {
            items.push_back({windows1252_to_utf8(form), fields});
        }
    }
    return items;
}

}  // namespace scenario::language
