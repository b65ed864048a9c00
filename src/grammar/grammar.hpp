#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

// The two scenario documents, once: every keyword with its forms, the test that
// recognises it, where it belongs and the fields that follow it, each with the name
// the reader gives it, the width it is read at, its layout, and what it means to an
// author. The readers, the formatter, the language server and the reference
// (docs/documents.md, "scenario help documents") all read this description.

// The two documents a scenario is written in: NAME_linea.txt and NAME_TRAIN-.txt.
enum class source_document : std::uint8_t { line, train };

// Where a keyword field stands in a document as the readers go through it: before
// "[generale]" (no keyword counts there), the line document's general part (up to its
// first section header) or body, or the train document after "[generale]".
enum class document_part : std::uint8_t { before_general, general, body, train };

// ASCII case-insensitive substring test, and the exact one.
bool contains(std::string_view field, std::string_view word);
inline bool contains_exact(std::string_view field, std::string_view word) {
    return field.find(word) != std::string_view::npos;
}

// The test a keyword field must pass for a keyword: it holds `word` and, when given,
// `also`, either ASCII case-free or exactly as written; a plan keyword also needs the
// plan to be compiled.
struct keyword_test {
    std::string_view word;
    std::string_view also;
    bool exact;
    bool plan_only;

    bool matches(std::string_view field, bool with_plan) const;
};

constexpr keyword_test words(std::string_view word, std::string_view also = {}) {
    return {word, also, false, false};
}
constexpr keyword_test exact_words(std::string_view word, std::string_view also) {
    return {word, also, true, false};
}
constexpr keyword_test plan_words(std::string_view word) {
    return {word, {}, false, true};
}

// The width a field is read at; a number that does not fit it is error 25.
enum class field_width : std::uint8_t { int32, int16, uint8, text };

// How the canonical layout writes a field after its comma: a fixed number of blanks
// (leading), or as many as right-align it in a column of that width (right; a wider
// value gets none).
enum class field_align : std::uint8_t { leading, right };
struct field_layout {
    field_align align = field_align::leading;
    std::uint8_t width = 0;
};

// Whether the simulator is known to use a value: yes when the value (or what the
// compiler makes of it) has a known role in the run; unknown when it is stored in the
// files but what the simulator does with it is not known.
enum class simulator_use : std::uint8_t { yes, unknown };

// One field after a keyword.
struct field_description {
    std::string_view name;  // as the reader names it in its messages ("station kind")
    field_width width;
    field_layout layout;
    std::string_view meaning;
    std::string_view unit;   // empty for none
    std::string_view range;  // empty: any value of its width
    std::string_view empty;  // what an empty field reads as
    simulator_use used;
};

// The rows the language server's outline shows.
enum class outline_kind : std::uint8_t {
    none,
    station,
    signal,
    slowdown,
    tunnel,
    board,
    speed_board
};

// One keyword of a document part.
struct keyword_description {
    std::span<const std::string_view> forms;  // as the documents write it; the first
                                              // is the one diagnostics name
    keyword_test test;
    document_part part;
    outline_kind outline;
    std::string_view meaning;
    std::string_view example;  // a row as the built-in documents write it
    std::span<const field_description> fields;
    // A second layout the built-in documents also write the rows in (same fields), or
    // none: the formatter keeps a row written so.
    std::span<const field_layout> second_layout;
};

// The keywords of a part, in the order the readers test them (none before
// "[generale]"), and those of a document (the line document's general part, then its
// body).
std::span<const keyword_description> keyword_descriptions(document_part part);
std::span<const keyword_description> keyword_descriptions(source_document document);

// The keyword of a document one of whose forms is written exactly so, or nullptr.
const keyword_description* keyword_written_as(source_document document, std::string_view written);

// Words for an author: "32-bit", "8-bit unsigned", "text"; "station", "speed board"
// ("" for none); "yes", "unknown".
std::string_view width_name(field_width width);
std::string_view outline_name(outline_kind kind);
std::string_view use_name(simulator_use use);
// A field's range as the reference states it: its own, or the limits of its width.
std::string range_text(const field_description& field);

// The reference's own prose, which docs/documents.md and the manual page
// scenario-documents(5) share, in Markdown (paragraphs, "- " lists, `code`, *term*,
// **lead**): what the two documents are, and the rules every document is read by (a list).
std::string_view reference_introduction();
std::string_view reference_reading_rules();

// The reference's parts in order: the keywords of `part`, under a title and a sentence
// saying where the part runs.
struct reference_part {
    document_part part;
    std::string_view title;
    std::string_view text;
};
std::span<const reference_part> reference_parts();

// How the reference states a keyword's test ("\"tre\" and \"progressiva\", exactly as
// written") and its layout ("4, 4, 4 blanks", and a second layout when it has one).
std::string keyword_test_text(const keyword_test& test);
std::string keyword_layout_text(const keyword_description& keyword);

// The whole description as Markdown: a section per document and part, a table per
// keyword. The documents' own text (forms, examples) is Windows-1252; `to_utf8` turns it
// into the page's UTF-8.
std::string reference_markdown(std::string (*to_utf8)(std::string_view document_text));

}  // namespace scenario
