#pragma once

#include <cstdint>

#include "model/run_state.hpp"

namespace scenario {

struct tunnel_list;

// The packings the recorders store, before they are cut to their widths; the readers
// use them too, to say what a value becomes.

// A speed board's rank: near((second + 100 first) / 5), which must fit 16 bits.
std::int64_t speed_board_packing(std::int32_t first, std::int32_t second);
// The stripe counts, 10 left + right, keeping their low 16 bits.
constexpr std::int64_t stripe_packing(std::int32_t left, std::int32_t right) {
    return 10 * std::int64_t{left} + right;
}
// A signal's values: 10 a + b for the three pairs, 10 rapp + 3 sx + dx for the fourth,
// 30 sx + 10 dx + b for the approach marker b (1 to 4); they keep their low 16 bits (the
// markers their low 8).
constexpr std::int64_t signal_pair(std::int32_t a, std::int32_t b) {
    return 10 * std::int64_t{a} + b;
}
constexpr std::int64_t signal_fourth(std::int32_t rapp, std::int32_t sx, std::int32_t dx) {
    return 10 * std::int64_t{rapp} + 3 * std::int64_t{sx} + dx;
}
constexpr std::int64_t approach_marker(std::int32_t sx, std::int32_t dx, std::int64_t b) {
    return 30 * std::int64_t{sx} + 10 * std::int64_t{dx} + b;
}

// The cells of a slowdown starting at x, l metres long: its start, its end, its warning
// board (only beyond 1500 m) and the first of the four pre-warning cells, which run
// down from it.
struct slowdown_cells {
    std::int64_t start;
    std::int64_t end;
    std::int64_t board;
    std::int64_t prewarning;
    bool with_board;
};
slowdown_cells cells_of_slowdown(std::int32_t x, std::int32_t l);

// The element recorders. Each writes one document entry into stato.celle; a cell
// conflict is reported by setting stato.codice_errore (the caller records the
// position). A missing grid, or an index the grid cannot hold, throws reader_failure.
void memo_montagna(run_state& stato, tunnel_list& tunnels, std::int32_t& inizio, std::int32_t& fine,
                   std::int32_t& tipo);
void memo_indicatori_v_max(run_state& stato, std::int32_t posizione, std::int32_t& vas,
                           std::int32_t& vbs, std::int32_t& vcs, std::int32_t& strisces,
                           std::int32_t& vad, std::int32_t& vbd, std::int32_t& vcd,
                           std::int32_t& strisced);
void memo_segnale(run_state& stato, std::int32_t posizione, std::int32_t& sx, std::int32_t& s1,
                  std::int32_t& s2, std::int32_t& s3, std::int32_t& rapp, std::int32_t& dx,
                  std::int32_t& d1, std::int32_t& d2, std::int32_t& d3, std::int32_t& tempo);
void memo_rallentamento(run_state& stato, std::int32_t x, std::int32_t& v, std::int32_t& l,
                        std::int32_t& f_tt, std::int32_t f_ta, std::int32_t& d_v);

}  // namespace scenario
