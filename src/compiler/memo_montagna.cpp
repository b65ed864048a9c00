#include <algorithm>

#include "compiler/grid_access.hpp"
#include "compiler/recorders.hpp"
#include "compiler/tunnel_list.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"

namespace scenario {

void memo_montagna(run_state& stato, tunnel_list& tunnels, std::int32_t& inizio, std::int32_t& fine,
                   std::int32_t& tipo) {
    const std::int64_t n = last_cell(stato.celle);  // fails without a grid

    bool with_markers = false;
    if (tipo > 10) {
        tipo -= 10;
        with_markers = true;
    }

    tunnels.starts.push_back(inizio);
    tunnels.ends.push_back(fine);
    // A tunnel that starts 150 m or less after the previous one ends takes type 3;
    // the marker choice made above stays.
    const std::size_t count = tunnels.starts.size();
    if (count > 1 && std::int64_t{inizio} - tunnels.ends[count - 2] <= 150) {
        tipo = 3;
    }

    const std::int64_t first = near(static_cast<double>(inizio) / 50.0);
    const std::int64_t last = near(static_cast<double>(fine) / 50.0 - 1.0);
    // Cells of the tunnel outside the grid are not written; the count k still
    // runs from the tunnel's first cell, so the markers keep their places.
    const std::int64_t from = std::max<std::int64_t>(first, 0);
    const std::int64_t to = std::min(last, n);
    for (std::int64_t c = from; c <= to; ++c) {
        cella& cell = stato.celle[static_cast<std::size_t>(c)];
        cell.montagna = wrap8(tipo);  // the type keeps its low 8 bits
        const std::int64_t k = c - first + 1;
        if (with_markers && k % 4 == 0 && cell.tipo_cella == tipo::vuota) {
            cell.tipo_cella = tipo::segno_montagna;
        }
    }
}

}  // namespace scenario
