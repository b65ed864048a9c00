#include "compiler/station_reader.hpp"

#include <array>
#include <limits>
#include <vector>

#include "compiler/railway_limits.hpp"
#include "compiler/value_checks.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr std::int64_t station_margin = 800;
constexpr std::int64_t station_gap = 350;  // between one station area and the next

// Station kinds below this one have a reference cell and, unless 5 or 6, markers.
constexpr int kind_without_cell = 25;

struct area {
    std::int64_t start;
    std::int64_t end;
};

// A station's cell written over the element of an earlier line.
void check_replaced(reading& r, std::int64_t cell, const field_place& at) {
    const auto i = static_cast<std::size_t>(cell);
    const tipo kind = r.state.celle[i].tipo_cella;
    std::string line = "?";
    std::vector<diagnostic_fix> fixes;
    if (i < r.state.trace.cells.size() && r.state.trace.cells[i].row >= 0 &&
        !r.state.trace.cells[i].automatic) {
        const source_row& row =
            r.state.trace.rows[static_cast<std::size_t>(r.state.trace.cells[i].row)];
        line = std::to_string(row.line) +
               (row.document == source_document::line ? " of the line document" : "");
        // A choice: the element one cell on, where the station's cell is not. Its row's
        // chainage field is in the trace (in the line document, or earlier in this one).
        // The trace keeps the documents only once the reading is over: here they are the
        // reading's own.
        const std::string_view document = row.document == source_document::line ? r.line_text : r.text;
        const std::string_view text =
            std::size_t{row.text_offset} + row.text_length <= document.size()
                ? document.substr(row.text_offset, row.text_length)
                : std::string_view();
        const auto from = static_cast<std::size_t>(row.column - 1);
        std::int64_t chainage = 0;
        if (row.column > 0 && row.end_column >= row.column && row.end_column <= static_cast<int>(text.size())) {
            const std::string_view digits = text.substr(from, static_cast<std::size_t>(row.end_column - row.column + 1));
            bool number = !digits.empty();
            for (const char c : digits) {
                number = number && c >= '0' && c <= '9';
                chainage = number ? chainage * 10 + (c - '0') : 0;
            }
            if (number && digits.size() < 10) {
                const std::string moved = std::to_string(chainage + 50);
                fixes.push_back(diagnostic_fix{
                    document_name(r.state, row.document), row.line, row.column, row.end_column,
                    moved,
                    std::string("move the ") + element_name(kind) + " 50 m on, to " + moved + " m",
                    false});
            }
        }
    }
    std::vector<diagnostic_note> notes;
    if (auto note = cell_note(r.state, cell)) {
        notes.push_back(std::move(*note));
    }
    r.warn(warning::element_replaced, at,
           say(phrase::element_replaced, {std::to_string(cell), element_name(kind), line}),
           std::move(notes), std::move(fixes));
}

// The station area; kinds 5 to 8 also lose opzione_d.
area station_area(voce& e, std::int64_t p, std::int64_t length) {
    switch (e.tipo_stazione) {
        case 5:
        case 6:
            e.opzione_d = 0;
            return {p - length, p + 150};
        case 7:
        case 8:
            e.opzione_d = 0;
            return {p - length, p + length};
        default: {
            const double half = static_cast<double>(length) / 2.0;
            const double end = static_cast<double>(p) + half + (e.opzione_d != 0 ? 50.0 : 0.0);
            return {near(static_cast<double>(p) - half), near(end)};
        }
    }
}

// The first empty number field of a station line, and values no railway has: a kind the
// compile does not tell apart, a time outside a day's clock, a time before the previous
// timed station's.
void check_station_values(reading& r, const std::vector<field_place>& fields, int kind,
                          const std::array<std::int64_t, 3>& hms, const field_place (&time_at)[3],
                          std::int32_t orario) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (r.left_empty(fields[i])) {
            const std::string_view name = r.described->fields[i].name;
            const std::string_view what =
                name.starts_with("station ") ? name.substr(8) : name;
            r.warn(warning::half_written, fields[i],
                   say(phrase::half_written_station, {what}), {},
                   {r.fix_at(fields[i], "0", "write 0, as the empty field reads", false)});
            break;
        }
    }
    if (kind > highest_station_kind) {
        r.warn(warning::station_kind, fields[1],
               say(phrase::station_kind,
                   {std::to_string(kind), std::to_string(highest_station_kind)}));
    }
    check_time_of_day(r, hms, time_at,
                      "the station's time is stored as " + clock_text(orario));
    if (orario == 0) {
        return;
    }
    if (r.timed_station_place && orario < r.timed_station &&
        r.timed_station - orario < midnight_crossing) {
        r.warn(warning::time_goes_back, time_at[0],
               say(phrase::time_goes_back, {clock_text(orario), clock_text(r.timed_station)}),
               {r.note_at(*r.timed_station_place,
                          say(phrase::note_previous_time, {clock_text(r.timed_station)}))});
    }
    r.timed_station = orario;
    r.timed_station_place = time_at[0];
}

}  // namespace

outcome read_station(reading& r) {
    const std::int32_t s = r.station;
    // A station entry must not take an entry that already holds a board text.
    if (s > r.board_entry) {
        throw reader_failure("station entry " + std::to_string(s) + " holds a board text");
    }
    voce& e = r.entry(s);
    const std::int32_t p = r.chainage();
    const field_place p_place = r.fields.last();
    r.trace_row(s);
    e.progressiva = p;
    if (r.beyond_grid(p, station_margin)) {
        return outcome::end_loop;
    }
    if (p % 50 != 0) {
        return r.end_with(8, p, p_place);
    }
    std::vector<field_place> fields{p_place};
    e.tipo_stazione = r.number<std::uint8_t>();
    fields.push_back(r.fields.last());
    const std::int32_t length = r.number<std::int32_t>();
    const field_place length_place = r.fields.last();
    fields.push_back(length_place);
    if (length % 100 != 0) {
        return r.end_with(9, p, length_place);
    }
    // Fields 4 to 13, as the header record names them.
    const auto take = [&](auto value) {
        fields.push_back(r.fields.last());
        return value;
    };
    e.opzione_a = take(r.number<std::uint8_t>());
    e.opzione_e = take(r.number<std::uint8_t>());
    e.opzione_d = take(r.number<std::uint8_t>());
    e.numero_a = take(r.number<std::int16_t>());
    e.numero_b = take(r.number<std::int16_t>());
    e.opzione_b = take(r.number<std::uint8_t>());
    e.numero_c = take(r.number<std::int16_t>());
    e.numero_d = take(r.number<std::int16_t>());
    e.numero_e = take(r.number<std::int16_t>());
    e.opzione_c = take(r.number<std::uint8_t>());
    field_place time_at[3];
    const std::int64_t hours = r.number<std::int32_t>();
    time_at[0] = take(r.fields.last());
    const std::int64_t minutes = r.number<std::int32_t>();
    time_at[1] = take(r.fields.last());
    const std::int64_t seconds = r.number<std::int32_t>();
    time_at[2] = take(r.fields.last());
    e.orario = fit<std::int32_t>((hours * 60 + minutes) * 60 + seconds, "station time");
    e.nome.assign(r.text_field());
    r.state.riga = e.nome;
    if (e.nome.size() > longest_text) {
        record_tool_error(r.state, r.place_of(r.fields.last()),
                          say(phrase::text_too_long, {"station name", std::to_string(e.nome.size()),
                                                      std::to_string(longest_text)}));
    }
    if (length <= 0) {
        r.warn(warning::nonpositive_length, length_place,
               say(phrase::station_length_not_positive, {std::to_string(length)}));
    }
    if (r.keyword_warnings) {
        check_station_values(r, fields, e.tipo_stazione, {hours, minutes, seconds}, time_at,
                             e.orario);
    }

    const area a = station_area(e, p, length);
    e.inizio_area = fit<std::int32_t>(a.start, "station area start");
    e.fine_area = fit<std::int32_t>(a.end, "station area end");
    if (length < 600) {
        e.opzione_e = 0;
    }
    if (s == 1) {
        // After the area has used the value read.
        e.opzione_d = 0;
        e.opzione_e = 0;
    }

    const int kind = e.tipo_stazione;
    const double fiftieths = e.fine_area / 50.0;
    if (kind < kind_without_cell && kind != 5 && kind != 6) {
        int left_out = 0;
        for (int i = 1; i <= 4; ++i) {
            const double marker = fiftieths - i - 1;
            if (marker > 1) {
                r.cell(near(marker)).avvicinamento = wrap8(80 + i);
            } else {
                ++left_out;
            }
        }
        if (left_out > 0 && fiftieths - 1 > 1) {
            r.warn(warning::dropped, p_place,
                   say(phrase::station_markers_dropped, {std::to_string(left_out)}));
        }
    }
    const double reference = fiftieths - 1;
    if (kind < kind_without_cell) {
        if (reference <= 1) {
            return r.end_with(24, std::nullopt, p_place);
        }
        cella& c = r.cell(near(reference));
        if (r.keyword_warnings && !libera(c) && c.tipo_cella != tipo::stazione) {
            check_replaced(r, near(reference), p_place);
        }
        c.tipo_cella = tipo::stazione;
        c.valore1 = wrap16(s);
        r.stamp(near(reference));
    }
    if (s > 1 && std::int64_t{e.inizio_area} - station_gap < r.entry(s - 1).fine_area) {
        std::vector<diagnostic_note> notes;
        if (r.station_place.line != 0) {
            notes.push_back(
                r.note_at(r.station_place, say(phrase::note_previous_row, {"stazione"})));
        }
        const std::int32_t previous = r.entry(s - 1).progressiva;
        if (p < previous) {
            // Out of order rather than too close: the rows are to be put in order.
            return r.end_with_message(
                22, p, p_place,
                error_message(22,
                              say(phrase::detail_station_before_previous,
                                  {std::to_string(p), std::to_string(previous)}),
                              say(phrase::remedy_station_order)),
                std::move(notes));
        }
        return r.end_with(22, p, p_place, std::move(notes));
    }
    r.station_place = p_place;
    ++r.state.trace.counts.stations;
    ++r.station;
    if (r.station >= r.board_entry) {
        return r.end_with(10, std::nullopt, p_place);
    }
    return outcome::go_on;
}

}  // namespace scenario
