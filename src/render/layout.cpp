#include "render/layout.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace scenario::render {

namespace {

// The advance of each Windows-1252 character in thousandths of an em: the larger of
// DejaVu Sans and of a face metric-compatible with Arial (the picture's first two
// fonts), measured and rounded up; a byte the code page leaves undefined or a control
// character is drawn as the replacement character. Rows of 16, from byte 0 on.
// clang-format off
constexpr std::uint16_t regular_advance[256] = {
    1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000,
    1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000,
     318,  401,  460,  838,  637,  951,  780,  275,  391,  391,  500,  838,  318,  361,  318,  337,
     637,  637,  637,  637,  637,  637,  637,  637,  637,  637,  337,  337,  838,  838,  838,  557,
    1016,  685,  687,  723,  771,  667,  611,  778,  752,  295,  500,  667,  558,  863,  749,  788,
     667,  788,  723,  667,  611,  732,  685,  989,  686,  667,  686,  391,  337,  391,  838,  557,
     500,  613,  635,  550,  635,  616,  353,  635,  634,  278,  278,  580,  278,  975,  634,  612,
     635,  635,  412,  521,  393,  634,  592,  818,  592,  592,  525,  637,  337,  637,  838,  601,
     637, 1026,  318,  557,  519, 1000,  557,  557,  500, 1342,  667,  400, 1070, 1026,  686, 1026,
    1026,  318,  318,  519,  519,  590,  557, 1000,  500, 1000,  521,  400, 1023, 1026,  525,  667,
     318,  401,  637,  637,  637,  637,  337,  557,  500, 1000,  472,  612,  838,    0, 1000,  553,
     500,  838,  401,  401,  500,  637,  637,  318,  500,  401,  472,  612,  970,  970,  970,  611,
     685,  685,  685,  685,  685,  685, 1000,  723,  667,  667,  667,  667,  295,  295,  295,  295,
     775,  749,  788,  788,  788,  788,  788,  838,  788,  732,  732,  732,  732,  667,  667,  630,
     613,  613,  613,  613,  613,  613,  982,  550,  616,  616,  616,  616,  278,  278,  278,  278,
     612,  634,  612,  612,  612,  612,  612,  838,  612,  634,  634,  634,  634,  592,  635,  592,
};
constexpr std::uint16_t bold_advance[256] = {
    1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000,
    1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000,
     349,  457,  521,  838,  696, 1002,  873,  307,  458,  458,  523,  838,  380,  416,  380,  366,
     696,  696,  696,  696,  696,  696,  696,  696,  696,  696,  400,  400,  838,  838,  838,  611,
    1000,  774,  763,  734,  831,  684,  684,  821,  837,  373,  557,  775,  638,  996,  837,  851,
     733,  851,  771,  721,  683,  813,  774, 1104,  771,  725,  726,  458,  366,  458,  838,  557,
     500,  675,  716,  593,  716,  679,  436,  716,  712,  343,  343,  666,  343, 1042,  712,  688,
     716,  716,  494,  596,  479,  712,  652,  924,  646,  652,  583,  712,  366,  712,  838,  601,
     696, 1114,  380,  557,  658, 1000,  557,  557,  500, 1440,  721,  413, 1167, 1114,  726, 1114,
    1114,  380,  380,  658,  658,  640,  557, 1000,  500, 1000,  596,  413, 1095, 1114,  583,  725,
     349,  457,  696,  696,  637,  696,  366,  557,  500, 1000,  564,  646,  838,    0, 1000,  553,
     500,  838,  438,  438,  500,  736,  637,  380,  500,  438,  564,  646, 1036, 1036, 1036,  611,
     774,  774,  774,  774,  774,  774, 1085,  734,  684,  684,  684,  684,  373,  373,  373,  373,
     838,  837,  851,  851,  851,  851,  851,  838,  851,  813,  813,  813,  813,  725,  738,  720,
     675,  675,  675,  675,  675,  675, 1048,  593,  679,  679,  679,  679,  343,  343,  343,  343,
     688,  712,  688,  688,  688,  688,  688,  838,  688,  712,  712,  712,  712,  652,  716,  652,
};
// clang-format on

}  // namespace

double text_width(std::string_view text, double font_size, bool bold) {
    const std::uint16_t* advance = bold ? bold_advance : regular_advance;
    std::uint32_t thousandths = 0;
    for (char c : text) {
        thousandths += advance[static_cast<unsigned char>(c)];
    }
    return thousandths * font_size / 1000;
}

double nice_step(double span, int ticks) {
    if (!(span > 0) || ticks < 1) {
        return 1;
    }
    const double raw = span / ticks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0}) {
        if (f * magnitude >= raw) {
            return f * magnitude;
        }
    }
    return 10 * magnitude;
}

axis_range nice_range(double low, double high, int ticks) {
    if (high < low) {
        std::swap(low, high);
    }
    double step = nice_step(high - low, ticks);
    axis_range r{std::floor(low / step) * step, std::ceil(high / step) * step, step};
    if (r.high <= r.low) {
        // A flat profile: give it one step of room above.
        step = nice_step(std::max(1.0, std::abs(low)), ticks);
        r = {std::floor(low / step) * step, std::floor(low / step) * step + step, step};
    }
    return r;
}

bool label_placer::is_free(const box& b) const {
    if (bounds_ && (b.x0 < bounds_->x0 || b.y0 < bounds_->y0 || b.x1 > bounds_->x1 ||
                    b.y1 > bounds_->y1)) {
        return false;
    }
    for (const box& t : taken_) {
        if (t.overlaps(b)) {
            return false;
        }
    }
    for (point p : points_) {
        if (b.contains(p)) {
            return false;
        }
    }
    return true;
}

std::optional<box> label_placer::place(const std::vector<box>& candidates) {
    for (const box& b : candidates) {
        if (is_free(b)) {
            taken_.push_back(b);
            return b;
        }
    }
    return std::nullopt;
}

std::vector<std::size_t> simplify(std::span<const point> line, double tolerance) {
    std::vector<std::size_t> kept;
    if (line.empty()) {
        return kept;
    }
    // Half the tolerance goes to a first pass, which drops every point within it of the
    // point kept before (a dense line, as a plan of a point a metre is, loses most points
    // here at little cost), the other half to Douglas and Peucker's pass over the rest: a
    // point the first pass dropped lies within half the tolerance of one that strays by at
    // most the other half.
    const double half = tolerance / 2;
    const double limit = half * half;
    std::vector<std::size_t> near;
    std::vector<point> at;  // the points of `near`, side by side
    near.push_back(0);
    at.push_back(line[0]);
    for (std::size_t i = 1; i + 1 < line.size(); ++i) {
        const double dx = line[i].x - at.back().x;
        const double dy = line[i].y - at.back().y;
        if (dx * dx + dy * dy > limit) {
            near.push_back(i);
            at.push_back(line[i]);
        }
    }
    if (line.size() > 1) {
        near.push_back(line.size() - 1);
        at.push_back(line.back());
    }
    std::vector<bool> keep(near.size(), false);
    // The second pass goes over pieces of a bounded number of points, each ends kept: a
    // long winding line costs no more than its pieces.
    constexpr std::size_t piece = 2048;
    std::vector<std::pair<std::size_t, std::size_t>> open;  // stretches still to look at
    for (std::size_t start = 0; start + 1 < near.size(); start += piece) {
        const std::size_t end = std::min(start + piece, near.size() - 1);
        keep[start] = true;
        keep[end] = true;
        open.emplace_back(start, end);
        while (!open.empty()) {
            const auto [first, last] = open.back();
            open.pop_back();
            if (last - first < 2) {
                continue;
            }
            const point a = at[first];
            const double dx = at[last].x - a.x;
            const double dy = at[last].y - a.y;
            const double length = dx * dx + dy * dy;
            const double inverse = length > 0 ? 1 / length : 0;
            double farthest = -1;
            std::size_t split = first;
            for (std::size_t i = first + 1; i < last; ++i) {
                const double px = at[i].x - a.x;
                const double py = at[i].y - a.y;
                const double t = std::clamp((px * dx + py * dy) * inverse, 0.0, 1.0);
                const double ex = t * dx - px;
                const double ey = t * dy - py;
                const double d = ex * ex + ey * ey;
                if (d > farthest) {
                    farthest = d;
                    split = i;
                }
            }
            if (farthest > limit) {
                keep[split] = true;
                open.emplace_back(first, split);
                open.emplace_back(split, last);
            }
        }
    }
    keep.front() = true;
    for (std::size_t i = 0; i < near.size(); ++i) {
        if (keep[i]) {
            kept.push_back(near[i]);
        }
    }
    return kept;
}

std::vector<int> stack_rows(const std::vector<std::pair<double, double>>& spans, double gap) {
    // Greedy from left to right: each span goes into the first row it fits.
    std::vector<std::size_t> order(spans.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return spans[a].first < spans[b].first; });
    std::vector<double> row_end;  // right end of the last span in each row
    std::vector<int> rows(spans.size(), 0);
    for (std::size_t i : order) {
        const auto& [x0, x1] = spans[i];
        std::size_t r = 0;
        while (r < row_end.size() && row_end[r] + gap > x0) {
            ++r;
        }
        if (r == row_end.size()) {
            row_end.push_back(x1);
        } else {
            row_end[r] = x1;
        }
        rows[i] = static_cast<int>(r);
    }
    return rows;
}

}  // namespace scenario::render
