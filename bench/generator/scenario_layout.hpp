#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scenario::bench {

// Every entry of a generated scenario, in the units of the documents (metres, km/h).
// Positions are multiples of 50, so every cell index is exact.
struct curve_entry {
    std::int32_t start;
    std::int32_t length;
    char side;  // 's' left, 'd' right
    int class_digit;
};
struct gradient_entry {
    std::int32_t position;
    std::int32_t gradient;
};
struct tunnel_entry {
    std::int32_t start;
    std::int32_t end;
    std::int32_t type;  // 11 or 12: type 1 or 2 with markers
};
struct speed_board_entry {
    std::int32_t position;
    std::int32_t left[4];   // speeds A, B, C and stripes
    std::int32_t right[4];  // the same, or all 0 for no right-hand board
    bool has_right;
};
struct sign_entry {
    std::int32_t position;
    std::string text;
};
struct profile_entry {
    std::int32_t position;
    std::int32_t value;
};
struct station_entry {
    std::int32_t position;
    std::int32_t kind;
    std::int32_t length;
    std::int32_t fields[10];  // fourth to thirteenth fields of the station line
    std::int32_t hours, minutes, seconds;
    std::string name;
};
struct slowdown_entry {
    std::int32_t start;
    std::int32_t speed;
    std::int32_t length;
    std::int32_t whole_train;  // f_tt
    std::int32_t prewarning;   // f_ta
    std::int32_t value;        // d_v
};
struct signal_entry {
    std::int32_t position;
    std::int32_t values[10];  // sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo
};

struct scenario_layout {
    std::string scenario_name;
    std::string train_name;
    std::int32_t route_length = 0;
    std::int64_t last_cell = 0;  // N
    std::vector<curve_entry> curves;
    std::vector<gradient_entry> gradients;
    std::vector<tunnel_entry> tunnels;
    std::vector<speed_board_entry> speed_boards;
    std::vector<sign_entry> signs;
    std::vector<profile_entry> adhesion;
    std::vector<profile_entry> speeds;
    std::vector<station_entry> stations;
    std::vector<slowdown_entry> slowdowns;
    std::vector<signal_entry> signals;  // in ascending order of position
};

// Limits of the documents the layout respects.
constexpr std::int32_t longest_route = 1000000;
constexpr int most_tunnels = 80;
constexpr int sign_count = 4;
constexpr int most_stations = 78 - sign_count;

// A dense, valid scenario for a route of the given length (10,000 m to 1,000,000 m):
// a curve every kilometre, a gradient row every 100 m, 80 tunnels, a speed board every
// 2 km showing the train's speed limit where it stands, a signal every 1.35 km, a
// slowdown every 10 km and as many stations as the header table holds. No two elements share a cell, no station reference cell lands on
// an element, and every code point the placement pass looks for finds a free cell.
scenario_layout make_layout(std::int32_t route_length);

}  // namespace scenario::bench
