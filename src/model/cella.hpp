#pragma once

#include <cstdint>
#include <tuple>
#include <vector>

#include "model/record_fields.hpp"

namespace scenario {

// Kinds of point element a track cell can hold (values 7, 8 and 9 are unused). The
// files may hold any byte here: a value without a name stays as it is.
enum class tipo : std::uint8_t {
    vuota = 0,
    segnale = 1,
    fine_rallentamento = 2,
    inizio_rallentamento = 3,
    avviso_rallentamento = 4,
    preavviso_rallentamento = 5,
    indicatore_vmax = 6,
    stazione = 10,
    segno_montagna = 11,
    cambio_codice = 12,
    codice_zero = 13,
    cartello = 14,
};

// One 50 m track cell: a point element (kind and four parameters) and the
// track profile of the cell. Its fields as the files hold them are cella_fields.
struct cella {
    tipo tipo_cella = tipo::vuota;
    std::int16_t valore1 = 0;
    std::int16_t valore2 = 0;
    std::int16_t valore3 = 0;
    std::int16_t valore4 = 0;
    std::uint8_t tempo_segnale = 0;
    std::uint8_t avvicinamento = 0;
    std::uint8_t montagna = 0;
    std::uint8_t vel_limite = 0;
    std::uint8_t pendenza = 0;
    std::uint8_t aderenza = 0;

    bool operator==(const cella&) const = default;
};

// The fields of a cell in the order of the grid file; the encoder, the decoder and the
// dump all walk this list.
inline constexpr std::tuple cella_fields{
    record_field<&cella::tipo_cella>{"tipo_cella"},
    record_field<&cella::valore1>{"valore1"},
    record_field<&cella::valore2>{"valore2"},
    record_field<&cella::valore3>{"valore3"},
    record_field<&cella::valore4>{"valore4"},
    record_field<&cella::tempo_segnale>{"tempo_segnale"},
    record_field<&cella::avvicinamento>{"avvicinamento"},
    record_field<&cella::montagna>{"montagna"},
    record_field<&cella::vel_limite>{"vel_limite"},
    record_field<&cella::pendenza>{"pendenza"},
    record_field<&cella::aderenza>{"aderenza"},
};
static_assert(std::tuple_size_v<decltype(cella_fields)> == member_count<cella>,
              "cella_fields names every member of cella");

// A cell is free for an element when it is empty or holds only a tunnel marker.
constexpr bool libera(const cella& c) {
    return c.tipo_cella == tipo::vuota || c.tipo_cella == tipo::segno_montagna;
}

// The grid, cells 0 to N; empty while no route length has been read.
using griglia = std::vector<cella>;

// N for a route length L: near((L + 7000) / 50).
std::int64_t ultima_cella(std::int64_t lunghezza);

// The metres one cell spans: cell i begins at 50 i.
constexpr std::int32_t metres_per_cell = 50;

// Index of the cell holding a point element at a position: near(p / 50 + 1); the
// element is drawn at point_position(cell) = 50 (cell - 1).
std::int64_t point_cell(std::int64_t position);
constexpr std::int32_t point_position(std::int64_t cell) {
    return static_cast<std::int32_t>((cell - 1) * metres_per_cell);
}

}  // namespace scenario
