#include "compiler/line_body.hpp"

#include <algorithm>

#include "compiler/grid_access.hpp"
#include "compiler/plan_drawing.hpp"
#include "compiler/profiles.hpp"
#include "compiler/recorders.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr std::int64_t plan_limit = 1000000;

outcome read_gradient(reading& r) {
    return read_profile_entry(r, profile_kind::gradient);
}

outcome read_curve(reading& r) {
    const std::int32_t start = r.chainage("curve start");
    const field_place start_place = r.fields.last();
    const std::int32_t length = r.fields.number<std::int32_t>("curve length");
    const field_place length_place = r.fields.last();
    if (r.beyond_grid(start, entry_margin)) {
        return outcome::end_loop;
    }
    double k = 0.0;
    for (const char curve_class : {'1', '2', '3', '4', '5', '6'}) {
        if (r.keyword.find(curve_class) != std::string_view::npos) {
            k = curvature(curve_class);
            break;
        }
    }
    if (k == 0.0) {
        return r.end_with(103, std::nullopt, r.keyword_place);
    }
    if (contains(r.keyword, "s")) {
        k = -k;
    }
    tracciato_linea& plan = r.state.tracciato;
    std::int64_t& cursor = r.drawing_cursor;
    // A curve that starts behind the cursor draws only its points ahead of it.
    // Each stretch stops after the point that passes the limit, as drawing point by
    // point and testing after each would.
    draw_to(plan, cursor, std::min<std::int64_t>(start, plan_limit), 0.0);
    if (cursor > plan_limit) {
        return r.end_with(103, std::nullopt, start_place);
    }
    const std::int64_t end = std::int64_t{start} + length;
    draw_to(plan, cursor, std::min(end, plan_limit), k);
    if (cursor > plan_limit) {
        return r.end_with(103, std::nullopt, length_place);
    }
    return outcome::go_on;
}

outcome read_tunnel(reading& r) {
    std::int32_t start = r.chainage("tunnel start");
    std::int32_t end = r.fields.number<std::int32_t>("tunnel end");
    std::int32_t type = r.fields.number<std::int32_t>("tunnel type");
    if (r.beyond_grid(start, entry_margin)) {
        return outcome::end_loop;
    }
    return r.call_recorder(start, [&] { memo_montagna(r.state, r.tunnels, start, end, type); });
}

outcome read_speed_board(reading& r) {
    const std::int32_t position = r.chainage("board chainage");
    std::int32_t v[8];
    const char* names[8] = {"left speed A",  "left speed B",  "left speed C",  "left stripes",
                            "right speed A", "right speed B", "right speed C", "right stripes"};
    for (int i = 0; i < 8; ++i) {
        v[i] = r.fields.number<std::int32_t>(names[i]);
    }
    if (r.beyond_grid(position, entry_margin)) {
        return outcome::end_loop;
    }
    return r.call_recorder(position, [&] {
        memo_indicatori_v_max(r.state, position, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    });
}

outcome read_board(reading& r) {
    const std::int32_t p = r.chainage("board chainage");
    const field_place p_place = r.fields.last();
    r.state.riga.assign(r.fields.text("board text"));
    if (r.beyond_grid(p, entry_margin)) {
        return outcome::end_loop;
    }
    cella& c = r.cell(point_cell(p));
    if (!libera(c)) {
        return r.end_with(6, p, p_place);
    }
    // Board texts go from entry 80 downwards; entry 0 and below are not theirs.
    if (r.board_entry <= 0) {
        throw reader_failure("no header entry left for the board text (more than 80 boards)");
    }
    c.tipo_cella = tipo::cartello;
    c.valore1 = wrap16(r.board_entry);
    r.entry(r.board_entry).nome = r.state.riga;
    --r.board_entry;
    return outcome::go_on;
}

// Without a plan, curve lines are not recognised: their numbers are read next as
// keyword fields that match nothing.
// clang-format off
constexpr keyword_entry keywords[] = {
    {words("pendenza"), read_gradient},
    {plan_words("curva"), read_curve},
    {words("montagna"), read_tunnel},
    {words("indicatori_v"), read_speed_board},
    {words("cartello", "indicat"), read_board},
};
// clang-format on

}  // namespace

std::span<const keyword_entry> body_keywords() {
    return keywords;
}

void finish_plan(reading& r) {
    if (r.state.con_tracciato == 0) {
        return;
    }
    tracciato_linea& plan = r.state.tracciato;
    // The last two points stay empty.
    draw_to(plan, r.drawing_cursor, plan.last_metre() - 2, 0.0);
}

}  // namespace scenario
