#include "compiler/line_body.hpp"

#include "compiler/grid_access.hpp"
#include "compiler/plan_drawing.hpp"
#include "compiler/profiles.hpp"
#include "compiler/recorders.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"

namespace scenario {

namespace {

constexpr std::int64_t plan_limit = 1000000;

}  // namespace

outcome read_gradient(reading& r) {
    return read_profile_entry(r, profile_kind::gradient);
}

outcome read_curve(reading& r) {
    const std::int32_t s = r.chainage("curve start");
    const field_place campo_s = r.fields.last();
    const std::int32_t d = r.fields.number<std::int32_t>("curve length");
    const field_place campo_d = r.fields.last();
    if (r.beyond_grid(s, entry_margin)) {
        return outcome::end_loop;
    }
    double k = 0.0;
    for (const char classe : {'1', '2', '3', '4', '5', '6'}) {
        if (r.keyword.find(classe) != std::string_view::npos) {
            k = curvatura(classe);
            break;
        }
    }
    if (k == 0.0) {
        return r.end_with(103, std::nullopt, r.keyword_place);
    }
    if (contains(r.keyword, "s")) {
        k = -k;
    }
    tracciato_linea& t = r.state.tracciato;
    std::int64_t& c = r.drawing_cursor;
    // A curve that starts behind the cursor draws only its points ahead of it.
    // Each stretch stops after the point that passes the limit, as drawing point by
    // point and testing after each would.
    disegna_fino(t, c, std::min<std::int64_t>(s, plan_limit), 0.0);
    if (c > plan_limit) {
        return r.end_with(103, std::nullopt, campo_s);
    }
    const std::int64_t fine = std::int64_t{s} + d;
    disegna_fino(t, c, std::min(fine, plan_limit), k);
    if (c > plan_limit) {
        return r.end_with(103, std::nullopt, campo_d);
    }
    return outcome::go_on;
}

outcome read_tunnel(reading& r) {
    std::int32_t inizio = r.chainage("tunnel start");
    std::int32_t fine = r.fields.number<std::int32_t>("tunnel end");
    std::int32_t tipo = r.fields.number<std::int32_t>("tunnel type");
    if (r.beyond_grid(inizio, entry_margin)) {
        return outcome::end_loop;
    }
    return r.call_recorder(inizio, [&] { memo_montagna(r.state, r.tunnels, inizio, fine, tipo); });
}

outcome read_speed_board(reading& r) {
    const std::int32_t posizione = r.chainage("board chainage");
    std::int32_t v[8];
    const char* nomi[8] = {"left speed A",  "left speed B",  "left speed C",  "left stripes",
                           "right speed A", "right speed B", "right speed C", "right stripes"};
    for (int i = 0; i < 8; ++i) {
        v[i] = r.fields.number<std::int32_t>(nomi[i]);
    }
    if (r.beyond_grid(posizione, entry_margin)) {
        return outcome::end_loop;
    }
    return r.call_recorder(posizione, [&] {
        memo_indicatori_v_max(r.state, posizione, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    });
}

outcome read_board(reading& r) {
    const std::int32_t p = r.chainage("board chainage");
    const field_place campo_p = r.fields.last();
    r.state.riga.assign(r.fields.text("board text"));
    if (r.beyond_grid(p, entry_margin)) {
        return outcome::end_loop;
    }
    cella& c = r.cell(near(p / 50.0 + 1));
    if (!libera(c)) {
        return r.end_with(6, p, campo_p);
    }
    // Board texts go from entry 80 downwards; entry 0 and below are not theirs.
    if (r.board_entry <= 0) {
        throw reader_failure("no header entry left for the board text (more than 80 boards)");
    }
    c.tipo_cella = cartello;
    c.valore1 = wrap16(r.board_entry);
    r.entry(r.board_entry).nome = r.state.riga;
    --r.board_entry;
    return outcome::go_on;
}

void finish_plan(reading& r) {
    if (r.state.con_tracciato == 0) {
        return;
    }
    tracciato_linea& t = r.state.tracciato;
    // The last two points stay empty.
    disegna_fino(t, r.drawing_cursor, t.ultimo_metro() - 2, 0.0);
}

}  // namespace scenario
