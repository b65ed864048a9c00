#include "timetable/timetable.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/cella.hpp"
#include "model/voce.hpp"

namespace scenario {

namespace {

constexpr double cell_metres = metres_per_cell;
constexpr std::int64_t day = 86400;  // s
constexpr std::int64_t half_day = day / 2;
constexpr double gravity = 9.81;  // m/s²
constexpr double infinite = std::numeric_limits<double>::infinity();
// A running time this far above a whole second is that second: sums of cell times carry
// rounding errors of about 1e-12 s, and 50 m at 120 km/h is 1.5 s exactly.
constexpr double rounding_slack = 1e-6;

// The Minden formula for a train's braking distance, s = 3.85 v² / (6.1 ψ (1 + λ/10) + i)
// with v in km/h, s in metres, λ the braked-mass percentage and i the gradient in per
// mille (positive uphill), taken with ψ = 1. As a steady deceleration, v² / (2 s) with v
// in m/s, it is the denominator over 2 x 3.85 x 3.6².
constexpr double minden_speed_factor = 3.85;
constexpr double minden_braking_factor = 6.1;
constexpr double minden_to_deceleration = 2 * minden_speed_factor * 3.6 * 3.6;

// Neither the acceleration nor the braking a gradient leaves is taken below this part of
// its value on the level: a train is assumed to hold its way up a climb it could not
// speed up on, and to brake on a steep fall.
constexpr double least_part_on_gradients = 0.1;

// What the track allows and how it climbs, cell by cell.
struct track {
    std::vector<std::int32_t> speed;     // km/h: the speed limit lowered by slowdowns
    std::vector<std::int32_t> gradient;  // per mille
};

track track_of(const run_state& state) {
    const griglia& celle = state.celle;
    track t;
    t.speed.resize(celle.size());
    t.gradient.resize(celle.size());
    for (std::size_t c = 0; c < celle.size(); ++c) {
        t.speed[c] = 5 * std::int32_t{celle[c].vel_limite};
        t.gradient[c] = std::int32_t{celle[c].pendenza} - 100;
    }
    // A slowdown runs from its start cell to the next end cell, each lying where the cell
    // puts a point element (50 m before the cell's start), as the drawing shows it; its
    // speed is the one its start cell holds. A start or an end without the other (its cell
    // taken over by another element) lowers nothing.
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t open = none;  // the start cell of the slowdown not yet ended
    for (std::size_t c = 0; c < celle.size(); ++c) {
        if (celle[c].tipo_cella == tipo::inizio_rallentamento) {
            open = c;
        } else if (celle[c].tipo_cella == tipo::fine_rallentamento && open != none) {
            const std::int32_t speed = std::max<std::int32_t>(0, celle[open].valore1);
            for (std::size_t k = open - std::min<std::size_t>(open, 1); k + 1 < c; ++k) {
                t.speed[k] = std::min(t.speed[k], speed);
            }
            open = none;
        }
    }
    return t;
}

double metres_per_second(std::int32_t kmh) {
    return kmh / 3.6;
}

// The time to run d metres while v² changes linearly from u2 to w2 (a steady
// acceleration, or a steady speed): the distance over the mean speed.
double piece_time(double d, double u2, double w2) {
    if (d <= 0) {
        return 0;
    }
    const double sum = std::sqrt(std::max(0.0, u2)) + std::sqrt(std::max(0.0, w2));
    return sum > 0 ? 2 * d / sum : infinite;
}

// The time through one cell entered with v² = v0 and left with v² = v1, allowed v² = m
// inside, speeding up by `a` and braking by `b` (m/s²): the train speeds up from the
// entry, runs at the allowed speed if it reaches it, and brakes for the exit as late as
// it can.
double cell_time(double v0, double v1, double m, double a, double b) {
    const double d = cell_metres;
    const double x = std::clamp((v1 + 2 * b * d - v0) / (2 * (a + b)), 0.0, d);
    const double peak = v0 + 2 * a * x;
    if (peak <= m) {
        return piece_time(x, v0, peak) + piece_time(d - x, peak, v1);
    }
    const double xa = std::clamp((m - v0) / (2 * a), 0.0, d);
    const double xc = std::clamp(d - (m - v1) / (2 * b), xa, d);
    return piece_time(xa, v0, m) + piece_time(xc - xa, m, m) + piece_time(d - xc, m, v1);
}

// One way from a stop to the next: its cells and, once run, the time at each cell
// boundary (from 0 at the first) and whether the train holds one speed through each
// cell.
struct way {
    std::size_t first = 0;  // the first cell
    std::size_t cells = 0;
    std::vector<double> at;      // cells + 1 times
    std::vector<bool> steady;    // per cell
};

double acceleration_on(double level, std::int32_t gradient) {
    return std::max(level - gravity * gradient / 1000.0, least_part_on_gradients * level);
}

double braking_on(std::int32_t braked_mass, double level, std::int32_t gradient) {
    return std::max(braking_of(braked_mass, gradient).value_or(0.0),
                    least_part_on_gradients * level);
}

// The fastest run over a way from rest to rest, accelerating and braking; the way must
// allow more than 0 km/h in every cell.
void run_braking(way& w, const track& t, double acceleration, std::int32_t braked_mass,
                 double braking) {
    const std::size_t n = w.cells;
    const auto allowed = [&](std::size_t k) {  // v² allowed in cell k of the way
        const double v = metres_per_second(t.speed[w.first + k]);
        return v * v;
    };
    std::vector<double> a(n), b(n), m(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::int32_t g = t.gradient[w.first + k];
        a[k] = acceleration_on(acceleration, g);
        b[k] = braking_on(braked_mass, braking, g);
        m[k] = allowed(k);
    }
    // v² at each boundary: as fast as speeding up from the start allows, and as slow as
    // braking for the end and for every lower speed ahead needs.
    std::vector<double> v(n + 1);
    v[0] = 0;
    for (std::size_t k = 0; k < n; ++k) {
        v[k + 1] = std::min({m[k], k + 1 < n ? m[k + 1] : 0.0, v[k] + 2 * a[k] * cell_metres});
    }
    double behind = 0;  // v² braking allows at boundary k
    for (std::size_t k = n; k-- > 0;) {
        behind = std::min(m[k], behind + 2 * b[k] * cell_metres);
        if (k > 0) {
            behind = std::min(behind, m[k - 1]);
        }
        v[k] = std::min(v[k], behind);
    }
    w.at.assign(n + 1, 0.0);
    w.steady.assign(n, false);
    for (std::size_t k = 0; k < n; ++k) {
        w.at[k + 1] = w.at[k] + cell_time(v[k], v[k + 1], m[k], a[k], b[k]);
        w.steady[k] = v[k] == m[k] && v[k + 1] == m[k];
    }
}

// The run at the speeds allowed, changing speed at once.
void run_allowed(way& w, const track& t) {
    w.at.assign(w.cells + 1, 0.0);
    w.steady.assign(w.cells, true);
    for (std::size_t k = 0; k < w.cells; ++k) {
        w.at[k + 1] = w.at[k] + cell_metres / metres_per_second(t.speed[w.first + k]);
    }
}

std::size_t cell_at(std::int32_t position, std::size_t cells) {
    return static_cast<std::size_t>(std::clamp<std::int64_t>(position / metres_per_cell, 0,
                                                             static_cast<std::int64_t>(cells)));
}

// The stations the train document stored, with their rows.
std::vector<timetable_station> stations_of(const run_state& state) {
    std::vector<timetable_station> out;
    const auto stored = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(state.trace.counts.stations, 0, voce_primo_cartello - 1));
    for (std::int32_t e = 1; e <= stored; ++e) {
        timetable_station s;
        s.entry = e;
        const voce& v = state.voci[static_cast<std::size_t>(e)];
        s.position = v.progressiva;
        if (v.orario != 0) {
            s.time = v.orario;
        }
        out.push_back(s);
    }
    const std::vector<source_row>& rows = state.trace.rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::int32_t e = rows[r].entry;
        if (rows[r].document == source_document::train && e >= 1 && e <= stored) {
            out[static_cast<std::size_t>(e - 1)].row = static_cast<std::int32_t>(r);
        }
    }
    return out;
}

// The points of a way's run from `start` s on: every boundary but those inside a stretch
// run at one speed.
void add_points(const way& w, const track& t, double start, std::vector<run_point>& run) {
    for (std::size_t k = 0; k <= w.cells; ++k) {
        const bool inside = k > 0 && k < w.cells && w.steady[k - 1] && w.steady[k] &&
                            t.speed[w.first + k - 1] == t.speed[w.first + k];
        const run_point p{static_cast<double>((w.first + k) * metres_per_cell), start + w.at[k]};
        const bool again = !run.empty() && run.back().position == p.position &&
                           run.back().time == p.time;
        if (!inside && !again) {
            run.push_back(p);
        }
    }
}

}  // namespace

std::size_t timetable::timed() const {
    return static_cast<std::size_t>(std::count_if(
        stations.begin(), stations.end(), [](const timetable_station& s) { return s.time; }));
}

std::int64_t late_start(std::int32_t clock, std::int32_t departure) {
    const std::int64_t late = std::int64_t{clock} - departure;
    return late > half_day ? late - day : late;
}

std::int64_t whole_seconds(double seconds) {
    return static_cast<std::int64_t>(std::ceil(seconds - rounding_slack));
}

std::optional<std::int64_t> margin_of(const timetable_station& s) {
    if (!s.available) {
        return std::nullopt;
    }
    if (s.estimate) {
        return *s.available - whole_seconds(*s.estimate);
    }
    if (s.least) {
        return *s.available - whole_seconds(*s.least);
    }
    return std::nullopt;
}

std::optional<double> braking_of(std::int32_t braked_mass, double gradient) {
    if (braked_mass <= 0) {
        return std::nullopt;
    }
    return (minden_braking_factor * (1 + braked_mass / 10.0) + gradient) / minden_to_deceleration;
}

timetable make_timetable(const run_state& state, const timetable_options& options,
                         bool with_run) {
    timetable out;
    out.stations = stations_of(state);
    const voce& train = state.voci[voce_treno];
    out.clock = (std::int32_t{train.numero_c} * 60 + train.numero_d) * 60 + train.numero_e;
    out.braked_mass = state.voci[voce_percorso].inizio_area;
    out.acceleration = options.acceleration;
    out.braking = braking_of(out.braked_mass, 0);
    out.has_speeds = state.trace.counts.speed_rows > 0;
    if (!out.has_speeds || out.timed() < 1) {
        return out;
    }
    const track t = track_of(state);
    const std::size_t cells = t.speed.size();

    std::optional<std::size_t> before;  // the timed station before
    double timeline = 0;                // its time, a day later for each midnight passed
    double leaves = 0;                  // when the fastest run leaves it
    bool running = true;                // the fastest run has not been stopped
    for (std::size_t i = 0; i < out.stations.size(); ++i) {
        timetable_station& s = out.stations[i];
        if (!s.time) {
            continue;
        }
        if (!before) {
            // The run leaves the first timed station at its time, or when the clock starts
            // if that is later.
            timeline = *s.time;
            leaves = timeline + static_cast<double>(
                                    std::max<std::int64_t>(0, late_start(out.clock, *s.time)));
            if (with_run) {
                s.arrival = leaves;
                s.departure = leaves;
                out.run.push_back({static_cast<double>(s.position), timeline});
                if (leaves > timeline) {
                    out.run.push_back({static_cast<double>(s.position), leaves});
                }
            }
            before = i;
            continue;
        }
        const timetable_station& from = out.stations[*before];
        s.previous = static_cast<std::int32_t>(*before);
        std::int64_t available = std::int64_t{*s.time} - *from.time;
        if (available < -half_day) {
            available += day;
        }
        s.available = available;
        timeline += static_cast<double>(available);

        way w;
        w.first = cell_at(from.position, cells);
        w.cells = cell_at(s.position, cells) - std::min(w.first, cell_at(s.position, cells));
        for (std::size_t k = 0; k < w.cells && !s.blocked; ++k) {
            if (t.speed[w.first + k] <= 0) {
                s.blocked = static_cast<std::int32_t>((w.first + k) * metres_per_cell);
            }
        }
        if (!s.blocked) {
            double least = 0;
            for (std::size_t k = 0; k < w.cells; ++k) {
                least += cell_metres / metres_per_second(t.speed[w.first + k]);
            }
            s.least = least;
            if (out.braking && (options.tight || with_run)) {
                run_braking(w, t, out.acceleration, out.braked_mass, *out.braking);
                s.estimate = w.at.back();
            } else if (with_run) {
                run_allowed(w, t);
            }
        }
        if (with_run && running) {
            if (s.blocked) {
                running = false;
            } else {
                add_points(w, t, leaves, out.run);
                // Untimed stations on the way are passed when the run passes their cell.
                for (std::size_t j = *before + 1; j < i; ++j) {
                    timetable_station& passed = out.stations[j];
                    const std::size_t c = cell_at(passed.position, cells);
                    if (c >= w.first && c - w.first <= w.cells) {
                        passed.arrival = leaves + w.at[c - w.first];
                    }
                }
                s.arrival = leaves + w.at.back();
                leaves = std::max(*s.arrival, timeline);
                s.departure = leaves;
                if (leaves > *s.arrival) {
                    out.run.push_back({static_cast<double>(s.position), leaves});
                }
            }
        }
        before = i;
    }
    return out;
}

std::string two_digits(std::int64_t v) {
    std::string text = v >= 0 && v < 10 ? "0" : "";
    return text.append(std::to_string(v));
}

std::string two_decimals(double v) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

std::string duration_text(std::int64_t seconds) {
    std::string out = seconds < 0 ? "-" : "";
    const std::int64_t s = seconds < 0 ? -seconds : seconds;
    if (s >= 3600) {
        out += std::to_string(s / 3600) + " h ";
    }
    if (s >= 60) {
        out += std::to_string(s / 60 % 60) + " min ";
    }
    return out + std::to_string(s % 60) + " s";
}

}  // namespace scenario
