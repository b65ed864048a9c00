#include "render/profiles.hpp"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>

#include "render/layout.hpp"
#include "render/style.hpp"

namespace scenario::render {

namespace {

constexpr double label_font = 10;
constexpr double row_height = 14;
constexpr double band_gap = 20;
constexpr const char* run_off_text = "run-off";

// The span a label centred on picture x takes, kept inside the panel.
std::pair<double, double> label_span(const profile_layout& v, double x, const std::string& text) {
    const double width = text_width(text, label_font);
    const double x0 =
        std::clamp(x - width / 2, v.left - 70, std::max(v.left - 70, v.right + 20 - width));
    return {x0, x0 + width};
}

std::vector<std::pair<double, double>> station_spans(const profile_layout& v,
                                                     const route_marks& marks) {
    std::vector<std::pair<double, double>> spans;
    for (const station_mark& s : marks.stations) {
        spans.push_back(label_span(v, v.x(s.position), s.name));
    }
    return spans;
}

std::vector<std::pair<double, double>> error_spans(const profile_layout& v,
                                                   const route_marks& marks) {
    std::vector<std::pair<double, double>> spans;
    for (const error_mark& e : marks.errors) {
        if (e.position) {
            spans.push_back(label_span(v, v.x(*e.position), e.text));
        }
    }
    return spans;
}

// Puts labels of these spans into rows from rows_top down; returns the y below the last row.
double stack_labels(const std::vector<std::pair<double, double>>& spans, double rows_top,
                    std::vector<profile_layout::row_label>& out) {
    const std::vector<int> rows = stack_rows(spans, 8);
    int row_count = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const double row_top = rows_top + rows[i] * row_height;
        out.push_back({{spans[i].first, row_top, spans[i].second, row_top + row_height}, rows[i]});
        row_count = std::max(row_count, rows[i] + 1);
    }
    return rows_top + row_count * row_height;
}

double band_y(const profile_layout::band& b, const axis_range& r, double value) {
    return profile_layout::y(b, r, value);
}

void text_at(svg_writer& w, double x, double y, const std::string& s, double size,
             const char* colour, const char* anchor) {
    w.open("text")
        .attr("x", x)
        .attr("y", y)
        .attr("font-size", size)
        .attr("fill", colour)
        .attr("text-anchor", anchor)
        .text(s)
        .close();
}

void band_title(svg_writer& w, const profile_layout& v, const profile_layout::band& b,
                const std::string& title) {
    const double x = v.left - 48;
    const double y = b.top + b.height / 2;
    // Moved, then turned about its own origin: the simplest form for every renderer.
    w.open("text")
        .attr("font-size", 10.5)
        .attr("fill", style::ink)
        .attr("text-anchor", "middle")
        .attr("transform", "translate(" + w.number(x) + " " + w.number(y) + ") rotate(-90)")
        .text(title)
        .close();
}

axis_range value_range(const std::vector<profile_step>& steps, double must_low, double must_high) {
    double low = must_low;
    double high = must_high;
    for (const profile_step& s : steps) {
        low = std::min(low, static_cast<double>(s.value));
        high = std::max(high, static_cast<double>(s.value));
    }
    return nice_range(low, high, 4);
}

// The band's frame, with value lines and their labels when it has a value axis.
void draw_band(svg_writer& w, const profile_layout& v, const profile_layout::band& b,
               const std::optional<axis_range>& axis, const std::string& title) {
    w.open("rect")
        .attr("x", v.left)
        .attr("y", b.top)
        .attr("width", v.right - v.left)
        .attr("height", b.height)
        .attr("fill", "#fbfbfb")
        .attr("stroke", "#bbbbbb")
        .attr("stroke-width", 0.8)
        .close();
    if (!axis) {
        return;
    }
    const axis_range& r = *axis;
    for (double t = r.low; t <= r.high + r.step / 2; t += r.step) {
        const double y = band_y(b, r, t);
        w.open("line")
            .attr("x1", v.left)
            .attr("y1", y)
            .attr("x2", v.right)
            .attr("y2", y)
            .attr("stroke", t == 0 ? "#999999" : style::grid)
            .attr("stroke-width", 0.8)
            .close();
        text_at(w, v.left - 5, y + 3.5, format_number(t, 2), 9, style::muted, "end");
    }
    band_title(w, v, b, title);
}

void draw_steps(svg_writer& w, const profile_layout& v, const profile_layout::band& b,
                const axis_range& r, const std::vector<profile_step>& steps, const char* name,
                const char* colour) {
    w.open("g")
        .attr("class", "profile")
        .attr("data-profile", name)
        .attr("fill", "none")
        .attr("stroke", colour)
        .attr("stroke-width", 1.6);
    double previous_y = 0;
    bool first = true;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const profile_step& s = steps[i];
        const double y = band_y(b, r, s.value);
        std::string d = "M";
        d.append(w.number(v.x(s.start))).append(" ").append(w.number(first ? y : previous_y));
        if (!first) {
            d.append("V").append(w.number(y));
        }
        d.append("H").append(w.number(v.x(s.end)));
        w.open("path")
            .attr("class", "step")
            .attr("data-position", static_cast<std::int64_t>(s.start))
            .attr("data-end", static_cast<std::int64_t>(s.end))
            .attr("data-value", static_cast<std::int64_t>(s.value));
        w.attr("d", d).close();
        previous_y = y;
        first = false;
    }
    w.close();
}

void vertical(svg_writer& w, double x, double y0, double y1, const char* colour, double width,
              const char* dash) {
    w.open("line")
        .attr("x1", x)
        .attr("y1", y0)
        .attr("x2", x)
        .attr("y2", y1)
        .attr("stroke", colour)
        .attr("stroke-width", width);
    if (dash != nullptr) {
        w.attr("stroke-dasharray", dash);
    }
    w.close();
}

void boxed_label(svg_writer& w, const box& b, const std::string& s, const char* colour) {
    w.open("rect")
        .attr("x", b.x0 - 1)
        .attr("y", b.y0 + 1)
        .attr("width", b.x1 - b.x0 + 2)
        .attr("height", row_height - 2)
        .attr("fill", "white")
        .attr("stroke", "none")
        .close();
    w.open("text")
        .attr("x", b.x0)
        .attr("y", b.y1 - 3.5)
        .attr("font-size", label_font)
        .attr("fill", colour)
        .text(s)
        .close();
}

void draw_axis(svg_writer& w, const profile_layout& v) {
    w.open("g").attr("class", "axis");
    w.open("line")
        .attr("x1", v.left)
        .attr("y1", v.axis_y)
        .attr("x2", v.right)
        .attr("y2", v.axis_y)
        .attr("stroke", style::ink)
        .close();
    const double step = std::max(500.0, nice_step(v.axis_end, 14));
    for (double m = 0; m <= v.axis_end; m += step) {
        const double x = v.x(static_cast<std::int64_t>(m));
        vertical(w, x, v.axis_y, v.axis_y + 4, style::ink, 1, nullptr);
        vertical(w, x, v.speed.top, v.tunnels.bottom(), style::grid, 0.6, nullptr);
        text_at(w, x, v.axis_y + 15, format_number(m / 1000, 3), 9, style::ink, "middle");
    }
    text_at(w, (v.left + v.right) / 2, v.axis_y + 32, "route position (km)", 11, style::ink,
            "middle");
    w.close();
}

}  // namespace

double profile_layout::y(const band& b, const axis_range& r, double value) {
    return b.bottom() - (value - r.low) / (r.high - r.low) * b.height;
}

double profile_layout::x(std::int64_t position) const {
    const double p = std::clamp(static_cast<double>(position), 0.0, axis_end);
    return left + p / axis_end * (right - left);
}

profile_layout layout_profiles(const route_marks& marks, double left, double right, double top) {
    profile_layout v;
    v.top = top;
    v.left = left;
    v.right = right;
    v.axis_end = std::max(1.0, static_cast<double>(marks.axis_end));
    v.error_rows_top = top;
    v.station_rows_top = stack_labels(error_spans(v, marks), v.error_rows_top, v.error_labels);
    double y = stack_labels(station_spans(v, marks), v.station_rows_top, v.station_labels) + 6;
    for (auto [band, height] : {std::pair{&v.speed, 120.0}, std::pair{&v.gradient, 100.0},
                                std::pair{&v.adhesion, 80.0}, std::pair{&v.tunnels, 22.0}}) {
        band->top = y;
        band->height = height;
        y += height + band_gap;
    }
    v.axis_y = v.tunnels.bottom() + 4;
    v.bottom = v.axis_y + 40;
    v.speed_axis = value_range(marks.speed, 0, 100);
    v.gradient_axis = value_range(marks.gradient, -2, 2);
    v.adhesion_axis = value_range(marks.adhesion, 80, 100);
    return v;
}

void draw_profiles(svg_writer& w, const profile_layout& v, const route_marks& marks,
                   picture_part part) {
    w.open("g").attr("id", "profiles").attr("font-family", style::font);
    const axis_range& speed = v.speed_axis;
    const axis_range& gradient = v.gradient_axis;
    const axis_range& adhesion = v.adhesion_axis;
    draw_band(w, v, v.speed, speed, "speed limit (km/h)");
    draw_band(w, v, v.gradient, gradient, "gradient (\x89)");  // per mille, in Windows-1252
    draw_band(w, v, v.adhesion, adhesion, "adhesion (%)");
    draw_band(w, v, v.tunnels, std::nullopt, "");
    text_at(w, v.left - 5, v.tunnels.top + 14, "tunnels", 10.5, style::ink, "end");
    draw_axis(w, v);
    if (marks.speed.empty()) {
        text_at(w, v.left + 10, v.speed.top + 20, "No track cells: the grid was not built.", 12,
                style::muted, "start");
    }
    if (part == picture_part::frame) {
        w.close();
        return;
    }

    const double marks_top = v.speed.top;
    const double marks_bottom = v.tunnels.bottom();
    for (std::size_t i = 0; i < marks.slowdowns.size(); ++i) {
        const span_mark& s = marks.slowdowns[i];
        const double x0 = v.x(s.start);
        const double x1 = std::max(v.x(s.end), x0 + 2);
        w.open("g")
            .attr("class", "slowdown")
            .attr("data-position", static_cast<std::int64_t>(s.start));
        w.attr("data-end", static_cast<std::int64_t>(s.end));
        w.text_element("title", s.detail);
        w.open("rect")
            .attr("x", x0)
            .attr("y", marks_top)
            .attr("width", x1 - x0)
            .attr("height", marks_bottom - marks_top)
            .attr("fill", style::slowdown)
            .attr("fill-opacity", 0.3)
            .attr("stroke", "none")
            .close();
        const double y = band_y(v.speed, speed, s.value);
        w.open("line")
            .attr("x1", x0 - 3)
            .attr("y1", y)
            .attr("x2", x1 + 3)
            .attr("y2", y)
            .attr("stroke", style::slowdown)
            .attr("stroke-width", 2.5)
            .close();
        w.close();
    }
    for (std::size_t i = 0; i < marks.tunnels.size(); ++i) {
        const span_mark& t = marks.tunnels[i];
        const double x0 = v.x(t.start);
        const double x1 = std::max(v.x(t.end), x0 + 1);
        w.open("g")
            .attr("class", "tunnel")
            .attr("data-position", static_cast<std::int64_t>(t.start));
        w.attr("data-end", static_cast<std::int64_t>(t.end));
        w.text_element("title", t.detail);
        w.open("rect")
            .attr("x", x0)
            .attr("y", v.tunnels.top + 4)
            .attr("width", x1 - x0)
            .attr("height", v.tunnels.height - 8)
            .attr("fill", style::tunnel)
            .attr("stroke", "white")  // keeps tunnels a few metres apart told apart
            .attr("stroke-width", 0.5)
            .close();
        w.close();
    }
    draw_steps(w, v, v.speed, speed, marks.speed, "speed", style::speed);
    draw_steps(w, v, v.gradient, gradient, marks.gradient, "gradient", style::gradient);
    draw_steps(w, v, v.adhesion, adhesion, marks.adhesion, "adhesion", style::adhesion);

    if (marks.route_length > 0 && marks.route_length < v.axis_end) {
        // The grid runs on past the route end for the train to stop: greyed over.
        const double x0 = v.x(marks.route_length);
        w.open("g")
            .attr("class", "run-off")
            .attr("data-position", static_cast<std::int64_t>(marks.route_length))
            .attr("data-end", static_cast<std::int64_t>(v.axis_end));
        w.text_element("title", "run-off after the route end, to " +
                                    format_number(v.axis_end, 0) + " m");
        w.open("rect")
            .attr("x", x0)
            .attr("y", marks_top)
            .attr("width", v.right - x0)
            .attr("height", marks_bottom - marks_top)
            .attr("fill", "white")
            .attr("fill-opacity", 0.6)
            .attr("stroke", "none")
            .close();
        if (v.right - x0 >= text_width(run_off_text, 9) + 8) {
            text_at(w, x0 + 4, v.speed.top + 11, run_off_text, 9, style::muted, "start");
        }
        w.close();
    }
    if (marks.route_length > 0 && marks.route_length <= v.axis_end) {
        w.open("g")
            .attr("class", "route-end")
            .attr("data-position", static_cast<std::int64_t>(marks.route_length));
        w.text_element("title", "end of the route at " + std::to_string(marks.route_length) + " m");
        vertical(w, v.x(marks.route_length), marks_top, marks_bottom, style::ink, 1.2, "6 3");
        w.close();
    }

    // Upper label rows first: the lines of their stations run down through the lower
    // rows, whose labels then cover them.
    std::vector<std::size_t> order(marks.stations.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return v.station_labels.at(a).row > v.station_labels.at(b).row;
    });
    for (std::size_t i : order) {
        const station_mark& s = marks.stations[i];
        const box& label = v.station_labels.at(i).where;
        w.open("g")
            .attr("class", "station")
            .attr("data-position", static_cast<std::int64_t>(s.position));
        w.text_element("title", s.name + " at " + std::to_string(s.position) + " m");
        vertical(w, v.x(s.position), label.y1, marks_bottom, style::station, 0.8, "3 2");
        boxed_label(w, label, s.name, style::station);
        w.close();
    }

    std::size_t k = 0;
    for (const error_mark& e : marks.errors) {
        if (!e.position) {
            continue;
        }
        const box& label = v.error_labels.at(k++).where;
        w.open("g")
            .attr("class", "error")
            .attr("data-position", static_cast<std::int64_t>(*e.position));
        w.text_element("title", e.text);
        vertical(w, v.x(*e.position), label.y1, marks_bottom, style::error, 1.5, nullptr);
        boxed_label(w, label, e.text, style::error);
        w.close();
    }
    w.close();
}

}  // namespace scenario::render
