#include "report/timetable_json.hpp"

#include <cmath>
#include <optional>
#include <string_view>
#include <type_traits>

#include "compiler/diagnostics.hpp"

namespace scenario {

namespace {

// Times of the fastest run to a tenth of a second: the line is drawn, not read to the
// millisecond.
double tenths(double seconds) {
    return std::round(seconds * 10) / 10;
}

template <typename T>
void optional_member(json_writer& json, std::string_view name, const std::optional<T>& v) {
    json.key(name);
    if (!v) {
        json.null();
    } else if constexpr (std::is_floating_point_v<T>) {
        json.number(tenths(*v));
    } else {
        json.integer(static_cast<std::int64_t>(*v));
    }
}

std::optional<std::int64_t> whole(const std::optional<double>& seconds) {
    return seconds ? std::optional<std::int64_t>(whole_seconds(*seconds)) : std::nullopt;
}

}  // namespace

void write_timetable_json(const timetable& t, const run_state& state, const document_paths& paths,
                          json_writer& json) {
    json.begin_object();
    json.member("braked_mass", t.braked_mass);
    json.key("braking");
    if (t.braking) {
        json.number(*t.braking);
    } else {
        json.null();
    }
    json.key("acceleration");
    json.number(t.acceleration);
    json.member("clock", t.clock);
    json.key("speeds");
    json.boolean(t.has_speeds);
    json.key("stations");
    json.begin_array();
    for (const timetable_station& s : t.stations) {
        json.begin_object();
        json.member("entry", s.entry);
        json.member_document("name", state.voci[static_cast<std::size_t>(s.entry)].nome);
        json.member("position", s.position);
        optional_member(json, "time", s.time);
        optional_member(json, "previous", s.previous);
        optional_member(json, "available", s.available);
        optional_member(json, "least", whole(s.least));
        optional_member(json, "estimate", whole(s.estimate));
        optional_member(json, "margin", margin_of(s));
        optional_member(json, "blocked", s.blocked);
        optional_member(json, "arrival", s.arrival);
        optional_member(json, "departure", s.departure);
        const std::vector<source_row>& rows = state.trace.rows;
        if (s.row >= 0 && static_cast<std::size_t>(s.row) < rows.size()) {
            const source_row& row = rows[static_cast<std::size_t>(s.row)];
            json.member("document", paths(document_name(state, row.document)));
            json.member("line", row.line);
        } else {
            json.member_null("document");
            json.member_null("line");
        }
        json.end_object();
    }
    json.end_array();
    json.key("run");
    json.begin_array();
    for (const run_point& p : t.run) {
        json.begin_array();
        json.number(p.position);
        json.number(tenths(p.time));
        json.end_array();
    }
    json.end_array();
    json.end_object();
}

}  // namespace scenario
