#pragma once

#include <cstdint>
#include <optional>
#include <vector>

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
//
// A station's cell keeps some values of an element written there before it; which
// element (a signal, or a speed board that leaves no other trace) is a guess from the
// approach markers around it. `options.flipped` names the station cells where the other
// guess is taken; `ambiguous`, when given, receives the cells guessed.
struct reconstruct_options {
    std::vector<std::int64_t> flipped;
};
authored_scenario reconstruct(const tabella_voci& voci, const griglia& celle,
                              const std::optional<plan_analysis>& plan,
                              const reconstruct_options& options = {},
                              std::vector<std::int64_t>* ambiguous = nullptr);

}  // namespace scenario
