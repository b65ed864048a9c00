#include "compiler/train_reader.hpp"

#include "compiler/messages.hpp"
#include "compiler/profiles.hpp"
#include "compiler/recorders.hpp"
#include "compiler/station_reader.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

outcome read_braked_mass(reading& r) {
    r.state.voci[voce_percorso].inizio_area = r.fields.number<std::int32_t>("braked mass");
    return outcome::go_on;
}

outcome read_cars(reading& r) {
    r.state.voci[voce_percorso].progressiva = r.fields.number<std::int32_t>("number of cars");
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
    train.numero_c = r.fields.number<std::int16_t>("clock hours");
    train.numero_d = r.fields.number<std::int16_t>("clock minutes");
    train.numero_e = r.fields.number<std::int16_t>("clock seconds");
    return outcome::go_on;
}

outcome read_sand(reading& r) {
    r.state.voci[voce_treno].numero_a = r.fields.number<std::int16_t>("sand");
    return outcome::go_on;
}

outcome read_signal(reading& r) {
    const std::int32_t position = r.chainage("signal chainage");
    std::int32_t v[10];
    const char* names[10] = {"signal sx", "signal s1", "signal s2", "signal s3", "signal rapp",
                             "signal dx", "signal d1", "signal d2", "signal d3", "signal tempo"};
    for (int i = 0; i < 10; ++i) {
        v[i] = r.fields.number<std::int32_t>(names[i]);
    }
    if (r.beyond_grid(position, entry_margin)) {
        return outcome::end_loop;
    }
    return r.call_recorder(position, [&] {
        memo_segnale(r.state, position, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]);
    });
}

outcome read_slowdown(reading& r) {
    const std::int32_t x = r.chainage("slowdown start");
    std::int32_t v = r.fields.number<std::int32_t>("slowdown speed");
    std::int32_t length = r.fields.number<std::int32_t>("slowdown length");
    std::int32_t f_tt = r.fields.number<std::int32_t>("slowdown f_tt");
    const std::int32_t f_ta = r.fields.number<std::int32_t>("slowdown f_ta");
    std::int32_t d_v = r.fields.number<std::int32_t>("slowdown d_v");
    if (r.beyond_grid(x, entry_margin)) {
        return outcome::end_loop;
    }
    return r.call_recorder(x, [&] { memo_rallentamento(r.state, x, v, length, f_tt, f_ta, d_v); });
}

outcome read_code(reading& r) {
    const std::int32_t p = r.chainage("code chainage");
    const std::int32_t value = r.fields.number<std::int32_t>("code value");
    if (r.beyond_grid(p, entry_margin)) {
        return outcome::end_loop;
    }
    cella& c = r.cell(near(p / 50.0));
    if (!libera(c)) {
        return r.end_with(7, p, *r.entry_place);
    }
    if (value > 0) {
        c.tipo_cella = tipo::cambio_codice;
        c.valore1 = wrap16(value);  // the code value keeps its low 16 bits
    } else {
        c.tipo_cella = tipo::codice_zero;
    }
    return outcome::go_on;
}

// clang-format off
constexpr keyword_entry train_keywords[] = {
    {words("frenata", "massa"), read_braked_mass},
    {words("vetture"), read_cars},
    {words("velocit"), read_speed},
    {words("aderenza"), read_adhesion},
    {words("orologio"), read_clock},
    {words("sabbia"), read_sand},
    {words("segnale"), read_signal},
    {words("rallentamento"), read_slowdown},
    {words("abbattimento"), read_code},
    {words("stazione"), read_station},
};
// clang-format on

// Finds "[generale]"; reaching the end instead is no failure (nothing more is read).
void find_general(reading& r) {
    do {
        r.read_keyword();
    } while (!contains(r.keyword, "[generale]") && !r.fields.at_end());
}

// Error 2 when a zone bound in entries 81 to 83 is not a multiple of 50.
void check_zones(reading& r) {
    for (const int i : {voce_zona_tre, voce_zona_due, voce_zona_uno}) {
        const voce& zone = r.state.voci[static_cast<std::size_t>(i)];
        if (zone.inizio_area % 50 != 0 || zone.fine_area % 50 != 0) {
            record_error(
                r.state, 2, std::nullopt, error_place{r.line_name, 0, 0, 0, {}},
                error_message(2, "kilometre-reference zone in entry " + std::to_string(i) +
                                     " runs from " + std::to_string(zone.inizio_area) + " to " +
                                     std::to_string(zone.fine_area) + ": not multiples of 50"));
            return;
        }
    }
}

}  // namespace

void read_train_document(reading& r) {
    r.open(r.train_name, {});
    auto content = r.store.read(r.train_name);
    if (!content) {
        throw reader_failure("the train document cannot be opened");
    }
    r.open(r.train_name, std::move(*content));
    find_general(r);
    r.adhesion.cursor = 0;
    r.speed.cursor = 0;
    r.station = 1;
    if (r.read_entries(train_keywords) == outcome::end_reading) {
        return;
    }

    r.close_and_delete();
    r.entry_place.reset();
    finish_profile(r, profile_kind::speed);
    finish_profile(r, profile_kind::adhesion);
    check_zones(r);
}

}  // namespace scenario
