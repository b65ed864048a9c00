#include "compiler/profiles.hpp"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "compiler/grid_access.hpp"
#include "compiler/railway_limits.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

// Gradient + 100 and the adhesion keep their low 8 bits on purpose; the speed limit is
// stored in steps of 5 km/h and must fit its 8 bits.
std::uint8_t gradient_value(std::int64_t gradient) {
    return wrap8(gradient + 100);
}
std::int64_t speed_step(std::int64_t speed) {
    return near(static_cast<double>(speed) / 5.0);
}
std::uint8_t speed_value(std::int64_t speed) {
    return fit<std::uint8_t>(speed_step(speed), "speed step");
}
std::uint8_t adhesion_value(std::int64_t adhesion) {
    return wrap8(adhesion);
}

// What tells the profiles apart.
struct profile_rule {
    profile reading::*working;
    std::uint8_t cella::*field;
    std::uint8_t (*cell_value)(std::int64_t);
    std::int64_t element_counts::*count;
    std::vector<traced_fill> traced_profiles::*fills;
    bool stops_at_last_cell;  // an entry's fill writes no cell from N on
};

// In the order of profile_kind.
constexpr profile_rule rules[] = {
    {&reading::gradient, &cella::pendenza, gradient_value, &element_counts::gradient_rows,
     &traced_profiles::gradient, false},
    {&reading::speed, &cella::vel_limite, speed_value, &element_counts::speed_rows,
     &traced_profiles::speed, true},
    {&reading::adhesion, &cella::aderenza, adhesion_value, &element_counts::adhesion_rows,
     &traced_profiles::adhesion, false},
};

const profile_rule& rule_of(profile_kind kind) {
    return rules[static_cast<std::size_t>(kind)];
}

// The value of the profile's previous entry for its cells. A speed that does not fit
// is the fault of the line that gave it, noticed where its cells are written: at the
// current line, or at the end of the document.
std::uint8_t value_for_cells(reading& r, const profile_rule& rule, const profile& p) {
    try {
        return rule.cell_value(p.previous);
    } catch (const reader_failure&) {
        if (p.value_place.line != 0) {
            const bool at_entry = r.in_entry && r.entry_place;
            r.cause = reading::blame{
                r.place_of(p.value_place),
                {at_entry ? r.note_at(*r.entry_place, say(phrase::note_speed_filled_by_row))
                          : diagnostic_note{r.document, 0, 0, 0,
                                            say(phrase::note_speed_filled_at_end)}}};
        }
        throw;
    }
}

// Traces the cells a fill wrote, also when it stops on a failure: they hold the value
// of the profile's last row (a fill that goes on from that row's last one extends it).
class fill_trace {
  public:
    fill_trace(reading& r, const profile_rule& rule, const profile& p)
        : fills_(r.state.trace.profiles.*rule.fills), p_(p), first_(p.cursor) {}
    fill_trace(const fill_trace&) = delete;
    fill_trace& operator=(const fill_trace&) = delete;
    ~fill_trace() {
        if (p_.cursor <= first_) {
            return;
        }
        // Cells are counted in 32 bits: a grid holds at most near(1007000 / 50) + 1.
        const auto end = static_cast<std::int32_t>(p_.cursor);
        if (!fills_.empty() && fills_.back().row == p_.row && fills_.back().end == first_) {
            fills_.back().end = end;
        } else {
            fills_.push_back({static_cast<std::int32_t>(first_), end, p_.row});
        }
    }

  private:
    std::vector<traced_fill>& fills_;
    const profile& p_;
    std::int64_t first_;
};

// Writes the profile's previous value into the cells from its cursor on: one cell,
// then on while the cursor is below `end`; from a `stop` cell on, none. A run that
// leaves the grid fails at its first cell outside, those before it written.
void fill(reading& r, const profile_rule& rule, std::int64_t end,
          std::optional<std::int64_t> stop) {
    profile& p = r.*rule.working;
    const fill_trace traced(r, rule, p);
    if (stop && p.cursor >= *stop) {
        return;
    }
    // The value before the cells: a speed that does not fit fails before a cursor
    // outside the grid does.
    const std::uint8_t value = value_for_cells(r, rule, p);
    std::int64_t until = std::max(end, p.cursor + 1);
    if (stop) {
        until = std::min(until, *stop);
    }
    if (p.cursor >= 0) {
        const std::int64_t inside = std::min(until, last_cell(r.state.celle) + 1);
        for (; p.cursor < inside; ++p.cursor) {
            r.state.celle[static_cast<std::size_t>(p.cursor)].*rule.field = value;
        }
    }
    if (p.cursor < until) {
        r.cell(p.cursor);  // outside the grid: fails as writing it would
    }
}

// A value written as another, as a fix of its field.
diagnostic_fix value_fix(const reading& r, const field_place& at, std::int64_t value,
                         std::string_view why, bool certain) {
    return r.fix_at(at, std::to_string(value),
                    "write " + std::to_string(value) + std::string(why), certain);
}

// What the cells will hold of a value: a gradient or an adhesion keeps its low 8 bits,
// a speed goes in steps of 5 km/h (one that does not fit is an error, later); and a
// value no railway has.
void check_value(reading& r, profile_kind kind, std::int64_t value, const field_place& at) {
    switch (kind) {
        case profile_kind::gradient: {
            const std::uint8_t stored = gradient_value(value);
            const std::int64_t shown = std::int64_t{stored} - 100;
            if (value + 100 != stored) {
                r.warn(warning::value_wrapped, at,
                       say(phrase::gradient_wrapped, {std::to_string(value), std::to_string(stored),
                                                      std::to_string(shown)}),
                       {}, {value_fix(r, at, shown, ", the gradient stored", false)});
            } else if (value > steepest_gradient || value < -steepest_gradient) {
                r.warn(warning::unlikely_gradient, at,
                       say(phrase::unlikely_gradient,
                           {std::to_string(value), std::to_string(steepest_gradient)}));
            }
            return;
        }
        case profile_kind::adhesion:
            if (value != adhesion_value(value)) {
                r.warn(warning::value_wrapped, at,
                       say(phrase::adhesion_wrapped,
                           {std::to_string(value), std::to_string(adhesion_value(value))}),
                       {}, {value_fix(r, at, adhesion_value(value), ", the adhesion stored", false)});
            } else if (value > unreduced_adhesion) {
                r.warn(warning::unlikely_adhesion, at,
                       say(phrase::unlikely_adhesion,
                           {std::to_string(value), std::to_string(unreduced_adhesion)}));
            }
            return;
        case profile_kind::speed: {
            const std::int64_t step = speed_step(value);
            const bool fits = step >= 0 && step <= 255;
            if (value % 5 != 0 && fits) {
                r.warn(warning::value_rounded, at,
                       say(phrase::speed_rounded, {std::to_string(value), std::to_string(step),
                                                   std::to_string(5 * step)}),
                       {}, {value_fix(r, at, 5 * step, ", the speed stored", true)});
            }
            if (fits && (value < 0 || value > fastest_line_speed)) {
                r.warn(warning::unlikely_speed, at,
                       say(phrase::unlikely_speed, {"speed limit", std::to_string(value),
                                                    std::to_string(fastest_line_speed)}));
            }
            return;
        }
    }
}

// A line whose value no cell took, and a line whose value takes effect a cell after its
// own. `before` is the cursor before this line's fill, `previous_before` the cursor
// before the fill of the line before it.
void check_cells(reading& r, const profile& working, std::int64_t n, std::int64_t before,
                 std::int64_t previous_before, std::int32_t p, const field_place& p_place,
                 bool goes_back) {
    const std::string_view keyword = r.described->forms[0];
    if (working.row >= 0 && working.cursor == previous_before) {
        // Neither that line's fill nor this one's wrote a cell: that line can go.
        const diagnostic_fix removal =
            r.line_removal(working.chainage_place.line, "remove this line, whose value no cell takes",
                           true);
        r.warn(warning::hidden_row, working.chainage_place,
               say(phrase::hidden_profile_row,
                   {keyword, std::to_string(working.previous), std::to_string(p)}),
               {r.note_at(p_place, say(phrase::note_replaced_by, {keyword}))}, {removal});
        return;
    }
    if (n > 0 && before >= n && !goes_back && working.cursor > n) {
        const std::int64_t takes_effect = 50 * working.cursor;
        std::vector<diagnostic_fix> fixes;
        if (takes_effect + entry_margin <= 50 * last_cell(r.state.celle)) {
            fixes.push_back(r.fix_at(p_place, std::to_string(takes_effect),
                                     "write " + std::to_string(takes_effect) +
                                         ", the chainage the value takes effect at",
                                     false));
        }
        r.warn(warning::shared_cell, p_place,
               say(phrase::shared_cell, {keyword, std::to_string(p), std::to_string(n),
                                         std::to_string(takes_effect)}),
               {}, std::move(fixes));
    }
}

}  // namespace

outcome read_profile_entry(reading& r, profile_kind kind) {
    const profile_rule& rule = rule_of(kind);
    const std::int32_t p = r.chainage();
    const field_place p_place = r.fields.last();
    const std::int32_t value = r.number<std::int32_t>();
    const field_place value_place = r.fields.last();
    if (r.beyond_grid(p, entry_margin)) {
        return outcome::end_loop;
    }
    profile& working = r.*rule.working;
    const std::int64_t n = near(p / 50.0);
    const std::int64_t before = working.cursor;
    if (n > 0) {
        std::optional<std::int64_t> stop;
        if (rule.stops_at_last_cell) {
            stop = last_cell(r.state.celle);
        }
        fill(r, rule, n, stop);
    }
    const bool goes_back = working.chainage_place.line != 0 && p < working.chainage;
    if (r.keyword_warnings) {
        check_cells(r, working, n, before, working.cursor_before, p, p_place, goes_back);
    }
    if (goes_back) {
        const std::string_view keyword = r.described->forms[0];
        r.warn(warning::out_of_order, p_place,
               say(phrase::profile_goes_back,
                   {keyword, std::to_string(p), std::to_string(working.chainage),
                    std::to_string(metres_per_cell * working.cursor)}),
               {r.note_at(working.chainage_place, say(phrase::note_previous_row, {keyword}))});
    }
    check_value(r, kind, value, value_place);
    working.previous = value;
    working.cursor_before = before;
    working.chainage = p;
    working.chainage_place = p_place;
    working.value_place = value_place;
    working.row = r.trace_row();
    ++(r.state.trace.counts.*rule.count);
    return outcome::go_on;
}

void finish_profile(reading& r, profile_kind kind) {
    fill(r, rule_of(kind), last_cell(r.state.celle) - 2, std::nullopt);
}

}  // namespace scenario
