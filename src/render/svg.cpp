#include "render/svg.hpp"

#include <algorithm>

#include "render/layout.hpp"
#include "render/plan.hpp"
#include "render/profiles.hpp"
#include "render/style.hpp"
#include "render/svg_writer.hpp"

namespace scenario::render {

namespace {

constexpr double margin_left = 80;
constexpr double margin_right = 30;
constexpr double title_height = 46;
constexpr double plan_max_height = 640;
constexpr double plan_pad = 36;
constexpr double legend_height = 30;
constexpr double note_height = 16;

// Sample shapes and names of the legend, in one row.
void draw_legend(svg_writer& w, double left, double y, bool plan) {
    struct item {
        const char* colour;
        const char* shape;
        const char* name;
    };
    std::vector<item> items = {
        {style::station, "ring", "station"},         {style::signal, "dot", "signal"},
        {style::slowdown, "bar", "slowdown"},        {style::tunnel, "bar", "tunnel"},
        {style::board, "square", "indicator board"}, {style::speed_board, "square", "speed board"},
        {style::ink, "dash", "end of the route"},    {style::error, "ring", "recorded error"},
    };
    if (!plan) {
        items = {items[0], items[2], items[3], items[6], items[7]};
    }
    w.open("g").attr("id", "legend").attr("font-size", 10.5).attr("fill", style::ink);
    double x = left;
    for (const item& it : items) {
        const std::string shape = it.shape;
        if (shape == "ring") {
            w.open("circle").attr("cx", x + 5).attr("cy", y - 4).attr("r", 4).attr("fill", "white");
            w.attr("stroke", it.colour).attr("stroke-width", 2).close();
        } else if (shape == "dot") {
            w.open("circle")
                .attr("cx", x + 5)
                .attr("cy", y - 4)
                .attr("r", 3)
                .attr("fill", it.colour);
            w.close();
        } else if (shape == "square") {
            w.open("rect").attr("x", x + 2).attr("y", y - 7).attr("width", 6).attr("height", 6);
            w.attr("fill", it.colour).close();
        } else {
            w.open("line").attr("x1", x - 2).attr("y1", y - 4).attr("x2", x + 12).attr("y2", y - 4);
            w.attr("stroke", it.colour).attr("stroke-width", shape == "bar" ? 6 : 1.5);
            if (shape == "dash") {
                w.attr("stroke-dasharray", "4 2");
            }
            w.close();
        }
        w.open("text").attr("x", x + 16).attr("y", y).text(it.name).close();
        x += 16 + text_width(it.name, 10.5) + 22;
    }
    w.close();
}

std::string title_of(const run_state& stato, const route_marks& marks) {
    std::string title = stato.nome_scenario.empty() ? "scenario" : stato.nome_scenario;
    if (!stato.nome_treno.empty()) {
        title += " - train " + stato.nome_treno;
    }
    if (marks.route_length > 0) {
        title += " - route " + format_number(marks.route_length / 1000.0, 3) + " km";
    }
    return title;
}

}  // namespace

std::string render_svg(const run_state& stato, const render_options& opt) {
    route_marks marks = collect_marks(stato);
    marks.errors = opt.errors ? *opt.errors : default_error_messages(stato);

    const double width = std::max(400.0, opt.width);
    double y = title_height;
    std::optional<plan_view> plan;
    if (opt.plan) {
        plan.emplace(stato.tracciato, margin_left, y, width - margin_left - margin_right,
                     plan_max_height, plan_pad);
        y += plan->height();
        y += 16;
    }
    const profile_layout profiles = layout_profiles(marks, margin_left, width - margin_right, y);
    y += profiles.height();
    const double legend_y = y + 20;
    y = legend_y + legend_height - 10;
    std::vector<const error_message*> unplaced;
    for (const error_message& e : marks.errors) {
        if (!e.position) {
            unplaced.push_back(&e);
        }
    }
    const double notes_top = y;
    y += static_cast<double>(unplaced.size()) * note_height + 10;
    const double height = y;

    svg_writer w(1);
    w.open("svg")
        .attr("xmlns", "http://www.w3.org/2000/svg")
        .attr("version", "1.1")
        .attr("width", width)
        .attr("height", height)
        .attr("viewBox", "0 0 " + w.number(width) + " " + w.number(height))
        .attr("font-family", style::font);
    w.text_element("title", title_of(stato, marks));
    w.open("rect").attr("width", width).attr("height", height).attr("fill", "white");
    w.attr("stroke", "none").close();
    w.open("text")
        .attr("x", margin_left)
        .attr("y", 28)
        .attr("font-size", 16)
        .attr("font-weight", "bold")
        .attr("fill", style::ink)
        .text(title_of(stato, marks))
        .close();
    if (plan) {
        draw_plan(w, *plan, marks);
    }
    draw_profiles(w, profiles, marks);
    draw_legend(w, margin_left, legend_y, opt.plan);
    double note_y = notes_top + note_height;
    for (const error_message* e : unplaced) {
        w.open("text")
            .attr("class", "error-note")
            .attr("x", margin_left)
            .attr("y", note_y)
            .attr("font-size", 11)
            .attr("font-weight", "bold")
            .attr("fill", style::error)
            .text(e->text)
            .close();
        note_y += note_height;
    }
    return w.finish();
}

}  // namespace scenario::render
