#include "compiler/messages.hpp"

#include <algorithm>
#include <array>

namespace scenario {

namespace {

constexpr std::array<error_text, 28> texts{{
    {1, "the route length is above 1000000 m",
     "give \"lunghezza percorso\" a length of at most 1000000 m"},
    {2, "a kilometre-reference zone starts or ends at a position that is not a multiple of 50 m",
     "give the start and end of every \"progressiva chilometrica\" line as multiples of 50 m"},
    {3, "the start of the signal repetition is not a multiple of 50 m",
     "give the first number of \"ripetizione segnali\" as a multiple of 50 m"},
    {4, "the end of the signal repetition is not a multiple of 50 m",
     "give the second number of \"ripetizione segnali\" as a multiple of 50 m"},
    {5, "the signal repetition line names neither 4 nor 9 codes",
     "write \"ripetizione segnali 4 codici\" or \"ripetizione segnali 9 codici\""},
    {6, "the indicator board falls on a cell that already holds an element",
     "move the \"cartello_indicatore\" line's position to a free 50 m cell"},
    {7, "the code entry falls on a cell that already holds an element",
     "move the \"abbattimento\" line's position to a free 50 m cell"},
    {8, "the station position is not a multiple of 50 m",
     "give the station's first number as a multiple of 50 m"},
    {9, "the station length is not a multiple of 100 m",
     "give the station's third number as a multiple of 100 m (for example 600 or 700, not 650)"},
    {10, "there are too many stations: they reach the header entries of the indicator boards",
     "keep stations and indicator boards together at 78 or fewer"},
    {11,
     "no free cell for the code point in front of a signal that lies within 1000 m before a "
     "slowdown warning board",
     "free one of the two cells (100 m) before the signal, or move the signal or the slowdown"},
    {12,
     "no free cell for an automatic code point in a window before a slowdown start (250 to "
     "350 m, 550 to 650 m or 900 to 1000 m before it)",
     "free a cell in that window, or move the slowdown"},
    {13,
     "no free cell for an automatic code point inside a slowdown or before the first signal "
     "after its end",
     "free the cells next to this position, or move the slowdown or the signal"},
    {15,
     "the position lies beyond the end of the track (the route length plus 7000 m, less 100 m, "
     "or less 800 m for a station)",
     "move the element back inside the route or lengthen \"lunghezza percorso\""},
    {16, "the signal falls on a cell that already holds an element",
     "move the signal or the other element to another 50 m cell"},
    {17,
     "the slowdown's warning board (1200 m before its start) falls on a cell that already "
     "holds an element",
     "move the slowdown, or the element that lies where its warning board goes"},
    {18, "the slowdown's start falls on a cell that already holds an element",
     "move the slowdown's start or the other element to another 50 m cell"},
    {19, "the slowdown's end falls on a cell that already holds an element",
     "change the slowdown's length or move the other element to another 50 m cell"},
    {20,
     "one of the four pre-warning cells before the slowdown's warning board already holds an "
     "element",
     "move the slowdown, or the element that lies in the 200 m before its warning board, or "
     "leave out the pre-warning cells (fifth number 0)"},
    {21, "the maximum-speed indicator board falls on a cell that already holds an element",
     "move the \"indicatori_vmax\" line's position to a free 50 m cell"},
    {22, "the station area starts less than 350 m after the end of the previous station's area",
     "move the station further along or shorten one of the two stations"},
    {24,
     "the station's area ends so near the start of the route that its stop cell would be "
     "cell 1 or lower",
     "move the station so that its area ends more than 100 m from the start"},
    {25, "a field could not be read",
     "correct the line so that it has all its fields and every number fits its width (8-bit: 0 "
     "to 255; 16-bit: -32768 to 32767; 32-bit: -2147483648 to 2147483647)"},
    {101, "the line document is missing", "check the line document's name and folder"},
    {102, "the line document has no \"[generale]\" line before its last line",
     "begin the document's values with a \"[generale]\" line"},
    {103, "a curve has no curvature class 1 to 6, or the line plan grows past 1000000 m",
     "write the curve as \"curvas\" or \"curvad\" followed by a class digit 1 to 6, and keep the "
     "curves within the route"},
    {1250,
     "the reserved marker slot is already taken: an element lies in cell 1 (positions 0 to "
     "24 m, code entries 26 to 74 m)",
     "move every element of the first 75 m of the route further along"},
    {1251,
     "the reserved integrity-code slot is already taken: an element set the second value of "
     "cell 1",
     "move every element of the first 75 m of the route further along"},
}};

// Where a block check could not place a code point, said in full: {0} and {1} are
// cell indexes, or the distance window for a window before a slowdown start.
struct block_text {
    block_place place;
    std::int32_t number;
    const char* sentence;
};

constexpr std::array<block_text, 4> block_texts{{
    {block_place::signal_before_board, 11,
     "no free cell for the code point before the signal in cell {0} (warning board in cell "
     "{1})"},
    {block_place::window_before_start, 12,
     "no free cell for the code point {0} before the slowdown start in cell {1}"},
    {block_place::inside_slowdown, 13,
     "no free cell for the code point due in cell {0} inside the slowdown starting in cell {1}"},
    {block_place::signal_after_end, 13,
     "no free cell for the code point before the signal in cell {0} after the slowdown end in "
     "cell {1}"},
}};

std::string with_remedy(std::string sentence, const error_text* t) {
    if (t != nullptr) {
        sentence += std::string("; ") + t->remedy;
    }
    return sentence;
}

}  // namespace

std::span<const error_text> error_texts() {
    return texts;
}

const error_text* find_error_text(std::int32_t number) {
    const auto it = std::find_if(texts.begin(), texts.end(),
                                 [&](const error_text& t) { return t.number == number; });
    return it == texts.end() ? nullptr : &*it;
}

std::string error_message(std::int32_t number, std::string_view detail) {
    const error_text* t = find_error_text(number);
    std::string out = t != nullptr ? t->problem : "unknown error " + std::to_string(number);
    if (!detail.empty()) {
        out += ": ";
        out += detail;
    }
    return with_remedy(std::move(out), t);
}

std::int32_t block_error_number(block_place place) {
    for (const block_text& b : block_texts) {
        if (b.place == place) {
            return b.number;
        }
    }
    return 0;
}

std::string block_message(block_place place, std::string_view first, std::string_view second) {
    for (const block_text& b : block_texts) {
        if (b.place != place) {
            continue;
        }
        std::string out = b.sentence;
        for (const auto& [mark, value] : {std::pair{std::string_view("{0}"), first},
                                          std::pair{std::string_view("{1}"), second}}) {
            const auto at = out.find(mark);
            if (at != std::string::npos) {
                out.replace(at, mark.size(), value);
            }
        }
        return with_remedy(std::move(out), find_error_text(b.number));
    }
    return {};
}

}  // namespace scenario
