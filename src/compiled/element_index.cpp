#include "compiled/element_index.hpp"

#include <algorithm>

#include "model/near.hpp"

namespace scenario {

namespace {

constexpr int last_station_entry = voce_primo_cartello - 1;

std::int32_t cell_start(std::size_t cell) {
    return static_cast<std::int32_t>(cell) * metres_per_cell;
}

std::int32_t row_of_cell(const reading_trace& trace, std::size_t cell) {
    return cell < trace.cells.size() ? trace.cells[cell].row : -1;
}

// Stations: entries 1 upwards with a name, up to the first without; each with the cell
// of kind stazione that holds its entry, and the row that filled the entry.
void add_stations(const run_state& state, std::vector<element>& out) {
    std::vector<std::int32_t> cell_of(numero_voci, -1);
    for (std::size_t c = 0; c < state.celle.size(); ++c) {
        const cella& k = state.celle[c];
        if (k.tipo_cella == tipo::stazione && k.valore1 >= 0 && k.valore1 < numero_voci) {
            cell_of[static_cast<std::size_t>(k.valore1)] = static_cast<std::int32_t>(c);
        }
    }
    std::vector<std::int32_t> row_of(numero_voci, -1);
    for (std::size_t r = 0; r < state.trace.rows.size(); ++r) {
        const std::int32_t e = state.trace.rows[r].entry;
        if (e >= 0 && e < numero_voci) {
            row_of[static_cast<std::size_t>(e)] = static_cast<std::int32_t>(r);
        }
    }
    for (int e = 1; e <= last_station_entry; ++e) {
        const voce& v = state.voci[static_cast<std::size_t>(e)];
        if (v.nome.empty()) {
            break;
        }
        element s{element_kind::station, v.progressiva, std::nullopt,
                  cell_of[static_cast<std::size_t>(e)], e, row_of[static_cast<std::size_t>(e)]};
        out.push_back(s);
    }
}

// The point elements of the grid and the slowdowns, each kind in grid order. A slowdown
// runs from its start cell to the next end cell; a start without an end is a point.
struct point_lists {
    std::vector<element> signals, boards, speed_boards, slowdowns, code_points;
};

point_lists point_elements(const run_state& state) {
    point_lists lists;
    const reading_trace& trace = state.trace;
    std::optional<element> open;
    for (std::size_t c = 0; c < state.celle.size(); ++c) {
        const cella& k = state.celle[c];
        element e;
        e.position = point_position(static_cast<std::int64_t>(c));
        e.cell = static_cast<std::int32_t>(c);
        e.row = row_of_cell(trace, c);
        switch (k.tipo_cella) {
            case tipo::segnale:
                e.kind = element_kind::signal;
                lists.signals.push_back(e);
                break;
            case tipo::cartello:
                e.kind = element_kind::board;
                e.entry = k.valore1;
                lists.boards.push_back(e);
                break;
            case tipo::indicatore_vmax:
                e.kind = element_kind::speed_board;
                lists.speed_boards.push_back(e);
                break;
            case tipo::inizio_rallentamento:
                if (open) {
                    lists.slowdowns.push_back(*open);  // its end was never recorded
                }
                e.kind = element_kind::slowdown;
                e.end = e.position;
                e.value = k.valore1;
                open = e;
                break;
            case tipo::fine_rallentamento:
                if (open) {
                    open->end = e.position;
                    lists.slowdowns.push_back(*open);
                    open.reset();
                } else {
                    // Its start cell was taken over by another element.
                    e.kind = element_kind::slowdown;
                    e.end = e.position;
                    e.value = k.valore1;
                    lists.slowdowns.push_back(e);
                }
                break;
            case tipo::cambio_codice:
            case tipo::codice_zero:
                e.kind = element_kind::code_point;
                e.automatic = c < trace.cells.size() && trace.cells[c].automatic;
                lists.code_points.push_back(e);
                break;
            default:
                break;
        }
    }
    if (open) {
        lists.slowdowns.push_back(*open);
    }
    return lists;
}

// Runs of equal values over the first `count` cells (runs of 0 left out with skip_zero),
// each as an element from its first cell up to the next run.
template <typename Value>
void add_runs(const griglia& celle, std::size_t count, element_kind kind, Value value,
              bool skip_zero, std::vector<element>& out) {
    std::size_t c = 0;
    while (c < count) {
        const int v = value(celle[c]);
        std::size_t e = c + 1;
        while (e < count && value(celle[e]) == v) {
            ++e;
        }
        if (!(skip_zero && v == 0)) {
            out.push_back({kind, cell_start(c), cell_start(e), static_cast<std::int32_t>(c), -1, -1, v});
        }
        c = e;
    }
}

template <typename Value>
void add_profile(const run_state& state, element_kind kind, const std::vector<traced_fill>& fills,
                 Value value, std::vector<element>& out) {
    // The readers fill the profile bytes up to cell N - 3; the last cells stay 0.
    const griglia& celle = state.celle;
    const std::size_t filled = celle.size() > 3 ? celle.size() - 3 : celle.size();
    const std::size_t first = out.size();
    add_runs(celle, filled, kind, value, false, out);
    // Both in cell order: each step takes the row of the fill that wrote its first cell.
    auto f = fills.begin();
    for (std::size_t i = first; i < out.size(); ++i) {
        const std::int64_t cell = out[i].cell;
        while (f != fills.end() && f->end <= cell) {
            ++f;
        }
        out[i].row = f != fills.end() && f->first <= cell ? f->row : -1;
    }
}

// Tunnels: runs of one montagna value. A run belongs to the last tunnel row whose cells
// hold its first cell (a later tunnel writes over an earlier one), and shows the type that
// row wrote.
void add_tunnels(const run_state& state, std::vector<element>& out) {
    const std::size_t first = out.size();
    add_runs(state.celle, state.celle.size(), element_kind::tunnel,
             [](const cella& k) { return int{k.montagna}; }, true, out);
    const std::vector<traced_tunnel>& tunnels = state.trace.tunnels;
    for (std::size_t i = first; i < out.size(); ++i) {
        element& t = out[i];
        for (auto it = tunnels.rbegin(); it != tunnels.rend(); ++it) {
            const std::int64_t from = near(static_cast<double>(it->start) / metres_per_cell);
            const std::int64_t to = near(static_cast<double>(it->end) / metres_per_cell - 1.0);
            if (from <= t.cell && t.cell <= to) {
                t.row = it->row;
                t.value = it->type;
                break;
            }
        }
    }
}

// A list of lists in one array: the values of list i are values[starts[i]] up to
// values[starts[i + 1]].
void group(std::size_t lists, const std::vector<std::pair<std::int32_t, std::int32_t>>& pairs,
           std::vector<std::int32_t>& starts, std::vector<std::int32_t>& values) {
    starts.assign(lists + 1, 0);
    for (const auto& [list, value] : pairs) {
        ++starts[static_cast<std::size_t>(list) + 1];
    }
    for (std::size_t i = 0; i < lists; ++i) {
        starts[i + 1] += starts[i];
    }
    values.resize(pairs.size());
    std::vector<std::int32_t> next(starts.begin(), starts.end() - 1);
    for (const auto& [list, value] : pairs) {
        values[static_cast<std::size_t>(next[static_cast<std::size_t>(list)]++)] = value;
    }
}

std::span<const std::int32_t> list_of(const std::vector<std::int32_t>& starts,
                                      const std::vector<std::int32_t>& values, std::int32_t i) {
    if (i < 0 || static_cast<std::size_t>(i) + 1 >= starts.size()) {
        return {};
    }
    const auto from = static_cast<std::size_t>(starts[static_cast<std::size_t>(i)]);
    const auto to = static_cast<std::size_t>(starts[static_cast<std::size_t>(i) + 1]);
    return std::span<const std::int32_t>(values).subspan(from, to - from);
}

}  // namespace

element_index::element_index(const run_state& state) {
    const auto mark = [&](element_kind kind) {
        first_[static_cast<std::size_t>(kind)] = elements_.size();
    };
    const auto append = [&](element_kind kind, const std::vector<element>& list) {
        mark(kind);
        elements_.insert(elements_.end(), list.begin(), list.end());
    };
    mark(element_kind::station);
    add_stations(state, elements_);
    const point_lists points = point_elements(state);
    append(element_kind::signal, points.signals);
    append(element_kind::board, points.boards);
    append(element_kind::speed_board, points.speed_boards);
    append(element_kind::slowdown, points.slowdowns);
    mark(element_kind::tunnel);
    add_tunnels(state, elements_);
    const traced_profiles& fills = state.trace.profiles;
    mark(element_kind::speed);
    add_profile(state, element_kind::speed, fills.speed,
                [](const cella& k) { return k.vel_limite * 5; }, elements_);
    mark(element_kind::gradient);
    add_profile(state, element_kind::gradient, fills.gradient,
                [](const cella& k) { return k.pendenza - 100; }, elements_);
    mark(element_kind::adhesion);
    add_profile(state, element_kind::adhesion, fills.adhesion,
                [](const cella& k) { return int{k.aderenza}; }, elements_);
    mark(element_kind::curve);
    for (const traced_curve& c : state.trace.curves) {
        elements_.push_back({element_kind::curve, static_cast<std::int32_t>(c.start),
                             static_cast<std::int32_t>(c.end), -1, -1, c.row});
    }
    append(element_kind::code_point, points.code_points);
    first_[element_kinds] = elements_.size();

    const reading_trace& trace = state.trace;
    const std::size_t rows = trace.rows.size();
    entries_.resize(rows);
    lines_.resize(rows);
    for (std::size_t r = 0; r < rows; ++r) {
        lines_[r] = {trace.rows[r].document, trace.rows[r].line, static_cast<std::int32_t>(r)};
        entries_[r] = trace.rows[r].entry;
    }
    // The readers make rows in document order, so this sort has nothing to do.
    if (!std::is_sorted(lines_.begin(), lines_.end())) {
        std::stable_sort(lines_.begin(), lines_.end());
    }
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    for (std::size_t c = 0; c < trace.cells.size(); ++c) {
        const std::int32_t r = trace.cells[c].row;
        if (r >= 0 && static_cast<std::size_t>(r) < rows) {
            pairs.emplace_back(r, static_cast<std::int32_t>(c));
        }
    }
    group(rows, pairs, cell_starts_, cells_);
    pairs.clear();
    for (std::size_t i = 0; i < elements_.size(); ++i) {
        const std::int32_t r = elements_[i].row;
        if (r >= 0 && static_cast<std::size_t>(r) < rows) {
            pairs.emplace_back(r, static_cast<std::int32_t>(i));
        }
    }
    group(rows, pairs, element_starts_, element_numbers_);
}

std::span<const element> element_index::of(element_kind kind) const {
    const auto k = static_cast<std::size_t>(kind);
    return std::span<const element>(elements_).subspan(first_[k], first_[k + 1] - first_[k]);
}

std::optional<std::int32_t> element_index::row_at(source_document document, int line) const {
    const auto it = std::lower_bound(lines_.begin(), lines_.end(), line_row{document, line, -1});
    if (it == lines_.end() || it->document != document || it->line != line) {
        return std::nullopt;
    }
    return it->row;
}

std::int32_t element_index::entry_of(std::int32_t row) const {
    return row >= 0 && static_cast<std::size_t>(row) < entries_.size()
               ? entries_[static_cast<std::size_t>(row)]
               : -1;
}

std::span<const std::int32_t> element_index::cells_of(std::int32_t row) const {
    return list_of(cell_starts_, cells_, row);
}

std::span<const std::int32_t> element_index::elements_of(std::int32_t row) const {
    return list_of(element_starts_, element_numbers_, row);
}

}  // namespace scenario
