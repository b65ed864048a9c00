#pragma once

#include <cstdint>

namespace scenario {

// The limits the warnings about values no railway has hold a document's values against.
// Each is a figure of railways as they run, or of the documents' own scales, far inside
// what the files can hold.

// No railway runs trains faster than 350 km/h in regular service (the fastest high-speed
// lines in operation); the runs on rails above it were speed trials.
constexpr std::int32_t fastest_line_speed = 350;

// Adhesion railways climb at most about 70 per mille in regular service, on the steepest
// mountain lines; steeper ones need a rack or a cable.
constexpr std::int32_t steepest_gradient = 70;

// The train document's adhesion scale: 100 for unreduced adhesion (a dry, clean rail),
// lower values for worse.
constexpr std::int32_t unreduced_adhesion = 100;

// The boards before a speed change count down at most 3, 2, 1 stripes where railways
// mark them so; the built-in line counts 2, 1, 0.
constexpr std::int32_t most_stripes = 3;

// The compile tells station kinds apart up to 25: below it a station takes a cell (kinds
// 5 to 8 with areas of their own), and 25, the highest kind the built-in train uses,
// marks a station without one.
constexpr int highest_station_kind = 25;

// A day's clock.
constexpr std::int32_t hours_a_day = 24;
constexpr std::int32_t minutes_an_hour = 60;
constexpr std::int32_t seconds_a_minute = 60;
// A station's time more than 12 hours before the one before it is taken for a run past
// midnight, not for a time that goes back.
constexpr std::int32_t midnight_crossing = 12 * 3600;

// How far ahead of a speed change a speed board stands: the 1200 m at which the model
// puts a slowdown's warning board, and 500 m more for each stripe, the spacing of the
// built-in line's countdown boards.
constexpr std::int32_t board_reach = 1200;
constexpr std::int32_t stripe_spacing = 500;

}  // namespace scenario
