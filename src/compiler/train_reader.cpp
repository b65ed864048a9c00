#include "compiler/train_reader.hpp"

#include <algorithm>
#include <iterator>
#include <vector>

#include "compiler/grid_access.hpp"
#include "compiler/keyword_checks.hpp"
#include "compiler/messages.hpp"
#include "compiler/profiles.hpp"
#include "compiler/railway_limits.hpp"
#include "compiler/recorders.hpp"
#include "compiler/station_reader.hpp"
#include "compiler/value_checks.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

outcome read_braked_mass(reading& r) {
    r.state.voci[voce_percorso].inizio_area = r.number<std::int32_t>();
    r.trace_row(voce_percorso);
    r.train_values_seen |= reading::braked_mass_seen;
    return outcome::go_on;
}

outcome read_cars(reading& r) {
    r.state.voci[voce_percorso].progressiva = r.number<std::int32_t>();
    r.trace_row(voce_percorso);
    r.train_values_seen |= reading::cars_seen;
    return outcome::go_on;
}

outcome read_speed(reading& r) {
    return read_profile_entry(r, profile_kind::speed);
}

outcome read_adhesion(reading& r) {
    return read_profile_entry(r, profile_kind::adhesion);
}

outcome read_clock(reading& r) {
    voce& train = r.state.voci[voce_treno];
    field_place at[3];
    train.numero_c = r.number<std::int16_t>();
    at[0] = r.fields.last();
    train.numero_d = r.number<std::int16_t>();
    at[1] = r.fields.last();
    train.numero_e = r.number<std::int16_t>();
    at[2] = r.fields.last();
    r.trace_row(voce_treno);
    if (r.keyword_warnings) {
        check_time_of_day(r, {train.numero_c, train.numero_d, train.numero_e}, at,
                          "the clock keeps it as written");
    }
    return outcome::go_on;
}

outcome read_sand(reading& r) {
    r.state.voci[voce_treno].numero_a = r.number<std::int16_t>();
    r.trace_row(voce_treno);
    r.train_values_seen |= reading::sand_seen;
    return outcome::go_on;
}

// A signal's values outside the digits their packings keep them in: d1 to d3 in the
// units of 10 x s + d, sx and dx as a base-3 pair in 10 x rapp + 3 x sx + dx, and none
// below 0.
void check_signal_digits(reading& r, const std::int32_t (&v)[10], const field_place (&at)[10]) {
    const char* firsts[3] = {"s1", "s2", "s3"};
    const char* seconds[3] = {"d1", "d2", "d3"};
    for (int i = 0; i < 3; ++i) {
        const std::int32_t a = v[1 + i];
        const std::int32_t b = v[6 + i];
        const std::int64_t packed = signal_pair(a, b);
        if (packed != wrap16(packed) || (a >= 0 && b >= 0 && b <= 9)) {
            continue;
        }
        const bool second = b < 0 || b > 9;
        const std::string name = second ? seconds[i] : firsts[i];
        const std::string written = std::to_string(second ? b : a);
        const std::string packing =
            std::string("10 x ") + firsts[i] + " + " + seconds[i];
        r.warn(warning::value_packed, at[second ? 6 + i : 1 + i],
               packed < 0 ? say(phrase::packed_negative,
                                {name, written, packing, std::to_string(packed)})
                          : say(phrase::packed_digit,
                                {name, written, packing,
                                 second ? "its units, 0 to 9" : "its tens",
                                 std::to_string(packed),
                                 std::string(firsts[i]) + " " + std::to_string(packed / 10) +
                                     " and " + seconds[i] + " " + std::to_string(packed % 10)}));
    }
    const std::int32_t sx = v[0];
    const std::int32_t dx = v[5];
    const std::int32_t rapp = v[4];
    const std::int64_t fourth = signal_fourth(rapp, sx, dx);
    if (fourth != wrap16(fourth)) {
        return;
    }
    const bool sx_wrong = sx < 0 || sx > 2;
    const bool dx_wrong = dx < 0 || dx > 2;
    if (!sx_wrong && !dx_wrong && rapp >= 0) {
        return;
    }
    const int i = sx_wrong ? 0 : dx_wrong ? 5 : 4;
    const std::string name = sx_wrong ? "sx" : dx_wrong ? "dx" : "rapp";
    const std::string packing = "10 x rapp + 3 x sx + dx";
    const std::int64_t units = fourth % 10;
    r.warn(warning::value_packed, at[i],
           fourth < 0 ? say(phrase::packed_negative,
                            {name, std::to_string(v[i]), packing, std::to_string(fourth)})
                      : say(phrase::packed_digit,
                            {name, std::to_string(v[i]), packing,
                             i == 4 ? "its tens" : "a base-3 pair with the other, 0 to 2 each",
                             std::to_string(fourth),
                             "rapp " + std::to_string(fourth / 10) + ", sx " +
                                 std::to_string(units / 3) + " and dx " +
                                 std::to_string(units % 3)}));
}

// What a signal's values become in its cell.
void check_signal(reading& r, std::int32_t position, const std::int32_t (&v)[10],
                  std::int32_t tempo, const field_place (&at)[10]) {
    const std::int32_t sx = v[0];
    const std::int32_t dx = v[5];
    const char* firsts[3] = {"s1", "s2", "s3"};
    const char* seconds[3] = {"d1", "d2", "d3"};
    for (int i = 0; i < 3; ++i) {
        const std::int64_t packed = signal_pair(v[1 + i], v[6 + i]);
        if (packed != wrap16(packed)) {
            r.warn(
                warning::value_wrapped, at[1 + i],
                say(phrase::wrapped16, {say(phrase::value_signal_pair, {firsts[i], seconds[i]}),
                                        std::to_string(packed), std::to_string(wrap16(packed))}));
        }
    }
    const std::int64_t fourth = signal_fourth(v[4], sx, dx);
    if (fourth != wrap16(fourth)) {
        r.warn(warning::value_wrapped, at[4],
               say(phrase::wrapped16, {say(phrase::value_signal_fourth), std::to_string(fourth),
                                       std::to_string(wrap16(fourth))}));
    }
    const std::int32_t written = v[9];
    if (sx != 2) {
        if (written != 0) {
            r.warn(warning::value_ignored, at[9],
                   say(phrase::signal_time_ignored, {std::to_string(written)}), {},
                   {r.fix_at(at[9], "0", "write 0, the time stored", true)});
        }
    } else if (written >= 1 && written <= 100) {
        r.warn(warning::value_rounded, at[9],
               say(phrase::signal_time_raised, {std::to_string(written)}), {},
               {r.fix_at(at[9], "101", "write 101, the time stored", true)});
    } else if (tempo != wrap8(tempo)) {
        r.warn(warning::value_wrapped, at[9],
               say(phrase::wrapped8, {say(phrase::value_signal_time), std::to_string(tempo),
                                      std::to_string(wrap8(tempo))}));
    }
    for (const std::int64_t b : {1, 4}) {
        const std::int64_t marker = approach_marker(sx, dx, b);
        if (marker != wrap8(marker)) {
            r.warn(warning::value_wrapped, at[0],
                   say(phrase::wrapped8, {say(phrase::value_approach_marker),
                                          std::to_string(marker), std::to_string(wrap8(marker))}));
            break;
        }
    }
    const std::int64_t c = point_cell(position);
    std::string dropped;
    for (std::int64_t b = 1; b <= 4; ++b) {
        if (c - 2 * b < 0) {
            dropped += (dropped.empty() ? "" : b == 4 ? " and " : ", ") + std::to_string(100 * b);
        }
    }
    if (!dropped.empty()) {
        r.warn(warning::dropped, *r.entry_place, say(phrase::signal_markers_dropped, {dropped}));
    }
}

outcome read_signal(reading& r) {
    const std::int32_t position = r.chainage();
    std::int32_t v[10];  // sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo
    field_place at[10];
    for (int i = 0; i < 10; ++i) {
        v[i] = r.number<std::int32_t>();
        at[i] = r.fields.last();
    }
    if (r.beyond_grid(position, entry_margin)) {
        return outcome::end_loop;
    }
    // The recorder changes the time it is given; the values as written stay in v.
    std::int32_t w[10];
    std::copy(std::begin(v), std::end(v), std::begin(w));
    const std::int64_t c = point_cell(position);
    const outcome o = r.call_recorder(
        position,
        [&] {
            memo_segnale(r.state, position, w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8],
                         w[9]);
        },
        [&](std::int32_t) { return std::vector<std::int64_t>{c}; });
    if (o == outcome::go_on) {
        check_signal(r, position, v, w[9], at);
        if (r.keyword_warnings) {
            check_signal_digits(r, v, at);
        }
        r.stamp(c);
        ++r.state.trace.counts.signals;
    }
    return o;
}

// A slowdown's length, ignored flag and values that keep their low 16 bits.
void check_slowdown(reading& r, std::int32_t x, const std::int32_t (&v)[6],
                    const field_place (&at)[6]) {
    if (v[2] <= 0) {
        r.warn(warning::nonpositive_length, at[2],
               say(phrase::slowdown_length_not_positive, {std::to_string(v[2])}));
    }
    if (x <= 1500 && v[4] != 0) {
        r.warn(warning::value_ignored, at[4],
               say(phrase::prewarning_ignored, {std::to_string(v[4])}), {},
               {r.fix_at(at[4], "0", "write 0, as the flag is read here", true)});
    }
    const std::pair<int, phrase> sixteen[] = {{1, phrase::value_slowdown_speed},
                                              {3, phrase::value_slowdown_third},
                                              {5, phrase::value_slowdown_sixth}};
    for (const auto& [i, what] : sixteen) {
        if (v[i] != wrap16(v[i])) {
            r.warn(warning::value_wrapped, at[i],
                   say(phrase::wrapped16,
                       {say(what), std::to_string(v[i]), std::to_string(wrap16(v[i]))}),
                   {},
                   {r.fix_at(at[i], std::to_string(wrap16(v[i])),
                             "write " + std::to_string(wrap16(v[i])) + ", the value stored",
                             false)});
        }
    }
    if (v[1] == wrap16(v[1]) && (v[1] < 0 || v[1] > fastest_line_speed)) {
        r.warn(warning::unlikely_speed, at[1],
               say(phrase::unlikely_speed, {"slowdown speed", std::to_string(v[1]),
                                            std::to_string(fastest_line_speed)}));
    }
}

outcome read_slowdown(reading& r) {
    std::int32_t v[6];  // start, speed, length, f_tt, f_ta, d_v
    field_place at[6];
    v[0] = r.chainage();
    at[0] = r.fields.last();
    for (int i = 1; i < 6; ++i) {
        v[i] = r.number<std::int32_t>();
        at[i] = r.fields.last();
    }
    const std::int32_t x = v[0];
    std::int32_t speed = v[1];
    std::int32_t length = v[2];
    std::int32_t f_tt = v[3];
    const std::int32_t f_ta = v[4];
    std::int32_t d_v = v[5];
    if (r.beyond_grid(x, entry_margin)) {
        return outcome::end_loop;
    }
    const slowdown_cells cells = cells_of_slowdown(x, length);
    const std::int64_t h = cells.prewarning;
    const outcome o = r.call_recorder(
        x, [&] { memo_rallentamento(r.state, x, speed, length, f_tt, f_ta, d_v); },
        [&](std::int32_t number) {
            switch (number) {
                case 17:
                    return std::vector<std::int64_t>{cells.board};
                case 18:
                    return std::vector<std::int64_t>{cells.start};
                case 19:
                    return std::vector<std::int64_t>{cells.end};
                default:
                    return std::vector<std::int64_t>{h, h - 1, h - 2, h - 3};
            }
        });
    // The cells it wrote, also after error 20 (the pre-warning cells).
    if (o == outcome::go_on || r.state.codice_errore == 20) {
        const auto stamp_if = [&](std::int64_t c, std::initializer_list<tipo> kinds) {
            if (in_grid(r.state.celle, c)) {
                const tipo t = r.state.celle[static_cast<std::size_t>(c)].tipo_cella;
                for (const tipo k : kinds) {
                    if (t == k) {
                        r.stamp(c);
                    }
                }
            }
        };
        stamp_if(cells.end, {tipo::fine_rallentamento, tipo::inizio_rallentamento});
        stamp_if(cells.start, {tipo::inizio_rallentamento});
        if (cells.with_board) {
            stamp_if(cells.board, {tipo::avviso_rallentamento});
        }
        for (std::int64_t i = 0; i < 4; ++i) {
            stamp_if(h - i, {tipo::preavviso_rallentamento});
        }
    }
    if (o == outcome::go_on) {
        check_slowdown(r, x, v, at);
        ++r.state.trace.counts.slowdowns;
    }
    return o;
}

outcome read_code(reading& r) {
    const std::int32_t p = r.chainage();
    const std::int32_t value = r.number<std::int32_t>();
    const field_place value_place = r.fields.last();
    if (r.beyond_grid(p, entry_margin)) {
        return outcome::end_loop;
    }
    const std::int64_t t = near(p / 50.0);
    cella& c = r.cell(t);
    if (!libera(c)) {
        return r.end_with(7, p, *r.entry_place, r.notes_on_cells({t}));
    }
    if (value > 0) {
        c.tipo_cella = tipo::cambio_codice;
        c.valore1 = wrap16(value);  // the code value keeps its low 16 bits
        if (value != wrap16(value)) {
            std::vector<diagnostic_fix> fixes;
            if (wrap16(value) > 0) {
                fixes.push_back(r.fix_at(value_place, std::to_string(wrap16(value)),
                                         "write " + std::to_string(wrap16(value)) +
                                             ", the value stored",
                                         false));
            }
            r.warn(warning::value_wrapped, value_place,
                   say(phrase::wrapped16, {say(phrase::value_code), std::to_string(value),
                                           std::to_string(wrap16(value))}),
                   {}, std::move(fixes));
        }
    } else {
        c.tipo_cella = tipo::codice_zero;
    }
    r.stamp(t);
    ++r.state.trace.counts.code_entries;
    return outcome::go_on;
}

// The train document's readers, in the order of its keywords.
constexpr reader_binding readers[] = {
    {"percentuale massa frenata", read_braked_mass},
    {"numero vetture", read_cars},
    {"velocita", read_speed},
    {"aderenza", read_adhesion},
    {"orologio", read_clock},
    {"sabbia", read_sand},
    {"segnale", read_signal},
    {"rallentamento", read_slowdown},
    {"abbattimento", read_code},
    {"stazione", read_station},
};

// Finds "[generale]"; reaching the end instead is no failure (nothing more is read).
void find_general(reading& r) {
    do {
        r.row_start = r.fields.at_line_start();
        r.read_keyword();
        if (r.row_start && !contains(r.keyword, "[generale]")) {
            check_before_general(r);
        }
    } while (!contains(r.keyword, "[generale]") && !r.fields.at_end());
    r.generale_found = contains(r.keyword, "[generale]");
    if (r.generale_found) {
        warn_before_general(r);
    }
}

// Error 2 when a zone bound in entries 81 to 83 is not a multiple of 50: reported at the
// zone's line, with its own numbers (the flag's 100 m aside).
void check_zones(reading& r) {
    for (const int i : {voce_zona_tre, voce_zona_due, voce_zona_uno}) {
        const voce& zone = r.state.voci[static_cast<std::size_t>(i)];
        if (zone.inizio_area % 50 == 0 && zone.fine_area % 50 == 0) {
            continue;
        }
        // The ordering moved the zones whole; find the line this one came from.
        for (std::size_t k = 0; k < r.zones.size(); ++k) {
            const std::optional<zone_source>& z = r.zones[k];
            if (!z || z->start != zone.inizio_area || z->flag != zone.progressiva ||
                std::int64_t{z->end} + (z->flag == 1 ? 100 : 0) != zone.fine_area) {
                continue;
            }
            const bool start_wrong = z->start % 50 != 0;
            const char* names[3] = {"progressiva chilometrica tre", "progressiva chilometrica due",
                                    "progressiva chilometrica uno"};
            std::vector<diagnostic_note> notes;
            if (z->flag == 1 && !start_wrong) {
                notes.push_back(diagnostic_note{
                    z->end_place.document, z->end_place.line, z->end_place.column,
                    z->end_place.end_column,
                    say(phrase::note_zone_end_with_flag, {std::to_string(zone.fine_area)})});
            }
            record_error(
                r.state, 2, std::nullopt, start_wrong ? z->start_place : z->end_place,
                error_message(2, say(phrase::detail_zone,
                                     {names[k], std::to_string(z->start), std::to_string(z->end),
                                      std::to_string(start_wrong ? z->start : z->end)})),
                std::move(notes));
            return;
        }
        record_error(r.state, 2, std::nullopt, error_place{r.line_name, 0, 0, 0, {}},
                     error_message(2));
        return;
    }
}

}  // namespace

std::span<const keyword_entry> train_keywords() {
    static const std::vector<keyword_entry> table = bind_readers(document_part::train, readers);
    return table;
}

void read_train_document(reading& r) {
    r.document = r.train_name;
    r.fields = field_reader();
    r.line_held = std::move(r.held);
    r.line_text = r.text;
    r.text = {};
    r.open(r.train_name, r.whole_document(r.train_name, "train"), source_document::train);
    r.part = section::train;
    find_general(r);
    if (!r.generale_found && r.keyword_warnings) {
        r.warn_document(warning::missing_generale, say(phrase::missing_generale));
    }
    r.adhesion.cursor = 0;
    r.speed.cursor = 0;
    r.station = 1;
    if (r.read_entries(train_keywords()) == outcome::end_reading) {
        return;
    }
    // A document whose reading stopped may hold what it seems to leave out.
    const bool read_whole = r.generale_found && r.keyword_warnings && !r.train_stopped;
    if (read_whole && r.state.trace.counts.stations == 0) {
        r.warn_document(warning::no_stations, say(phrase::no_stations));
    }

    r.close_and_delete();
    r.entry_place.reset();
    finish_profile(r, profile_kind::speed);
    finish_profile(r, profile_kind::adhesion);
    if (read_whole) {
        check_read_train(r);
    }
    check_zones(r);
}

}  // namespace scenario
