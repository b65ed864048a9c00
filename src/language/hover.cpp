#include "language/hover.hpp"

#include <algorithm>

#include "compiler/messages.hpp"
#include "language/document_rows.hpp"
#include "model/cella.hpp"
#include "model/voce.hpp"
#include "text/windows1252.hpp"

namespace scenario::language {

namespace {

std::string utf8(std::string_view document_text) {
    return windows1252_to_utf8(document_text);
}

const char* part_words(document_part part) {
    switch (part) {
        case document_part::general:
            return "a value of the line document's general part";
        case document_part::body:
            return "an entry of the line document's body";
        case document_part::train:
            return "an entry of the train document";
        case document_part::before_general:
            break;
    }
    return "";
}

const char* part_name(document_part part) {
    switch (part) {
        case document_part::general:
            return "the line document's general part";
        case document_part::body:
            return "the line document's body";
        case document_part::train:
            return "the train document";
        case document_part::before_general:
            break;
    }
    return "the lines before \"[generale]\"";
}

// The keywords of a part, each with its forms.
hover_block keywords_block(document_part part) {
    hover_block block{std::string("Keywords of ") + part_name(part), {}, false, std::nullopt};
    for (const keyword_description& k : keyword_descriptions(part)) {
        std::string forms;
        for (const std::string_view form : k.forms) {
            forms += (forms.empty() ? "" : " or ") + utf8(form);
        }
        block.items.push_back(std::move(forms));
    }
    if (block.items.empty()) {
        block.heading = "No keyword counts before \"[generale]\"";
    }
    return block;
}

const char* kind_words(element_kind kind) {
    constexpr const char* words[element_kinds] = {
        "station",         "signal",        "board",          "speed board",
        "slowdown",        "tunnel",        "speed limit step", "gradient step",
        "adhesion step",   "curve",         "code point"};
    return words[static_cast<std::size_t>(kind)];
}

bool has_value(element_kind kind) {
    return kind == element_kind::slowdown || kind == element_kind::tunnel ||
           kind == element_kind::speed || kind == element_kind::gradient ||
           kind == element_kind::adhesion;
}

// An element as the live page's list gives it: its number, position, end and cell.
std::string element_line(const element_index& index, std::int32_t number) {
    const element& e = index.all()[static_cast<std::size_t>(number)];
    std::string s = "element " + std::to_string(number) + ": " + kind_words(e.kind) + " at " +
                    std::to_string(e.position) + " m";
    if (e.end) {
        s += " to " + std::to_string(*e.end) + " m";
    }
    if (e.cell >= 0) {
        s += ", cell " + std::to_string(e.cell);
    }
    if (e.entry >= 0) {
        s += ", header entry " + std::to_string(e.entry);
    }
    if (has_value(e.kind)) {
        s += ", value " + std::to_string(e.value);
    }
    if (e.automatic) {
        s += ", placed by the code placement pass";
    }
    return s;
}

template <typename Record, typename Fields>
std::string values_of(const Record& r, const Fields& fields, std::string_view skip) {
    std::string s;
    for_each_field(fields, [&](const auto& field) {
        if (std::string_view(field.name) == skip) {
            return;
        }
        s += s.empty() ? "" : ", ";
        s += field.name;
        if constexpr (std::decay_t<decltype(field)>::is_text) {
            s += " \"" + utf8(r.*(field.member)) + "\"";
        } else {
            s += " " + std::to_string(static_cast<std::int64_t>(field.stored(r)));
        }
    });
    return s;
}

std::string cell_line(const griglia& cells, std::int32_t c) {
    const cella& k = cells[static_cast<std::size_t>(c)];
    return "cell " + std::to_string(c) + " (from " + std::to_string(c * metres_per_cell) +
           " m): " + (k.tipo_cella == tipo::vuota ? "no element" : element_name(k.tipo_cella)) +
           "; " + values_of(k, cella_fields, "tipo_cella");
}

// What a document line compiled to, by the element index.
void add_compiled(const compiled_pair& pair, source_document which, int line,
                  std::vector<hover_block>& blocks) {
    const element_index& index = pair.compiled.elements();
    const std::optional<std::int32_t> row = index.row_at(which, line);
    if (!row) {
        return;
    }
    hover_block made{"Elements it made", {}, false, std::nullopt};
    for (const std::int32_t e : index.elements_of(*row)) {
        made.items.push_back(element_line(index, e));
    }
    hover_block wrote{"Cells it wrote", {}, false, std::nullopt};
    const griglia& cells = pair.compiled.state.celle;
    for (const std::int32_t c : index.cells_of(*row)) {
        if (c >= 0 && static_cast<std::size_t>(c) < cells.size()) {
            wrote.items.push_back(cell_line(cells, c));
        }
    }
    for (hover_block* b : {&made, &wrote}) {
        if (!b->items.empty()) {
            blocks.push_back(std::move(*b));
        }
    }
    const std::int32_t entry = index.entry_of(*row);
    if (entry >= 0 && entry < numero_voci) {
        blocks.push_back({"Header entry " + std::to_string(entry) + " it filled",
                          {values_of(pair.compiled.state.voci[static_cast<std::size_t>(entry)],
                                     voce_fields, {})},
                          false,
                          std::nullopt});
    }
}

// The keyword field of an entry: what it means, its fields and its forms.
void add_keyword(const keyword_description& k, std::vector<hover_block>& blocks) {
    blocks.push_back({std::string(k.meaning), {}, false, std::nullopt});
    hover_block fields{"Fields, in order", {}, true, std::nullopt};
    for (const field_description& f : k.fields) {
        fields.items.emplace_back(f.name);
    }
    blocks.push_back(std::move(fields));
    if (k.forms.size() > 1) {
        std::string forms;
        for (const std::string_view form : k.forms) {
            forms += (forms.empty() ? "" : ", ") + utf8(form);
        }
        blocks.push_back({"Written as: " + forms, {}, false, std::nullopt});
    }
}

// A field of an entry: its description, then the row's values with this one stressed.
void add_field(const field_description& f, const std::vector<row_field>& row, std::size_t under,
               int line, std::vector<hover_block>& blocks) {
    hover_block about{"Field " + std::to_string(under) + ", " + std::string(f.name),
                      {std::string(f.meaning), "read as: " + std::string(width_name(f.width))},
                      false,
                      std::nullopt};
    if (!f.unit.empty()) {
        about.items.push_back("unit: " + std::string(f.unit));
    }
    about.items.push_back("range: " + range_text(f));
    if (!f.empty.empty()) {
        about.items.push_back("empty reads as: " + std::string(f.empty));
    }
    about.items.push_back("used by the simulator: " + std::string(use_name(f.used)));
    blocks.push_back(std::move(about));
    hover_block values{"Line " + std::to_string(line), {}, false, under - 1};
    for (std::size_t i = 1; i < row.size(); ++i) {
        values.items.push_back(std::string(row[i].name) + " = " +
                               (row[i].number ? std::to_string(*row[i].number) : utf8(row[i].text)));
    }
    blocks.push_back(std::move(values));
}

hover_info header_hover(const document_text& text, source_document which, int line) {
    const std::vector<row_field> row = read_row(text.byte_line(line), nullptr);
    const document_part opens = part_at(text, line + 2, which);
    hover_info h{utf8(row[0].text), {}, {keywords_block(opens)},
                 text.field_range(line + 1, row[0].column, row[0].end_column)};
    h.summary = opens == document_part::before_general ? "a section header before \"[generale]\""
                : opens == document_part::general       ? "the start of the line document's general part"
                                                        : std::string("a section header of ") + part_name(opens);
    return h;
}

hover_info unknown_hover(const compiled_pair& pair, source_document which, int line,
                         document_part part) {
    const document_text& text = *pair.document(which).text;
    const std::vector<row_field> row = read_row(text.byte_line(line), nullptr);
    hover_info h{utf8(row[0].text), std::string("no keyword of ") + part_name(part), {},
                 text.field_range(line + 1, row[0].column, row[0].end_column)};
    hover_block said{"Said here", {}, false, std::nullopt};
    for (const diagnostic& d : pair.compiled.state.diagnostics) {
        if (d.document == pair.document(which).name && d.line == line + 1) {
            const char* level = d.level == severity::error     ? "error: "
                                : d.level == severity::warning ? "warning: "
                                                               : "note: ";
            said.items.push_back(level + utf8(d.message));
        }
    }
    if (!said.items.empty()) {
        h.blocks.push_back(std::move(said));
    }
    h.blocks.push_back(keywords_block(part));
    return h;
}

}  // namespace

std::optional<hover_info> hover_at(const compiled_pair& pair, source_document which,
                                   text_position at) {
    const std::optional<document_text>& text = pair.document(which).text;
    if (!text || at.line < 0 || at.line >= text->line_count()) {
        return std::nullopt;
    }
    const std::string_view line = text->byte_line(at.line);
    if (header_of(line)) {
        return header_hover(*text, which, at.line);
    }
    const document_part part = part_at(*text, at.line + 1, which);
    if (part == document_part::before_general) {
        return std::nullopt;
    }
    const std::optional<entry_row> entry = read_entry_row(line, part);
    if (!entry) {
        const std::vector<row_field> row = read_row(line, nullptr);
        const bool remark = !row.empty() && row[0].text.find('-') != std::string_view::npos;
        return row.empty() || row[0].text.empty() || remark
                   ? std::nullopt
                   : std::optional(unknown_hover(pair, which, at.line, part));
    }
    const std::vector<row_field>& row = entry->fields;
    const int column = text->column_at(at);
    std::size_t under = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        under = column >= row[i].column ? i : under;
    }
    const keyword_description& k = *entry->hit.entry;
    hover_info h{utf8(k.forms.empty() ? row[0].text : k.forms[0]), part_words(entry->hit.part), {},
                 text->field_range(at.line + 1, row[under].column, row[under].end_column)};
    if (under == 0) {
        add_keyword(k, h.blocks);
    } else {
        add_field(k.fields[under - 1], row, under, at.line + 1, h.blocks);
    }
    add_compiled(pair, which, at.line + 1, h.blocks);
    return h;
}

}  // namespace scenario::language
