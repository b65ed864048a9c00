#include "compiler/code_placement.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

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

    // Places a code point in cell i for the element in cell `owner` (the slowdown's
    // cell that asked for it), which the trace then names as its origin.
    void place(std::int64_t i, std::int64_t owner) const {
        cell(i).tipo_cella = tipo::cambio_codice;
        cell(i).valore1 = automatic_code;
        std::vector<cell_origin>& origins = state_.trace.cells;
        if (in_grid(cells_, owner) && static_cast<std::size_t>(i) < origins.size() &&
            static_cast<std::size_t>(owner) < origins.size()) {
            origins[static_cast<std::size_t>(i)] =
                cell_origin{origins[static_cast<std::size_t>(owner)].row, true};
        }
    }

    // Tries the cells in order and places a code point in the first free one.
    template <typename... Cells>
    bool place_in_first_free(std::int64_t owner, Cells... cells) const {
        return ((free_at(cells) ? (place(cells, owner), true) : false) || ...);
    }

    // The document line that wrote cell i, when the trace knows it.
    const source_row* row_of(std::int64_t i) const {
        const reading_trace& trace = state_.trace;
        if (i < 0 || static_cast<std::size_t>(i) >= trace.cells.size()) {
            return nullptr;
        }
        const std::int32_t row = trace.cells[static_cast<std::size_t>(i)].row;
        return row >= 0 && static_cast<std::size_t>(row) < trace.rows.size()
                   ? &trace.rows[static_cast<std::size_t>(row)]
                   : nullptr;
    }

    // A block error at cell i (reported as 50 i metres), said in full, at the line of the
    // element in cell `at`; the notes name the element in cell `other` (saying `about`)
    // and what holds the cells that were tried.
    void block(block_place where, std::int64_t i, std::string_view first, std::string_view second,
               std::int64_t at, std::optional<std::pair<std::int64_t, std::string>> other,
               std::initializer_list<std::int64_t> tried) {
        std::vector<diagnostic_note> notes;
        if (other) {
            if (const source_row* row = row_of(other->first)) {
                notes.push_back(note_at_row(state_, *row, other->second));
            }
        }
        for (const std::int64_t t : tried) {
            if (auto note = cell_note(state_, t)) {
                notes.push_back(std::move(*note));
            }
        }
        const source_row* row = row_of(at);
        // Grids come from a route length of at most 1000000 m, so the metre fits.
        record_error(state_, block_error_number(where),
                     static_cast<std::int32_t>(metres_per_cell * i),
                     row != nullptr ? place_of_row(state_, *row) : error_place{},
                     block_message(where, first, second), std::move(notes));
    }

    // Every signal within 20 cells before a warning board gets a code point in
    // one of the two cells before it, or has an existing one lowered to 180.
    void signals_before_board(std::int64_t c) {
        for (std::int64_t k = 1; k <= 20; ++k) {
            const std::int64_t d = c - k;
            if (d < 3) {
                return;
            }
            if (!holds(d, tipo::segnale) || place_in_first_free(c, d - 1, d - 2)) {
                continue;
            }
            if (holds(d - 1, tipo::cambio_codice)) {
                lower(d - 1);
            } else if (holds(d - 2, tipo::cambio_codice)) {
                lower(d - 2);
            } else {
                block(block_place::signal_before_board, d, std::to_string(d), std::to_string(c), d,
                      std::pair{c, say(phrase::note_warning_board, {std::to_string(c)})},
                      {d - 1, d - 2});
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
        if (c <= beyond || place_in_first_free(c, a, b, d)) {
            return;
        }
        block(block_place::window_before_start, c, distance, std::to_string(c), c, std::nullopt,
              {a, b, d});
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
                    place(k, c);
                    n = 0;
                } else if (free_at(k - 1)) {
                    place(k - 1, c);
                    n = 1;
                } else if (free_at(k + 1)) {
                    place(k + 1, c);
                    n = -1;
                } else {
                    // n stays 8 and grows past it: no further point for this slowdown.
                    block(block_place::inside_slowdown, k, std::to_string(k), std::to_string(c), c,
                          std::nullopt, {k, k - 1, k + 1});
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
            if (!place_in_first_free(k, m - 1, m - 2)) {
                block(block_place::signal_after_end, k, std::to_string(m), std::to_string(k), k,
                      std::pair{m, say(phrase::note_signal_after_end, {std::to_string(m)})},
                      {m - 1, m - 2});
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
