#include "grammar/keyword_tables.hpp"

namespace scenario {

namespace {

// A number after `blanks` blanks, or right-aligned in `width`.
constexpr field_layout lead(std::uint8_t blanks) {
    return {field_align::leading, blanks};
}

constexpr std::string_view metres = "m";
constexpr std::string_view zero = "0";
constexpr std::string_view within_grid = "up to L + 6900 (further: error 15)";

constexpr field_description number(std::string_view name, field_layout layout,
                                   std::string_view meaning, std::string_view unit,
                                   std::string_view range, std::string_view empty,
                                   simulator_use used) {
    return {name, field_width::int32, layout, meaning, unit, range, empty, used};
}

// The general part: every value four blanks after its comma.

constexpr std::string_view route_forms[] = {"lunghezza percorso"};
constexpr field_description route_fields[] = {
    number("route length", lead(4),
           "length of the route from its start; the grid of 50 m cells and the plan run 7000 m "
           "past it (header entry 84, fine_area)",
           metres, "up to 1000000 (more: error 1)", "0", simulator_use::yes),
};

constexpr std::string_view zone_three_forms[] = {"progressiva chilometrica tre"};
constexpr std::string_view zone_two_forms[] = {"progressiva chilometrica due"};
constexpr std::string_view zone_one_forms[] = {"progressiva chilometrica uno"};
constexpr field_description zone_fields[] = {
    number("zone start", lead(4), "where the zone begins along the route", metres,
           "a multiple of 50 (else error 2)", zero, simulator_use::yes),
    number("zone end", lead(4), "where the zone ends along the route", metres,
           "a multiple of 50 once the flag has moved it (else error 2)", zero, simulator_use::yes),
    number("zone flag", lead(4),
           "1 moves the zone's end 100 m further; any other value leaves it (stored in the "
           "zone's progressiva)",
           "", "", zero, simulator_use::unknown),
};

constexpr std::string_view scenery_one_forms[] = {"sfondo uno"};
constexpr std::string_view scenery_two_forms[] = {"sfondo due"};
constexpr std::string_view scenery_three_forms[] = {"sfondo tre"};
constexpr field_description scenery_one_fields[] = {
    number("scenery value one", lead(4),
           "scenery (background) value one, stored in header entry 85's inizio_area", "unknown", "",
           zero, simulator_use::unknown),
};
constexpr field_description scenery_two_fields[] = {
    number("scenery value two", lead(4),
           "scenery (background) value two, stored in header entry 85's progressiva", "unknown", "",
           zero, simulator_use::unknown),
};
constexpr field_description scenery_three_fields[] = {
    number("scenery value three", lead(4),
           "scenery (background) value three, stored in header entry 85's fine_area", "unknown", "",
           zero, simulator_use::unknown),
};

constexpr std::string_view repetition_forms[] = {"ripetizione segnali 4 codici",
                                                 "ripetizione segnali 9 codici"};
constexpr field_description repetition_fields[] = {
    number("repetition start", lead(4),
           "where the repetition begins (header entry 86, inizio_area)", metres,
           "a multiple of 50 (else error 3)", zero, simulator_use::yes),
    number("repetition end", lead(4),
           "where the repetition ends (header entry 86, fine_area); 0 sets the number of codes "
           "to 0",
           metres, "a multiple of 50 (else error 4)", "0: no codes", simulator_use::yes),
};

// The body: every value two blanks after its comma, but for a few that take three.

constexpr std::string_view gradient_forms[] = {"pendenza"};
constexpr field_description gradient_fields[] = {
    number("gradient chainage", lead(2),
           "where the gradient begins: from cell near(chainage / 50) on", metres, within_grid, zero,
           simulator_use::yes),
    number("gradient", lead(3), "the gradient of the track from the chainage on", "unknown",
           "-100 to 155: stored as gradient + 100 in 8 bits (others wrap, with a warning); "
           "steeper than 70 either way: a warning",
           zero,
           simulator_use::yes),
};

constexpr std::string_view curve_forms[] = {"curva",   "curvas1", "curvas2", "curvas3", "curvas4",
                                            "curvas5", "curvas6", "curvad1", "curvad2", "curvad3",
                                            "curvad4", "curvad5", "curvad6"};
constexpr field_description curve_fields[] = {
    number("curve start", lead(2),
           "where the curve begins: the plan runs straight up to this metre and turns from the "
           "next one on",
           metres, within_grid, zero, simulator_use::yes),
    number("curve length", lead(2), "length of the curve", metres,
           "the plan must end by 1000000 m (else error 103); 0 or less: a warning", "0: no curve",
           simulator_use::yes),
};

constexpr std::string_view tunnel_forms[] = {"montagna"};
constexpr field_description tunnel_fields[] = {
    number("tunnel start", lead(3), "where the tunnel begins: its first cell is near(start / 50)",
           metres, within_grid, zero, simulator_use::yes),
    number("tunnel end", lead(2), "where the tunnel ends: its last cell is near(end / 50 - 1)",
           metres, "after the start (else a warning, and no cell)", zero, simulator_use::yes),
    number("tunnel type", lead(2),
           "the type its cells take (montagna); above 10, 10 is taken off and every fourth cell "
           "of the tunnel that holds nothing gets a marker",
           "",
           "1 to 3, or 11 to 13 with markers, in the built-in line 11 and 12; stored in 8 bits "
           "(others wrap, with a warning)",
           "0: the cells read as outside a tunnel", simulator_use::yes),
};

constexpr std::string_view speed_board_forms[] = {"indicatori_vmax"};
constexpr std::string_view left_speed_range =
    "20 x this + the right-hand speed / 5 must fit 16 bits, up to 32767 (else error 25): up to "
    "1638 with no right-hand speed; a multiple of 5 from 0 (else a warning); above 350: a "
    "warning";
constexpr std::string_view right_speed_range =
    "0 to 495, a multiple of 5 (others are rounded, or spill into the left-hand speed, with a "
    "warning)";
constexpr std::string_view stripes_range =
    "10 x the left-hand count + the right-hand count is stored in 16 bits (others wrap, with a "
    "warning); the right-hand count one digit, 0 to 9, and more than 3 stripes: a warning";
constexpr std::string_view km_h = "km/h";
constexpr std::string_view no_right_board =
    "0 (the built-in line writes an absent right-hand board empty)";
constexpr field_description speed_board_fields[] = {
    number("board chainage", lead(2),
           "where the board stands: cell near(chainage / 50 + 1), which must be free (else "
           "error 21)",
           metres, within_grid, zero, simulator_use::yes),
    number("left speed A", lead(2), "the left-hand board's speed for train rank A", km_h,
           left_speed_range, zero, simulator_use::yes),
    number("left speed B", lead(2), "the left-hand board's speed for train rank B", km_h,
           left_speed_range, zero, simulator_use::yes),
    number("left speed C", lead(2), "the left-hand board's speed for train rank C", km_h,
           left_speed_range, zero, simulator_use::yes),
    number("left stripes", lead(2), "the left-hand board's stripe count", "", stripes_range, zero,
           simulator_use::yes),
    number("right speed A", lead(2), "the right-hand board's speed for train rank A", km_h,
           right_speed_range, no_right_board, simulator_use::yes),
    number("right speed B", lead(2), "the right-hand board's speed for train rank B", km_h,
           right_speed_range, no_right_board, simulator_use::yes),
    number("right speed C", lead(2), "the right-hand board's speed for train rank C", km_h,
           right_speed_range, no_right_board, simulator_use::yes),
    number("right stripes", lead(2), "the right-hand board's stripe count", "", stripes_range, zero,
           simulator_use::yes),
};

constexpr std::string_view board_forms[] = {"cartello_indicatore"};
constexpr field_description board_fields[] = {
    number("board chainage", lead(2),
           "where the board stands: cell near(chainage / 50 + 1), which must be free (else "
           "error 6)",
           metres, within_grid, zero, simulator_use::yes),
    {"board text", field_width::text, lead(3),
     "the text the board shows, up to the next comma or the end of the line", "",
     "up to 65535 bytes (longer: an error of the tool, nothing is written)", "an empty text",
     simulator_use::yes},
};

// In the order the readers test them.
// clang-format off
constexpr keyword_description table[] = {
    {route_forms, words("lunghezza", "percorso"), document_part::general, outline_kind::none,
     "The length of the route. It sizes the grid of 50 m cells and the plan, so it comes "
     "before every row that places something; without it such a row is error 25.",
     "lunghezza percorso,    63500", route_fields, {}},
    {zone_three_forms, exact_words("tre", "progressiva"), document_part::general,
     outline_kind::none,
     "A kilometre-reference zone: a stretch of the route with a kilometre reference of its "
     "own. There are at most three, \"uno\", \"due\" and \"tre\", matched in lower case only. "
     "After the general part they are ordered by start, the largest first, into header "
     "entries 81 to 83 (two zones sharing the largest start clear all three), and a zone "
     "whose flag is 1 ends 100 m later.",
     "progressiva chilometrica tre,    55500,    60300,    1", zone_fields, {}},
    {zone_two_forms, exact_words("due", "progressiva"), document_part::general,
     outline_kind::none, "A kilometre-reference zone, as \"progressiva chilometrica tre\".",
     "progressiva chilometrica due,    34950,    57000,    1", zone_fields, {}},
    {zone_one_forms, exact_words("uno", "progressiva"), document_part::general,
     outline_kind::none, "A kilometre-reference zone, as \"progressiva chilometrica tre\".",
     "progressiva chilometrica uno,    24500,    35000,    1", zone_fields, {}},
    {scenery_one_forms, exact_words("sfondo", "uno"), document_part::general, outline_kind::none,
     "A scenery value, matched in lower case only.", "sfondo uno,    70000", scenery_one_fields,
     {}},
    {scenery_two_forms, exact_words("sfondo", "due"), document_part::general, outline_kind::none,
     "A scenery value, matched in lower case only.", "sfondo due,    50000", scenery_two_fields,
     {}},
    {scenery_three_forms, exact_words("sfondo", "tre"), document_part::general,
     outline_kind::none, "A scenery value, matched in lower case only.", "sfondo tre,    1",
     scenery_three_fields, {}},
    {repetition_forms, exact_words("segnali", "ripetizione"), document_part::general,
     outline_kind::none,
     "The stretch of cab signal repetition, matched in lower case only. The digit 4 or 9 in "
     "the keyword gives the number of codes (4 when both are there; neither is error 5).",
     "ripetizione segnali 4 codici,    0,    60750", repetition_fields, {}},
    {gradient_forms, words("pendenza"), document_part::body, outline_kind::none,
     "A step of the gradient profile: the cells from near(chainage / 50) on take its gradient "
     "up to the next step, the last one to the end of the grid. A step whose chainage goes "
     "back gets a warning.",
     "pendenza,  35600,   -2", gradient_fields, {}},
    {curve_forms, plan_words("curva"), document_part::body, outline_kind::none,
     "A curve of the line's plan. An \"s\" anywhere in the keyword turns it left, otherwise "
     "right; the first of the digits 1 to 6 in it, tested in that order, is its class, of "
     "curvature 0.0001, 0.0002, 0.0004, 0.001, 0.002 or 0.003 per metre (the reciprocal of the "
     "radius); no digit is error 103. Read only when the plan is compiled: without it "
     "(--no-plan) the row's numbers are read as keyword fields that match nothing.",
     "curvas4,  900,  1100", curve_fields, {}},
    {tunnel_forms, words("montagna"), document_part::body, outline_kind::tunnel,
     "A tunnel: its cells take its type. A tunnel that starts 150 m or less after the one "
     "before ends takes type 3.",
     "montagna,   29150,  32500,  11", tunnel_fields, {}},
    {speed_board_forms, words("indicatori_v"), document_part::body, outline_kind::speed_board,
     "A maximum-speed indicator board: for each train rank A, B and C a speed on the "
     "left-hand board and one on the right-hand board, stored together as near(20 x left + "
     "right / 5), and a stripe count for each board.",
     "indicatori_vmax,  35500,  110,  120,  140,  0,  110,  120,  140,  0", speed_board_fields,
     {}},
    {board_forms, words("cartello", "indicat"), document_part::body, outline_kind::board,
     "An indicator board with a text (a direction sign). Its text goes to header entry 80 for "
     "the first board, 79 for the next, and so on down: more than 80 boards is error 25, and "
     "the stations, counted up from entry 1, must stay below them (else error 10).",
     "cartello_indicatore,  650,   (CAVALCAVIA)( Km 0.661 )", board_fields, {}},
};
// clang-format on

}  // namespace

std::span<const keyword_description> line_document_table() {
    return table;
}

}  // namespace scenario
