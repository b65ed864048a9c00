#include <string>

#include "grammar/grammar.hpp"

namespace scenario {

namespace {

constexpr std::string_view heading =
    "<!-- Made by \"scenario help documents > docs/documents.md\" from src/grammar/; edit the "
    "description there, not this page. -->\n"
    "\n"
    "# The scenario documents\n"
    "\n";

constexpr std::string_view introduction =
    "A scenario is written in two plain-text documents, Windows-1252, every line ended by "
    "CR LF:\n"
    "\n"
    "- the line document `NAME_linea.txt`: the route (its length, kilometre references, "
    "scenery values, signal repetition) in its general part, then its curves, gradients, "
    "tunnels and boards in its body;\n"
    "- the train document `NAME_TRAIN-.txt`: the train, its speed-limit and adhesion "
    "profiles, clock, stations, slowdowns, signals and code points.\n"
    "\n"
    "This page lists every keyword of both with its fields, in the order the compiler tests "
    "them.\n";

constexpr std::string_view reading_rules_heading = "## How a document is read\n\n";

constexpr std::string_view reading_rules =
    "- **Fields, not lines.** A document is read as a stream of fields. A text field runs to "
    "the next comma or the end of the line. A number field is a whole number, with an "
    "optional \"-\", ending at a comma, a blank or the end of the line: numbers may stand "
    "apart by blanks alone. An empty field reads as 0. A line break only ends a field: a row "
    "short of fields takes them from the next line, and a field too many is read as the next "
    "keyword field (the compiler warns about both).\n"
    "- **Keywords.** A keyword field is recognised when it contains the keyword's words "
    "anywhere, in any case unless said otherwise; every keyword whose test it passes acts, "
    "in the order of this page. The forms listed are how the documents write them; "
    "messages name the first. A field that passes no test is skipped.\n"
    "- **Remarks.** A keyword field holding \"-\" is a remark and is skipped, up to ten in a "
    "row in the general part and two elsewhere.\n"
    "- **Frame.** Everything before the first field holding \"[generale]\" is skipped. In "
    "the line document the general part ends at the first section header (a field holding "
    "\"[\" and \"]\" that does not begin with \"-\"), and the body follows; the train document "
    "has one part. Section headers such as \"[curve]\" or \"[stazioni]\" only group the "
    "rows. The last field of a document is never acted on, so both end with \"[fine]\".\n"
    "- **Widths.** Each number is read at its width: 32-bit (-2147483648 to 2147483647), "
    "16-bit (-32768 to 32767) or 8-bit unsigned (0 to 255). A number outside its width, a "
    "field that is not a number, or a document that ends inside a row is error 25, naming "
    "the field as the tables below do.\n"
    "- **Chainages and cells.** Chainages are metres from the start of the route. The grid "
    "has cells 0 to N, N = near((L + 7000) / 50) with L the route length and near() rounding "
    "halves to the even neighbour; cell i covers 50 i to 50 i + 49 m. A row is read while "
    "its chainage + 100 is at most 50 N (a station's + 800): up to L + 6900 (L + 6200) when "
    "L is a multiple of 50. A row further on is error 15 and ends that document's rows; one "
    "past L gets a warning. A cell is free when it holds no element or only a tunnel "
    "marker.\n"
    "- **Columns.** *Read as*: the field's width. *Range*: what the compiler accepts and "
    "does. *Empty*: what an empty field reads as. *Used*: yes when the value, or what the "
    "compiler makes of it, has a known role in the simulator's run; unknown when it is "
    "stored in the files but what the simulator does with it is not known.\n"
    "- **Layout.** `scenario fmt` writes a row in its keyword's layout, the built-in "
    "documents' own: after each comma, field by field, a number of blanks, or as many as "
    "right-align the field in a column of that width.\n";

std::string quoted_forms(const keyword_description& k) {
    std::string out;
    for (std::size_t i = 0; i < k.forms.size(); ++i) {
        out.append(i == 0 ? "" : ", ").append("`").append(k.forms[i]).append("`");
    }
    return out;
}

// "2, 3 blanks", "right-aligned in 8, 6, then 1 blank": the runs of fields laid out alike.
template <typename Layout>
std::string layout_words(std::size_t count, Layout layout_of) {
    std::string out;
    std::size_t i = 0;
    while (i < count) {
        const field_align align = layout_of(i).align;
        std::string widths;
        std::size_t blanks = 0;
        for (; i < count && layout_of(i).align == align; ++i) {
            blanks = layout_of(i).width;
            widths.append(widths.empty() ? "" : ", ").append(std::to_string(blanks));
        }
        out.append(out.empty() ? "" : ", then ");
        if (align == field_align::right) {
            out.append("right-aligned in ").append(widths);
        } else {
            out.append(widths).append(widths == "1" ? " blank" : " blanks");
        }
    }
    return out;
}

// "-" for a cell with nothing to say.
std::string cell(std::string_view text) {
    return text.empty() ? std::string("-") : std::string(text);
}

void append_keyword(const keyword_description& k, std::string& out) {
    out.append("### ").append(k.forms[0]).append("\n\n");
    out.append(k.meaning).append("\n\n");
    out.append("- Written as: ").append(quoted_forms(k)).append("\n");
    out.append("- Recognised when the keyword field contains ").append(keyword_test_text(k.test));
    out.append("\n");
    if (k.outline != outline_kind::none) {
        out.append("- Outline: ").append(outline_name(k.outline)).append("\n");
    }
    out.append("- Example: `").append(k.example).append("`\n");
    out.append("- Layout: ").append(keyword_layout_text(k)).append("\n\n");
    out.append("| # | Field | Read as | Meaning | Unit | Range | Empty | Used |\n");
    out.append("|---|---|---|---|---|---|---|---|\n");
    for (std::size_t i = 0; i < k.fields.size(); ++i) {
        const field_description& f = k.fields[i];
        out.append("| ").append(std::to_string(i + 1));
        for (const std::string& c :
             {std::string(f.name), std::string(width_name(f.width)), std::string(f.meaning),
              cell(f.unit), range_text(f), std::string(f.empty), std::string(use_name(f.used))}) {
            out.append(" | ").append(c);
        }
        out.append(" |\n");
    }
    out.append("\n");
}

constexpr reference_part parts[] = {
    {document_part::general, "Line document: general part",
     "From \"[generale]\" to the first section header."},
    {document_part::body, "Line document: body", "From the first section header to the end."},
    {document_part::train, "Train document", "From \"[generale]\" to the end."},
};

}  // namespace

std::string keyword_test_text(const keyword_test& t) {
    // Built by appending, which g++ 12 at -O3 does not warn about.
    std::string out;
    out.append("\"").append(t.word).append("\"");
    if (!t.also.empty()) {
        out.append(" and \"").append(t.also).append("\"");
    }
    out += t.exact ? ", exactly as written" : ", in any case";
    if (t.plan_only) {
        out += ", only when the plan is compiled";
    }
    return out;
}

std::string keyword_layout_text(const keyword_description& k) {
    std::string out = layout_words(
        k.fields.size(), [&](std::size_t i) -> const field_layout& { return k.fields[i].layout; });
    if (!k.second_layout.empty()) {
        out += "; a row written ";
        out += layout_words(k.second_layout.size(), [&](std::size_t i) -> const field_layout& {
            return k.second_layout[i];
        });
        out += " is also kept";
    }
    return out;
}

std::string_view reference_introduction() {
    return introduction;
}

std::string_view reference_reading_rules() {
    return reading_rules;
}

std::span<const reference_part> reference_parts() {
    return parts;
}

std::string reference_markdown(std::string (*to_utf8)(std::string_view document_text)) {
    std::string out(heading);
    out.append(introduction).append("\n").append(reading_rules_heading);
    out.append(reading_rules).append("\n");
    for (const reference_part& p : parts) {
        out.append("## ").append(p.title).append("\n\n").append(p.text).append("\n\n");
        for (const keyword_description& k : keyword_descriptions(p.part)) {
            append_keyword(k, out);
        }
    }
    out.pop_back();  // one line break at the end
    return to_utf8(out);
}

}  // namespace scenario
