#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiled/compiled_scenario.hpp"
#include "render/marks.hpp"
#include "render/plan.hpp"
#include "render/profiles.hpp"

namespace scenario::render {

struct render_options {
    // false draws only the profiles (no plan of the line).
    bool plan = true;
    // Width of the picture in pixels; the height follows from the content.
    double width = 1200;
    // The frame only: no marks, and none of the plan's labels placed.
    picture_part part = picture_part::whole;
};

// Everything the picture places before it draws, kept for callers that put things of
// their own over it (hover targets, links): the marks, the plan's fit and labels, the
// profile panel with its label rows, and where the legend and the error notes go.
struct picture_layout {
    std::string title;
    double width = 0;
    double height = 0;
    route_marks marks;
    std::shared_ptr<const plan_view> plan;  // none when only the profiles are drawn
    plan_layout on_plan;            // the track, labels and scale on the plan
    profile_layout profiles;
    double legend_y = 0;   // baseline of the legend row
    double notes_top = 0;  // the notes of errors without a position follow from here
    picture_part part = picture_part::whole;
};

// Lays out a compiled scenario and the errors among its diagnostics (see collect_marks).
// A caller that has the view of this plan already, laid out by an earlier call for the
// same plan, gives it, and it is not made again (it holds every metre of the plan).
picture_layout lay_out_picture(const compiled_scenario& drawn,
                               std::span<const diagnostic> diagnostics,
                               const render_options& opt = {},
                               std::shared_ptr<const plan_view> plan = nullptr);

// Draws a laid-out picture as one self-contained SVG document (pure ASCII XML): the
// plan of the line with its marks, and below it the profiles along the route (or the
// frame alone, when it was laid out so). Every
// mark is an element with a class ("station", "signal", "slowdown", "tunnel", "board",
// "speed-board", "route-end", "error") and a data-position in metres; the plan's marks
// lie in the group with id "plan", the profiles' in id "profiles".
std::string draw_picture(const picture_layout& picture);

// Lays out and draws a compiled scenario with the errors among its diagnostics.
std::string render_svg(const compiled_scenario& drawn, std::span<const diagnostic> diagnostics,
                       const render_options& opt = {});

}  // namespace scenario::render
