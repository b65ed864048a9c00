#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "render/layout.hpp"
#include "render/marks.hpp"
#include "render/plan_view.hpp"
#include "render/svg_writer.hpp"

namespace scenario::render {

// Where the plan panel puts its track and its labels, worked out before anything is
// drawn. Boxes are in picture units; each list follows the order of its marks.
struct plan_layout {
    struct kilometre_point {
        std::int64_t metre = 0;
        std::optional<box> label;  // none when it found no free place
    };

    std::vector<point> track;    // the drawn track up to the route end: a few thousand points
    std::vector<point> run_off;  // the rest of the plan, past the route end (may be empty)
    // One per station and one per error with a position; none where no free place was
    // found (the mark's tooltip still names it).
    std::vector<std::optional<box>> station_labels;
    std::vector<std::optional<box>> error_labels;
    std::vector<kilometre_point> kilometres;
    bool route_end = false;  // whether the end of the route lies on the drawn plan
    std::optional<box> route_end_label;
    box scale;                // the corner the scale bar takes
    double scale_length = 0;  // the bar's length in pixels
    double scale_metres = 0;  // the distance it stands for
};

// Places the track and the labels of these marks on the plan. The scale bar takes a
// corner first; then each label, errors first, then stations, kilometre points and the
// route end, takes the first place near its point that lies within the plan's area and
// covers no label placed before it, no point of the track and no mark; a label without
// such a place is left out, so that no two labels ever overlap. For the frame alone only
// the track and the scale bar are placed.
plan_layout layout_plan(const plan_view& view, const route_marks& marks,
                        picture_part part = picture_part::whole);

// Draws the plan group (id "plan"): track, tunnels, slowdowns, boards, signals,
// stations, positioned errors, kilometre points and scale; its frame is the scale bar
// alone (or the note that there is no plan).
void draw_plan(svg_writer& w, const plan_view& view, const plan_layout& layout,
               const route_marks& marks, picture_part part = picture_part::whole);

}  // namespace scenario::render
