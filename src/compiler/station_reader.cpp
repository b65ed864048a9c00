#include "compiler/station_reader.hpp"

#include <limits>

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
    e.tipo_stazione = r.number<std::uint8_t>();
    const std::int32_t length = r.number<std::int32_t>();
    const field_place length_place = r.fields.last();
    if (length % 100 != 0) {
        return r.end_with(9, p, length_place);
    }
    // Fields 4 to 13, as the header record names them.
    e.opzione_a = r.number<std::uint8_t>();
    e.opzione_e = r.number<std::uint8_t>();
    e.opzione_d = r.number<std::uint8_t>();
    e.numero_a = r.number<std::int16_t>();
    e.numero_b = r.number<std::int16_t>();
    e.opzione_b = r.number<std::uint8_t>();
    e.numero_c = r.number<std::int16_t>();
    e.numero_d = r.number<std::int16_t>();
    e.numero_e = r.number<std::int16_t>();
    e.opzione_c = r.number<std::uint8_t>();
    const std::int64_t hours = r.number<std::int32_t>();
    const std::int64_t minutes = r.number<std::int32_t>();
    const std::int64_t seconds = r.number<std::int32_t>();
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
