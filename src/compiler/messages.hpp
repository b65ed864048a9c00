#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

// The one table of error sentences, shared by every program that shows a diagnostic.

// What is wrong, and what to change, for one error number.
struct error_text {
    std::int32_t number;
    const char* problem;
    const char* remedy;
};

// Every error number the compiler can record or raise, in ascending order.
std::span<const error_text> error_texts();

// The entry for an error number, or nullptr for a number the compiler never records.
const error_text* find_error_text(std::int32_t number);

// The whole sentence: what is wrong, with the detail (which field, what failed) after a
// colon when there is one, then what to change.
std::string error_message(std::int32_t number, std::string_view detail = {});

// The places where the block checks can fail to put an automatic code point.
enum class block_place {
    signal_before_board,  // error 11: cells first = the signal's, second = the warning board's
    window_before_start,  // error 12: first = the window ("250 to 350 m"), second = start cell
    inside_slowdown,      // error 13: first = the cell where the point was due, second = start
    signal_after_end,     // error 13: first = the signal's cell, second = the end cell
};

std::int32_t block_error_number(block_place place);

// The whole sentence of a block error, said in full where it happened, then what to
// change.
std::string block_message(block_place place, std::string_view first, std::string_view second);

}  // namespace scenario
