#include "compiler/value_checks.hpp"

#include <algorithm>
#include <vector>

#include "compiler/grid_access.hpp"
#include "compiler/railway_limits.hpp"
#include "model/cella.hpp"
#include "model/near.hpp"

namespace scenario {

namespace {

// The rows of a document text after a line: its lines that hold more than blanks and
// are not section headers.
std::int64_t rows_after(std::string_view text, int line) {
    std::int64_t rows = 0;
    int at = 1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        if (at > line) {
            std::string_view row = text.substr(start, end - start);
            while (!row.empty() && (row.front() == ' ' || row.front() == '\t')) {
                row.remove_prefix(1);
            }
            while (!row.empty() && (row.back() == ' ' || row.back() == '\t' || row.back() == '\r')) {
                row.remove_suffix(1);
            }
            if (!row.empty() && !(row.front() == '[' && row.back() == ']')) {
                ++rows;
            }
        }
        start = end + 1;
        ++at;
    }
    return rows;
}

// "a", "a or b", "a, b or c".
std::string listed(const std::vector<const char*>& items, const char* last) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? "" : i + 1 == items.size() ? last : ", ";
        out += items[i];
    }
    return out;
}

std::string stripes_text(std::int32_t stripes) {
    const std::int32_t n = std::clamp(stripes, 0, most_stripes);
    return n == 0 ? "no stripe" : std::to_string(n) + (n == 1 ? " stripe" : " stripes");
}

std::string rows_text(std::int64_t n) {
    return std::to_string(n) + (n == 1 ? " row" : " rows");
}

}  // namespace

void check_time_of_day(reading& r, const std::array<std::int64_t, 3>& hms,
                       const field_place (&at)[3], std::string_view stored) {
    const char* names[3] = {"hours", "minutes", "seconds"};
    const std::int64_t limits[3] = {hours_a_day, minutes_an_hour, seconds_a_minute};
    for (std::size_t i = 0; i < 3; ++i) {
        if (hms[i] < 0 || hms[i] >= limits[i]) {
            r.warn(warning::time_of_day, at[i],
                   say(phrase::time_of_day, {names[i], std::to_string(hms[i]), "0",
                                             std::to_string(limits[i] - 1), stored}));
            return;
        }
    }
}

void check_read_train(reading& r) {
    // The speed limit over each board's reach must come down to a speed it shows.
    const griglia& cells = r.state.celle;
    const std::int64_t n = last_cell(cells);
    for (const reading::speed_board_seen& b : r.speed_boards) {
        const std::int64_t reach =
            board_reach + stripe_spacing * std::clamp(b.stripes, 0, most_stripes);
        const std::int64_t first = std::max<std::int64_t>(near(b.position / 50.0), 0);
        const std::int64_t last = std::min<std::int64_t>(near((b.position + reach) / 50.0), n);
        if (first > last) {
            continue;
        }
        std::int64_t lowest = -1;
        for (std::int64_t c = first; c <= last; ++c) {
            const std::int64_t limit = 5 * std::int64_t{cells[static_cast<std::size_t>(c)].vel_limite};
            lowest = lowest < 0 ? limit : std::min(lowest, limit);
        }
        if (lowest > b.fastest) {
            record_warning(r.state, warning::board_speed, b.place,
                           say(phrase::board_speed,
                               {std::to_string(b.fastest), std::to_string(lowest),
                                std::to_string(b.position + reach), stripes_text(b.stripes)}));
        }
    }
    // The train's values that stay 0 when their lines are left out: one warning for all.
    const struct {
        std::uint8_t bit;
        const char* keyword;
        const char* value;
    } values[] = {{reading::braked_mass_seen, "\"percentuale massa frenata\"",
                   "the braked-mass percentage"},
                  {reading::cars_seen, "\"numero vetture\"", "the number of cars"},
                  {reading::sand_seen, "\"sabbia\"", "the sand value"}};
    std::vector<const char*> keywords;
    std::vector<const char*> names;
    for (const auto& v : values) {
        if ((r.train_values_seen & v.bit) == 0) {
            keywords.push_back(v.keyword);
            names.push_back(v.value);
        }
    }
    if (!keywords.empty()) {
        r.warn_document(warning::missing_train_value,
                        say(phrase::missing_train_value,
                            {listed(keywords, " or "), listed(names, " and "),
                             names.size() == 1 ? "stays" : "stay"}));
    }
}

void note_where_reading_stopped(reading& r, std::string_view line_text,
                                std::string_view train_text, bool train_unread) {
    for (const reading::stop& stop : r.stops) {
        if (stop.diagnostic >= r.state.diagnostics.size()) {
            continue;
        }
        diagnostic& d = r.state.diagnostics[stop.diagnostic];
        const bool in_train = d.document == r.train_name;
        const int line = std::max(d.line, stop.line);
        if (d.line > 0) {
            const std::int64_t rest = rows_after(in_train ? train_text : line_text, line);
            if (rest > 0) {
                d.notes.push_back(diagnostic_note{d.document, line + 1, 0, 0,
                                                  say(phrase::note_rest_not_read,
                                                      {rows_text(rest)})});
            }
        }
        if (!in_train && train_unread && d.number != 15) {
            const std::int64_t rows = rows_after(train_text, 0);
            if (rows > 0) {
                d.notes.push_back(diagnostic_note{
                    r.train_name, 0, 0, 0,
                    say(phrase::note_document_not_read, {"train", rows_text(rows)})});
            }
        }
    }
}

}  // namespace scenario
