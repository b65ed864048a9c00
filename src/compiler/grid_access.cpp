#include "compiler/grid_access.hpp"

#include <string>

#include "model/near.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

std::int64_t last_cell(const griglia& celle) {
    if (celle.empty()) {
        throw reader_failure("no route length before this entry, so there is no track grid");
    }
    return static_cast<std::int64_t>(celle.size()) - 1;
}

cella& cell_at(griglia& celle, std::int64_t i) {
    const std::int64_t n = last_cell(celle);
    if (i < 0 || i > n) {
        throw reader_failure("cell " + std::to_string(i) + " is outside the grid (0 to " +
                             std::to_string(n) + ")");
    }
    return celle[static_cast<std::size_t>(i)];
}

}  // namespace scenario
