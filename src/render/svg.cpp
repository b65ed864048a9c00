#include "render/svg.hpp"

#include <algorithm>

#include "render/layout.hpp"
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
        {style::ink, "dash", "end of the route"},    {style::run_off, "dash", "run-off"},
        {style::error, "ring", "recorded error"},
    };
    if (!plan) {
        items = {items[0], items[2], items[3], items[6], items[7], items[8]};
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

std::string title_of(const run_state& state, const route_marks& marks) {
    std::string title = state.nome_scenario.empty() ? "scenario" : state.nome_scenario;
    if (!state.nome_treno.empty()) {
        title += " - train " + state.nome_treno;
    }
    if (marks.route_length > 0) {
        title += " - route " + format_number(marks.route_length / 1000.0, 3) + " km";
    }
    return title;
}

}  // namespace

picture_layout lay_out_picture(const compiled_scenario& drawn,
                               std::span<const diagnostic> diagnostics,
                               const render_options& opt, std::shared_ptr<const plan_view> plan) {
    const run_state& state = drawn.state;
    picture_layout p;
    p.marks = collect_marks(state, drawn.elements(), diagnostics);
    p.title = title_of(state, p.marks);
    p.part = opt.part;
    p.width = std::max(400.0, opt.width);
    double y = title_height;
    if (opt.plan) {
        p.plan = plan ? std::move(plan)
                      : std::make_shared<const plan_view>(state.tracciato, margin_left, y,
                                                          p.width - margin_left - margin_right,
                                                          plan_max_height, plan_pad);
        p.on_plan = layout_plan(*p.plan, p.marks, opt.part);
        y += p.plan->height();
        y += 16;
    }
    p.profiles = layout_profiles(p.marks, margin_left, p.width - margin_right, y);
    y += p.profiles.height();
    p.legend_y = y + 20;
    y = p.legend_y + legend_height - 10;
    p.notes_top = y;
    const auto unplaced = std::count_if(p.marks.errors.begin(), p.marks.errors.end(),
                                        [](const error_mark& e) { return !e.position; });
    p.height = y + static_cast<double>(unplaced) * note_height + 10;
    return p;
}

std::string draw_picture(const picture_layout& p) {
    svg_writer w(1);
    w.open("svg")
        .attr("xmlns", "http://www.w3.org/2000/svg")
        .attr("version", "1.1")
        .attr("width", p.width)
        .attr("height", p.height)
        .attr("viewBox", "0 0 " + w.number(p.width) + " " + w.number(p.height))
        .attr("font-family", style::font);
    w.text_element("title", p.title);
    w.open("rect").attr("width", p.width).attr("height", p.height).attr("fill", "white");
    w.attr("stroke", "none").close();
    w.open("text")
        .attr("x", margin_left)
        .attr("y", 28)
        .attr("font-size", 16)
        .attr("font-weight", "bold")
        .attr("fill", style::ink)
        .text(p.title)
        .close();
    if (p.plan) {
        draw_plan(w, *p.plan, p.on_plan, p.marks, p.part);
    }
    draw_profiles(w, p.profiles, p.marks, p.part);
    draw_legend(w, margin_left, p.legend_y, p.plan != nullptr);
    double note_y = p.notes_top + note_height;
    for (const error_mark& e : p.marks.errors) {
        if (e.position) {
            continue;
        }
        w.open("text").attr("class", "error-note");
        w.attr("x", margin_left)
            .attr("y", note_y)
            .attr("font-size", 11)
            .attr("font-weight", "bold")
            .attr("fill", style::error)
            .text(e.text)
            .close();
        note_y += note_height;
    }
    return w.finish();
}

std::string render_svg(const compiled_scenario& drawn, std::span<const diagnostic> diagnostics,
                       const render_options& opt) {
    return draw_picture(lay_out_picture(drawn, diagnostics, opt));
}

}  // namespace scenario::render
