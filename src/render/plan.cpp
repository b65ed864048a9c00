#include "render/plan.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "render/style.hpp"

namespace scenario::render {

namespace {

// The plan is drawn with about this many points whatever the route length.
constexpr std::int64_t track_points = 4000;

// How each kind of label is written; its box follows from the font size.
struct label_style {
    double font_size;
    const char* colour;
    bool bold;

    double height() const { return font_size * 1.25; }
};
constexpr label_style station_label{11, style::station, true};
constexpr label_style error_label{11, style::error, true};
constexpr label_style kilometre_label{8.5, style::muted, false};
constexpr label_style route_end_label{9, style::ink, false};

constexpr std::string_view route_end_text = "route end";

std::string kilometre_text(std::int64_t metre) {
    return format_number(static_cast<double>(metre) / 1000, 3);
}

// Candidate label boxes around a point: right, left, above, below and the four
// diagonals, first close to the point, then further away (with a leader line).
std::vector<box> label_candidates(point p, std::string_view text, const label_style& s) {
    const double width = text_width(text, s.font_size, s.bold);
    const double height = s.height();
    std::vector<box> out;
    for (double d : {5.0, 14.0, 28.0, 48.0, 72.0, 104.0, 144.0}) {
        const double h2 = height / 2;
        out.push_back({p.x + d, p.y - h2, p.x + d + width, p.y + h2});
        out.push_back({p.x - d - width, p.y - h2, p.x - d, p.y + h2});
        out.push_back({p.x - width / 2, p.y - d - height, p.x + width / 2, p.y - d});
        out.push_back({p.x - width / 2, p.y + d, p.x + width / 2, p.y + d + height});
        out.push_back(
            {p.x + d * 0.7, p.y - d * 0.7 - height, p.x + d * 0.7 + width, p.y - d * 0.7});
        out.push_back(
            {p.x + d * 0.7, p.y + d * 0.7, p.x + d * 0.7 + width, p.y + d * 0.7 + height});
        out.push_back(
            {p.x - d * 0.7 - width, p.y - d * 0.7 - height, p.x - d * 0.7, p.y - d * 0.7});
        out.push_back(
            {p.x - d * 0.7 - width, p.y + d * 0.7, p.x - d * 0.7, p.y + d * 0.7 + height});
    }
    return out;
}

void layout_scale(const plan_view& view, label_placer& placer, plan_layout& out) {
    const double metres = nice_step(140.0 / view.pixels_per_metre(), 1);
    out.scale_length = metres * view.pixels_per_metre();
    out.scale_metres = metres;
    if (out.scale_length > 180) {  // nice_step rounds up: a bar too long is halved once
        out.scale_metres = metres / 2;
        out.scale_length /= 2;
    }
    const double length = out.scale_length;
    const box& a = view.area();
    const std::vector<box> corners = {
        {a.x0 + 8, a.y1 - 30, a.x0 + 8 + length, a.y1 - 4},
        {a.x1 - 8 - length, a.y1 - 30, a.x1 - 8, a.y1 - 4},
        {a.x0 + 8, a.y0 + 4, a.x0 + 8 + length, a.y0 + 30},
        {a.x1 - 8 - length, a.y0 + 4, a.x1 - 8, a.y0 + 30},
    };
    if (const std::optional<box> free = placer.place(corners)) {
        out.scale = *free;
    } else {
        out.scale = corners.front();  // over the track, but under no label
        placer.take(out.scale);
    }
}

std::string points_attr(const svg_writer& w, const std::vector<point>& pts) {
    std::string s;
    for (const point& p : pts) {
        if (!s.empty()) {
            s += ' ';
        }
        s += w.number(p.x) + "," + w.number(p.y);
    }
    return s;
}

void polyline(svg_writer& w, const std::vector<point>& pts, const char* colour, double width,
              double opacity) {
    w.open("polyline")
        .attr("points", points_attr(w, pts))
        .attr("fill", "none")
        .attr("stroke", colour)
        .attr("stroke-width", width)
        .attr("stroke-linecap", "round")
        .attr("stroke-linejoin", "round");
    if (opacity < 1) {
        w.attr("stroke-opacity", opacity);
    }
    w.close();
}

// Writes a label in its box, with a leader line when the box lies away from the point.
void draw_label(svg_writer& w, point p, const box& b, std::string_view text, const label_style& s) {
    const double cx = std::clamp(p.x, b.x0, b.x1);
    const double cy = std::clamp(p.y, b.y0, b.y1);
    if (std::hypot(cx - p.x, cy - p.y) > 10) {
        w.open("line")
            .attr("x1", p.x)
            .attr("y1", p.y)
            .attr("x2", cx)
            .attr("y2", cy)
            .attr("stroke", s.colour)
            .attr("stroke-width", 0.6)
            .close();
    }
    w.open("text")
        .attr("x", b.x0)
        .attr("y", b.y1 - s.height() * 0.25)
        .attr("font-size", s.font_size)
        .attr("font-weight", s.bold ? "bold" : "normal")
        .attr("fill", s.colour)
        .text(text)
        .close();
}

// Opens a mark group; its title (the tooltip) must follow any further attributes.
void open_mark(svg_writer& w, const char* cls, std::int32_t position) {
    w.open("g").attr("class", cls).attr("data-position", static_cast<std::int64_t>(position));
}

void draw_spans(svg_writer& w, const plan_view& view, const std::vector<span_mark>& spans,
                const char* cls, const char* colour, double width, double opacity) {
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const span_mark& s = spans[i];
        open_mark(w, cls, s.start);
        w.attr("data-end", static_cast<std::int64_t>(s.end));
        w.text_element("title", s.detail);
        // As dense as the track itself, and at least a few points for short stretches.
        const std::int64_t share = (static_cast<std::int64_t>(s.end) - s.start) * track_points /
                                   std::max<std::int64_t>(1, view.last_metre());
        std::vector<point> pts = view.polyline(s.start, s.end, std::max<std::int64_t>(8, share));
        if (pts.size() == 1) {
            pts.push_back(pts.front());
        }
        polyline(w, pts, colour, width, opacity);
        w.close();
    }
}

void draw_scale(svg_writer& w, const plan_layout& layout) {
    const box& b = layout.scale;
    const double length = layout.scale_length;
    const double shown = layout.scale_metres;
    const double y = b.y1 - 6;
    w.open("g").attr("class", "scale");
    w.open("path")
        .attr("d", std::string("M")
                       .append(w.number(b.x0))
                       .append(" ")
                       .append(w.number(y - 5))
                       .append("V")
                       .append(w.number(y))
                       .append("H")
                       .append(w.number(b.x0 + length))
                       .append("V")
                       .append(w.number(y - 5)))
        .attr("fill", "none")
        .attr("stroke", style::ink)
        .attr("stroke-width", 1.5)
        .close();
    const std::string label =
        shown >= 1000 ? format_number(shown / 1000, 3) + " km" : format_number(shown, 0) + " m";
    w.open("text")
        .attr("x", b.x0 + length / 2)
        .attr("y", y - 8)
        .attr("font-size", 10)
        .attr("text-anchor", "middle")
        .attr("fill", style::ink)
        .text(label)
        .close();
    w.close();
}

void draw_kilometre_points(svg_writer& w, const plan_view& view, const plan_layout& layout,
                           const route_marks& marks) {
    for (const plan_layout::kilometre_point& k : layout.kilometres) {
        const point p = view.at(k.metre);
        w.open("g").attr("class", "km").attr("data-position", k.metre);
        w.open("circle")
            .attr("cx", p.x)
            .attr("cy", p.y)
            .attr("r", 1.8)
            .attr("fill", style::ink)
            .close();
        if (k.label) {
            draw_label(w, p, *k.label, kilometre_text(k.metre), kilometre_label);
        }
        w.close();
    }
    if (layout.route_end) {
        const point p = view.at(marks.route_length);
        open_mark(w, "route-end", marks.route_length);
        w.text_element("title", "end of the route at " + std::to_string(marks.route_length) + " m");
        w.open("circle")
            .attr("cx", p.x)
            .attr("cy", p.y)
            .attr("r", 3.5)
            .attr("fill", style::ink)
            .close();
        if (layout.route_end_label) {
            draw_label(w, p, *layout.route_end_label, route_end_text, route_end_label);
        }
        w.close();
    }
}

void draw_point_marks(svg_writer& w, const plan_view& view, const std::vector<point_mark>& list,
                      const char* cls, const char* colour, double size) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        const point_mark& m = list[i];
        const point p = view.at(m.position);
        open_mark(w, cls, m.position);
        w.text_element("title", m.detail);
        w.open("rect")
            .attr("x", p.x - size / 2)
            .attr("y", p.y - size / 2)
            .attr("width", size)
            .attr("height", size)
            .attr("fill", colour)
            .attr("stroke", "white")
            .attr("stroke-width", 0.5)
            .close();
        w.close();
    }
}

}  // namespace

plan_layout layout_plan(const plan_view& view, const route_marks& marks, picture_part part) {
    plan_layout out;
    if (view.empty()) {
        return out;
    }
    // The track up to the route end, and the run-off the grid adds after it, as dense
    // as each other.
    const std::int64_t last = view.last_metre();
    const std::int64_t end =
        marks.route_length > 0 ? std::min<std::int64_t>(marks.route_length, last) : last;
    const auto share = [&](std::int64_t metres) {
        return std::max<std::int64_t>(1, track_points * metres / std::max<std::int64_t>(1, last));
    };
    out.track = view.polyline(0, end, share(end));
    if (end < last) {
        out.run_off = view.polyline(end, last, share(last - end));
    }
    label_placer placer;
    placer.keep_within(view.area());
    for (const std::vector<point>* line : {&out.track, &out.run_off}) {
        for (const point& p : *line) {
            placer.take_point(p);
        }
    }
    for (const std::vector<point_mark>* list :
         {&marks.signals, &marks.boards, &marks.speed_boards}) {
        for (const point_mark& m : *list) {
            placer.take_point(view.at(m.position));
        }
    }
    for (const station_mark& s : marks.stations) {
        placer.take_point(view.at(s.position));
    }
    for (const error_mark& e : marks.errors) {
        if (e.position) {
            placer.take_point(view.at(*e.position));
        }
    }
    layout_scale(view, placer, out);
    const double step = std::max(1000.0, nice_step(static_cast<double>(last), 14));
    for (double m = 0; m <= static_cast<double>(last); m += step) {
        out.kilometres.push_back({static_cast<std::int64_t>(m), std::nullopt});
    }
    if (part == picture_part::frame) {
        return out;  // the marks' labels are the page's own
    }
    for (const error_mark& e : marks.errors) {
        if (e.position) {
            out.error_labels.push_back(
                placer.place(label_candidates(view.at(*e.position), e.text, error_label)));
        }
    }
    for (const station_mark& s : marks.stations) {
        out.station_labels.push_back(
            placer.place(label_candidates(view.at(s.position), s.name, station_label)));
    }
    for (plan_layout::kilometre_point& k : out.kilometres) {
        k.label = placer.place(
            label_candidates(view.at(k.metre), kilometre_text(k.metre), kilometre_label));
    }
    out.route_end = marks.route_length > 0 && marks.route_length <= last;
    if (out.route_end) {
        out.route_end_label = placer.place(
            label_candidates(view.at(marks.route_length), route_end_text, route_end_label));
    }
    return out;
}

void draw_plan(svg_writer& w, const plan_view& view, const plan_layout& layout,
               const route_marks& marks, picture_part part) {
    w.open("g").attr("id", "plan");
    if (view.empty()) {
        w.open("text")
            .attr("x", view.area().x0)
            .attr("y", view.area().y0 + 20)
            .attr("font-size", 12)
            .attr("fill", style::muted)
            .text("No line plan: the plan was not built for this scenario.")
            .close();
        w.close();
        return;
    }
    if (part == picture_part::frame) {
        draw_scale(w, layout);
        w.close();
        return;
    }
    draw_spans(w, view, marks.tunnels, "tunnel", style::tunnel, 7, 0.8);
    w.open("g").attr("class", "track");
    polyline(w, layout.track, style::track, 1.6, 1);
    w.close();
    if (!layout.run_off.empty()) {
        // Past the route end the grid runs on for the train to stop: greyed, dashed.
        w.open("g").attr("class", "run-off");
        w.attr("data-position", static_cast<std::int64_t>(marks.route_length));
        w.text_element("title", "run-off after the route end, to " +
                                    std::to_string(view.last_metre()) + " m");
        w.open("polyline")
            .attr("points", points_attr(w, layout.run_off))
            .attr("fill", "none")
            .attr("stroke", style::run_off)
            .attr("stroke-width", 1.6)
            .attr("stroke-dasharray", "5 3")
            .close();
        w.close();
    }
    draw_spans(w, view, marks.slowdowns, "slowdown", style::slowdown, 9, 0.75);
    draw_point_marks(w, view, marks.speed_boards, "speed-board", style::speed_board, 5.5);
    draw_point_marks(w, view, marks.boards, "board", style::board, 5);
    for (std::size_t i = 0; i < marks.signals.size(); ++i) {
        const point_mark& s = marks.signals[i];
        const point p = view.at(s.position);
        open_mark(w, "signal", s.position);
        w.text_element("title", s.detail);
        w.open("circle")
            .attr("cx", p.x)
            .attr("cy", p.y)
            .attr("r", 2.6)
            .attr("fill", style::signal)
            .attr("stroke", "white")
            .attr("stroke-width", 0.6)
            .close();
        w.close();
    }
    for (std::size_t i = 0; i < marks.stations.size(); ++i) {
        const station_mark& s = marks.stations[i];
        const point p = view.at(s.position);
        open_mark(w, "station", s.position);
        w.text_element("title", s.name + " at " + std::to_string(s.position) + " m");
        w.open("circle")
            .attr("cx", p.x)
            .attr("cy", p.y)
            .attr("r", 4.5)
            .attr("fill", "white")
            .attr("stroke", style::station)
            .attr("stroke-width", 2)
            .close();
        if (const std::optional<box>& label = layout.station_labels.at(i)) {
            draw_label(w, p, *label, s.name, station_label);
        }
        w.close();
    }
    std::size_t k = 0;
    for (const error_mark& e : marks.errors) {
        if (!e.position) {
            continue;
        }
        const point p = view.at(*e.position);
        open_mark(w, "error", *e.position);
        w.text_element("title", e.text);
        w.open("circle")
            .attr("cx", p.x)
            .attr("cy", p.y)
            .attr("r", 7)
            .attr("fill", "none")
            .attr("stroke", style::error)
            .attr("stroke-width", 2)
            .close();
        if (const std::optional<box>& label = layout.error_labels.at(k++)) {
            draw_label(w, p, *label, e.text, error_label);
        }
        w.close();
    }
    draw_kilometre_points(w, view, layout, marks);
    draw_scale(w, layout);
    w.close();
}

}  // namespace scenario::render
