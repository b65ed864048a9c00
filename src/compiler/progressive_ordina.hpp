#pragma once

#include "model/voce.hpp"

namespace scenario {

// Orders the kilometre-reference zones in entries 81 to 83 and applies their flags.
void progressive_ordina(tabella_voci& voci);

}  // namespace scenario
