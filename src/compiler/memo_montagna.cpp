#include <algorithm>

#include "compiler/grid_access.hpp"
#include "compiler/recorders.hpp"
#include "compiler/tunnel_list.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"

namespace scenario {

void memo_montagna(run_state& stato, tunnel_list& tunnels, std::int32_t& inizio,
                   std::int32_t& fine, std::int32_t& tipo) {
    const std::int64_t n = last_cell(stato.celle);  // fails without a grid

    bool con_segni = false;
    if (tipo > 10) {
        tipo -= 10;
        con_segni = true;
    }

    tunnels.starts.push_back(inizio);
    tunnels.ends.push_back(fine);
    // A tunnel that starts 150 m or less after the previous one ends takes type 3;
    // the marker choice made above stays.
    const std::size_t numero = tunnels.starts.size();
    if (numero > 1 && std::int64_t{inizio} - tunnels.ends[numero - 2] <= 150) {
        tipo = 3;
    }

    const std::int64_t prima = near(static_cast<double>(inizio) / 50.0);
    const std::int64_t ultima = near(static_cast<double>(fine) / 50.0 - 1.0);
    // Cells of the tunnel outside the grid are not written; the count k still
    // runs from the tunnel's first cell, so the markers keep their places.
    const std::int64_t da = std::max<std::int64_t>(prima, 0);
    const std::int64_t a = std::min(ultima, n);
    for (std::int64_t c = da; c <= a; ++c) {
        cella& cel = stato.celle[static_cast<std::size_t>(c)];
        cel.montagna = wrap8(tipo);  // the type keeps its low 8 bits
        const std::int64_t k = c - prima + 1;
        if (con_segni && k % 4 == 0 && cel.tipo_cella == vuota) {
            cel.tipo_cella = segno_montagna;
        }
    }
}

}  // namespace scenario
