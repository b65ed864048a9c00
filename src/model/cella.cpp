#include "model/cella.hpp"

#include "model/near.hpp"

namespace scenario {

std::int64_t ultima_cella(std::int64_t lunghezza) {
    return near(static_cast<double>(lunghezza + 7000) / 50.0);
}

std::int64_t point_cell(std::int64_t position) {
    return near(static_cast<double>(position) / 50.0 + 1.0);
}

}  // namespace scenario
