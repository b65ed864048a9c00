#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/diagnostic.hpp"
#include "compiled/element_index.hpp"
#include "model/run_state.hpp"

namespace scenario::render {

// What the picture of a compiled scenario shows, read off the model once. Every
// position is in metres along the route.

struct station_mark {
    std::int32_t position = 0;  // the station's progressiva
    int entry = 0;              // its entry in voci
    std::string name;           // Windows-1252 text as read
};

// A point element of the grid, at the position its document entry gave.
struct point_mark {
    std::int32_t position = 0;
    int cell = 0;
    std::string detail;  // a short description for the picture's tooltip
};

// A stretch of route: a slowdown (value = its speed in km/h) or a tunnel
// (value = its montagna type).
struct span_mark {
    std::int32_t start = 0;
    std::int32_t end = 0;
    int value = 0;
    std::string detail;  // a short description for the picture's tooltip
    int cell = 0;        // the cell where it begins
};

// A run of cells with one profile value, from start up to (not including) end.
struct profile_step {
    std::int32_t start = 0;
    std::int32_t end = 0;
    int value = 0;
};

// A recorded error as the picture shows it: its position, when it has one, and the
// text to print beside it.
struct error_mark {
    std::optional<std::int32_t> position;
    std::string text;
    std::size_t diagnostic = 0;  // its index among the diagnostics the marks were taken from
};

struct route_marks {
    std::int32_t axis_end = 0;      // end of the drawn route axis
    std::int32_t route_length = 0;  // the route length read (voci entry 84), 0 when unknown
    std::vector<station_mark> stations;
    std::vector<point_mark> signals;
    std::vector<point_mark> boards;        // indicator boards (tipo::cartello), with their text
    std::vector<point_mark> speed_boards;  // maximum-speed indicator boards
    std::vector<span_mark> slowdowns;
    std::vector<span_mark> tunnels;
    std::vector<profile_step> speed;     // km/h
    std::vector<profile_step> gradient;  // the stored value minus 100
    std::vector<profile_step> adhesion;
    std::vector<error_mark> errors;
};

// The marks of the elements of a compiled scenario (its element index, in its order),
// with what the picture writes beside them read off the grid and the header records,
// and the errors among the diagnostics given: every diagnostic of severity error, in
// order, as "error N: " (an error of the tool: "error: ") and its message, at its
// position when it has one. Warnings and notes are not drawn.
route_marks collect_marks(const run_state& state, const element_index& elements,
                          std::span<const diagnostic> diagnostics);

// What the picture's tooltip says of an element drawn as a mark of its own (a signal, a
// board, a speed board, a slowdown, a tunnel, a curve or a code point: the detail of its
// mark); empty for a station and a profile step.
std::string mark_detail(const run_state& state, const element& e);

}  // namespace scenario::render
