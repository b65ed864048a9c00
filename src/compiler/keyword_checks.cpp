#include "compiler/keyword_checks.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <string>

#include "compiler/line_body.hpp"
#include "compiler/line_reader.hpp"
#include "compiler/train_reader.hpp"

namespace scenario {

namespace {

constexpr char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool digit(char c) {
    return c >= '0' && c <= '9';
}

// Letters, digits, "_" and every byte above 127 (the letters of the code page) make words.
constexpr bool word_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || digit(c) || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

std::span<const std::string_view> forms_of(const keyword_entry& e) {
    return e.description->forms;
}

std::string first_form(const keyword_entry& e) {
    return std::string(e.description->forms[0]);
}

bool same_case_free(std::string_view field, std::string_view form) {
    return field.size() == form.size() && std::equal(field.begin(), field.end(), form.begin(),
                                                     [](char a, char b) { return lower(a) == b; });
}

bool known_form(std::string_view field, const keyword_entry& e) {
    // As written, the usual case.
    const std::span<const std::string_view> forms = forms_of(e);
    if (std::find(forms.begin(), forms.end(), field) != forms.end()) {
        return true;
    }
    if (std::none_of(field.begin(), field.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
        return false;
    }
    return std::any_of(forms.begin(), forms.end(),
                       [&](std::string_view form) { return same_case_free(field, form); });
}

bool comment_mark(std::string_view field) {
    return field.starts_with('#') || field.starts_with("//") || field.starts_with(';');
}

std::string_view without_end_digits(std::string_view word) {
    while (!word.empty() && digit(word.back())) {
        word.remove_suffix(1);
    }
    return word;
}

// Where a keyword lies inside a longer word that no form of its entry has: the word and
// the keyword.
struct word_hit {
    std::string_view word;
    std::string_view keyword;
};

std::optional<word_hit> keyword_inside_word(std::string_view field, const keyword_entry& e) {
    for (const std::string_view keyword : {e.description->test.word, e.description->test.also}) {
        if (keyword.empty()) {
            continue;
        }
        for (std::size_t at = 0; at + keyword.size() <= field.size(); ++at) {
            // The test words are lower case, so this finds the exact ones too.
            if (!same_case_free(field.substr(at, keyword.size()), keyword)) {
                continue;
            }
            std::size_t from = at;
            std::size_t to = at + keyword.size();
            while (from > 0 && word_char(field[from - 1])) {
                --from;
            }
            while (to < field.size() && word_char(field[to])) {
                ++to;
            }
            const std::string_view word = field.substr(from, to - from);
            if (word.size() == keyword.size()) {
                continue;
            }
            // A word of a form, but for the digits at its end (a curve's class).
            bool in_a_form = false;
            const std::string_view stem = without_end_digits(word);
            for (const std::string_view form : forms_of(e)) {
                std::size_t start = 0;
                while (start < form.size()) {
                    std::size_t end = form.find(' ', start);
                    end = end == std::string_view::npos ? form.size() : end;
                    in_a_form =
                        in_a_form ||
                        same_case_free(stem, without_end_digits(form.substr(start, end - start)));
                    start = end + 1;
                }
            }
            if (!in_a_form) {
                return word_hit{word, keyword};
            }
        }
    }
    return std::nullopt;
}

// The edit distance between a field (any case) and a form, or something above `limit`
// once it is certain to exceed it.
std::size_t distance(std::string_view field, std::string_view form, std::size_t limit) {
    if (field.size() > form.size() + limit || form.size() > field.size() + limit) {
        return limit + 1;
    }
    std::array<std::size_t, 65> previous{};
    std::array<std::size_t, 65> current{};
    for (std::size_t j = 0; j <= form.size(); ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= field.size(); ++i) {
        current[0] = i;
        std::size_t best = current[0];
        for (std::size_t j = 1; j <= form.size(); ++j) {
            const std::size_t change =
                previous[j - 1] + (lower(field[i - 1]) == form[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, change});
            best = std::min(best, current[j]);
        }
        if (best > limit) {
            return limit + 1;
        }
        std::swap(previous, current);
    }
    return previous[form.size()];
}

// The forms of the table nearest to the field, when they are near enough to be a slip:
// every form at the least distance, the table's first first.
std::vector<std::string> closest_forms(std::string_view field,
                                       std::span<const keyword_entry> table) {
    constexpr std::size_t longest = 64;
    if (field.size() > longest) {
        return {};
    }
    constexpr std::size_t slip = 2;  // at most two letters wrong
    std::size_t best = slip;
    std::vector<std::string> found;
    for (const keyword_entry& e : table) {
        for (const std::string_view form : forms_of(e)) {
            if (form.size() > longest) {
                continue;
            }
            const std::size_t d = distance(field, form, slip);
            if (d > best || d * 3 > form.size()) {
                continue;
            }
            if (d < best) {
                best = d;
                found.clear();
            }
            if (std::find(found.begin(), found.end(), form) == found.end()) {
                found.emplace_back(form);
            }
        }
    }
    return found;
}

// Whether a form is only the stem of longer forms of its keyword ("curva", which a
// curve's side and class follow): written alone, the line would not read as meant.
bool stem_form(std::string_view form, std::span<const keyword_entry> table) {
    for (const keyword_entry& e : table) {
        for (const std::string_view other : forms_of(e)) {
            if (other.size() > form.size() && other.starts_with(form)) {
                return true;
            }
        }
    }
    return false;
}

// The same field written with other text, as a fix: certain when it is the only one.
std::vector<diagnostic_fix> rewrites(const reading& r, const field_place& at,
                                     const std::vector<std::string>& texts, std::string_view was) {
    std::vector<diagnostic_fix> fixes;
    for (const std::string& t : texts) {
        fixes.push_back(r.fix_at(at, t, "write \"" + t + "\" for \"" + std::string(was) + "\"",
                                 texts.size() == 1));
    }
    return fixes;
}

std::string lower_case(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = lower(c);
    }
    return out;
}

// The comment mark a field begins with ("#", "//" or ";").
std::size_t comment_mark_length(std::string_view field) {
    return field.starts_with("//") ? 2 : 1;
}

// A comment mark made a remark mark: the mark's own columns become "-".
diagnostic_fix remark_fix(const reading& r, const field_place& at, std::string_view field,
                          bool certain) {
    field_place mark = at;
    mark.end_column = mark.column + static_cast<int>(comment_mark_length(field)) - 1;
    return r.fix_at(mark, "-", "make the line a remark: write \"-\" for \"" +
                                   std::string(field.substr(0, comment_mark_length(field))) + "\"",
                    certain);
}

// A whole number for a number written with a decimal comma: rounded, halves up.
std::string rounded(std::string_view integer, std::string_view fraction) {
    std::string out(integer);
    if (!fraction.empty() && fraction.front() >= '5') {
        std::size_t i = out.size();
        while (i > 0 && out[i - 1] == '9') {
            out[--i] = '0';
        }
        if (i == 0) {
            out.insert(out.begin(), '1');
        } else {
            ++out[i - 1];
        }
    }
    const std::size_t first = std::min(out.find_first_not_of('0'), out.size() - 1);
    return out.substr(first);
}

// Whether a field passes some entry of a table: as the test is, or with the exact tests
// made case-free (another case), or with the plan switch taken as on.
enum class test_mode { as_is, case_free, with_plan };

const keyword_entry* passing_entry(const reading& r, std::span<const keyword_entry> table,
                                   std::string_view field, test_mode mode) {
    for (const keyword_entry& e : table) {
        keyword_test t = e.description->test;
        if (mode == test_mode::case_free) {
            if (!t.exact) {
                continue;
            }
            t.exact = false;
        }
        if (mode == test_mode::with_plan) {
            if (!t.plan_only) {
                continue;
            }
            t.plan_only = false;
        }
        if (r.passes(t, field)) {
            return &e;
        }
    }
    return nullptr;
}

// The text of a field of the document being read.
std::string_view field_text(const reading& r, const field_place& place) {
    const std::string_view line = r.fields.line_of(place);
    const auto from = static_cast<std::size_t>(std::max(place.column, 1) - 1);
    if (from >= line.size()) {
        return {};
    }
    return line.substr(from, static_cast<std::size_t>(place.end_column - place.column + 1));
}

// A number written with a decimal comma: exactly two runs of digits joined by one comma,
// with nothing but blanks, commas or the line's ends around them.
struct decimal {
    int column;
    int end_column;
    std::string_view whole;
    std::string_view integer;
    std::string_view fraction;
};

std::optional<decimal> decimal_comma(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (!digit(line[i]) || (i > 0 && word_char(line[i - 1]))) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        std::size_t comma = 0;
        int runs = 0;
        while (true) {
            while (i < line.size() && digit(line[i])) {
                ++i;
            }
            ++runs;
            if (i + 1 < line.size() && line[i] == ',' && digit(line[i + 1])) {
                comma = runs == 1 ? i : comma;
                ++i;
                continue;
            }
            break;
        }
        if (runs == 2 && (i == line.size() || !word_char(line[i]))) {
            return decimal{static_cast<int>(start) + 1, static_cast<int>(i),
                           line.substr(start, i - start), line.substr(start, comma - start),
                           line.substr(comma + 1, i - comma - 1)};
        }
    }
    return std::nullopt;
}

// The warnings the entries made about the values of a line whose fields shifted: they
// speak of values the author did not mean for those fields.
void drop_value_warnings(reading& r, std::size_t first) {
    auto& list = r.state.diagnostics;
    list.erase(std::remove_if(list.begin() + static_cast<std::ptrdiff_t>(first), list.end(),
                              [](const diagnostic& d) { return d.level == severity::warning; }),
               list.end());
}

void insert_warning(reading& r, std::size_t first, warning w, const field_place& place,
                    std::string message, std::vector<diagnostic_note> notes = {},
                    std::vector<diagnostic_fix> fixes = {}) {
    r.warn(w, place, std::move(message), std::move(notes), std::move(fixes));
    auto& list = r.state.diagnostics;
    if (first < list.size() - 1) {
        std::rotate(list.begin() + static_cast<std::ptrdiff_t>(first), list.end() - 1, list.end());
    }
}

// Every empty field two commas in a row make on a line given a 0, in one fix over the
// stretch from the first such field to the last.
diagnostic_fix zeros_fix(const reading& r, const field_place& doubled) {
    const std::string_view line = r.fields.line_of(doubled);
    std::size_t first = std::string_view::npos;
    std::size_t last = 0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == ',' && line[i - 1] == ',') {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first == std::string_view::npos) {
        first = last = static_cast<std::size_t>(doubled.column - 1);
    }
    std::string replacement;
    for (std::size_t i = first; i <= last && i < line.size(); ++i) {
        if (line[i] == ',' && i > 0 && line[i - 1] == ',') {
            replacement += '0';
        }
        replacement += line[i];
    }
    field_place at = doubled;
    at.column = static_cast<int>(first) + 1;
    at.end_column = static_cast<int>(last) + 1;
    return r.fix_at(at, replacement, "write 0 in the empty field between two commas", true);
}

// The comma at or after a column of a line (from 1), as a place; its column is 0 when
// there is none.
field_place comma_from(const reading& r, const field_place& on, int column) {
    const std::string_view line = r.fields.line_of(on);
    field_place at = on;
    const std::size_t comma = line.find(',', static_cast<std::size_t>(std::max(column, 1) - 1));
    at.column = comma == std::string_view::npos ? 0 : static_cast<int>(comma) + 1;
    at.end_column = at.column;
    return at;
}

void check_unmatched(reading& r, std::span<const keyword_entry> table, std::string_view field) {
    const int line = r.keyword_place.line;
    if (field.empty() || r.quiet(line) || section_header(field)) {
        return;
    }
    // A curve without the plan is left out on purpose.
    if (passing_entry(r, table, field, test_mode::with_plan) != nullptr) {
        return;
    }
    r.quiet_line = line;
    const field_place& at = r.keyword_place;
    const std::string text(field);
    if (comment_mark(field)) {
        r.warn(warning::comment_style, at, say(phrase::comment_read_as_fields, {text}), {},
               {remark_fix(r, at, field, true)});
        return;
    }
    if (r.part == section::general) {
        if (const keyword_entry* e = passing_entry(r, table, field, test_mode::case_free)) {
            r.warn(warning::keyword_case, at, say(phrase::keyword_case, {text, first_form(*e)}),
                   {}, rewrites(r, at, {lower_case(field)}, field));
            return;
        }
        if (passing_entry(r, body_keywords(), field, test_mode::as_is) != nullptr) {
            ++r.outside_lines;
            if (!r.outside_warning) {
                r.outside_warning = r.state.diagnostics.size();
                r.warn(warning::keyword_outside_section, at,
                       say(phrase::body_keyword_in_general_part, {text}));
            }
            return;
        }
    }
    if (r.part == section::body &&
        (passing_entry(r, general_keywords(), field, test_mode::as_is) != nullptr ||
         passing_entry(r, general_keywords(), field, test_mode::case_free) != nullptr)) {
        r.warn(warning::keyword_outside_section, at,
               say(phrase::general_keyword_in_body, {text, std::to_string(r.header_line)}));
        return;
    }
    const bool train = r.part == section::train;
    const bool other =
        train ? passing_entry(r, general_keywords(), field, test_mode::as_is) != nullptr ||
                    passing_entry(r, body_keywords(), field, test_mode::as_is) != nullptr
              : passing_entry(r, train_keywords(), field, test_mode::as_is) != nullptr;
    if (other) {
        r.warn(warning::keyword_outside_section, at,
               say(phrase::keyword_of_other_document,
                   {text, train ? "line" : "train", train ? "train" : "line"}));
        return;
    }
    if (const std::vector<std::string> like = closest_forms(field, table); !like.empty()) {
        std::vector<diagnostic_fix> fixes = rewrites(r, at, like, field);
        if (fixes.size() == 1 && stem_form(like[0], table)) {
            fixes[0].certain = false;
        }
        r.warn(warning::unknown_keyword, at, say(phrase::unknown_keyword_like, {text, like[0]}),
               {}, std::move(fixes));
    } else {
        r.warn(warning::unknown_keyword, at, say(phrase::unknown_keyword, {text}));
    }
}

void check_matched(reading& r, std::span<const keyword_entry> table, std::uint32_t passed,
                   std::string_view field) {
    const int line = r.keyword_place.line;
    const field_place& at = r.keyword_place;
    const keyword_entry& e = table[static_cast<std::size_t>(std::countr_zero(passed))];
    if (!r.row_start) {
        r.warn(warning::surplus_fields, at,
               say(phrase::surplus_field_is_keyword,
                   {std::string(field), e.description->test.word, first_form(e)}));
        return;
    }
    // The usual line, a keyword as the documents write it (most often as on the line
    // before), costs these tests alone.
    const bool several = (passed & (passed - 1)) != 0;
    if (!several && (field == r.known_keyword || known_form(field, e))) {
        r.known_keyword = field;
        return;
    }
    if (r.quiet(line)) {
        return;
    }
    const std::string text(field);
    if (comment_mark(field)) {
        r.quiet_line = line;
        r.warn(warning::comment_style, at,
               say(phrase::comment_read_as_entry, {text, first_form(e)}), {},
               {remark_fix(r, at, field, false)});
        return;
    }
    if (contains_exact(field, "-")) {
        r.quiet_line = line;
        r.warn(warning::remark_keyword, at,
               say(phrase::remark_read_as_keyword,
                   {text, r.part == section::general ? "eleventh" : "third", first_form(e)}));
        return;
    }
    if (several) {
        std::string names;
        for (std::size_t i = 0; i < table.size(); ++i) {
            if ((passed & (1u << i)) != 0) {
                const bool last = (passed >> (i + 1)) == 0;
                names.append(names.empty() ? ""
                             : last        ? " and "
                                           : ", ")
                    .append("\"")
                    .append(first_form(table[i]))
                    .append("\"");
            }
        }
        r.quiet_line = line;
        r.warn(warning::keyword_in_word, at, say(phrase::keyword_several, {text, names}));
        return;
    }
    if (const auto hit = keyword_inside_word(field, e)) {
        r.quiet_line = line;
        field_place word = at;
        word.column += static_cast<int>(hit->word.data() - field.data());
        word.end_column = word.column + static_cast<int>(hit->word.size()) - 1;
        std::vector<diagnostic_fix> fixes = rewrites(r, word, {first_form(e)}, hit->word);
        fixes.front().certain = false;
        r.warn(warning::keyword_in_word, at,
               say(phrase::keyword_in_word,
                   {std::string(hit->word), std::string(hit->keyword), first_form(e)}),
               {}, std::move(fixes));
    }
}

}  // namespace

void check_keyword(reading& r, std::span<const keyword_entry> table, std::uint32_t passed) {
    if (!r.keyword_warnings) {
        return;
    }
    const std::string_view field = r.keyword;
    const int line = r.keyword_place.line;
    if (r.fine_line != 0 && !r.after_fine_warned && line > r.fine_line && r.row_start &&
        !field.empty()) {
        r.after_fine_warned = true;
        r.quiet_line = std::max(r.quiet_line, line);
        r.warn(warning::data_after_fine, r.keyword_place,
               say(phrase::data_after_fine, {std::to_string(r.fine_line)}));
    }
    if (field.starts_with('[') && contains(field, "[fine]")) {
        r.fine_line = r.fine_line == 0 ? line : r.fine_line;
        return;
    }
    if (passed == 0) {
        if (r.row_start) {
            check_unmatched(r, table, field);
        }
        return;
    }
    check_matched(r, table, passed, field);
}

void check_row(reading& r, std::size_t first, std::size_t taken) {
    if (!r.keyword_warnings) {
        return;
    }
    const field_place& row = r.keyword_place;
    const int line = row.line;
    const field_place& last = r.fields.last();
    if (last.line > line) {
        const bool quiet = r.quiet(line);
        r.quiet_line = std::max(r.quiet_line, last.line);
        if (quiet) {
            return;
        }
        // Just after the end of the line, where the missing field would go.
        std::string_view text = r.fields.line_of(row);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        }
        field_place end = row;
        end.column = static_cast<int>(text.size()) + 1;
        end.end_column = end.column;
        const field_place& taken_at = r.fields.line_first();
        const std::string name(r.fields.line_first_name());
        drop_value_warnings(r, first);
        insert_warning(r, first, warning::missing_fields, end,
                       say(phrase::missing_fields, {std::string(r.keyword), name}),
                       {r.note_at(taken_at, say(phrase::note_field_taken_here,
                                                {name, std::string(field_text(r, taken_at))}))});
        return;
    }
    const field_place& doubled = r.fields.double_comma();
    if (r.fields.at_line_start()) {
        if (doubled.line == line && !r.quiet(line)) {
            r.quiet_line = line;
            insert_warning(r, first, warning::double_comma, doubled, say(phrase::double_comma), {},
                           {zeros_fix(r, doubled)});
        }
        return;
    }
    field_place rest;
    const std::string_view left = r.fields.rest_of_line(rest);
    if (left.empty() || r.quiet(line)) {
        return;
    }
    r.quiet_line = line;
    const std::string left_text(left);
    if (doubled.line == line) {
        drop_value_warnings(r, first);
        insert_warning(r, first, warning::double_comma, doubled,
                       say(phrase::double_comma_shifts, {left_text}), {},
                       {r.fix_at(comma_from(r, doubled, doubled.column), "",
                                 "remove the second of the two commas", true)});
    } else if (r.fields.last_was_text()) {
        std::vector<diagnostic_fix> fixes;
        if (const field_place comma = comma_from(r, last, last.end_column + 1); comma.column > 0) {
            fixes.push_back(r.fix_at(comma, "",
                                     "remove the comma, so that the " +
                                         std::string(r.fields.last_name()) + " runs on",
                                     false));
        }
        insert_warning(r, first, warning::text_cut, last,
                       say(phrase::text_cut, {r.fields.last_name(), r.state.riga, left_text}), {},
                       std::move(fixes));
    } else if (const auto d = decimal_comma(r.fields.line_of(row))) {
        drop_value_warnings(r, first);
        field_place at = row;
        at.column = d->column;
        at.end_column = d->end_column;
        const std::string whole = rounded(d->integer, d->fraction);
        insert_warning(r, first, warning::decimal_comma, at,
                       say(phrase::decimal_comma, {std::string(d->whole), std::string(d->integer),
                                                   std::string(d->fraction)}),
                       {}, {r.fix_at(at, whole, "write the whole number " + whole + " for \"" +
                                                    std::string(d->whole) + "\"",
                                     true)});
    } else {
        // The surplus goes with what parts it from the last field read.
        std::vector<diagnostic_fix> fixes;
        if (last.line == line) {
            field_place surplus = rest;
            surplus.column = last.end_column + 1;
            fixes.push_back(r.fix_at(surplus, "", "remove the surplus fields", false));
        }
        insert_warning(r, first, warning::surplus_fields, rest,
                       say(phrase::surplus_fields,
                           {std::string(r.keyword), std::to_string(taken), left_text}),
                       {}, std::move(fixes));
    }
}

namespace {

// Whether a keyword's line sets values of its own that no other keyword sets and that
// nothing reads before the document is read: every keyword of the general part, and the
// train's values and clock.
bool sets_one_value(const reading& r) {
    if (r.described == nullptr) {
        return false;
    }
    if (r.described->part == document_part::general) {
        return true;
    }
    static constexpr std::string_view train_values[] = {"percentuale massa frenata",
                                                        "numero vetture", "orologio", "sabbia"};
    return r.described->part == document_part::train &&
           std::find(std::begin(train_values), std::end(train_values), r.described->forms[0]) !=
               std::end(train_values);
}

}  // namespace

void check_single_row(reading& r) {
    if (!r.keyword_warnings || !r.row_start || r.fields.last().line != r.keyword_place.line ||
        !sets_one_value(r)) {
        return;
    }
    field_place rest;
    if (!r.fields.at_line_start() && !r.fields.rest_of_line(rest).empty()) {
        return;
    }
    const auto earlier = std::find_if(r.single_rows.begin(), r.single_rows.end(),
                                      [&](const reading::single_row& s) {
                                          return s.keyword == r.described;
                                      });
    if (earlier == r.single_rows.end()) {
        r.single_rows.push_back({r.described, r.keyword_place});
        return;
    }
    const std::string form(r.described->forms[0]);
    r.warn(warning::hidden_row, earlier->place,
           say(phrase::hidden_general_row, {form, std::to_string(r.keyword_place.line)}),
           {r.note_at(r.keyword_place, say(phrase::note_replaced_by, {form}))},
           {r.line_removal(earlier->place.line,
                           "remove this line, whose value the later one replaces", true)});
    earlier->place = r.keyword_place;
}

void check_remark(reading& r, std::span<const keyword_entry> table) {
    const int line = r.keyword_place.line;
    if (!r.row_start || r.quiet(line) || r.fields.at_line_start()) {
        return;
    }
    const keyword_entry* e = passing_entry(r, table, r.keyword, test_mode::as_is);
    if (e == nullptr) {
        return;
    }
    r.quiet_line = line;
    r.warn(warning::data_remark, r.keyword_place,
           say(phrase::data_row_as_remark, {std::string(r.keyword), first_form(*e)}));
}

void check_before_general(reading& r) {
    if (!r.keyword_warnings || !r.early_keyword.empty() || r.keyword.empty()) {
        return;
    }
    for (const auto table : {general_keywords(), body_keywords(), train_keywords()}) {
        if (passing_entry(r, table, r.keyword, test_mode::as_is) != nullptr) {
            r.early_keyword = r.keyword;
            r.early_place = r.keyword_place;
            return;
        }
    }
}

void warn_before_general(reading& r) {
    if (r.early_keyword.empty()) {
        return;
    }
    r.warn(warning::keyword_outside_section, r.early_place,
           say(phrase::keyword_before_generale,
               {std::string(r.early_keyword), std::to_string(r.keyword_place.line)}));
    r.early_keyword = {};
}

void finish_general_part(reading& r, bool at_header) {
    if (!r.outside_warning) {
        return;
    }
    diagnostic& d = r.state.diagnostics[*r.outside_warning];
    if (at_header) {
        d.notes.push_back(r.note_at(r.keyword_place, say(phrase::note_general_part_ends,
                                                         {std::to_string(r.outside_lines)})));
    } else {
        d.notes.push_back(
            diagnostic_note{r.document, 0, 0, 0, say(phrase::note_general_part_never_ends)});
    }
    r.outside_warning.reset();
}

}  // namespace scenario
