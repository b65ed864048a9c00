#include <algorithm>
#include <cctype>
#include <string_view>

#include "compiler/diagnostics.hpp"
#include "compiler/messages.hpp"
#include "timetable/timetable.hpp"

namespace scenario {

namespace {

// The fields of a station row that hold its time: hours, minutes and seconds, the 14th to
// 16th fields after the keyword.
constexpr std::size_t hours_field = 14;
constexpr std::size_t seconds_field = 16;

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// Where a station row writes its time, when the row is written on one line with commas
// between its fields (as every station row the tool writes or lays out is); otherwise the
// row's own place, its chainage.
error_place time_place(const run_state& state, const source_row& row) {
    error_place place = place_of_row(state, row);
    const std::string_view text = row_text(state.trace, row);
    std::vector<std::size_t> commas;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ',') {
            commas.push_back(i);
        }
    }
    if (commas.size() <= seconds_field || row.column <= 0 ||
        static_cast<std::size_t>(row.column) <= commas[0] + 1 ||
        static_cast<std::size_t>(row.column) > commas[1]) {
        return place;  // the chainage is not the first field of this line
    }
    std::size_t first = commas[hours_field - 1] + 1;
    std::size_t last = commas[seconds_field];
    while (first < last && blank(text[first])) {
        ++first;
    }
    while (last > first && blank(text[last - 1])) {
        --last;
    }
    if (first == last) {
        return place;
    }
    place.column = static_cast<int>(first) + 1;
    place.end_column = static_cast<int>(last);
    return place;
}

bool contains_clock_keyword(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("orologio") != std::string::npos;
}

// The row that set the clock: the last clock row of the train document.
const source_row* clock_row(const run_state& state) {
    const std::vector<source_row>& rows = state.trace.rows;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (it->document == source_document::train && it->entry == voce_treno &&
            contains_clock_keyword(row_text(state.trace, *it))) {
            return &*it;
        }
    }
    return nullptr;
}

const source_row* row_of(const run_state& state, const timetable_station& s) {
    return s.row >= 0 && static_cast<std::size_t>(s.row) < state.trace.rows.size()
               ? &state.trace.rows[static_cast<std::size_t>(s.row)]
               : nullptr;
}

const std::string& name_of(const run_state& state, const timetable_station& s) {
    return state.voci[static_cast<std::size_t>(s.entry)].nome;
}

void warn_station(run_state& state, warning w, const timetable_station& s,
                  const timetable_station& before, std::string message) {
    const source_row* row = row_of(state, s);
    std::vector<diagnostic_note> notes;
    if (const source_row* b = row_of(state, before)) {
        notes.push_back(note_at_row(state, *b,
                                    say(phrase::note_timed_before,
                                        {name_of(state, before), clock_text(*before.time)})));
    }
    record_warning(state, w, row != nullptr ? time_place(state, *row) : error_place{},
                   std::move(message), std::move(notes));
}

}  // namespace

void record_timetable_warnings(run_state& state, const timetable_options& options) {
    if (state.codice_errore != 0 || state.trace.counts.speed_rows == 0) {
        return;
    }
    const timetable t = make_timetable(state, options, false);
    const auto first = std::find_if(t.stations.begin(), t.stations.end(),
                                    [](const timetable_station& s) { return s.time; });
    if (first == t.stations.end()) {
        return;
    }
    const std::int64_t late = late_start(t.clock, *first->time);
    if (late > 0) {
        const source_row* clock = clock_row(state);
        const source_row* at_first = row_of(state, *first);
        std::vector<diagnostic_note> notes;
        if (clock != nullptr && at_first != nullptr) {
            notes.push_back(note_at_row(
                state, *at_first,
                say(phrase::note_timed_here, {name_of(state, *first), clock_text(*first->time)})));
        }
        const error_place place = clock != nullptr      ? place_of_row(state, *clock)
                                  : at_first != nullptr ? time_place(state, *at_first)
                                                        : error_place{};
        record_warning(state, warning::timetable, place,
                       say(phrase::clock_after_departure,
                           {clock_text(t.clock), duration_text(late),
                            name_of(state, *first), clock_text(*first->time)}),
                       std::move(notes));
    }
    for (const timetable_station& s : t.stations) {
        if (!s.previous || !s.available) {
            continue;
        }
        const timetable_station& before = t.stations[static_cast<std::size_t>(*s.previous)];
        const std::string& name = name_of(state, s);
        const std::string& before_name = name_of(state, before);
        if (s.blocked) {
            warn_station(state, warning::timetable, s, before,
                         say(phrase::timetable_blocked,
                             {name, before_name, std::to_string(*s.blocked)}));
            continue;
        }
        const std::int64_t available = *s.available;
        const std::int64_t least = whole_seconds(s.least.value_or(0));
        if (available < least) {
            warn_station(state, warning::timetable, s, before,
                         say(phrase::timetable_too_short,
                             {name, duration_text(available), before_name,
                              clock_text(*before.time), clock_text(*s.time),
                              std::to_string(std::int64_t{s.position} - before.position),
                              duration_text(least)}));
            continue;
        }
        if (options.tight && s.estimate && available < whole_seconds(*s.estimate)) {
            warn_station(state, warning::timetable_tight, s, before,
                         say(phrase::timetable_tight,
                             {name, duration_text(available), before_name,
                              duration_text(whole_seconds(*s.estimate)),
                              two_decimals(t.acceleration), std::to_string(t.braked_mass),
                              duration_text(least)}));
        }
    }
}

}  // namespace scenario
