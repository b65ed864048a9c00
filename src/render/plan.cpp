#include "render/plan.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "render/style.hpp"

namespace scenario::render {

namespace {

// The plan is drawn with about this many points whatever the route length.
constexpr std::int64_t track_points = 4000;

// Every point of the plan as numbers (an empty coordinate reads as 0), read in one
// walk, and the last metre with a coordinate set.
struct plan_points {
    std::vector<point> xy;
    std::int64_t last = -1;

    void vuoti(std::int64_t primo, std::int64_t ultimo) {
        xy.resize(xy.size() + static_cast<std::size_t>(ultimo - primo + 1), point{0, 0});
    }
    void memorizzato(std::int64_t m, valore_piano x, valore_piano y) {
        xy.push_back({x.numero, y.numero});
        if (x.tipo != tipo_valore::vuoto || y.tipo != tipo_valore::vuoto) {
            last = m;
        }
    }
    void disegnato(std::int64_t m, double x, double y) {
        xy.push_back({x, y});
        last = m;
    }
};

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

// Candidate label boxes around a point: right, left, above, below and the four
// diagonals, first close to the point, then further away.
std::vector<box> label_candidates(point p, double width, double height) {
    std::vector<box> out;
    for (double d : {5.0, 14.0, 28.0, 48.0, 72.0}) {
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

// Writes a label near p in the first free place, with a leader line when it had to
// move away from the point. A label that finds no free place goes where it collides
// least, or is left out when it is optional.
void place_label(svg_writer& w, label_placer& placer, point p, const std::string& text,
                 double font_size, const char* colour, const char* weight, bool optional) {
    const double width = text_width(text, font_size);
    const double height = font_size * 1.25;
    const std::vector<box> candidates = label_candidates(p, width, height);
    box b;
    if (optional) {
        const auto chosen = placer.place(candidates);
        if (!chosen) {
            return;
        }
        b = *chosen;
    } else {
        b = placer.place_anyway(candidates);
    }
    const double cx = std::clamp(p.x, b.x0, b.x1);
    const double cy = std::clamp(p.y, b.y0, b.y1);
    if (std::hypot(cx - p.x, cy - p.y) > 10) {
        w.open("line")
            .attr("x1", p.x)
            .attr("y1", p.y)
            .attr("x2", cx)
            .attr("y2", cy)
            .attr("stroke", colour)
            .attr("stroke-width", 0.6)
            .close();
    }
    w.open("text")
        .attr("x", b.x0)
        .attr("y", b.y1 - height * 0.25)
        .attr("font-size", font_size)
        .attr("font-weight", weight)
        .attr("fill", colour)
        .text(text)
        .close();
}

// Opens a mark group; its title (the tooltip) must follow any further attributes.
void open_mark(svg_writer& w, const char* cls, std::int32_t position) {
    w.open("g").attr("class", cls).attr("data-position", static_cast<std::int64_t>(position));
}

void draw_spans(svg_writer& w, const plan_view& view, const std::vector<span_mark>& spans,
                const char* cls, const char* colour, double width, double opacity) {
    for (const span_mark& s : spans) {
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

void draw_scale(svg_writer& w, const plan_view& view, label_placer& placer) {
    const double metres = nice_step(140.0 / view.pixels_per_metre(), 1);
    double length = metres * view.pixels_per_metre();
    double shown = metres;
    if (length > 180) {  // nice_step rounds up: a bar too long is halved once
        shown = metres / 2;
        length /= 2;
    }
    const box& a = view.area();
    const std::vector<box> corners = {
        {a.x0 + 8, a.y1 - 30, a.x0 + 8 + length, a.y1 - 4},
        {a.x1 - 8 - length, a.y1 - 30, a.x1 - 8, a.y1 - 4},
        {a.x0 + 8, a.y0 + 4, a.x0 + 8 + length, a.y0 + 30},
        {a.x1 - 8 - length, a.y0 + 4, a.x1 - 8, a.y0 + 30},
    };
    box b = corners.front();
    if (auto chosen = placer.place(corners)) {
        b = *chosen;
    }
    const double y = b.y1 - 6;
    w.open("g").attr("class", "scale");
    w.open("path")
        .attr("d", "M" + w.number(b.x0) + " " + w.number(y - 5) + "V" + w.number(y) + "H" +
                       w.number(b.x0 + length) + "V" + w.number(y - 5))
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

void draw_kilometre_points(svg_writer& w, const plan_view& view, const route_marks& marks,
                           label_placer& placer) {
    const double step = std::max(1000.0, nice_step(static_cast<double>(view.last_metre()), 14));
    for (double m = 0; m <= static_cast<double>(view.last_metre()); m += step) {
        const auto metre = static_cast<std::int64_t>(m);
        const point p = view.at(metre);
        w.open("g").attr("class", "km").attr("data-position", metre);
        w.open("circle")
            .attr("cx", p.x)
            .attr("cy", p.y)
            .attr("r", 1.8)
            .attr("fill", style::ink)
            .close();
        place_label(w, placer, p, format_number(m / 1000, 3), 8.5, style::muted, "normal", true);
        w.close();
    }
    if (marks.route_length > 0 && marks.route_length <= view.last_metre()) {
        const point p = view.at(marks.route_length);
        open_mark(w, "route-end", marks.route_length);
        w.text_element("title", "end of the route at " + std::to_string(marks.route_length) + " m");
        w.open("circle")
            .attr("cx", p.x)
            .attr("cy", p.y)
            .attr("r", 3.5)
            .attr("fill", style::ink)
            .close();
        place_label(w, placer, p, "route end", 9, style::ink, "normal", true);
        w.close();
    }
}

void draw_point_marks(svg_writer& w, const plan_view& view, const std::vector<point_mark>& list,
                      const char* cls, const char* colour, double size) {
    for (const point_mark& m : list) {
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

plan_view::plan_view(const tracciato_linea& tracciato, double left, double top, double width,
                     double max_height, double pad) {
    plan_points points;
    tracciato.visita(points);
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
    const point& p = xy_[static_cast<std::size_t>(m)];
    return {origin_x_ + (p.x - min_x_) * scale_, origin_y_ - (p.y - min_y_) * scale_};
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

void draw_plan(svg_writer& w, const plan_view& view, const route_marks& marks) {
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
    label_placer placer;
    const std::vector<point> track = view.polyline(0, view.last_metre(), track_points);
    for (const point& p : track) {
        placer.take_point(p);
    }
    draw_spans(w, view, marks.tunnels, "tunnel", style::tunnel, 7, 0.8);
    w.open("g").attr("class", "track");
    polyline(w, track, style::track, 1.6, 1);
    w.close();
    draw_spans(w, view, marks.slowdowns, "slowdown", style::slowdown, 9, 0.75);
    draw_point_marks(w, view, marks.speed_boards, "speed-board", style::speed_board, 3.5);
    draw_point_marks(w, view, marks.boards, "board", style::board, 5);
    for (const point_mark& s : marks.signals) {
        const point p = view.at(s.position);
        placer.take_point(p);
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
    for (const station_mark& s : marks.stations) {
        placer.take_point(view.at(s.position));
    }
    for (const station_mark& s : marks.stations) {
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
        place_label(w, placer, p, s.name, 11, style::station, "bold", false);
        w.close();
    }
    for (const error_message& e : marks.errors) {
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
        place_label(w, placer, p, e.text, 11, style::error, "bold", false);
        w.close();
    }
    draw_kilometre_points(w, view, marks, placer);
    draw_scale(w, view, placer);
    w.close();
}

}  // namespace scenario::render
