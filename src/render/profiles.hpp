#pragma once

#include <cstdint>
#include <vector>

#include "render/layout.hpp"
#include "render/marks.hpp"
#include "render/svg_writer.hpp"

namespace scenario::render {

// Where the profile panel goes: rows of error and station labels on top, then bands
// for the speed limit, the gradient, the adhesion and the tunnels on one horizontal
// axis of route position, then the position axis.
struct profile_layout {
    struct band {
        double top = 0;
        double height = 0;
        double bottom() const { return top + height; }
    };

    // A label in the rows above the bands: the box its text takes and its row, the
    // first row on top. Labels in one row keep apart.
    struct row_label {
        box where;
        int row = 0;
    };

    double top = 0;
    double left = 0;   // picture x of position 0
    double right = 0;  // picture x of the axis end
    double axis_end = 1;
    double error_rows_top = 0;
    std::vector<row_label> error_labels;  // one per error with a position, in order
    double station_rows_top = 0;
    std::vector<row_label> station_labels;  // one per station, in order
    band speed;
    band gradient;
    band adhesion;
    band tunnels;
    // The value axes of the three profiles: each holds its values and a least range, so
    // that flat profiles stay readable.
    axis_range speed_axis;
    axis_range gradient_axis;
    axis_range adhesion_axis;
    double axis_y = 0;  // the position axis line
    double bottom = 0;

    double height() const { return bottom - top; }
    // Picture x of a route position, clamped to the axis.
    double x(std::int64_t position) const;
    // Picture y of a value in a band whose axis runs over r.
    static double y(const band& b, const axis_range& r, double value);
};

// Lays out the panel for these marks between picture x left and right from top down.
profile_layout layout_profiles(const route_marks& marks, double left, double right, double top);

// Draws the profile group (id "profiles"), whole or its frame only (the bands with their
// value axes and titles, the position axis).
void draw_profiles(svg_writer& w, const profile_layout& view, const route_marks& marks,
                   picture_part part = picture_part::whole);

}  // namespace scenario::render
