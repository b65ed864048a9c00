#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/marks.hpp"
#include "model/run_state.hpp"

namespace scenario::render {

struct render_options {
    // false draws only the profiles (no plan of the line).
    bool plan = true;
    // Width of the picture in pixels; the height follows from the content.
    double width = 1200;
    // The recorded errors with the sentences to print. When absent they are made
    // from the run's diagnostics by default_error_messages.
    std::optional<std::vector<error_message>> errors;
};

// Draws a compiled scenario as one self-contained SVG document (pure ASCII XML):
// the plan of the line with its marks, and below it the profiles along the route.
// Every mark is an element with a class ("station", "signal", "slowdown", "tunnel",
// "board", "speed-board", "route-end", "error") and a data-position in metres; the
// plan's marks lie in the group with id "plan", the profiles' in id "profiles".
std::string render_svg(const run_state& stato, const render_options& opt = {});

}  // namespace scenario::render
