#pragma once

#include <string>

#include "generator/scenario_layout.hpp"

namespace scenario::bench {

// The two documents of a generated scenario, laid out as the built-in ones are
// (same sections, separators and column widths), every line ending in CR LF.
std::string line_document(const scenario_layout& layout);
std::string train_document(const scenario_layout& layout);

}  // namespace scenario::bench
