#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/run_state.hpp"

namespace scenario {

// One count of what a compile made, as every summary of it names it: the tool's
// ("341 cells; 2 curves, ...") and the live page's status ("cells": 341, ...).
struct named_count {
    std::string_view key;   // as a JSON member: "gradient_rows"
    std::string_view one;   // in a sentence, for one: "gradient row"
    std::string_view many;  // and for any other number: "gradient rows"
    std::int64_t value = 0;
};

// The cells of the grid, then the entries of each kind the readers stored, in this
// one order.
std::vector<named_count> counts_of(const run_state& state);

}  // namespace scenario
