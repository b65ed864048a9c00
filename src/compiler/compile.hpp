#pragma once

#include <cstdint>

#include "files/document_store.hpp"
#include "model/run_state.hpp"

namespace scenario {

// One compile of the scenario named in the state, with the plan switch j: reset the
// error and the header table, read both documents, place the code points, fill the
// marker slots and integrity codes. Returns 0, or the fatal marker error (1250 or
// 1251), after which nothing may be written.
std::int32_t compile_scenario(run_state& state, document_store& store, std::int32_t j);

}  // namespace scenario
