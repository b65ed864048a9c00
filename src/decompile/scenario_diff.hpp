#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "decompile/authored_scenario.hpp"
#include "decompile/plan_analysis.hpp"
#include "files/byte_reader.hpp"
#include "model/cella.hpp"
#include "model/tracciato.hpp"
#include "model/voce.hpp"

namespace scenario {

// One side of a comparison: a compiled scenario's arrays (from documents compiled in
// memory, or decoded files), what its plan's steps are, where its points can be read
// (the compile's plan, or the plan file's bytes), and its rows as a decompile works
// them out.
struct diff_side {
    tabella_voci voci{};
    griglia celle;
    std::optional<plan_analysis> plan;
    const tracciato_linea* plan_points = nullptr;  // the plan in memory, or
    byte_source* plan_file = nullptr;              // the plan file
    authored_scenario authored;
};

// Fills in the side's rows (reconstruct.hpp) from its arrays and plan.
void work_out_rows(diff_side& side);

// One change between two scenarios, said in the documents' units: what element it is
// ("signal", "station", "speed limit", "plan", ...), where (metres; none for the values
// of the scenario as a whole) and the line that says it ("signal at 6,450 m: added").
struct scenario_change {
    std::optional<std::int64_t> position;
    std::string element;
    std::string text;
};

// Whether two sides are the same scenario: the same header table, grid and plan (the
// same files, byte for byte).
bool same_scenario(const diff_side& a, const diff_side& b);

// What changed from `before` to `after`, one change per element, values of the whole
// scenario first, then in chainage order. Empty exactly when same_scenario.
std::vector<scenario_change> changes_between(const diff_side& before, const diff_side& after);

// A whole number of metres as the changes write it: 6450 as "6,450".
std::string metres_text(std::int64_t m);

}  // namespace scenario
