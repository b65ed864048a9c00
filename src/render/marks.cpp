#include "render/marks.hpp"

#include <algorithm>

namespace scenario::render {

namespace {

constexpr std::int32_t metri_cella = 50;
constexpr int ultima_voce_stazione = 79;

std::int32_t cell_start(std::size_t cell) {
    return static_cast<std::int32_t>(cell) * metri_cella;
}

// Position written in the document for a point element held by this cell.
std::int32_t element_position(std::size_t cell) {
    return cell_start(cell) - metri_cella;
}

std::string metres(std::int32_t p) {
    return std::to_string(p) + " m";
}

span_mark slowdown_mark(std::int32_t start, std::int32_t end, int speed, int cell) {
    return {start, end, speed,
            "slowdown " + std::to_string(start) + "-" + metres(end) + " at " +
                std::to_string(speed) + " km/h",
            cell};
}

std::string speed_pair(int packed) {
    const int first = packed / 100 * 5;
    const int second = packed % 100 * 5;
    return second != 0 ? std::to_string(first) + "/" + std::to_string(second)
                       : std::to_string(first);
}

void collect_stations(const tabella_voci& voci, route_marks& marks) {
    for (int e = 1; e <= ultima_voce_stazione; ++e) {
        const voce& v = voci[static_cast<std::size_t>(e)];
        if (v.nome.empty()) {
            break;
        }
        marks.stations.push_back({v.progressiva, e, v.nome});
    }
}

void collect_points(const run_state& stato, route_marks& marks) {
    const griglia& celle = stato.celle;
    bool slowdown_open = false;
    span_mark slowdown;
    for (std::size_t c = 0; c < celle.size(); ++c) {
        const cella& k = celle[c];
        const std::int32_t p = element_position(c);
        const int cell = static_cast<int>(c);
        switch (k.tipo_cella) {
            case tipo::segnale:
                marks.signals.push_back({p, cell, "signal at " + metres(p)});
                break;
            case tipo::cartello: {
                const int entry = k.valore1;
                std::string text = entry >= 0 && entry < numero_voci
                                       ? stato.voci[static_cast<std::size_t>(entry)].nome
                                       : std::string();
                marks.boards.push_back({p, cell, "indicator board at " + metres(p) + ": " + text});
                break;
            }
            case tipo::indicatore_vmax:
                marks.speed_boards.push_back(
                    {p, cell,
                     "speed board at " + metres(p) + ": " + speed_pair(k.valore1) + " km/h"});
                break;
            case tipo::inizio_rallentamento:
                if (slowdown_open) {
                    marks.slowdowns.push_back(slowdown);  // its end was never recorded
                }
                slowdown = slowdown_mark(p, p, k.valore1, cell);
                slowdown_open = true;
                break;
            case tipo::cambio_codice:
            case tipo::codice_zero: {
                const bool automatic =
                    c < stato.trace.cells.size() && stato.trace.cells[c].automatic;
                marks.code_points.push_back(
                    {p, cell,
                     std::string(k.tipo_cella == tipo::codice_zero ? "code zero" : "code change") +
                         " at " + metres(p) + (automatic ? " (placed for a slowdown)" : "")});
                break;
            }
            case tipo::fine_rallentamento:
                if (slowdown_open) {
                    marks.slowdowns.push_back(
                        slowdown_mark(slowdown.start, p, slowdown.value, slowdown.cell));
                    slowdown_open = false;
                } else {
                    // Its start cell was taken over by another element.
                    marks.slowdowns.push_back(slowdown_mark(p, p, k.valore1, cell));
                }
                break;
            default:
                break;
        }
    }
    if (slowdown_open) {
        marks.slowdowns.push_back(slowdown);
    }
}

// Runs of equal values over the first `count` cells; with skip_zero, runs of 0 are left out.
template <typename Value>
std::vector<profile_step> runs(const griglia& celle, std::size_t count, Value value,
                               bool skip_zero) {
    std::vector<profile_step> out;
    std::size_t c = 0;
    while (c < count) {
        const int v = value(celle[c]);
        std::size_t e = c + 1;
        while (e < count && value(celle[e]) == v) {
            ++e;
        }
        if (!(skip_zero && v == 0)) {
            out.push_back({cell_start(c), cell_start(e), v});
        }
        c = e;
    }
    return out;
}

}  // namespace

route_marks collect_marks(const run_state& stato, std::span<const diagnostic> diagnostics) {
    route_marks marks;
    marks.route_length = stato.voci[voce_percorso].fine_area;
    std::int32_t end = 0;
    if (!stato.celle.empty()) {
        end = cell_start(stato.celle.size() - 1);
    }
    if (stato.tracciato.exists()) {
        end = std::max(end, static_cast<std::int32_t>(stato.tracciato.last_metre()));
    }
    if (end == 0 && marks.route_length > 0) {
        end = marks.route_length + 7000;
    }
    marks.axis_end = std::max<std::int32_t>(end, metri_cella);

    collect_stations(stato.voci, marks);
    collect_points(stato, marks);

    const griglia& celle = stato.celle;
    for (const profile_step& t : runs(
             celle, celle.size(), [](const cella& k) { return int{k.montagna}; }, true)) {
        marks.tunnels.push_back({t.start, t.end, t.value,
                                 "tunnel " + std::to_string(t.start) + "-" + metres(t.end) +
                                     ", type " + std::to_string(t.value),
                                 t.start / metri_cella});
    }
    for (const traced_curve& c : stato.trace.curves) {
        const auto start = static_cast<std::int32_t>(c.start);
        const auto end = static_cast<std::int32_t>(c.end);
        marks.curves.push_back({start, end, 0,
                                "curve " + std::to_string(start) + "-" + metres(end), -1});
    }
    // The readers fill the profile bytes up to cell N - 3; the last cells stay 0.
    const std::size_t filled = celle.size() > 3 ? celle.size() - 3 : celle.size();
    marks.speed = runs(
        celle, filled, [](const cella& k) { return k.vel_limite * 5; }, false);
    marks.gradient = runs(
        celle, filled, [](const cella& k) { return k.pendenza - 100; }, false);
    marks.adhesion = runs(
        celle, filled, [](const cella& k) { return int{k.aderenza}; }, false);

    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
        const diagnostic& d = diagnostics[i];
        if (d.level == severity::error) {
            marks.errors.push_back(
                {d.has_position ? std::optional<std::int32_t>(d.position) : std::nullopt,
                 "error " + std::to_string(d.number) + ": " + d.message, i});
        }
    }
    return marks;
}

element_ids number_elements(const route_marks& marks) {
    element_ids ids;
    ids.signals = ids.stations + marks.stations.size();
    ids.boards = ids.signals + marks.signals.size();
    ids.speed_boards = ids.boards + marks.boards.size();
    ids.slowdowns = ids.speed_boards + marks.speed_boards.size();
    ids.tunnels = ids.slowdowns + marks.slowdowns.size();
    ids.speed = ids.tunnels + marks.tunnels.size();
    ids.gradient = ids.speed + marks.speed.size();
    ids.adhesion = ids.gradient + marks.gradient.size();
    ids.curves = ids.adhesion + marks.adhesion.size();
    ids.code_points = ids.curves + marks.curves.size();
    ids.end = ids.code_points + marks.code_points.size();
    return ids;
}

}  // namespace scenario::render
