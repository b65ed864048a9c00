#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario {

// A scenario as its two documents say it: the rows an author writes, each with the
// numbers of its fields in document order (what the reader reads, before any packing).
// A decompile makes one from compiled files; the documents are written from it.

// "progressiva chilometrica uno/due/tre": the entry (81 tre, 82 due, 83 uno) the row
// fills before the zones are ordered.
struct zone_row {
    int entry = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t flag = 0;
};

// "ripetizione segnali 4 codici" (or 9).
struct repetition_row {
    std::int32_t start = 0;
    std::int32_t end = 0;
    int codes = 4;
};

// A profile row ("pendenza", "velocita", "aderenza"): from the chainage on, the value.
struct profile_row {
    std::int32_t chainage = 0;
    std::int32_t value = 0;
};

// "curvas4" and the like: metres start + 1 to start + length drawn with the class's
// curvature, to the left or to the right.
struct curve_row {
    std::int32_t start = 0;
    std::int32_t length = 0;
    bool left = false;
    int curve_class = 1;
};

// "montagna": start, end and the type as written (10 more for markers).
struct tunnel_row {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t type = 0;

    bool operator==(const tunnel_row&) const = default;
};

// "indicatori_vmax": the chainage, then speeds A, B, C and stripes of the left-hand
// board, then of the right-hand one.
struct speed_board_row {
    std::int32_t position = 0;
    std::array<std::int32_t, 8> values{};
    bool right_empty = false;  // the right-hand speeds written as empty fields
};

// "cartello_indicatore".
struct board_row {
    std::int32_t position = 0;
    std::string text;
};

// "stazione": the seventeen fields, the name last.
struct station_row {
    std::array<std::int32_t, 16> values{};
    std::string name;
};

// "rallentamento": start, speed, length, f_tt, f_ta, d_v.
struct slowdown_row {
    std::array<std::int32_t, 6> values{};
};

// "segnale": chainage, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo.
struct signal_row {
    std::array<std::int32_t, 11> values{};
};

// "abbattimento": chainage and code value.
struct code_row {
    std::int32_t position = 0;
    std::int32_t value = 0;
};

// The element rows of the train document, in the order they are written.
enum class train_row_kind : std::uint8_t { station, slowdown, signal, code };
struct train_row_ref {
    train_row_kind kind;
    std::size_t index;
};

struct authored_scenario {
    std::string scenario;  // the names the files are named by (Windows-1252)
    std::string train;
    bool plan = true;  // compiled with the line plan

    // Line document: general part.
    std::int32_t route_length = 0;
    std::vector<zone_row> zones;
    std::array<std::int32_t, 3> scenery{};  // sfondo uno, due, tre
    std::optional<repetition_row> repetition;
    // Line document: body, in the order of its sections.
    std::vector<curve_row> curves;
    std::vector<profile_row> gradients;
    std::vector<tunnel_row> tunnels;
    std::vector<speed_board_row> speed_boards;
    std::vector<board_row> boards;

    // Train document.
    std::int32_t cars = 0;
    std::int32_t braked_mass = 0;
    std::int16_t sand = 0;
    std::array<std::int16_t, 3> clock{};
    std::vector<profile_row> adhesion;
    std::vector<profile_row> speed;
    std::vector<station_row> stations;
    std::vector<slowdown_row> slowdowns;
    std::vector<signal_row> signals;
    std::vector<code_row> codes;
    std::vector<train_row_ref> train_order;
};

}  // namespace scenario
