#include "grammar/keyword_tables.hpp"

namespace scenario {

namespace {

// A number after `blanks` blanks, or right-aligned in `width`; a text after `blanks`.
constexpr field_layout lead(std::uint8_t blanks) {
    return {field_align::leading, blanks};
}
constexpr field_layout right(std::uint8_t width) {
    return {field_align::right, width};
}

constexpr std::string_view metres = "m";
constexpr std::string_view km_h = "km/h";
constexpr std::string_view zero = "0";
constexpr std::string_view within_grid = "up to L + 6900 (further: error 15)";
constexpr std::string_view wraps16 = "stored in 16 bits (others wrap, with a warning)";

constexpr field_description number(std::string_view name, field_layout layout,
                                   std::string_view meaning, std::string_view unit,
                                   std::string_view range, std::string_view empty,
                                   simulator_use used) {
    return {name, field_width::int32, layout, meaning, unit, range, empty, used};
}
constexpr field_description small(std::string_view name, field_width width, field_layout layout,
                                  std::string_view meaning, std::string_view unit,
                                  simulator_use used) {
    return {name, width, layout, meaning, unit, {}, zero, used};
}

// The general values: four blanks after their comma.

constexpr std::string_view braked_forms[] = {"percentuale massa frenata"};
constexpr field_description braked_fields[] = {
    number("braked mass", lead(4),
           "the train's braked-mass percentage (header entry 84, inizio_area)", "%", {}, zero,
           simulator_use::yes),
};

constexpr std::string_view cars_forms[] = {"numero vetture"};
constexpr field_description cars_fields[] = {
    number("number of cars", lead(4), "how many cars the train has (header entry 84, progressiva)",
           {}, {}, zero, simulator_use::yes),
};

constexpr std::string_view clock_forms[] = {"orologio"};
constexpr field_description clock_fields[] = {
    small("clock hours", field_width::int16, lead(4), "the hours (header entry 86, numero_c)", "h",
          simulator_use::yes),
    small("clock minutes", field_width::int16, lead(2), "the minutes (numero_d)", "min",
          simulator_use::yes),
    small("clock seconds", field_width::int16, lead(2), "the seconds (numero_e)", "s",
          simulator_use::yes),
};

constexpr std::string_view sand_forms[] = {"sabbia"};
constexpr field_description sand_fields[] = {
    small("sand", field_width::int16, lead(4),
          "the train's sand value (header entry 86, numero_a); what it measures is not known",
          "unknown", simulator_use::unknown),
};

// The profiles.

constexpr std::string_view speed_forms[] = {"velocita", "velocit\xe0"};
constexpr field_description speed_fields[] = {
    number("speed chainage", right(8), "where the limit begins: from cell near(chainage / 50) on",
           metres, within_grid, zero, simulator_use::yes),
    number("speed", right(6), "the speed limit from the chainage on, stored in steps of 5 km/h",
           km_h,
           "-2 to 1277: near(speed / 5) must fit 8 bits (else error 25); not a multiple of 5: "
           "rounded, with a warning; below 0 or above 350: a warning",
           zero, simulator_use::yes),
};

constexpr std::string_view adhesion_forms[] = {"aderenza"};
constexpr field_description adhesion_fields[] = {
    number("adhesion chainage", lead(3),
           "where the adhesion begins: from cell near(chainage / 50) on", metres, within_grid, zero,
           simulator_use::yes),
    number("adhesion", lead(4),
           "the adhesion from the chainage on: 100 for unreduced adhesion, lower for worse", {},
           "0 to 255: its low 8 bits are stored (others wrap, with a warning); above 100: a "
           "warning",
           zero,
           simulator_use::yes),
};
constexpr field_layout adhesion_aligned[] = {lead(3), right(6)};

// The elements: right-aligned columns.

constexpr std::string_view signal_forms[] = {"segnale"};
constexpr std::string_view side_range =
    "0 to 2 keep 3 x sx + dx a base-3 pair (others: a warning); the markers keep their low 8 "
    "bits (others wrap, with a warning)";
constexpr std::string_view pair_range =
    "10 x s + d is stored in 16 bits (others wrap, with a warning); s from 0 and d 0 to 9, one "
    "digit (else a warning)";
constexpr field_description signal_fields[] = {
    number("signal chainage", right(8), "where the signal stands", metres, within_grid, zero,
           simulator_use::yes),
    number("signal sx", right(4),
           "first value of the first group: 3 x sx in the fourth pair, 30 x sx in the markers; 2 "
           "keeps the signal's time in its cell",
           {}, side_range, zero, simulator_use::yes),
    number("signal s1", right(2), "second value of the first group: the tens of the first pair", {},
           pair_range, zero, simulator_use::yes),
    number("signal s2", right(2), "third value of the first group: the tens of the second pair", {},
           pair_range, zero, simulator_use::yes),
    number("signal s3", right(3), "fourth value of the first group: the tens of the third pair", {},
           pair_range, zero, simulator_use::yes),
    number("signal rapp", right(2), "a further digit: the tens of the fourth pair", {},
           "10 x rapp + 3 x sx + dx is stored in 16 bits (others wrap, with a warning)", zero,
           simulator_use::yes),
    number("signal dx", right(5),
           "first value of the second group: added to 3 x sx in the fourth pair, 10 x dx in the "
           "markers",
           {}, side_range, zero, simulator_use::yes),
    number("signal d1", right(3), "second value of the second group: the units of the first pair",
           {}, pair_range, zero, simulator_use::yes),
    number("signal d2", right(1), "third value of the second group: the units of the second pair",
           {}, pair_range, zero, simulator_use::yes),
    number("signal d3", right(1), "fourth value of the second group: the units of the third pair",
           {}, pair_range, zero, simulator_use::yes),
    number("signal tempo", lead(1),
           "the signal's time value, kept in its cell only when sx is 2; 1 to 100 is raised to 101",
           "unknown",
           "0 to 255 when sx is 2 (others wrap, with a warning); with any other sx it is ignored "
           "(a warning when it is not 0)",
           zero, simulator_use::yes),
};

constexpr std::string_view slowdown_forms[] = {"rallentamento"};
constexpr field_description slowdown_fields[] = {
    number("slowdown start", right(8),
           "where the slowdown begins: its start cell near(start / 50 + 1)", metres, within_grid,
           zero, simulator_use::yes),
    number("slowdown speed", right(6),
           "the speed to keep, stored in its start, end and warning board cells; below 110 km/h "
           "the code placement adds a code point about every 400 m inside it",
           km_h, wraps16, zero, simulator_use::yes),
    number("slowdown length", right(5),
           "its length: the end cell is near((start + length) / 50 + 1)", metres,
           "more than 0 (else a warning)", zero, simulator_use::yes),
    number("slowdown f_tt", right(2),
           "an option stored in its start and end cells; the built-in train sets it to 1 for "
           "the one slowdown its slow-order form says the whole train must respect",
           {}, wraps16, zero, simulator_use::unknown),
    number("slowdown f_ta", right(3),
           "not 0 asks for the four pre-warning cells before the warning board; ignored, with a "
           "warning, for a start at 1500 m or less",
           {}, {}, "0: no pre-warning cells", simulator_use::yes),
    number("slowdown d_v", right(3),
           "a value stored in its start, end and warning board cells when it is not 0 (its "
           "pre-warning cells then carry their count, 1 to 4)",
           "unknown", wraps16, "0: none stored", simulator_use::unknown),
};

constexpr std::string_view code_forms[] = {"abbattimento"};
constexpr field_description code_fields[] = {
    number("code chainage", right(8), "where the code point stands: cell near(chainage / 50)",
           metres, within_grid, zero, simulator_use::yes),
    number("code value", right(2),
           "above 0 a change of code, this value kept in the cell (in 16 bits: others wrap, with "
           "a warning); 0 or less the code's removal",
           {}, {}, "0: the code's removal", simulator_use::yes),
};

constexpr std::string_view station_forms[] = {"stazione"};
constexpr std::string_view text_range =
    "up to 65535 bytes (longer: an error of the tool, nothing is written)";
constexpr field_description station_fields[] = {
    number("station chainage", right(8), "where the station stands (progressiva)", metres,
           "a multiple of 50 (else error 8), up to L + 6200 (further: error 15)", zero,
           simulator_use::yes),
    {"station kind", field_width::uint8, right(3),
     "the kind of station (tipo_stazione), which decides its area and cells; the built-in "
     "train uses 2, 4, 11, 12, 22 and 25",
     {}, "0 to 255; above 25: a warning", zero, simulator_use::yes},
    number("station length", right(5), "the station's length, which gives its area (not stored)",
           metres, "a multiple of 100 (else error 9); 0 or less: a warning", zero,
           simulator_use::yes),
    small("station field 4", field_width::uint8, right(3), "a station option, stored as opzione_a",
          {}, simulator_use::unknown),
    small("station field 5", field_width::uint8, right(2),
          "a station option, stored as opzione_e; cleared when the length is below 600 m and for "
          "the first station",
          {}, simulator_use::unknown),
    small("station field 6", field_width::uint8, right(2),
          "not 0: the area of a station of a kind other than 5 to 8 ends 50 m later; stored as "
          "opzione_d, cleared for kinds 5 to 8 and for the first station",
          {}, simulator_use::yes),
    small("station field 7", field_width::int16, right(3), "a station value, stored as numero_a",
          {}, simulator_use::unknown),
    small("station field 8", field_width::int16, right(1), "a station value, stored as numero_b",
          {}, simulator_use::unknown),
    small("station field 9", field_width::uint8, right(1), "a station option, stored as opzione_b",
          {}, simulator_use::unknown),
    small("station field 10", field_width::int16, right(3), "a station value, stored as numero_c",
          {}, simulator_use::unknown),
    small("station field 11", field_width::int16, right(1), "a station value, stored as numero_d",
          {}, simulator_use::unknown),
    small("station field 12", field_width::int16, right(1), "a station value, stored as numero_e",
          {}, simulator_use::unknown),
    small("station field 13", field_width::uint8, right(5), "a station option, stored as opzione_c",
          {}, simulator_use::unknown),
    number("station hours", right(4),
           "the hours of the station's time of day, stored as (hours x 60 + minutes) x 60 + "
           "seconds (orario)",
           "h",
           "the time in seconds must fit 32 bits (else error 25); 0 to 23 (else a warning), and "
           "a time before the last timed station's: a warning",
           zero, simulator_use::yes),
    number("station minutes", right(2), "the minutes of its time of day", "min",
           "0 to 59 (else a warning)", zero, simulator_use::yes),
    number("station seconds", right(2), "the seconds of its time of day", "s",
           "0 to 59 (else a warning)", zero, simulator_use::yes),
    {"station name",
     field_width::text,
     lead(1),
     "the station's name, up to the next comma or the end of the line",
     {},
     text_range,
     "no name",
     simulator_use::yes},
};

// In the order the reader tests them.
// clang-format off
constexpr keyword_description table[] = {
    {braked_forms, words("frenata", "massa"), document_part::train, outline_kind::none,
     "The train's braked-mass percentage.", "percentuale massa frenata,    125", braked_fields,
     {}},
    {cars_forms, words("vetture"), document_part::train, outline_kind::none,
     "The number of cars of the train.", "numero vetture,    12", cars_fields, {}},
    {speed_forms, words("velocit"), document_part::train, outline_kind::none,
     "A step of the speed-limit profile: the cells from near(chainage / 50) on take its limit "
     "up to the next step, the last one to the end of the grid. A step whose chainage goes "
     "back gets a warning.",
     "velocita,     650,   140", speed_fields, {}},
    {adhesion_forms, words("aderenza"), document_part::train, outline_kind::none,
     "A step of the adhesion profile, filled as the speed limit's. The built-in train also "
     "writes the value right-aligned in six columns, which the layout keeps.",
     "aderenza,   12750,    85", adhesion_fields, adhesion_aligned},
    {clock_forms, words("orologio"), document_part::train, outline_kind::none,
     "The clock when the run starts (header entry 86). The built-in train parts its three "
     "numbers by blanks alone, which number fields allow.",
     "orologio,    19              8             15 ", clock_fields, {}},
    {sand_forms, words("sabbia"), document_part::train, outline_kind::none,
     "The train's sand value.", "sabbia,    300", sand_fields, {}},
    {signal_forms, words("segnale"), document_part::train, outline_kind::signal,
     "A signal. It takes the cell near(chainage / 50 + 1), which must be free (else error "
     "16), and writes approach markers into the cells 2, 4, 6 and 8 before it, whatever they "
     "hold. Its values form two groups of four, sx s1 s2 s3 and dx d1 d2 d3, plus rapp, "
     "stored as four pairs: 10 x s1 + d1, 10 x s2 + d2, 10 x s3 + d3 and 10 x rapp + 3 x sx + "
     "dx; the markers hold 30 x sx + 10 x dx plus 1 to 4. What each value shows is not known "
     "beyond this.",
     "segnale,   22050,   2, 5, 6,  0, 0,    2,  2,1,0, 0", signal_fields, {}},
    {slowdown_forms, words("rallentamento"), document_part::train, outline_kind::slowdown,
     "A temporary slowdown. It takes a start cell and an end cell and, when it starts beyond "
     "1500 m, a warning board cell near((start - 1200) / 50 + 1) and, if asked, the four "
     "pre-warning cells before it; each must be free (else errors 17 to 20). The code "
     "placement then adds code points before it, inside it and after its end (errors 11 to "
     "13 when it finds no free cell).",
     "rallentamento,   30100,    40,  400, 0,  1,  0", slowdown_fields, {}},
    {code_forms, words("abbattimento"), document_part::train, outline_kind::none,
     "A code point: a change of code, or its removal. It takes the cell near(chainage / 50), "
     "one before a signal at the same chainage, which must be free (else error 7). The "
     "built-in train has none; the example is written in its layout.",
     "abbattimento,   30000, 3", code_fields, {}},
    {station_forms, words("stazione"), document_part::train, outline_kind::station,
     "A station: the next header entry from 1 up (it must stay below the board texts, else "
     "error 10) and its area, from chainage - length to chainage + 150 for kinds 5 and 6, "
     "chainage - length to chainage + length for kinds 7 and 8, else near(chainage - length / "
     "2) to near(chainage + length / 2), 50 m later when field 6 is not 0. An area must start "
     "at least 350 m after the previous station's ends (else error 22). A kind below 25 also "
     "takes the station cell near(area end / 50 - 1), beyond cell 1 (else error 24), and but "
     "for kinds 5 and 6 approach markers in the four cells before it.",
     "stazione,   60300,  2,  700,  0, 1, 0,  1,1,0,  3,1,1,   90,  19,53, 0, PRALBO P.P.",
     station_fields, {}},
};
// clang-format on

}  // namespace

std::span<const keyword_description> train_document_table() {
    return table;
}

}  // namespace scenario
