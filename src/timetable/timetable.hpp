#pragma once

#include "model/clock.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/run_state.hpp"

namespace scenario {

// The acceleration the estimate gives a train on the level when no other is asked for, in
// m/s²: about what a passenger train reaches from a standstill up to its line speed
// (docs/timetable.md). The tool's --acceleration overrides it.
constexpr double default_acceleration = 0.5;
// The accelerations the tool accepts, in m/s²: more than 0, at most this.
constexpr double highest_acceleration = 5.0;

// What a timetable is worked out with, and which of its warnings a compile records.
struct timetable_options {
    double acceleration = default_acceleration;
    bool tight = false;  // record -Wtimetable-tight (off unless asked for)
};

// One station of the train document, in route order, with what the timetable says of it.
struct timetable_station {
    std::int32_t entry = 0;     // its header entry (1 up)
    std::int32_t position = 0;  // progressiva, m
    std::int32_t row = -1;      // the trace row that filled its entry, -1 for none
    std::optional<std::int32_t> time;  // orario, s after midnight; none when 0 (not timed)

    // For a timed station after the first timed one: the time the timetable gives from the
    // timed station before it (a time earlier than that one's by more than 12 hours is read
    // as the next day's), and what the train needs for it.
    std::optional<std::int32_t> previous;   // the index of that station in the list
    std::optional<std::int64_t> available;  // s
    // At the speeds allowed, without accelerating or braking; none when a stretch of the
    // way allows 0 km/h (then `blocked` is where).
    std::optional<double> least;
    // Starting from rest, accelerating and braking (to rest here); none without a braking
    // figure or when the way is blocked.
    std::optional<double> estimate;
    std::optional<std::int32_t> blocked;  // the first metre of the way that allows 0 km/h

    // The fastest run (from the first timed station at its time, waiting at each timed
    // station until its time): when it passes or reaches this station, and, for a timed
    // one, when it leaves it. None before the first timed station, after the last, and
    // from a blocked way on.
    std::optional<double> arrival;
    std::optional<double> departure;
};

// A point of the fastest run's time-distance line: at `position` m at `time` s.
struct run_point {
    double position = 0;
    double time = 0;
};

// The timetable of a compiled scenario.
struct timetable {
    std::vector<timetable_station> stations;
    std::int32_t clock = 0;        // the clock when the run starts, s (entry 86)
    std::int32_t braked_mass = 0;  // the braked-mass percentage (entry 84)
    double acceleration = default_acceleration;  // on the level, m/s²
    std::optional<double> braking;  // on the level, m/s²; none for a braked mass of 0 or less
    bool has_speeds = false;  // the train document has a speed limit profile
    std::vector<run_point> run;  // the fastest run, in position order (a wait: two points)

    // The number of timed stations.
    std::size_t timed() const;
};

// How long after a departure at `departure` s the clock starts at `clock` s: 0 or less when
// it starts in time. A clock more than 12 hours after the departure is the day before's
// (23:59 before a departure at 00:05).
std::int64_t late_start(std::int32_t clock, std::int32_t departure);

// The running times in whole seconds as the tool and the warnings show them: rounded up,
// a figure a few millionths of a second above a whole second counting as that second.
std::int64_t whole_seconds(double seconds);

// A timed station's margin in whole seconds: the time given less the estimate (less the
// least running time when there is no estimate); none when neither is known.
std::optional<std::int64_t> margin_of(const timetable_station& s);

// The braking the Minden formula gives a train of this braked-mass percentage on a
// gradient (per mille, positive uphill), in m/s²; none for 0 or less.
std::optional<double> braking_of(std::int32_t braked_mass, double gradient);

// Works out the timetable of a run state: its stations and times (entries 1 up, as many
// as the train document stored), the speeds allowed cell by cell (the speed limit profile,
// lowered by each slowdown from its start to its end), the gradients, the braked-mass
// percentage and the clock. `with_run`: also the fastest run and its line (the warnings
// need neither).
timetable make_timetable(const run_state& state, const timetable_options& options,
                         bool with_run = true);

// Records the timetable's warnings in the run state: -Wtimetable at each timed station
// the train cannot reach in the time given at the speeds allowed, and when the clock
// starts after the first timed station's time; -Wtimetable-tight (when asked for) at each
// one it reaches in time at those speeds but not by the estimate. Nothing for a run
// state with an error, or without a speed limit profile.
void record_timetable_warnings(run_state& state, const timetable_options& options);

// "07" for 7, "12" for 12, "123" for 123.
std::string two_digits(std::int64_t v);
// "0.83" for 0.825216: an acceleration or a braking as messages and tables show it.
std::string two_decimals(double v);
// "3 min 12 s", "1 h 2 min 5 s", "45 s", "-10 min 0 s" for a running time in seconds.
std::string duration_text(std::int64_t seconds);

}  // namespace scenario
