#include "compiler/line_body.hpp"

#include <algorithm>
#include <limits>
#include <vector>

#include "compiler/grid_access.hpp"
#include "compiler/plan_drawing.hpp"
#include "compiler/profiles.hpp"
#include "compiler/railway_limits.hpp"
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

// A curve that starts inside the one before, or has no length.
void check_curve(reading& r, std::int32_t start, std::int32_t length,
                 const field_place& length_place) {
    const field_place& at = *r.entry_place;
    if (length <= 0) {
        r.warn(warning::nonpositive_length, length_place,
               say(phrase::curve_length_not_positive, {std::to_string(length)}));
    } else if (r.curve_place.line != 0 && start < r.curve_end) {
        r.warn(warning::out_of_order, at,
               say(phrase::curve_inside_previous,
                   {std::to_string(start), std::to_string(r.curve_end)}),
               {r.note_at(r.curve_place, say(phrase::note_previous_row, {"curve"}))});
    }
    r.curve_place = at;
    r.curve_end = std::max<std::int64_t>(r.curve_end, std::int64_t{start} + std::max(length, 0));
}

outcome read_curve(reading& r) {
    const std::int32_t start = r.chainage();
    const field_place start_place = r.fields.last();
    const std::int32_t length = r.number<std::int32_t>();
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
    check_curve(r, start, length, length_place);
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
    ++r.state.trace.counts.curves;
    r.state.trace.curves.push_back({start, end, r.trace_row()});
    return outcome::go_on;
}

// A tunnel with no length, one that starts before the one before ends, and cells that
// fall outside the track.
void check_tunnel(reading& r, std::int32_t start, std::int32_t end, const field_place& end_place) {
    const field_place& at = *r.entry_place;
    if (end <= start) {
        r.warn(
            warning::nonpositive_length, end_place,
            say(phrase::tunnel_end_not_after_start, {std::to_string(end), std::to_string(start)}));
    } else if (!r.tunnels.ends.empty() && start < r.tunnels.ends.back()) {
        r.warn(warning::out_of_order, at,
               say(phrase::tunnel_inside_previous,
                   {std::to_string(start), std::to_string(r.tunnels.ends.back())}),
               {r.note_at(r.tunnel_place, say(phrase::note_previous_row, {"tunnel"}))});
    }
    r.tunnel_place = at;
    const std::int64_t first = near(static_cast<double>(start) / 50.0);
    const std::int64_t last = near(static_cast<double>(end) / 50.0 - 1.0);
    const std::int64_t n = last_cell(r.state.celle);
    if (first <= last && (first < 0 || last > n)) {
        const std::int64_t from = first < 0 ? first : n + 1;
        const std::int64_t to = first < 0 ? std::min<std::int64_t>(-1, last) : last;
        r.warn(warning::dropped, at,
               say(phrase::tunnel_cells_dropped,
                   {std::to_string(from) + " to " + std::to_string(to), std::to_string(n)}));
    }
}

outcome read_tunnel(reading& r) {
    std::int32_t start = r.chainage();
    std::int32_t end = r.number<std::int32_t>();
    const field_place end_place = r.fields.last();
    std::int32_t type = r.number<std::int32_t>();
    const field_place type_place = r.fields.last();
    if (r.beyond_grid(start, entry_margin)) {
        return outcome::end_loop;
    }
    check_tunnel(r, start, end, end_place);
    const traced_tunnel written{start, end, type, r.trace_row()};
    const outcome o = r.call_recorder(
        start, [&] { memo_montagna(r.state, r.tunnels, start, end, type); },
        [](std::int32_t) { return std::vector<std::int64_t>{}; });
    if (o == outcome::go_on) {
        if (type != wrap8(type)) {
            r.warn(warning::value_wrapped, type_place,
                   say(phrase::wrapped8, {say(phrase::value_tunnel_type), std::to_string(type),
                                          std::to_string(wrap8(type))}));
        }
        r.state.trace.tunnels.push_back(written);
        ++r.state.trace.counts.tunnels;
    }
    return o;
}

// What a speed board's values become in its cell beyond what the packing warnings of
// the reader say: a speed or stripe count outside the digits its packing keeps, a board
// half written, and values no railway has.
void check_speed_board(reading& r, const std::int32_t (&v)[8], const field_place (&places)[8]) {
    const char* ranks[3] = {"A", "B", "C"};
    bool packed_wrong = false;
    for (int i = 0; i < 3; ++i) {
        const std::int32_t left = v[i];
        const std::int32_t right = v[4 + i];
        const std::int64_t packed = speed_board_packing(left, right);
        if (packed != wrap16(packed)) {
            continue;  // error 25
        }
        const std::int64_t right_step = near(static_cast<double>(right) / 5.0);
        const bool left_wrong = left < 0 || left % 5 != 0;
        if (left_wrong || right_step < 0 || right_step > 99) {
            packed_wrong = true;
            r.warn(warning::value_packed, places[left_wrong ? i : 4 + i],
                   say(phrase::packed_board,
                       {ranks[i], std::to_string(left), std::to_string(right),
                        std::to_string(packed), std::to_string(packed / 100 * 5),
                        std::to_string(packed % 100 * 5)}));
        }
    }
    for (const int side : {0, 4}) {
        const char* hand = side == 0 ? "left" : "right";
        int empty = 0;
        bool doubled = false;  // the double-comma warning says it
        const field_place* first_empty = nullptr;
        for (int i = side; i < side + 3; ++i) {
            if (places[i].empty) {
                doubled = doubled || !r.left_empty(places[i]);
                ++empty;
                first_empty = first_empty != nullptr ? first_empty : &places[i];
            }
        }
        if ((empty == 1 || empty == 2) && !doubled) {
            r.warn(warning::half_written, *first_empty,
                   say(phrase::half_written_board, {hand, std::to_string(3 - empty)}), {},
                   {r.fix_at(*first_empty, "0", "write 0, as the empty field reads", false)});
        }
        for (int i = side; i < side + 3 && !packed_wrong; ++i) {
            if (v[i] > fastest_line_speed) {
                r.warn(warning::unlikely_speed, places[i],
                       say(phrase::unlikely_speed,
                           {std::string(hand) + "-hand board speed", std::to_string(v[i]),
                            std::to_string(fastest_line_speed)}));
                break;
            }
        }
    }
    const std::int32_t left = v[3];
    const std::int32_t right = v[7];
    const std::int64_t stripes = stripe_packing(left, right);
    if (stripes != wrap16(stripes)) {
        return;  // value-wrapped
    }
    if (left < 0 || right < 0 || right > 9) {
        const bool right_wrong = right < 0 || right > 9;
        const field_place& at = places[right_wrong ? 7 : 3];
        const std::string written = std::to_string(right_wrong ? right : left);
        const char* name = right_wrong ? "the right-hand stripe count" : "the left-hand stripe count";
        r.warn(warning::value_packed, at,
               stripes < 0 ? say(phrase::packed_negative,
                                 {name, written, "10 x left + right", std::to_string(stripes)})
                           : say(phrase::packed_digit,
                                 {name, written, "10 x left + right",
                                  right_wrong ? "its units, 0 to 9" : "its tens",
                                  std::to_string(stripes),
                                  "left " + std::to_string(stripes / 10) + " and right " +
                                      std::to_string(stripes % 10)}));
        return;
    }
    for (const int i : {3, 7}) {
        if (v[i] > most_stripes) {
            r.warn(warning::unlikely_stripes, places[i],
                   say(phrase::unlikely_stripes, {i == 3 ? "left" : "right", std::to_string(v[i]),
                                                  std::to_string(most_stripes)}));
        }
    }
}

outcome read_speed_board(reading& r) {
    const std::int32_t position = r.chainage();
    std::int32_t v[8];  // the left-hand speeds A to C and stripes, then the right-hand ones
    field_place places[8];
    for (int i = 0; i < 8; ++i) {
        v[i] = r.number<std::int32_t>();
        places[i] = r.fields.last();
    }
    if (r.beyond_grid(position, entry_margin)) {
        return outcome::end_loop;
    }
    // What each rank's packing makes of its speeds: a packing too large for 16 bits is
    // the first speed's fault, a right-hand speed between steps of 5 km/h is rounded.
    const char* ranks[3] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        const std::int64_t packed = speed_board_packing(v[i], v[4 + i]);
        if (packed != wrap16(packed)) {
            if (!r.cause) {
                r.cause = reading::blame{r.place_of(places[i]), {}};
            }
        } else if (v[4 + i] % 5 != 0) {
            const std::string stored = std::to_string(5 * packed - 100 * std::int64_t{v[i]});
            r.warn(warning::value_rounded, places[4 + i],
                   say(phrase::board_speed_rounded,
                       {std::to_string(v[4 + i]), ranks[i], std::to_string(packed), stored}),
                   {},
                   {r.fix_at(places[4 + i], stored, "write " + stored + ", the speed stored",
                             true)});
        }
    }
    const std::int64_t stripes = stripe_packing(v[3], v[7]);
    const std::int64_t c = point_cell(position);
    const outcome o = r.call_recorder(
        position,
        [&] {
            memo_indicatori_v_max(r.state, position, v[0], v[1], v[2], v[3], v[4], v[5], v[6],
                                  v[7]);
        },
        [&](std::int32_t) { return std::vector<std::int64_t>{c}; });
    r.cause.reset();
    if (o == outcome::go_on) {
        if (stripes != wrap16(stripes)) {
            r.warn(warning::value_wrapped, places[3],
                   say(phrase::wrapped16, {say(phrase::value_stripes), std::to_string(stripes),
                                           std::to_string(wrap16(stripes))}));
        }
        if (r.keyword_warnings) {
            check_speed_board(r, v, places);
            std::int32_t fastest = 0;
            for (const int i : {0, 1, 2, 4, 5, 6}) {
                fastest = std::max(fastest, v[i]);
            }
            if (fastest > 0) {
                r.speed_boards.push_back({position, fastest, std::max(v[3], v[7]),
                                          r.place_of(*r.entry_place)});
            }
        }
        r.stamp(c);
        ++r.state.trace.counts.speed_boards;
    }
    return o;
}

outcome read_board(reading& r) {
    const std::int32_t p = r.chainage();
    const field_place p_place = r.fields.last();
    r.state.riga.assign(r.text_field());
    const field_place text_place = r.fields.last();
    if (r.beyond_grid(p, entry_margin)) {
        return outcome::end_loop;
    }
    const std::int64_t t = point_cell(p);
    cella& c = r.cell(t);
    if (!libera(c)) {
        return r.end_with(6, p, p_place, r.notes_on_cells({t}));
    }
    // Board texts go from entry 80 downwards; entry 0 and below are not theirs.
    if (r.board_entry <= 0) {
        throw reader_failure("no header entry left for the board text (more than 80 boards)");
    }
    if (r.state.riga.size() > longest_text) {
        record_tool_error(
            r.state, r.place_of(text_place),
            say(phrase::text_too_long,
                {"board text", std::to_string(r.state.riga.size()), std::to_string(longest_text)}));
    }
    c.tipo_cella = tipo::cartello;
    c.valore1 = wrap16(r.board_entry);
    r.entry(r.board_entry).nome = r.state.riga;
    r.trace_row(r.board_entry);
    --r.board_entry;
    r.stamp(t);
    ++r.state.trace.counts.indicator_boards;
    return outcome::go_on;
}

// The body's readers, in the order of its keywords. Without a plan, curve lines are
// not recognised: their numbers are read next as keyword fields that match nothing.
constexpr reader_binding readers[] = {
    {"pendenza", read_gradient},         {"curva", read_curve},
    {"montagna", read_tunnel},           {"indicatori_vmax", read_speed_board},
    {"cartello_indicatore", read_board},
};

}  // namespace

std::span<const keyword_entry> body_keywords() {
    static const std::vector<keyword_entry> table = bind_readers(document_part::body, readers);
    return table;
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
