#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace scenario::render {

// What a picture draws: all of it, or its frame only (titles, panels, axes, scale and
// legend: what the live page draws its marks over).
enum class picture_part { whole, frame };

// Small geometry helpers of the scenario picture, in picture units (pixels, y down).

struct point {
    double x = 0;
    double y = 0;
};

struct box {
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;

    bool overlaps(const box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
    bool contains(point p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
};

// The width of a line of Windows-1252 text in the picture's fonts (no less than either
// of its first two faces gives it), regular or bold.
double text_width(std::string_view text, double font_size, bool bold = false);

// A tick spacing of 1, 2 or 5 times a power of ten that divides `span` into
// about `ticks` parts.
double nice_step(double span, int ticks);

// An axis range that holds [low, high], starts and ends on a multiple of the step,
// and is never empty.
struct axis_range {
    double low = 0;
    double high = 1;
    double step = 1;
};
axis_range nice_range(double low, double high, int ticks);

// Keeps the boxes already taken by labels and drawing, and picks for a new label
// the first candidate that overlaps none of them (and lies within the bounds, when
// there are some).
class label_placer {
  public:
    void take(const box& b) { taken_.push_back(b); }
    void take_point(point p) { points_.push_back(p); }
    void keep_within(const box& bounds) { bounds_ = bounds; }
    bool is_free(const box& b) const;
    // The first free candidate, which is then taken; none when all collide.
    std::optional<box> place(const std::vector<box>& candidates);

  private:
    std::vector<box> taken_;
    std::vector<point> points_;
    std::optional<box> bounds_;
};

// The points of a polyline to keep so that the line through them strays from every
// point left out by at most `tolerance`, each measured to the segment that replaces it:
// their indices, in order, the first and the last always among them.
std::vector<std::size_t> simplify(std::span<const point> line, double tolerance);

// Assigns text spans [x0, x1) on a line to rows so that no two spans in one row
// come closer than `gap`; returns the row of each span, in input order.
std::vector<int> stack_rows(const std::vector<std::pair<double, double>>& spans, double gap);

}  // namespace scenario::render
