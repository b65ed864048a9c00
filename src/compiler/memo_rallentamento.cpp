#include "compiler/grid_access.hpp"
#include "compiler/recorders.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"

namespace scenario {

slowdown_cells cells_of_slowdown(std::int32_t x, std::int32_t l) {
    // Positions are computed in 64 bits: x + l may not fit 32.
    return slowdown_cells{point_cell(x), point_cell(std::int64_t{x} + l),
                          point_cell(std::int64_t{x} - 1200),
                          near(static_cast<double>(std::int64_t{x} - 1200) / 50.0), x > 1500};
}

void memo_rallentamento(run_state& stato, std::int32_t x, std::int32_t& v, std::int32_t& l,
                        std::int32_t& f_tt, std::int32_t f_ta, std::int32_t& d_v) {
    griglia& celle = stato.celle;

    const slowdown_cells cells = cells_of_slowdown(x, l);
    const std::int64_t s = cells.start;
    const std::int64_t e = cells.end;
    const std::int64_t w = cells.board;
    const std::int64_t h = cells.prewarning;

    // Only a slowdown more than 1500 m from the start has a warning board and
    // possibly pre-warning cells.
    const bool with_board = cells.with_board;
    if (!with_board) {
        f_ta = 0;
    }
    if (with_board && !libera(cell_at(celle, w))) {
        stato.codice_errore = 17;
        return;
    }
    if (!libera(cell_at(celle, s))) {
        stato.codice_errore = 18;
        return;
    }
    if (!libera(cell_at(celle, e))) {
        stato.codice_errore = 19;
        return;
    }

    // The end is written before the start: when both are the same cell it ends as
    // a start cell and the slowdown has no end cell. Values keep their low 16 bits.
    cella& end = celle[static_cast<std::size_t>(e)];
    end.tipo_cella = tipo::fine_rallentamento;
    if (d_v != 0) {
        end.valore2 = wrap16(d_v);
    }
    cella& start = celle[static_cast<std::size_t>(s)];
    start.tipo_cella = tipo::inizio_rallentamento;
    if (d_v != 0) {
        start.valore2 = wrap16(d_v);
    }
    if (with_board) {
        cella& board = celle[static_cast<std::size_t>(w)];
        board.tipo_cella = tipo::avviso_rallentamento;
        if (d_v != 0) {
            board.valore2 = wrap16(d_v);
        }
        board.valore1 = wrap16(v);
    }
    start.valore1 = wrap16(v);
    end.valore1 = wrap16(v);
    start.valore3 = wrap16(f_tt);
    end.valore3 = wrap16(f_tt);

    if (f_ta == 0) {
        return;
    }
    // Four pre-warning cells just before the warning board; when one is taken the
    // cells written above stay.
    for (std::int64_t i = 0; i < 4; ++i) {
        if (!libera(cell_at(celle, h - i))) {
            stato.codice_errore = 20;
            return;
        }
    }
    for (std::int64_t i = 0; i < 4; ++i) {
        cella& pre = celle[static_cast<std::size_t>(h - i)];
        pre.tipo_cella = tipo::preavviso_rallentamento;
        pre.valore1 = wrap16(i + 1);
        if (d_v != 0) {
            pre.valore2 = wrap16(i + 1);
        }
    }
}

}  // namespace scenario
