#include "render/plan_view.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace scenario::render {

namespace {

// Every point of the plan as numbers (an empty coordinate reads as 0), read in one
// walk, and the last metre with a coordinate set.
struct point_reader {
    std::vector<point> xy;
    std::int64_t last = -1;

    void empties(std::int64_t primo, std::int64_t ultimo) {
        xy.resize(xy.size() + static_cast<std::size_t>(ultimo - primo + 1), point{0, 0});
    }
    void stored(std::int64_t m, valore_piano x, valore_piano y) {
        xy.push_back({x.numero, y.numero});
        if (x.tipo != tipo_valore::vuoto || y.tipo != tipo_valore::vuoto) {
            last = m;
        }
    }
    void drawn(std::int64_t m, double x, double y) {
        xy.push_back({x, y});
        last = m;
    }
};

}  // namespace

plan_view::plan_view(const tracciato_linea& tracciato, double left, double top, double width,
                     double max_height, double pad) {
    point_reader points;
    points.xy.reserve(tracciato.points());  // one allocation, not a doubling series
    tracciato.visit(points);
    last_ = points.last;
    points.xy.resize(static_cast<std::size_t>(last_ + 1));
    xy_ = std::move(points.xy);
    if (last_ < 0) {
        height_ = 30;  // room for a note
        area_ = {left, top, left + width, top + height_};
        return;
    }
    double max_x = -std::numeric_limits<double>::infinity();
    double max_y = max_x;
    min_x_ = std::numeric_limits<double>::infinity();
    min_y_ = min_x_;
    for (const point& p : xy_) {
        min_x_ = std::min(min_x_, p.x);
        max_x = std::max(max_x, p.x);
        min_y_ = std::min(min_y_, p.y);
        max_y = std::max(max_y, p.y);
    }
    const double span_x = max_x - min_x_;
    const double span_y = max_y - min_y_;
    const double room_x = std::max(1.0, width - 2 * pad);
    const double room_y = std::max(1.0, max_height - 2 * pad);
    scale_ = std::min(span_x > 0 ? room_x / span_x : std::numeric_limits<double>::infinity(),
                      span_y > 0 ? room_y / span_y : std::numeric_limits<double>::infinity());
    if (!std::isfinite(scale_)) {
        scale_ = 1;  // a plan of one point
    }
    height_ = span_y * scale_ + 2 * pad;
    origin_x_ = left + (width - span_x * scale_) / 2;
    origin_y_ = top + height_ - pad;
    area_ = {left, top, left + width, top + height_};
}

point plan_view::at(std::int64_t metre) const {
    const std::int64_t m = std::clamp<std::int64_t>(metre, 0, last_);
    return to_picture(xy_[static_cast<std::size_t>(m)]);
}

std::vector<point> plan_view::polyline(std::int64_t from, std::int64_t to,
                                       std::int64_t max_points) const {
    from = std::clamp<std::int64_t>(from, 0, last_);
    to = std::clamp<std::int64_t>(to, from, last_);
    const std::int64_t parts = std::max<std::int64_t>(1, max_points);
    const std::int64_t stride = std::max<std::int64_t>(1, (to - from + parts - 1) / parts);
    std::vector<point> out;
    for (std::int64_t m = from; m < to; m += stride) {
        out.push_back(at(m));
    }
    out.push_back(at(to));
    return out;
}

}  // namespace scenario::render
