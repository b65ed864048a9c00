#include "compiler/line_reader.hpp"

#include "compiler/line_body.hpp"
#include "compiler/messages.hpp"
#include "compiler/plan_drawing.hpp"
#include "compiler/profiles.hpp"
#include "compiler/progressive_ordina.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr std::int32_t longest_route = 1000000;
constexpr int general_remarks = 10;

// Finds "[generale]". False after error 102.
bool find_general(reading& r) {
    while (true) {
        r.read_keyword();
        if (r.fields.at_end()) {
            // Also when this last field is "[generale]" itself.
            r.end_with(102, std::nullopt, r.keyword_place);
            return false;
        }
        if (contains(r.keyword, "[generale]")) {
            return true;
        }
    }
}

outcome act_general(reading& r) {
    const std::string_view p = r.keyword;
    const auto fatto = [](outcome e) { return e != outcome::go_on; };
    if (contains(p, "lunghezza") && contains(p, "percorso") && fatto(read_route_length(r))) {
        return outcome::end_reading;
    }
    if (contains_exact(p, "tre") && contains_exact(p, "progressiva")) {
        read_zone(r, voce_zona_tre);
    }
    if (contains_exact(p, "due") && contains_exact(p, "progressiva")) {
        read_zone(r, voce_zona_due);
    }
    if (contains_exact(p, "uno") && contains_exact(p, "progressiva")) {
        read_zone(r, voce_zona_uno);
    }
    // Note the order of entry 85: "tre" goes to fine_area, "due" to progressiva.
    if (contains_exact(p, "sfondo") && contains_exact(p, "uno")) {
        read_scenery(r, &voce::inizio_area, "scenery value one");
    }
    if (contains_exact(p, "sfondo") && contains_exact(p, "due")) {
        read_scenery(r, &voce::progressiva, "scenery value two");
    }
    if (contains_exact(p, "sfondo") && contains_exact(p, "tre")) {
        read_scenery(r, &voce::fine_area, "scenery value three");
    }
    if (contains_exact(p, "segnali") && contains_exact(p, "ripetizione") &&
        fatto(read_repetition(r))) {
        return outcome::end_reading;
    }
    return outcome::go_on;
}

bool section_header(std::string_view p) {
    return contains_exact(p, "[") && contains_exact(p, "]") && !p.starts_with('-');
}

// The general part, up to the first section header. False after a recorded error.
bool read_general_part(reading& r) {
    while (!r.fields.at_end()) {
        r.read_keyword();
        if (r.fields.at_end()) {
            break;
        }
        // Up to ten remarks in a row; the end of the document is not tested between them.
        for (int i = 0; i < general_remarks && contains_exact(r.keyword, "-"); ++i) {
            r.read_keyword();
        }
        if (act_general(r) == outcome::end_reading) {
            return false;
        }
        if (section_header(r.keyword)) {
            break;
        }
    }
    return true;
}

outcome act_body(reading& r) {
    const std::string_view p = r.keyword;
    if (contains(p, "pendenza")) {
        if (const outcome e = read_gradient(r); e != outcome::go_on) {
            return e;
        }
    }
    // Without a plan, curve lines are not recognised: their numbers are read next as
    // keyword fields that match nothing.
    if (r.state.con_tracciato != 0 && contains(p, "curva")) {
        if (const outcome e = read_curve(r); e != outcome::go_on) {
            return e;
        }
    }
    if (contains(p, "montagna")) {
        if (const outcome e = read_tunnel(r); e != outcome::go_on) {
            return e;
        }
    }
    if (contains(p, "indicatori_v")) {
        if (const outcome e = read_speed_board(r); e != outcome::go_on) {
            return e;
        }
    }
    if (contains(p, "cartello") && contains(p, "indicat")) {
        return read_board(r);
    }
    return outcome::go_on;
}

}  // namespace

outcome read_route_length(reading& r) {
    const std::int32_t lunghezza = r.chainage("route length");
    r.state.voci[voce_percorso].fine_area = lunghezza;
    if (lunghezza > longest_route) {
        return r.end_with(1, std::nullopt, r.fields.last());
    }
    const std::int64_t e = std::int64_t{lunghezza} + 7000;
    const std::int64_t n = ultima_cella(lunghezza);
    // A negative length can leave too few cells for the profiles (or no plan at all).
    if (n < 2) {
        throw reader_failure("route length " + std::to_string(lunghezza) + " leaves no track grid");
    }
    r.state.celle.assign(static_cast<std::size_t>(n) + 1, cella{});
    if (r.state.con_tracciato != 0) {
        r.state.tracciato = tracciato_linea(e);
    }
    return outcome::go_on;
}

outcome read_zone(reading& r, int indice) {
    voce& zona = r.state.voci[static_cast<std::size_t>(indice)];
    zona.inizio_area = r.fields.number<std::int32_t>("zone start");
    zona.fine_area = r.fields.number<std::int32_t>("zone end");
    zona.progressiva = r.fields.number<std::int32_t>("zone flag");
    return outcome::go_on;
}

outcome read_scenery(reading& r, std::int32_t voce::*campo, const char* nome) {
    r.state.voci[voce_scenario].*campo = r.fields.number<std::int32_t>(nome);
    return outcome::go_on;
}

outcome read_repetition(reading& r) {
    voce& treno = r.state.voci[voce_treno];
    treno.inizio_area = r.fields.number<std::int32_t>("repetition start");
    const field_place campo_inizio = r.fields.last();
    treno.fine_area = r.fields.number<std::int32_t>("repetition end");
    const field_place campo_fine = r.fields.last();
    if (treno.inizio_area % 50 != 0) {
        return r.end_with(3, std::nullopt, campo_inizio);
    }
    if (treno.fine_area % 50 != 0) {
        return r.end_with(4, std::nullopt, campo_fine);
    }
    if (contains_exact(r.keyword, "4")) {
        treno.progressiva = 4;
    } else if (contains_exact(r.keyword, "9")) {
        treno.progressiva = 9;
    } else {
        return r.end_with(5, std::nullopt, r.keyword_place);
    }
    if (treno.fine_area == 0) {
        treno.progressiva = 0;
    }
    return outcome::go_on;
}

bool read_line_document(reading& r) {
    if (!r.store.exists(r.line_name)) {
        record_error(r.state, 101, std::nullopt, error_place{r.line_name, 0, 0, 0, {}}, error_message(101));
        return false;
    }
    auto contenuto = r.store.read(r.line_name);
    if (!contenuto) {
        r.document = r.line_name;
        throw reader_failure("the line document cannot be opened");
    }
    r.open(r.line_name, std::move(*contenuto));
    if (!find_general(r) || !read_general_part(r)) {
        return false;
    }

    progressive_ordina(r.state.voci);
    r.tunnels.clear();
    r.board_entry = voce_primo_cartello;
    r.gradient.cursor = 0;
    r.drawing_cursor = 2;
    if (r.state.con_tracciato != 0) {
        inizia_tracciato(r.state.tracciato);
    }

    while (r.next_keyword()) {
        const outcome e = act_body(r);
        if (e == outcome::end_reading) {
            return false;
        }
        if (e == outcome::end_loop) {
            break;
        }
    }

    r.close_and_delete();
    r.entry_place.reset();
    finish_profile(r, profile_kind::gradient);
    finish_plan(r);
    return true;
}

}  // namespace scenario
