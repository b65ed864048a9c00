#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "compiler/reading.hpp"

namespace scenario {

// Warnings about keyword fields and the lines they begin. A line gets at most one of
// them: after one, the rest of its fields stay quiet (reading::quiet_line).

// Before the entries act on a keyword field that passed the tests in `passed` (one bit
// per entry of the table): "[fine]" and what follows it; a field that passes no test
// (no keyword, another case, a keyword of another part or of the other document, a
// comment mark); one that passes (a keyword inside a longer word, several keywords, a
// remark or a comment read as a keyword, a field left over from the line before).
void check_keyword(reading& r, std::span<const keyword_entry> table, std::uint32_t passed);

// After the entries have read their `taken` fields: fields taken from the next line,
// fields left over on the line, two commas in a row. The warning goes before the
// diagnostics made from `first` on.
void check_row(reading& r, std::size_t first, std::size_t taken);

// After a line of a keyword that sets one value (the general part's, the train's values,
// the clock) has been read: a line of the same keyword read before it, whose value this
// one replaced before anything read it, is hidden.
void check_single_row(reading& r);

// A remark about to be skipped: a line of data turned into a remark.
void check_remark(reading& r, std::span<const keyword_entry> table);

// Before "[generale]": a keyword field there is remembered, and warned about once
// "[generale]" is found.
void check_before_general(reading& r);
void warn_before_general(reading& r);

// At the end of the general part (at its first section header, or at the end of the
// document): how many lines of the body it took in.
void finish_general_part(reading& r, bool at_header);

}  // namespace scenario
