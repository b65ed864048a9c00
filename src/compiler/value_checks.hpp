#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/reading.hpp"
#include "model/clock.hpp"

namespace scenario {

// Warnings about values that no railway has, and about what the train document as a
// whole leaves out, beside those the entries make as they read their fields.

// Hours, minutes and seconds outside a day's clock: one warning, at the first field out
// of its range; `stored` says what becomes of the time.
void check_time_of_day(reading& r, const std::array<std::int64_t, 3>& hms,
                       const field_place (&at)[3], std::string_view stored);

// After a train document read to its end: the speed boards whose speeds the speed limit
// never comes down to within their reach, and the train's values it leaves out.
void check_read_train(reading& r);

// After both documents: a note on every error that stopped the reading of a document,
// saying how many rows were not read (and that the train document was not read at all,
// when the line document stopped). `unread_train` is the train document's text when its
// reading never began.
void note_where_reading_stopped(reading& r, std::string_view line_text,
                                std::string_view train_text, bool train_unread);

}  // namespace scenario
