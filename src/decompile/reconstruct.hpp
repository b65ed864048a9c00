#pragma once

#include <optional>

#include "decompile/authored_scenario.hpp"
#include "decompile/plan_analysis.hpp"
#include "model/cella.hpp"
#include "model/voce.hpp"

namespace scenario {

// Works out the rows of the two documents that compile to a header table, a grid and
// (when there is one) a plan: every element as an author writes it, in chainage order
// and grouped as the built-in documents group them, except where the files show that
// the rows were written in another order (a station marker over a signal's, say). An
// automatic code point the compiler placed does not come back as a row.
//
// Where no row gives what the files hold (a file written by another program, or
// damaged), the rows are the closest ones: compiling them and comparing says where
// they fall short (round_trip.hpp). Never fails for anything the arrays hold.
authored_scenario reconstruct(const tabella_voci& voci, const griglia& celle,
                              const std::optional<plan_analysis>& plan);

}  // namespace scenario
