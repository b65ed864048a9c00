#include "render/layout.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace scenario::render {

double text_width(std::string_view text, double font_size) {
    double em = 0;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') {
            em += 0.68;  // capitals of a sans-serif face are wide
        } else if (c == ' ' || c == '.' || c == ',' || c == '(' || c == ')' || c == 'i' ||
                   c == 'l') {
            em += 0.33;
        } else {
            em += 0.56;
        }
    }
    return em * font_size;
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

double label_placer::collision(const box& b) const {
    // Overlapping area with the labels, and a few pixels' worth for every covered point.
    double score = 0;
    for (const box& t : taken_) {
        if (t.overlaps(b)) {
            score += (std::min(t.x1, b.x1) - std::max(t.x0, b.x0)) *
                     (std::min(t.y1, b.y1) - std::max(t.y0, b.y0));
        }
    }
    for (point p : points_) {
        if (b.contains(p)) {
            score += 4;
        }
    }
    return score;
}

box label_placer::place_anyway(const std::vector<box>& candidates) {
    if (candidates.empty()) {
        return {};
    }
    if (auto free = place(candidates)) {
        return *free;
    }
    box best = candidates.front();
    double best_score = collision(best);
    for (const box& b : candidates) {
        const double score = collision(b);
        if (score < best_score) {
            best = b;
            best_score = score;
        }
    }
    taken_.push_back(best);
    return best;
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
