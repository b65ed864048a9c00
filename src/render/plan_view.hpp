#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/tracciato.hpp"
#include "render/layout.hpp"

namespace scenario::render {

// The drawn part of the line plan (metres 0 up to the last computed point) fitted
// into a picture area with its proportions kept: plan x to the right, plan y up.
class plan_view {
  public:
    // Fits the plan into the width given and at most max_height, leaving `pad`
    // pixels around it for labels.
    plan_view(const tracciato_linea& tracciato, double left, double top, double width,
              double max_height, double pad);

    bool empty() const { return last_ < 0; }
    double height() const { return height_; }
    const box& area() const { return area_; }
    // The last metre whose point was computed.
    std::int64_t last_metre() const { return last_; }
    double pixels_per_metre() const { return scale_; }

    // The picture point of the track at a route position, clamped to the drawn plan.
    point at(std::int64_t metre) const;
    // The plan's own coordinates of metres 0 to last_metre() (x to the right, y up, in
    // metres), and the picture point of a plan point.
    std::span<const point> plan_points() const { return xy_; }
    point to_picture(point plan) const {
        return {origin_x_ + (plan.x - min_x_) * scale_, origin_y_ - (plan.y - min_y_) * scale_};
    }
    // The track from one position to another with at most max_points + 1 points;
    // both ends are always included.
    std::vector<point> polyline(std::int64_t from, std::int64_t to, std::int64_t max_points) const;

  private:
    std::vector<point> xy_;  // plan coordinates of metres 0 to last_
    std::int64_t last_ = -1;
    double min_x_ = 0;
    double min_y_ = 0;
    double scale_ = 1;
    double origin_x_ = 0;  // picture x of plan x = min_x_
    double origin_y_ = 0;  // picture y of plan y = min_y_
    double height_ = 0;
    box area_;
};

}  // namespace scenario::render
