#include "live/drawing.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "live/result_json.hpp"
#include "model/cella.hpp"
#include "model/file_names.hpp"
#include "model/voce.hpp"
#include "render/layout.hpp"
#include "render/plan_view.hpp"
#include "render/svg.hpp"
#include "report/json_writer.hpp"

namespace scenario::live {

namespace {

// The fitted view draws the track within this many picture units of where it runs
// (a quarter of a pixel at the picture's own size).
constexpr double overview_tolerance = 0.25;
// A window of the route is drawn with about this many segments' worth of tolerance: its
// length over this, in metres (a window as long as the screen is wide, at 2048 pixels,
// strays by at most half a pixel).
constexpr double detail_parts = 4096;

// What the page draws of each kind besides its position.
struct kind_shape {
    bool length;  // a stretch or a profile step: its end
    bool value;
    bool point;  // a point on the plan
    bool name;
};

kind_shape shape_of(element_kind kind) {
    switch (kind) {
        case element_kind::station:
        case element_kind::board:
            return {false, false, true, true};
        case element_kind::signal:
        case element_kind::speed_board:
        case element_kind::code_point:
            return {false, false, true, false};
        case element_kind::curve:
            return {true, false, false, false};
        default:  // slowdowns, tunnels, profile steps
            return {true, true, false, false};
    }
}

// A number rounded to so many decimals, written as the shortest text for it.
double rounded(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(v * scale) / scale;
}

// A digest of the values that make an element's record: each mixed in whole.
struct digest {
    std::uint64_t h = 0x9e3779b97f4a7c15ull;
    void add(std::int64_t v) {
        h = (h ^ static_cast<std::uint64_t>(v)) * 0xff51afd7ed558ccdull;
        h ^= h >> 29;
    }
    void add(std::string_view text) {
        add(static_cast<std::int64_t>(text.size()));
        for (const char c : text) {
            add(static_cast<unsigned char>(c));
        }
    }
};

template <typename Record, typename Fields>
void add_fields(digest& d, const Record& r, const Fields& fields) {
    for_each_field(fields, [&](const auto& field) {
        if constexpr (std::decay_t<decltype(field)>::is_text) {
            d.add(std::string_view(field.stored(r)));
        } else {
            d.add(static_cast<std::int64_t>(field.stored(r)));
        }
    });
}

std::uint64_t record_digest(const run_state& state, const element& e) {
    digest d;
    d.add(e.cell);
    d.add(e.entry);
    d.add(e.value);
    d.add(e.automatic ? 1 : 0);
    if (e.cell >= 0 && static_cast<std::size_t>(e.cell) < state.celle.size()) {
        add_fields(d, state.celle[static_cast<std::size_t>(e.cell)], cella_fields);
    }
    if (e.entry >= 0 && e.entry < numero_voci) {
        add_fields(d, state.voci[static_cast<std::size_t>(e.entry)], voce_fields);
    }
    if (e.row >= 0 && static_cast<std::size_t>(e.row) < state.trace.rows.size()) {
        const source_row& row = state.trace.rows[static_cast<std::size_t>(e.row)];
        d.add(static_cast<std::int64_t>(row.document));
        d.add(row.line);
    }
    return d.h;
}

// The points of the plan from one metre to another, as the line through them strays
// from the track by at most `tolerance` metres: [metre, x, y, ...] in picture units.
void write_track(const render::plan_view& view, std::int64_t from, std::int64_t to,
                 double tolerance, json_writer& json) {
    const std::span<const render::point> all = view.plan_points();
    from = std::clamp<std::int64_t>(from, 0, view.last_metre());
    to = std::clamp<std::int64_t>(to, from, view.last_metre());
    const std::span<const render::point> part =
        all.subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from + 1));
    // Written finely enough that rounding adds at most a quarter of the tolerance.
    const double units = tolerance * view.pixels_per_metre();
    const int decimals =
        std::clamp(static_cast<int>(std::ceil(std::log10(2.0 / std::max(units, 1e-9)))), 2, 7);
    json.begin_array();
    for (const std::size_t i : render::simplify(part, tolerance)) {
        const render::point p = view.to_picture(part[i]);
        json.integer(from + static_cast<std::int64_t>(i));
        json.number(rounded(p.x, decimals));
        json.number(rounded(p.y, decimals));
    }
    json.end_array();
}

void write_box(const render::profile_layout::band& b, const render::axis_range* axis,
               json_writer& json) {
    json.begin_array();
    json.number(b.top);
    json.number(b.height);
    if (axis != nullptr) {
        json.number(axis->low);
        json.number(axis->high);
    }
    json.end_array();
}

// The elements of one kind from index `at` on (`count` of them), as the page reads
// them: each attribute as a list, positions as steps from the element before.
void write_elements(element_kind kind, const std::vector<drawn_element>& list, std::size_t at,
                    std::size_t count, json_writer& json) {
    const kind_shape shape = shape_of(kind);
    const auto column = [&](const char* name, auto value) {
        json.key(name);
        json.begin_array();
        for (std::size_t i = at; i < at + count; ++i) {
            value(i);
        }
        json.end_array();
    };
    column("position", [&](std::size_t i) {
        json.integer(static_cast<std::int64_t>(list[i].position) -
                     (i == 0 ? 0 : list[i - 1].position));
    });
    if (shape.length) {
        column("length", [&](std::size_t i) {
            json.integer(static_cast<std::int64_t>(list[i].end) - list[i].position);
        });
    }
    if (shape.value) {
        column("value", [&](std::size_t i) { json.integer(list[i].value); });
    }
    if (shape.point) {
        column("x", [&](std::size_t i) { json.number(list[i].x); });
        column("y", [&](std::size_t i) { json.number(list[i].y); });
    }
    if (shape.name) {
        column("name", [&](std::size_t i) { json.document_string(list[i].name); });
    }
}

// Adds [from, to] to a list of ranges kept sorted and apart.
void add_range(std::vector<metre_range>& ranges, std::int64_t from, std::int64_t to) {
    ranges.push_back({std::min(from, to), std::max(from, to)});
}

std::vector<metre_range> merged(std::vector<metre_range> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const metre_range& a, const metre_range& b) { return a.from < b.from; });
    std::vector<metre_range> out;
    for (const metre_range& r : ranges) {
        if (!out.empty() && r.from <= out.back().to + 1) {
            out.back().to = std::max(out.back().to, r.to);
        } else {
            out.push_back(r);
        }
    }
    return out;
}

// Whether two compiles have the same plan: made from the same line document (and the
// same stretches, the cheap half of the proof).
bool same_plan(const run_state& a, const run_state& b) {
    const auto& sa = a.tracciato.stretches();
    const auto& sb = b.tracciato.stretches();
    return a.tracciato.points() == b.tracciato.points() && sa.size() == sb.size() &&
           std::equal(sa.begin(), sa.end(), sb.begin(),
                      [](const tratto& x, const tratto& y) {
                          return x.primo == y.primo && x.ultimo == y.ultimo && x.k == y.k;
                      }) &&
           a.trace.line_document && b.trace.line_document &&
           *a.trace.line_document == *b.trace.line_document;
}

}  // namespace

// The plan as the page draws it, shared by the drawings of compiles whose plan is the same.
struct live_drawing::plan_geometry {
    std::shared_ptr<const render::plan_view> shared;
    const render::plan_view& view;
    std::string json;  // {"scale": ..., "last": ..., "tolerance": ..., "track": [...]}

    explicit plan_geometry(std::shared_ptr<const render::plan_view> v)
        : shared(std::move(v)), view(*shared) {
        json = json_text([&](json_writer& w) {
            w.begin_object();
            w.key("scale");
            w.number(view.pixels_per_metre());
            w.member("last", view.last_metre());
            w.key("tolerance");
            w.number(overview_tolerance);
            const render::box& a = view.area();
            w.key("area");
            w.begin_array();
            w.number(a.x0);
            w.number(a.y0);
            w.number(a.x1);
            w.number(a.y1);
            w.end_array();
            w.key("track");
            write_track(view, 0, view.last_metre(), overview_tolerance / view.pixels_per_metre(),
                        w);
            w.end_object();
        });
    }
};

live_drawing::live_drawing(std::shared_ptr<const compiled_scenario> drawn,
                           std::span<const diagnostic> diagnostics, std::uint64_t generation,
                           bool stale, const live_drawing* before)
    : drawn_(std::move(drawn)), generation_(generation), stale_(stale) {
    const run_state& state = drawn_->state;
    render::render_options options;
    options.plan = state.con_tracciato != 0;
    options.part = render::picture_part::frame;
    // The plan of the compile before, when this one has the same: it is not walked again.
    if (before != nullptr && before->plan_ && options.plan &&
        same_plan(before->drawn_->state, state)) {
        plan_ = before->plan_;
    }
    render::picture_layout picture =
        render::lay_out_picture(*drawn_, diagnostics, options, plan_ ? plan_->shared : nullptr);
    const std::string svg = render::draw_picture(picture);
    frame_ = json_text([&](json_writer& w) {
        w.begin_object();
        w.member("svg", svg);
        w.key("width");
        w.number(picture.width);
        w.key("height");
        w.number(picture.height);
        w.end_object();
    });
    if (!plan_ && picture.plan && !picture.plan->empty()) {
        plan_ = std::make_shared<const plan_geometry>(picture.plan);
    }
    const render::plan_view* view = plan_ ? &plan_->view : nullptr;

    const render::route_marks& marks = picture.marks;
    const render::profile_layout& v = picture.profiles;
    last_metre_ = std::max<std::int64_t>(marks.axis_end, view != nullptr ? view->last_metre() : 0);
    const auto rows = [&](const std::vector<render::profile_layout::row_label>& labels) {
        int count = 0;
        for (const auto& l : labels) {
            count = std::max(count, l.row + 1);
        }
        return count;
    };
    profiles_ = json_text([&](json_writer& w) {
        w.begin_object();
        w.key("left");
        w.number(v.left);
        w.key("right");
        w.number(v.right);
        w.member("axis_end", static_cast<std::int64_t>(std::llround(v.axis_end)));
        if (marks.route_length > 0) {
            w.member("route_end", static_cast<std::int64_t>(marks.route_length));
        } else {
            w.member_null("route_end");
        }
        w.key("error_rows");
        w.begin_array();
        w.number(v.error_rows_top);
        w.integer(rows(v.error_labels));
        w.end_array();
        w.key("station_rows");
        w.begin_array();
        w.number(v.station_rows_top);
        w.integer(rows(v.station_labels));
        w.end_array();
        w.key("speed");
        write_box(v.speed, &v.speed_axis, w);
        w.key("gradient");
        write_box(v.gradient, &v.gradient_axis, w);
        w.key("adhesion");
        write_box(v.adhesion, &v.adhesion_axis, w);
        w.key("tunnels");
        write_box(v.tunnels, nullptr, w);
        w.key("axis_y");
        w.number(v.axis_y);
        w.end_object();
    });

    const auto place = [&](std::int64_t metre) {
        return view != nullptr ? view->at(metre) : render::point{};
    };
    errors_ = json_text([&](json_writer& w) {
        w.begin_array();
        for (const render::error_mark& e : marks.errors) {
            w.begin_object();
            w.member("diagnostic", static_cast<std::int64_t>(e.diagnostic));
            if (e.position) {
                w.member("position", static_cast<std::int64_t>(*e.position));
            } else {
                w.member_null("position");
            }
            if (e.position && view != nullptr) {
                const render::point p = place(*e.position);
                w.key("x");
                w.number(rounded(p.x, 4));
                w.key("y");
                w.number(rounded(p.y, 4));
            }
            w.member_document("text", e.text);
            w.end_object();
        }
        w.end_array();
    });
    kilometres_ = json_text([&](json_writer& w) {
        w.begin_array();
        if (view != nullptr) {
            for (const render::plan_layout::kilometre_point& k : picture.on_plan.kilometres) {
                const render::point p = place(k.metre);
                w.integer(k.metre);
                w.number(rounded(p.x, 4));
                w.number(rounded(p.y, 4));
            }
        }
        w.end_array();
    });
    const element_index& index = drawn_->elements();
    // The elements a diagnostic's row made, for the page to mark them with it.
    marked_ = json_text([&](json_writer& w) {
        const std::string line_name = nome_documento_linea(state.nome_scenario);
        w.begin_array();
        for (std::size_t i = 0; i < diagnostics.size(); ++i) {
            const diagnostic& d = diagnostics[i];
            if (d.line <= 0 || d.document.empty()) {
                continue;
            }
            const source_document document =
                d.document == line_name ? source_document::line : source_document::train;
            const std::optional<std::int32_t> row = index.row_at(document, d.line);
            if (!row || index.elements_of(*row).empty()) {
                continue;
            }
            w.begin_array();
            w.integer(static_cast<std::int64_t>(i));
            for (const std::int32_t id : index.elements_of(*row)) {
                w.integer(id);
            }
            w.end_array();
        }
        w.end_array();
    });
    for (std::size_t k = 0; k < element_kinds; ++k) {
        const auto kind = static_cast<element_kind>(k);
        const kind_shape shape = shape_of(kind);
        std::vector<drawn_element>& list = elements_[k];
        list.reserve(index.of(kind).size());
        for (const element& e : index.of(kind)) {
            drawn_element d;
            d.position = e.position;
            d.end = e.end.value_or(e.position);
            d.value = shape.value ? e.value : 0;
            if (shape.point && view != nullptr) {
                const render::point p = place(e.position);
                d.x = rounded(p.x, 4);
                d.y = rounded(p.y, 4);
            }
            if (shape.name && e.entry >= 0 && e.entry < numero_voci) {
                d.name = state.voci[static_cast<std::size_t>(e.entry)].nome;
            }
            d.record = record_digest(state, e);
            list.push_back(std::move(d));
        }
    }
}

live_drawing::~live_drawing() = default;

void live_drawing::write(json_writer& json) const {
    json.begin_object();
    json.member("generation", static_cast<std::int64_t>(generation_));
    json.key("stale");
    json.boolean(stale_);
    json.key("frame");
    json.raw_value(frame_);
    json.key("plan");
    if (plan_) {
        json.raw_value(plan_->json);
    } else {
        json.null();
    }
    json.key("kilometres");
    json.raw_value(kilometres_);
    json.key("profiles");
    json.raw_value(profiles_);
    json.key("elements");
    json.begin_object();
    for (std::size_t k = 0; k < element_kinds; ++k) {
        const auto kind = static_cast<element_kind>(k);
        json.key(kind_name(kind));
        json.begin_object();
        json.member("count", static_cast<std::int64_t>(elements_[k].size()));
        write_elements(kind, elements_[k], 0, elements_[k].size(), json);
        json.end_object();
    }
    json.end_object();
    json.key("errors");
    json.raw_value(errors_);
    json.key("marked");
    json.raw_value(marked_);
    json.end_object();
}

void live_drawing::write_changes(const live_drawing& before, json_writer& json) const {
    json.begin_object();
    json.member("generation", static_cast<std::int64_t>(generation_));
    json.key("stale");
    json.boolean(stale_);
    if (frame_ != before.frame_) {
        json.key("frame");
        json.raw_value(frame_);
    }
    if (plan_ != before.plan_) {
        json.key("plan");
        if (plan_) {
            json.raw_value(plan_->json);
        } else {
            json.null();
        }
    }
    if (kilometres_ != before.kilometres_) {
        json.key("kilometres");
        json.raw_value(kilometres_);
    }
    if (profiles_ != before.profiles_) {
        json.key("profiles");
        json.raw_value(profiles_);
    }
    if (errors_ != before.errors_) {
        json.key("errors");
        json.raw_value(errors_);
    }
    if (marked_ != before.marked_) {
        json.key("marked");
        json.raw_value(marked_);
    }
    // Each kind's list as the old one with one run of elements replaced: the run between
    // the longest common start and end.
    std::vector<metre_range> changed;
    bool any = false;
    for (std::size_t k = 0; k < element_kinds; ++k) {
        const std::vector<drawn_element>& was = before.elements_[k];
        const std::vector<drawn_element>& is = elements_[k];
        std::size_t head = 0;
        while (head < was.size() && head < is.size() && was[head].drawn_alike(is[head])) {
            ++head;
        }
        std::size_t tail = 0;
        while (tail < was.size() - head && tail < is.size() - head &&
               was[was.size() - 1 - tail].drawn_alike(is[is.size() - 1 - tail])) {
            ++tail;
        }
        // Matched elements whose records differ, and the replaced run.
        for (std::size_t i = 0; i < head; ++i) {
            if (was[i].record != is[i].record) {
                add_range(changed, is[i].position, is[i].end);
            }
        }
        for (std::size_t i = 0; i < tail; ++i) {
            const drawn_element& a = was[was.size() - 1 - i];
            const drawn_element& b = is[is.size() - 1 - i];
            if (a.record != b.record) {
                add_range(changed, b.position, b.end);
            }
        }
        const std::size_t removed = was.size() - head - tail;
        const std::size_t added = is.size() - head - tail;
        for (std::size_t i = head; i < head + removed; ++i) {
            add_range(changed, was[i].position, was[i].end);
        }
        for (std::size_t i = head; i < head + added; ++i) {
            add_range(changed, is[i].position, is[i].end);
        }
        if (removed == 0 && added == 0) {
            continue;
        }
        if (!any) {
            json.key("elements");
            json.begin_object();
            any = true;
        }
        const auto kind = static_cast<element_kind>(k);
        json.key(kind_name(kind));
        json.begin_object();
        json.member("count", static_cast<std::int64_t>(is.size()));
        json.member("at", static_cast<std::int64_t>(head));
        json.member("remove", static_cast<std::int64_t>(removed));
        write_elements(kind, is, head, added, json);
        json.end_object();
    }
    if (any) {
        json.end_object();
    }
    json.key("changed");
    json.begin_array();
    for (const metre_range& r : merged(std::move(changed))) {
        json.begin_array();
        json.integer(r.from);
        json.integer(r.to);
        json.end_array();
    }
    json.end_array();
    json.end_object();
}

void live_drawing::write_detail(metre_range window, json_writer& json) const {
    const std::int64_t from = std::clamp<std::int64_t>(window.from, 0, last_metre_);
    const std::int64_t to = std::clamp<std::int64_t>(window.to, from, last_metre_);
    const double tolerance =
        static_cast<double>(std::max<std::int64_t>(1, to - from)) / detail_parts;
    json.begin_object();
    json.member("generation", static_cast<std::int64_t>(generation_));
    json.member("from", from);
    json.member("to", to);
    json.key("tolerance");
    json.number(tolerance);
    json.key("track");
    if (plan_) {
        write_track(plan_->view, from, to, tolerance, json);
    } else {
        json.null();
    }
    json.key("elements");
    if (to - from <= detail_records_limit) {
        json.begin_array();
        const std::span<const element> all = drawn_->elements().all();
        for (std::size_t i = 0; i < all.size(); ++i) {
            const element& e = all[i];
            if (e.position <= to && e.end.value_or(e.position) >= from) {
                write_element_record(*drawn_, i, json);
            }
        }
        json.end_array();
    } else {
        json.null();
    }
    json.end_object();
}

}  // namespace scenario::live
