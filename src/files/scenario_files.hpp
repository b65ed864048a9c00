#pragma once

#include <string>
#include <vector>

#include "model/run_state.hpp"

namespace scenario {

// Writes the compiled scenario into a folder, in this order: the line plan file (only
// when the plan switch is on and a plan exists), the header file, the grid file (only
// when a grid exists). Each file replaces an older one whole or not at all; a failure
// throws file_error and the later files are not written. Returns the names written.
std::vector<std::string> scrivi_file_scenario(const run_state& stato, const std::string& cartella,
                                              char separatore);

}  // namespace scenario
