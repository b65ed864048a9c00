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

constexpr std::array<warning_text, 43> warnings{{
    {warning::unknown_keyword, "unknown-keyword", "a line whose keyword field holds no keyword"},
    {warning::keyword_case, "keyword-case",
     "a keyword of the general part written in another case than lower case"},
    {warning::keyword_in_word, "keyword-in-word",
     "a keyword inside a longer word, or a field holding several keywords"},
    {warning::keyword_outside_section, "keyword-outside-section",
     "a keyword where its part of the document is not read"},
    {warning::remark_keyword, "remark-keyword", "a remark read as a keyword field"},
    {warning::data_remark, "data-remark", "a line of data skipped as a remark"},
    {warning::comment_style, "comment-style", "a comment mark the documents do not have"},
    {warning::surplus_fields, "surplus-fields", "more fields on a line than its keyword takes"},
    {warning::missing_fields, "missing-fields",
     "fewer fields on a line than its keyword takes, the rest taken from the next line"},
    {warning::decimal_comma, "decimal-comma", "a number written with a decimal comma"},
    {warning::double_comma, "double-comma", "two commas in a row"},
    {warning::text_cut, "text-cut", "a station name or board text cut short by a comma"},
    {warning::value_wrapped, "value-wrapped", "a value that keeps only its low bits"},
    {warning::value_packed, "value-packed",
     "a value below 0, or too large for the digits it is packed into beside another"},
    {warning::value_rounded, "value-rounded", "a value stored in steps"},
    {warning::value_ignored, "value-ignored", "a value the compile does not use"},
    {warning::hidden_row, "hidden-row",
     "a line whose value a later line replaces before anything reads it"},
    {warning::shared_cell, "shared-cell",
     "a profile line in a 50 m cell the lines before it already fill, taking effect later"},
    {warning::element_replaced, "element-replaced",
     "an element a station's cell is written over"},
    {warning::half_written, "half-written",
     "a speed board with some of its speeds empty, or a station line with an empty field"},
    {warning::unlikely_speed, "unlikely-speed", "a speed below 0 or above 350 km/h"},
    {warning::unlikely_gradient, "unlikely-gradient", "a gradient steeper than 70 per mille"},
    {warning::unlikely_adhesion, "unlikely-adhesion",
     "an adhesion above 100, the value for unreduced adhesion"},
    {warning::unlikely_stripes, "unlikely-stripes", "more than 3 stripes on a speed board"},
    {warning::station_kind, "station-kind", "a station kind above 25"},
    {warning::time_of_day, "time-of-day",
     "hours, minutes or seconds outside a day's clock (minutes 75)"},
    {warning::time_goes_back, "time-goes-back",
     "a station's time earlier than that of the timed station before it"},
    {warning::board_speed, "board-speed",
     "a speed board whose speeds the train's speed limit does not come down to"},
    {warning::missing_train_value, "missing-train-value",
     "a train document without a braked-mass percentage, number of cars or sand value"},
    {warning::out_of_order, "out-of-order", "lines out of chainage order where order matters"},
    {warning::nonpositive_length, "nonpositive-length", "a length or stretch that is not above 0"},
    {warning::beyond_route, "beyond-route", "an element past the end of the route"},
    {warning::dropped, "dropped", "parts of an element that fall outside the track"},
    {warning::missing_fine, "missing-fine", "a document that does not end with \"[fine]\""},
    {warning::data_after_fine, "data-after-fine", "lines after \"[fine]\""},
    {warning::missing_generale, "missing-generale", "a train document without \"[generale]\""},
    {warning::no_stations, "missing-stations", "a train document without a station"},
    {warning::empty_document, "empty-document", "an empty document"},
    {warning::documents_swapped, "documents-swapped",
     "the line and train documents given the other way round"},
    {warning::same_document, "same-document", "one document given as both"},
    {warning::not_windows_1252, "not-windows-1252",
     "UTF-8 characters, which the simulator shows as Windows-1252 text"},
    {warning::timetable, "timetable",
     "a station time no train can keep at the speeds allowed, or a clock that starts after "
     "the first departure"},
    {warning::timetable_tight, "timetable-tight",
     "a station time shorter than the running time with acceleration and braking (off unless "
     "-Wtimetable-tight is given)"},
}};

struct phrase_text {
    phrase id;
    const char* text;
};

constexpr phrase_text phrases[] = {
    {phrase::unknown_keyword_like,
     "\"{0}\" holds no keyword of this part of the document, so the line is ignored; did you "
     "mean \"{1}\"?"},
    {phrase::unknown_keyword,
     "\"{0}\" holds no keyword of this part of the document, so the line is ignored"},
    {phrase::keyword_case,
     "\"{0}\" is read only as written in lower case, \"{1}\", so the line is ignored"},
    {phrase::keyword_in_word,
     "\"{0}\" holds the keyword \"{1}\" inside a longer word; it is read as a \"{2}\" line"},
    {phrase::keyword_several,
     "\"{0}\" holds the keywords of {1}; the line is read as each of them in turn, each "
     "taking its own fields"},
    {phrase::body_keyword_in_general_part,
     "\"{0}\" is read only after the first section header, but no header comes before it: "
     "this line and the lines up to the first header are ignored"},
    {phrase::general_keyword_in_body,
     "\"{0}\" is read only in the general part, which ended with the section header on line "
     "{1}; here the line is ignored"},
    {phrase::keyword_of_other_document,
     "\"{0}\" is a keyword of the {1} document; the {2} document ignores the line"},
    {phrase::keyword_before_generale,
     "\"{0}\" comes before \"[generale]\" (line {1}), and nothing before it is read; the line "
     "is ignored"},
    {phrase::remark_read_as_keyword,
     "\"{0}\" holds a minus sign, but as the {1} remark in a row it is read as a keyword "
     "field: the line is read as a \"{2}\" line"},
    {phrase::data_row_as_remark,
     "\"{0}\" holds a minus sign, so it is skipped as a remark although it holds the keyword "
     "\"{1}\"; the fields after it are read as keyword fields and ignored"},
    {phrase::comment_read_as_entry,
     "\"{0}\" does not begin a comment in these documents: the line is read as a \"{1}\" "
     "line; a remark is a line that begins with \"-\""},
    {phrase::comment_read_as_fields,
     "\"{0}\" does not begin a comment in these documents: the line is read as fields, "
     "ignored only because they hold no keyword; a remark is a line that begins with \"-\""},
    {phrase::surplus_fields,
     "the \"{0}\" line takes {1} fields after its keyword; the rest of the line, \"{2}\", is "
     "read as further keyword fields"},
    {phrase::surplus_field_is_keyword,
     "\"{0}\" is left over from the line before it on this line and read as a keyword field: it "
     "holds \"{1}\" and is read as a \"{2}\" line"},
    {phrase::missing_fields,
     "the \"{0}\" line ends before its {1}: the reader takes the missing fields from the next "
     "line"},
    {phrase::decimal_comma,
     "\"{0}\" is read as two numbers, {1} and {2}, not as a decimal number, and the fields "
     "after it shift by one; write whole numbers"},
    {phrase::double_comma,
     "two commas in a row make an empty field, read as 0; write 0 where a 0 is meant"},
    {phrase::double_comma_shifts,
     "two commas in a row make an empty field, read as 0, and the fields after it shift by "
     "one: the last one, \"{0}\", is read as a keyword field"},
    {phrase::text_cut,
     "the {0} ends at the comma: it is stored as \"{1}\", and the rest of the line, \"{2}\", is "
     "read as keyword fields"},
    {phrase::gradient_wrapped,
     "the gradient {0} is stored as {0} + 100 keeping its low 8 bits, {1}: the simulator will "
     "show a gradient of {2}; gradients run from -100 to 155"},
    {phrase::adhesion_wrapped,
     "the adhesion {0} keeps its low 8 bits: it is stored, and shown by the simulator, as {1}; "
     "adhesions run from 0 to 255"},
    {phrase::wrapped16,
     "{0} is {1}, which keeps its low 16 bits: it is stored, and shown by the simulator, as "
     "{2}"},
    {phrase::wrapped8,
     "{0} is {1}, which keeps its low 8 bits: it is stored, and shown by the simulator, as "
     "{2}"},
    {phrase::speed_rounded,
     "the speed {0} km/h is stored in steps of 5 km/h, as step {1}: the simulator will show "
     "{2} km/h"},
    {phrase::board_speed_rounded,
     "the right-hand speed {0} km/h of rank {1} is stored in steps of 5 km/h: the packing "
     "gives {2}, as for {3} km/h"},
    {phrase::signal_time_raised, "a signal time of {0} (1 to 100) is stored as 101"},
    {phrase::signal_time_ignored,
     "the signal time {0} is kept only for a signal whose first number is 2; here it is "
     "stored as 0"},
    {phrase::prewarning_ignored,
     "a slowdown that starts within 1500 m of the route's start has no warning board, so its "
     "pre-warning flag {0} is ignored"},
    {phrase::value_tunnel_type, "the tunnel type, less 10 when it asks for markers,"},
    {phrase::value_signal_pair, "the signal's packing 10 x {0} + {1}"},
    {phrase::value_signal_fourth, "the signal's packing 10 x rapp + 3 x sx + dx"},
    {phrase::value_signal_time, "the signal time"},
    {phrase::value_approach_marker,
     "the approach markers' packing 30 x sx + 10 x dx + 1 to 4, at most,"},
    {phrase::value_stripes, "the stripe packing 10 x left + right"},
    {phrase::value_slowdown_speed, "the slowdown speed"},
    {phrase::value_slowdown_third, "the slowdown's third number"},
    {phrase::value_slowdown_sixth, "the slowdown's sixth number"},
    {phrase::value_code, "the code value"},
    {phrase::packed_digit,
     "{0} is {1}, but the packing {2} keeps it in {3}: {4} is stored, which reads back as {5}"},
    {phrase::packed_negative,
     "{0} is {1}, below 0: the packing {2} stores {3}, which does not read back as the values "
     "written"},
    {phrase::packed_board,
     "the rank {0} speeds {1} and {2} km/h are packed as near(20 x left + right / 5) = {3}, "
     "which reads back as {4} km/h on the left and {5} km/h on the right: a left-hand speed "
     "keeps steps of 5 km/h from 0, a right-hand one 0 to 495 km/h"},
    {phrase::hidden_profile_row,
     "this {0} line's value, {1}, never reaches a cell: the next {0} line, at {2} m, takes "
     "effect from the same cell before any cell is written, and its value replaces this one"},
    {phrase::hidden_general_row,
     "this \"{0}\" line's value is replaced by the \"{0}\" line on line {1} before anything "
     "reads it"},
    {phrase::shared_cell,
     "this {0} line's chainage, {1} m, falls in cell {2}, which the lines before it already "
     "fill: a cell holds one value, so this line's value takes effect a cell later, at {3} m"},
    {phrase::element_replaced,
     "the station's cell {0} is written over the {1} that line {2} put there (a station's cell "
     "is written whatever it holds): the {1} is lost"},
    {phrase::half_written_board,
     "the {0}-hand board gives {1} of its three speeds and leaves the others empty, read as 0; "
     "write every speed of a board, or leave every one empty for no board"},
    {phrase::half_written_station,
     "the station's {0} is empty, read as 0; write 0 where a 0 is meant"},
    {phrase::unlikely_speed,
     "the {0} {1} km/h lies outside 0 to {2} km/h: no railway runs trains faster than {2} km/h "
     "in service"},
    {phrase::unlikely_gradient,
     "the gradient {0} is steeper than {1} per mille either way, which no adhesion railway "
     "climbs in service"},
    {phrase::unlikely_adhesion,
     "the adhesion {0} is above {1}, the value for unreduced adhesion: no rail grips better "
     "than a dry, clean one"},
    {phrase::unlikely_stripes,
     "the {0}-hand board has {1} stripes: boards before a speed change count down at most {2}"},
    {phrase::station_kind,
     "the station kind {0} is above {1}, the highest the compile tells apart: it is stored as "
     "{0} and gets no station cell and no markers, as kind {1}"},
    {phrase::time_of_day, "the {0} field, {1}, lies outside {2} to {3}: {4}"},
    {phrase::time_goes_back,
     "the station's time, {0}, is earlier than {1}, that of the timed station before it: the "
     "times go back along the run"},
    {phrase::board_speed,
     "the speed board shows {0} km/h at most, but the train's speed limit stays above that, at "
     "{1} km/h or more, from the board up to {2} m, as far as a board with {3} announces"},
    {phrase::missing_train_value,
     "the train document has no {0} line: {1} {2} 0 in the header"},
    {phrase::profile_goes_back,
     "this {0} line's chainage, {1} m, lies before that of the line before it, {2} m: the "
     "profile cannot go back, so its value takes effect at {3} m"},
    {phrase::curve_inside_previous,
     "the curve starts at {0} m, inside the curve before it, which ends at {1} m: only its "
     "part after {1} m is drawn"},
    {phrase::tunnel_inside_previous,
     "the tunnel starts at {0} m, before the tunnel before it ends, at {1} m: it is given "
     "type 3, as a tunnel close to the one before"},
    {phrase::curve_length_not_positive,
     "the curve's length, {0} m, is not above 0: nothing of the curve is drawn"},
    {phrase::tunnel_end_not_after_start,
     "the tunnel ends at {0} m, not after its start at {1} m: it covers no cell"},
    {phrase::slowdown_length_not_positive,
     "the slowdown's length, {0} m, is not above 0: its end lies at or before its start"},
    {phrase::station_length_not_positive, "the station's length, {0} m, is not above 0"},
    {phrase::beyond_route,
     "the position {0} m lies beyond the end of the route, {1} m, on the 7000 m of track "
     "after it"},
    {phrase::tunnel_cells_dropped,
     "the tunnel's cells {0} lie outside the track (cells 0 to {1}) and are left out"},
    {phrase::signal_markers_dropped,
     "the signal's approach markers {0} m before it would lie before the start of the track "
     "and are left out"},
    {phrase::station_markers_dropped,
     "{0} of the station's 4 approach markers would lie in cell 1 or before and are left out"},
    {phrase::missing_fine,
     "the document does not end with a \"[fine]\" line: was it cut off? The reader never acts "
     "on the last field of a document"},
    {phrase::data_after_fine, "this line comes after \"[fine]\" (line {0}), and is still read"},
    {phrase::missing_generale,
     "the train document has no \"[generale]\" line, so nothing in it is read"},
    {phrase::no_stations,
     "the train document has no \"stazione\" line: the scenario has no "
     "station"},
    {phrase::empty_document, "the document is empty"},
    {phrase::documents_swapped,
     "the documents seem to be given the other way round: this one, given as the line "
     "document, has no \"lunghezza percorso\" line but train lines, and the one given as the "
     "train document has one; give the line document first"},
    {phrase::line_document_looks_like_train,
     "the line document has no \"lunghezza percorso\" line but holds keywords of the train "
     "document: is it the train document?"},
    {phrase::train_document_looks_like_line,
     "the train document has a \"lunghezza percorso\" line: is it a line document?"},
    {phrase::same_document,
     "the train document holds the same text as the line document: was the line document "
     "given twice?"},
    {phrase::not_windows_1252,
     "\"{0}\" is written in UTF-8 (bytes {1}), but the documents are Windows-1252 text, one "
     "byte a character: the simulator will show \"{2}\"; save the document as Windows-1252 "
     "(the tool converts a UTF-8 document given with --input-encoding utf-8)"},
    {phrase::note_general_part_ends,
     "the general part ends here, at the first section header: the {0} lines before it that "
     "belong after a header are ignored"},
    {phrase::note_general_part_never_ends,
     "the document has no section header, so the general part runs to its end"},
    {phrase::note_field_found_here, "the reader took the {0} from here: {1}"},
    {phrase::note_field_taken_here, "the reader takes the {0} from here: \"{1}\""},
    {phrase::note_speed_filled_by_row,
     "the speed is written into the cells up to this line's chainage"},
    {phrase::note_speed_filled_at_end,
     "the speed is written into the cells up to the end of the track when the document ends"},
    {phrase::note_cell_taken, "cell {0} holds this line's {1}"},
    {phrase::note_cell_automatic, "cell {0} holds an automatic code point of this slowdown"},
    {phrase::note_cell_unknown_origin, "cell {0} holds a {1}"},
    {phrase::note_warning_board, "this slowdown's warning board is in cell {0}"},
    {phrase::note_signal_after_end, "the first signal after the slowdown's end is in cell {0}"},
    {phrase::note_previous_row, "the {0} line before it"},
    {phrase::note_zone_end_with_flag,
     "with its flag 1 the zone is stored as ending 100 m later, at {0} m"},
    {phrase::note_replaced_by, "the \"{0}\" line that replaces it"},
    {phrase::note_rest_not_read, "the rest of this document was not read: {0}"},
    {phrase::note_document_not_read, "the {0} document was not read: {1}"},
    {phrase::note_previous_time, "the timed station before it, at {0}"},
    {phrase::note_speed_profile, "the speed limit from here on is {0} km/h"},
    {phrase::detail_zone, "\"{0}\" runs from {1} m to {2} m, and {3} is not a multiple of 50"},
    {phrase::detail_missing_field, "the line ends before its {0}"},
    {phrase::detail_document, "\"{0}\""},
    {phrase::detail_cell_one, "this line's {0} takes cell 1"},
    {phrase::detail_cell_one_automatic, "an automatic code point of this slowdown takes cell 1"},
    {phrase::detail_station_before_previous,
     "this station, at {0} m, comes before the station of the line before it, at {1} m"},
    {phrase::remedy_station_order, "put the station lines in the order of their chainages"},
    {phrase::text_too_long,
     "the {0} is {1} bytes long, but the header file holds at most {2} bytes for a text; "
     "shorten it"},
    {phrase::name_too_long,
     "the {0} is {1} bytes long, but the header file holds at most {2} bytes for a text; "
     "give a shorter name"},
    {phrase::timetable_too_short,
     "\"{0}\" is timed {1} after \"{2}\" ({3} to {4}), but at the speeds allowed (speed "
     "limits and slowdowns) the {5} m between them take at least {6}: no train can keep this "
     "time"},
    {phrase::timetable_blocked,
     "\"{0}\" is timed after \"{1}\", but no train can reach it: the speed allowed at {2} m "
     "is 0 km/h"},
    {phrase::timetable_tight,
     "\"{0}\" is timed {1} after \"{2}\", less than the {3} a train needs starting from "
     "rest, accelerating at {4} m/s^2 and braking as a braked mass of {5} % allows (at the "
     "speeds allowed alone it needs {6})"},
    {phrase::clock_after_departure,
     "the clock starts at {0}, {1} after the first timed station, \"{2}\", is timed to leave "
     "({3}): the train is late before it starts"},
    {phrase::note_timed_before, "the timed station before it, \"{0}\", at {1}"},
    {phrase::note_timed_here, "\"{0}\" is timed here, at {1}"},
};

constexpr bool phrases_in_order() {
    for (std::size_t i = 0; i < std::size(phrases); ++i) {
        if (static_cast<std::size_t>(phrases[i].id) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(phrase::note_timed_here) + 1 == std::size(phrases);
}
static_assert(phrases_in_order(), "one phrase text per phrase, in the order of the enum");

constexpr bool warnings_in_order() {
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        if (static_cast<std::size_t>(warnings[i].id) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(warning::timetable_tight) + 1 == warnings.size();
}
static_assert(warnings_in_order(), "one warning text per warning, in the order of the enum");

}  // namespace

std::span<const warning_text> warning_texts() {
    return warnings;
}

const char* warning_name(warning w) {
    return warnings[static_cast<std::size_t>(w)].name;
}

std::optional<warning> find_warning(std::string_view name) {
    for (const warning_text& w : warnings) {
        if (name == w.name) {
            return w.id;
        }
    }
    return std::nullopt;
}

std::string say(phrase p, std::initializer_list<std::string_view> values) {
    const std::string_view text = phrases[static_cast<std::size_t>(p)].text;
    std::string out;
    out.reserve(text.size() + 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 2] == '}' && text[i + 1] >= '0' &&
            text[i + 1] <= '9') {
            const auto k = static_cast<std::size_t>(text[i + 1] - '0');
            if (k < values.size()) {
                out += *(values.begin() + k);
            }
            i += 2;
            continue;
        }
        out += text[i];
    }
    return out;
}

const char* element_name(tipo kind) {
    switch (kind) {
        case tipo::segnale:
            return "signal";
        case tipo::fine_rallentamento:
            return "slowdown end";
        case tipo::inizio_rallentamento:
            return "slowdown start";
        case tipo::avviso_rallentamento:
            return "slowdown warning board";
        case tipo::preavviso_rallentamento:
            return "slowdown pre-warning cell";
        case tipo::indicatore_vmax:
            return "speed board";
        case tipo::stazione:
            return "station";
        case tipo::segno_montagna:
            return "tunnel marker";
        case tipo::cambio_codice:
            return "code point";
        case tipo::codice_zero:
            return "code removal";
        case tipo::cartello:
            return "indicator board";
        case tipo::vuota:
            break;
    }
    return "element";
}

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

std::string error_message(std::int32_t number, std::string_view detail, std::string_view remedy) {
    const error_text* t = find_error_text(number);
    std::string out = t != nullptr ? t->problem : "unknown error " + std::to_string(number);
    if (!detail.empty()) {
        out += ": ";
        out += detail;
    }
    return out + "; " + std::string(remedy);
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
