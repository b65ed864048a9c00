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

constexpr std::int16_t codice_automatico = 180;

// The smaller of two values (y when x > y).
constexpr std::int32_t minimo(std::int32_t x, std::int32_t y) {
    return x > y ? y : x;
}

// One pass over the grid. Every index it reads or writes stays inside 0 to N: a
// cell outside the grid counts as not free and as holding no element.
class passo_codici {
  public:
    explicit passo_codici(run_state& stato) : stato_(stato), celle_(stato.celle) {}

    void esegui() {
        const std::int64_t ultima = static_cast<std::int64_t>(celle_.size()) - 1;
        for (std::int64_t c = 1; c <= ultima - 2; ++c) {
            if (e_di(c, avviso_rallentamento)) {
                segnali_prima_dell_avviso(c);
            }
            if (e_di(c, inizio_rallentamento)) {
                finestre_prima_dell_inizio(c);
                const std::optional<std::int64_t> fine = dentro_il_rallentamento(c);
                if (fine) {
                    segnale_dopo_la_fine(*fine);
                }
            }
        }
    }

  private:
    bool libera_in(std::int64_t i) const { return in_grid(celle_, i) && libera(cella_(i)); }
    bool e_di(std::int64_t i, tipo t) const {
        return in_grid(celle_, i) && cella_(i).tipo_cella == t;
    }
    cella& cella_(std::int64_t i) const { return celle_[static_cast<std::size_t>(i)]; }

    void piazza(std::int64_t i) const {
        cella_(i).tipo_cella = cambio_codice;
        cella_(i).valore1 = codice_automatico;
    }

    // Tries the cells in order and places a code point in the first free one.
    template <typename... Indici>
    bool piazza_nella_prima_libera(Indici... indici) const {
        return ((libera_in(indici) ? (piazza(indici), true) : false) || ...);
    }

    // A block error at cell i (reported as 50 i metres), said in full.
    void blocco(block_place luogo, std::int64_t i, std::string_view primo, std::string_view secondo) {
        // Grids come from a route length of at most 1000000 m, so 50 i fits.
        record_error(stato_, block_error_number(luogo), static_cast<std::int32_t>(50 * i), {},
                     block_message(luogo, primo, secondo));
    }

    // Every signal within 20 cells before a warning board gets a code point in
    // one of the two cells before it, or has an existing one lowered to 180.
    void segnali_prima_dell_avviso(std::int64_t c) {
        for (std::int64_t k = 1; k <= 20; ++k) {
            const std::int64_t d = c - k;
            if (d < 3) {
                return;
            }
            if (!e_di(d, segnale) || piazza_nella_prima_libera(d - 1, d - 2)) {
                continue;
            }
            if (e_di(d - 1, cambio_codice)) {
                abbassa(d - 1);
            } else if (e_di(d - 2, cambio_codice)) {
                abbassa(d - 2);
            } else {
                blocco(block_place::signal_before_board, d, std::to_string(d),
                       std::to_string(c));
            }
        }
    }

    void abbassa(std::int64_t i) const {
        // The smaller code is stored back as 16 bits.
        cella_(i).valore1 = wrap16(minimo(codice_automatico, cella_(i).valore1));
    }

    // Code points 250 to 350, 550 to 650 and 900 to 1000 m before a slowdown start.
    void finestre_prima_dell_inizio(std::int64_t c) {
        finestra(c, 7, c - 5, c - 6, c - 7, "250 to 350 m");
        finestra(c, 13, c - 11, c - 12, c - 13, "550 to 650 m");
        finestra(c, 20, c - 18, c - 19, c - 20, "900 to 1000 m");
    }

    void finestra(std::int64_t c, std::int64_t oltre, std::int64_t a, std::int64_t b,
                  std::int64_t d, const char* distanza) {
        if (c <= oltre || piazza_nella_prima_libera(a, b, d)) {
            return;
        }
        blocco(block_place::window_before_start, c, distanza, std::to_string(c));
    }

    // Scans from the start cell to the slowdown's end cell and returns it (none
    // when the grid ends first). Below 110 km/h it places a code point every 8
    // cells, counted from the cell actually used for the previous one.
    std::optional<std::int64_t> dentro_il_rallentamento(std::int64_t c) {
        const bool lento = cella_(c).valore1 < 110;
        const std::int64_t ultima = static_cast<std::int64_t>(celle_.size()) - 1;
        std::int64_t n = 0;
        for (std::int64_t k = c + 1; k <= ultima; ++k) {
            ++n;
            if (lento && n == 8) {
                if (libera_in(k)) {
                    piazza(k);
                    n = 0;
                } else if (libera_in(k - 1)) {
                    piazza(k - 1);
                    n = 1;
                } else if (libera_in(k + 1)) {
                    piazza(k + 1);
                    n = -1;
                } else {
                    // n stays 8 and grows past it: no further point for this slowdown.
                    blocco(block_place::inside_slowdown, k, std::to_string(k),
                           std::to_string(c));
                }
            }
            if (e_di(k, fine_rallentamento)) {
                return k;
            }
        }
        return std::nullopt;
    }

    // A code point before the first signal within 12 cells after the end cell.
    void segnale_dopo_la_fine(std::int64_t k) {
        for (std::int64_t m = k; m <= k + 12; ++m) {
            if (!e_di(m, segnale)) {
                continue;
            }
            if (!piazza_nella_prima_libera(m - 1, m - 2)) {
                blocco(block_place::signal_after_end, k, std::to_string(m), std::to_string(k));
            }
            return;
        }
    }

    run_state& stato_;
    griglia& celle_;
};

}  // namespace

void piazza_codici(run_state& stato) {
    // Without a grid there is nothing to place.
    passo_codici(stato).esegui();
}

}  // namespace scenario
