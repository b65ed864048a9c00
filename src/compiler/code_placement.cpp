#include "compiler/code_placement.hpp"

#include <optional>
#include <string>
#include <utility>

#include "compiler/diagnostics.hpp"
#include "compiler/grid_access.hpp"
#include "compiler/messages.hpp"
#include "model/packing.hpp"

namespace scenario {

namespace {

constexpr std::int16_t automatic_code = 180;

// The smaller of two values (y when x > y).
constexpr std::int32_t minimo(std::int32_t x, std::int32_t y) {
    return x > y ? y : x;
}

// One pass over the grid. Every index it reads or writes stays inside 0 to N: a
// cell outside the grid counts as not free and as holding no element.
class code_pass {
  public:
    explicit code_pass(run_state& state) : state_(state), cells_(state.celle) {}

    void run() {
        const std::int64_t last = static_cast<std::int64_t>(cells_.size()) - 1;
        for (std::int64_t c = 1; c <= last - 2; ++c) {
            if (holds(c, tipo::avviso_rallentamento)) {
                signals_before_board(c);
            }
            if (holds(c, tipo::inizio_rallentamento)) {
                windows_before_start(c);
                const std::optional<std::int64_t> end = inside_slowdown(c);
                if (end) {
                    signal_after_end(*end);
                }
            }
        }
    }

  private:
    bool free_at(std::int64_t i) const { return in_grid(cells_, i) && libera(cell(i)); }
    bool holds(std::int64_t i, tipo t) const {
        return in_grid(cells_, i) && cell(i).tipo_cella == t;
    }
    cella& cell(std::int64_t i) const { return cells_[static_cast<std::size_t>(i)]; }

    void place(std::int64_t i) const {
        cell(i).tipo_cella = tipo::cambio_codice;
        cell(i).valore1 = automatic_code;
    }

    // Tries the cells in order and places a code point in the first free one.
    template <typename... Cells>
    bool place_in_first_free(Cells... cells) const {
        return ((free_at(cells) ? (place(cells), true) : false) || ...);
    }

    // A block error at cell i (reported as 50 i metres), said in full.
    void block(block_place where, std::int64_t i, std::string_view first, std::string_view second) {
        // Grids come from a route length of at most 1000000 m, so 50 i fits.
        record_error(state_, block_error_number(where), static_cast<std::int32_t>(50 * i), {},
                     block_message(where, first, second));
    }

    // Every signal within 20 cells before a warning board gets a code point in
    // one of the two cells before it, or has an existing one lowered to 180.
    void signals_before_board(std::int64_t c) {
        for (std::int64_t k = 1; k <= 20; ++k) {
            const std::int64_t d = c - k;
            if (d < 3) {
                return;
            }
            if (!holds(d, tipo::segnale) || place_in_first_free(d - 1, d - 2)) {
                continue;
            }
            if (holds(d - 1, tipo::cambio_codice)) {
                lower(d - 1);
            } else if (holds(d - 2, tipo::cambio_codice)) {
                lower(d - 2);
            } else {
                block(block_place::signal_before_board, d, std::to_string(d), std::to_string(c));
            }
        }
    }

    void lower(std::int64_t i) const {
        // The smaller code is stored back as 16 bits.
        cell(i).valore1 = wrap16(minimo(automatic_code, cell(i).valore1));
    }

    // Code points 250 to 350, 550 to 650 and 900 to 1000 m before a slowdown start.
    void windows_before_start(std::int64_t c) {
        window(c, 7, c - 5, c - 6, c - 7, "250 to 350 m");
        window(c, 13, c - 11, c - 12, c - 13, "550 to 650 m");
        window(c, 20, c - 18, c - 19, c - 20, "900 to 1000 m");
    }

    void window(std::int64_t c, std::int64_t beyond, std::int64_t a, std::int64_t b, std::int64_t d,
                const char* distance) {
        if (c <= beyond || place_in_first_free(a, b, d)) {
            return;
        }
        block(block_place::window_before_start, c, distance, std::to_string(c));
    }

    // Scans from the start cell to the slowdown's end cell and returns it (none
    // when the grid ends first). Below 110 km/h it places a code point every 8
    // cells, counted from the cell actually used for the previous one.
    std::optional<std::int64_t> inside_slowdown(std::int64_t c) {
        const bool slow = cell(c).valore1 < 110;
        const std::int64_t last = static_cast<std::int64_t>(cells_.size()) - 1;
        std::int64_t n = 0;
        for (std::int64_t k = c + 1; k <= last; ++k) {
            ++n;
            if (slow && n == 8) {
                if (free_at(k)) {
                    place(k);
                    n = 0;
                } else if (free_at(k - 1)) {
                    place(k - 1);
                    n = 1;
                } else if (free_at(k + 1)) {
                    place(k + 1);
                    n = -1;
                } else {
                    // n stays 8 and grows past it: no further point for this slowdown.
                    block(block_place::inside_slowdown, k, std::to_string(k), std::to_string(c));
                }
            }
            if (holds(k, tipo::fine_rallentamento)) {
                return k;
            }
        }
        return std::nullopt;
    }

    // A code point before the first signal within 12 cells after the end cell.
    void signal_after_end(std::int64_t k) {
        for (std::int64_t m = k; m <= k + 12; ++m) {
            if (!holds(m, tipo::segnale)) {
                continue;
            }
            if (!place_in_first_free(m - 1, m - 2)) {
                block(block_place::signal_after_end, k, std::to_string(m), std::to_string(k));
            }
            return;
        }
    }

    run_state& state_;
    griglia& cells_;
};

}  // namespace

void place_code_points(run_state& state) {
    // Without a grid there is nothing to place.
    code_pass(state).run();
}

}  // namespace scenario
