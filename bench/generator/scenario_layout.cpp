#include "generator/scenario_layout.hpp"

#include <algorithm>
#include <stdexcept>

#include "generator/cell_occupancy.hpp"
#include "model/cella.hpp"

namespace scenario::bench {

namespace {

constexpr std::int32_t cell_length = 50;

// The cell of a point element at a position that is a multiple of 50.
std::int64_t point_cell(std::int64_t position) {
    return position / cell_length + 1;
}
// The position whose point element lands in cell c.
std::int32_t position_of_cell(std::int64_t c) {
    return static_cast<std::int32_t>((c - 1) * cell_length);
}
std::int32_t down_to_50(std::int64_t metres) {
    return static_cast<std::int32_t>(metres / cell_length * cell_length);
}

// The slowdown's own signals: one inside the warning board's search of 20 cells, one
// inside the search of 12 cells after the end cell.
constexpr std::int64_t signal_before_warning = 10;
constexpr std::int64_t signal_after_end = 6;

constexpr signal_entry signal_patterns[] = {
    {0, {2, 4, 0, 0, 0, 0, 0, 0, 0, 0}},   {0, {2, 4, 0, 0, 0, 2, 2, 0, 0, 0}},
    {0, {2, 5, 6, 0, 0, 2, 2, 1, 0, 0}},   {0, {2, 2, 4, 1, 0, 2, 2, 1, 1, 0}},
    {0, {2, 4, 1, 0, 0, 2, 2, 1, 0, 230}}, {0, {2, 3, 0, 0, 0, 0, 0, 0, 0, 250}},
    {0, {2, 3, 1, 1, 0, 2, 2, 1, 1, 0}},
};

signal_entry make_signal(std::int32_t position, std::int64_t n) {
    signal_entry s = signal_patterns[static_cast<std::size_t>(n) % std::size(signal_patterns)];
    s.position = position;
    return s;
}

void add_curves(scenario_layout& out) {
    const std::int32_t last = std::min(out.route_length, longest_route - 1);
    for (std::int32_t k = 0;; ++k) {
        const std::int32_t start = 1000 * k + 300;
        const std::int32_t length = 300 + 50 * (k % 3);
        if (start + length > last) {
            break;
        }
        out.curves.push_back({start, length, k % 2 == 0 ? 's' : 'd', k % 6 + 1});
    }
}

void add_gradients(scenario_layout& out) {
    // A slow wave between -12 and 12, one step per row.
    for (std::int32_t i = 0; 100 * i <= out.route_length; ++i) {
        const std::int32_t phase = i % 48;
        const std::int32_t g = phase <= 12 ? phase : phase <= 36 ? 24 - phase : phase - 48;
        out.gradients.push_back({100 * i, g});
    }
}

void add_tunnels(scenario_layout& out) {
    const int count = std::min<std::int32_t>(most_tunnels, out.route_length / 1000);
    if (count == 0) {
        return;
    }
    const std::int32_t spacing = down_to_50(out.route_length / count);
    const std::int32_t length = std::min<std::int32_t>(2000, down_to_50(spacing / 2));
    for (int k = 0; k < count; ++k) {
        const std::int32_t start = k * spacing + down_to_50(spacing / 4);
        out.tunnels.push_back({start, start + length, k < count / 2 ? 11 : 12});
    }
}

void add_profiles(scenario_layout& out) {
    constexpr std::int32_t speeds[] = {140, 130, 120, 100, 140, 150, 90};
    constexpr std::int32_t adhesion[] = {85, 95, 100, 82, 98, 97};
    out.speeds.push_back({0, 80});
    out.adhesion.push_back({0, 100});
    for (std::int32_t k = 1; 5000 * k <= out.route_length; ++k) {
        out.speeds.push_back({5000 * k, speeds[k % std::size(speeds)]});
        out.adhesion.push_back({5000 * k, adhesion[k % std::size(adhesion)]});
    }
}

void add_slowdowns(scenario_layout& out, cell_occupancy& cells) {
    constexpr std::int32_t speeds[] = {40, 60, 80, 30, 100, 120};
    constexpr std::int32_t lengths[] = {400, 600, 800, 1000, 200, 500};
    for (std::int32_t j = 0;; ++j) {
        const std::int32_t x = 10000 * j + 6000;
        const std::int32_t l = lengths[j % std::size(lengths)];
        if (x + l + 2000 > out.route_length) {
            break;
        }
        const std::int64_t warning = point_cell(x - 1200);
        const std::int64_t start = point_cell(x);
        const std::int64_t end = point_cell(x + l);
        const std::int64_t before = warning - signal_before_warning;
        const std::int64_t after = end + signal_after_end;
        for (std::int64_t c = warning - 4; c <= warning; ++c) {
            cells.take(c);  // the warning board and the four pre-warning cells
        }
        cells.take(start);
        cells.take(end);
        cells.take(before);
        cells.take(after);
        // No other signal where the pass looks for one; free cells wherever it may put
        // a code point: before each of the two signals, in the three windows before
        // the start and all along the slowdown.
        cells.forbid_signals(warning - 20, warning - 1);
        cells.forbid_signals(end, after - 1);
        cells.keep_free(before - 2, before - 1);
        cells.keep_free(after - 2, after - 1);
        cells.keep_free(start - 20, start - 5);
        cells.keep_free(start + 1, end - 1);
        out.slowdowns.push_back({x, speeds[j % std::size(speeds)], l, j % 2, 1, 0});
        out.signals.push_back(make_signal(position_of_cell(before), 2 * j));
        out.signals.push_back(make_signal(position_of_cell(after), 2 * j + 1));
    }
}

// Moves a point element forward 50 m at a time to the first cell it may use, at most
// `tries` times; returns -1 when there is none.
template <typename Usable>
std::int32_t settle(std::int32_t position, int tries, Usable usable) {
    for (int i = 0; i <= tries; ++i, position += cell_length) {
        if (usable(point_cell(position))) {
            return position;
        }
    }
    return -1;
}

struct station_area {
    std::int32_t start;
    std::int32_t end;
};

station_area area_of(const station_entry& s) {
    if (s.kind == 5 || s.kind == 6) {
        return {s.position - s.length, s.position + 150};
    }
    if (s.kind == 7 || s.kind == 8) {
        return {s.position - s.length, s.position + s.length};
    }
    const std::int32_t later = s.fields[2] != 0 ? cell_length : 0;
    return {s.position - s.length / 2, s.position + s.length / 2 + later};
}

bool has_reference_cell(const station_entry& s) {
    return s.kind < 25;
}

std::int64_t reference_cell(const station_entry& s) {
    return area_of(s).end / cell_length - 1;
}

station_entry make_station(int n, std::int32_t position) {
    station_entry s{};
    s.position = position;
    if (n == 0) {
        s.kind = 4;
        s.length = 900;
        const std::int32_t fields[10] = {1, 0, 0, 4, 1, 1, 2, 1, 1, 1};
        std::copy(std::begin(fields), std::end(fields), s.fields);
    } else {
        constexpr std::int32_t kinds[] = {22, 12, 11, 2, 4, 5, 25};
        constexpr std::int32_t lengths[] = {300, 600, 400, 700, 500};
        s.kind = kinds[n % std::size(kinds)];
        s.length = lengths[n % std::size(lengths)];
        const std::int32_t fields[10] = {0, 0, n % 2, 1, 1, 0, 4, 1, 1, 0};
        std::copy(std::begin(fields), std::end(fields), s.fields);
    }
    // A train leaving at 6:00 that runs at 72 km/h and has two minutes more for each
    // station: a timetable it can keep even between stations 700 m apart, by the speeds
    // allowed and by the estimate with acceleration and braking (scenario timetable).
    const std::int32_t seconds = 6 * 3600 + position / 20 + 120 * n;
    s.hours = seconds / 3600;
    s.minutes = seconds / 60 % 60;
    s.seconds = seconds % 60;
    s.name = "STAZIONE " + std::to_string(n + 1);
    return s;
}

void add_stations(scenario_layout& out, cell_occupancy& cells) {
    const std::int32_t last_position =
        std::min<std::int64_t>(out.route_length - 500, out.last_cell * cell_length - 800);
    const std::int32_t span = last_position - 1000;
    std::int32_t previous_end = 0;
    for (int n = 0; n < most_stations; ++n) {
        const std::int32_t ideal =
            n == 0 ? 0 : down_to_50(std::int64_t{span} * n / (most_stations - 1));
        station_entry s = make_station(n, ideal);
        while (s.position <= last_position) {
            const station_area area = area_of(s);
            const bool spaced = n == 0 || area.start - 350 >= previous_end;
            if (spaced && (!has_reference_cell(s) || cells.usable(reference_cell(s)))) {
                break;
            }
            s = make_station(n, s.position + cell_length);
        }
        if (s.position > last_position) {
            break;
        }
        if (has_reference_cell(s)) {
            cells.take(reference_cell(s));
        }
        previous_end = area_of(s).end;
        out.stations.push_back(std::move(s));
    }
}

void add_signs(scenario_layout& out, cell_occupancy& cells) {
    for (int k = 0; k < sign_count; ++k) {
        std::int32_t p =
            down_to_50(std::int64_t{out.route_length} * (2 * k + 1) / (2 * sign_count));
        std::int32_t placed = -1;
        while (placed < 0 && p < out.route_length) {
            placed = settle(p, 0, [&](std::int64_t c) { return cells.usable(c); });
            p += cell_length;
        }
        if (placed < 0) {
            continue;
        }
        cells.take(point_cell(placed));
        out.signs.push_back({placed, "(  BIVIO   )( Km " + std::to_string(placed / 1000) + " )"});
    }
}

// The speed limit of a profile at a position: the value of its last entry at or before it.
std::int32_t limit_at(const std::vector<profile_entry>& profile, std::int32_t position) {
    std::int32_t value = 0;
    for (const profile_entry& e : profile) {
        if (e.position > position) {
            break;
        }
        value = e.value;
    }
    return value;
}

void add_speed_boards(scenario_layout& out, cell_occupancy& cells) {
    for (std::int32_t k = 0; 2000 * k + 1000 <= out.route_length - 500; ++k) {
        const std::int32_t p =
            settle(2000 * k + 1000, 30, [&](std::int64_t c) { return cells.usable(c); });
        if (p < 0) {
            continue;
        }
        cells.take(point_cell(p));
        // The board shows the train's limit where it stands as its rank B speed, as the
        // built-in line's boards do.
        const std::int32_t limit = limit_at(out.speeds, p);
        speed_board_entry b{p, {limit - 10, limit, limit + 10, (2 - k % 3)}, {}, k % 4 == 0};
        if (b.has_right) {
            std::copy(std::begin(b.left), std::end(b.left), b.right);
        }
        out.speed_boards.push_back(b);
    }
}

void add_signals(scenario_layout& out, cell_occupancy& cells) {
    for (std::int32_t k = 1; 1350 * k <= out.route_length - 500; ++k) {
        const std::int32_t p =
            settle(1350 * k, 30, [&](std::int64_t c) { return cells.usable_by_signal(c); });
        if (p < 0) {
            continue;
        }
        cells.take(point_cell(p));
        out.signals.push_back(make_signal(p, k - 1));
    }
    std::sort(out.signals.begin(), out.signals.end(),
              [](const signal_entry& a, const signal_entry& b) { return a.position < b.position; });
}

}  // namespace

scenario_layout make_layout(std::int32_t route_length) {
    if (route_length < 10000 || route_length > longest_route) {
        throw std::invalid_argument("route length must lie between 10000 and 1000000 m");
    }
    scenario_layout out;
    out.scenario_name = "Banco_" + std::to_string(route_length / 1000) + "km";
    out.train_name = "9 bis";
    out.route_length = route_length;
    out.last_cell = ultima_cella(route_length);
    cell_occupancy cells(out.last_cell);
    add_curves(out);
    add_gradients(out);
    add_tunnels(out);
    add_profiles(out);
    // Slowdowns first: their stretches decide where everything else may go.
    add_slowdowns(out, cells);
    add_stations(out, cells);
    add_signs(out, cells);
    add_speed_boards(out, cells);
    add_signals(out, cells);
    return out;
}

}  // namespace scenario::bench
