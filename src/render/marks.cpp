#include "render/marks.hpp"

#include <algorithm>

namespace scenario::render {

namespace {

std::string metres(std::int32_t p) {
    return std::to_string(p) + " m";
}

std::string speed_pair(int packed) {
    const int first = packed / 100 * 5;
    const int second = packed % 100 * 5;
    return second != 0 ? std::to_string(first) + "/" + std::to_string(second)
                       : std::to_string(first);
}

const cella& cell_of(const run_state& state, const element& e) {
    return state.celle[static_cast<std::size_t>(e.cell)];
}

point_mark point_of(const run_state& state, const element& e) {
    const std::int32_t p = e.position;
    switch (e.kind) {
        case element_kind::board: {
            const std::string text =
                e.entry >= 0 && e.entry < numero_voci ? state.voci[static_cast<std::size_t>(e.entry)].nome
                                                      : std::string();
            return {p, e.cell, "indicator board at " + metres(p) + ": " + text};
        }
        case element_kind::speed_board:
            return {p, e.cell,
                    "speed board at " + metres(p) + ": " + speed_pair(cell_of(state, e).valore1) +
                        " km/h"};
        case element_kind::code_point:
            return {p, e.cell,
                    std::string(cell_of(state, e).tipo_cella == tipo::codice_zero ? "code zero"
                                                                                   : "code change") +
                        " at " + metres(p) + (e.automatic ? " (placed for a slowdown)" : "")};
        default:
            return {p, e.cell, "signal at " + metres(p)};
    }
}

span_mark span_of(const run_state& state, const element& e) {
    const std::int32_t end = e.end.value_or(e.position);
    const std::string from_to = std::to_string(e.position) + "-" + metres(end);
    switch (e.kind) {
        case element_kind::tunnel: {
            // The picture names the type the cells hold.
            const int stored = cell_of(state, e).montagna;
            return {e.position, end, stored, "tunnel " + from_to + ", type " + std::to_string(stored),
                    e.cell};
        }
        case element_kind::curve:
            return {e.position, end, 0, "curve " + from_to, -1};
        default:
            return {e.position, end, e.value,
                    "slowdown " + from_to + " at " + std::to_string(e.value) + " km/h", e.cell};
    }
}

}  // namespace

std::string mark_detail(const run_state& state, const element& e) {
    switch (e.kind) {
        case element_kind::signal:
        case element_kind::board:
        case element_kind::speed_board:
        case element_kind::code_point:
            return point_of(state, e).detail;
        case element_kind::slowdown:
        case element_kind::tunnel:
        case element_kind::curve:
            return span_of(state, e).detail;
        default:
            return {};
    }
}

route_marks collect_marks(const run_state& state, const element_index& elements,
                          std::span<const diagnostic> diagnostics) {
    route_marks marks;
    marks.route_length = state.voci[voce_percorso].fine_area;
    std::int32_t end = 0;
    if (!state.celle.empty()) {
        end = static_cast<std::int32_t>(state.celle.size() - 1) * metres_per_cell;
    }
    if (state.tracciato.exists()) {
        end = std::max(end, static_cast<std::int32_t>(state.tracciato.last_metre()));
    }
    if (end == 0 && marks.route_length > 0) {
        end = marks.route_length + 7000;
    }
    marks.axis_end = std::max<std::int32_t>(end, metres_per_cell);

    for (const element& e : elements.of(element_kind::station)) {
        marks.stations.push_back({e.position, e.entry, state.voci[static_cast<std::size_t>(e.entry)].nome});
    }
    const auto points = [&](element_kind kind, std::vector<point_mark>& list) {
        for (const element& e : elements.of(kind)) {
            list.push_back(point_of(state, e));
        }
    };
    const auto spans = [&](element_kind kind, std::vector<span_mark>& list) {
        for (const element& e : elements.of(kind)) {
            list.push_back(span_of(state, e));
        }
    };
    const auto steps = [&](element_kind kind, std::vector<profile_step>& list) {
        for (const element& e : elements.of(kind)) {
            list.push_back({e.position, e.end.value_or(e.position), e.value});
        }
    };
    points(element_kind::signal, marks.signals);
    points(element_kind::board, marks.boards);
    points(element_kind::speed_board, marks.speed_boards);
    spans(element_kind::slowdown, marks.slowdowns);
    spans(element_kind::tunnel, marks.tunnels);
    steps(element_kind::speed, marks.speed);
    steps(element_kind::gradient, marks.gradient);
    steps(element_kind::adhesion, marks.adhesion);

    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
        const diagnostic& d = diagnostics[i];
        if (d.level == severity::error) {
            const std::string label =
                d.number != 0 ? "error " + std::to_string(d.number) + ": " : std::string("error: ");
            marks.errors.push_back(
                {d.has_position ? std::optional<std::int32_t>(d.position) : std::nullopt,
                 label + d.message, i});
        }
    }
    return marks;
}

}  // namespace scenario::render
