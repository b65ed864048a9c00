#include "grammar/grammar.hpp"

#include <algorithm>
#include <limits>

#include "grammar/keyword_tables.hpp"

namespace scenario {

namespace {

constexpr char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The keywords of a table that belong to a part: they stand together, in order.
std::span<const keyword_description> part_of(std::span<const keyword_description> table,
                                             document_part part) {
    const auto first = std::find_if(table.begin(), table.end(),
                                    [&](const keyword_description& k) { return k.part == part; });
    const auto last = std::find_if(first, table.end(),
                                   [&](const keyword_description& k) { return k.part != part; });
    return {first, last};
}

template <typename T>
std::string limits_of() {
    return std::to_string(std::numeric_limits<T>::min() + 0) + " to " +
           std::to_string(std::numeric_limits<T>::max() + 0);
}

}  // namespace

bool contains(std::string_view field, std::string_view word) {
    const auto same = [](char a, char b) { return lower(a) == lower(b); };
    return std::search(field.begin(), field.end(), word.begin(), word.end(), same) != field.end();
}

bool keyword_test::matches(std::string_view field, bool with_plan) const {
    if (plan_only && !with_plan) {
        return false;
    }
    const auto has = [&](std::string_view w) {
        return exact ? contains_exact(field, w) : contains(field, w);
    };
    return has(word) && (also.empty() || has(also));
}

std::span<const keyword_description> keyword_descriptions(document_part part) {
    switch (part) {
        case document_part::general:
        case document_part::body:
            return part_of(line_document_table(), part);
        case document_part::train:
            return train_document_table();
        case document_part::before_general:
            break;
    }
    return {};
}

std::span<const keyword_description> keyword_descriptions(source_document document) {
    return document == source_document::line ? line_document_table() : train_document_table();
}

const keyword_description* keyword_written_as(source_document document, std::string_view written) {
    for (const keyword_description& k : keyword_descriptions(document)) {
        if (std::find(k.forms.begin(), k.forms.end(), written) != k.forms.end()) {
            return &k;
        }
    }
    return nullptr;
}

std::string_view width_name(field_width width) {
    switch (width) {
        case field_width::int32:
            return "32-bit";
        case field_width::int16:
            return "16-bit";
        case field_width::uint8:
            return "8-bit unsigned";
        case field_width::text:
            break;
    }
    return "text";
}

std::string_view outline_name(outline_kind kind) {
    switch (kind) {
        case outline_kind::station:
            return "station";
        case outline_kind::signal:
            return "signal";
        case outline_kind::slowdown:
            return "slowdown";
        case outline_kind::tunnel:
            return "tunnel";
        case outline_kind::board:
            return "board";
        case outline_kind::speed_board:
            return "speed board";
        case outline_kind::none:
            break;
    }
    return "";
}

std::string_view use_name(simulator_use use) {
    return use == simulator_use::yes ? "yes" : "unknown";
}

std::string range_text(const field_description& field) {
    if (!field.range.empty()) {
        return std::string(field.range);
    }
    switch (field.width) {
        case field_width::int32:
            return limits_of<std::int32_t>();
        case field_width::int16:
            return limits_of<std::int16_t>();
        case field_width::uint8:
            return limits_of<std::uint8_t>();
        case field_width::text:
            break;
    }
    return "any text without a comma";
}

}  // namespace scenario
