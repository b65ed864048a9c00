#include "compiler/grid_access.hpp"

#include <string>

#include "model/near.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

std::int64_t cella_del_punto(std::int64_t posizione) {
    return near(static_cast<double>(posizione) / 50.0 + 1.0);
}

void richiedi_griglia(const griglia& celle, const char* voce) {
    if (celle.empty()) {
        throw reader_failure("no grid for the " + std::string(voce) +
                             ": the route length has not been read");
    }
}

cella& cella_richiesta(griglia& celle, std::int64_t i, const char* cosa) {
    richiedi_griglia(celle, cosa);
    if (!nella_griglia(celle, i)) {
        throw reader_failure(std::string(cosa) + " cell " + std::to_string(i) +
                             " lies outside the grid (cells 0 to " +
                             std::to_string(celle.size() - 1) + ")");
    }
    return celle[static_cast<std::size_t>(i)];
}

}  // namespace scenario
