#pragma once

#include <cstdint>

#include "model/voce.hpp"

namespace scenario {

// Check numbers over the first 25 characters of the lower-cased train name,
// scenario name and pad (entries 86 and 85 of voci).
std::int32_t codice_gara_og(const tabella_voci& voci);  // plain sum
std::int32_t codice_gara_st(const tabella_voci& voci);  // weighted by position

}  // namespace scenario
