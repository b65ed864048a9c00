#include "compiler/profiles.hpp"

#include <cstddef>
#include <optional>

#include "compiler/grid_access.hpp"
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
// then on while the cursor is below `end`; from a `stop` cell on, none.
void fill(reading& r, const profile_rule& rule, std::int64_t end,
          std::optional<std::int64_t> stop) {
    profile& p = r.*rule.working;
    const fill_trace traced(r, rule, p);
    std::optional<std::uint8_t> value;
    do {
        if (stop && p.cursor >= *stop) {
            return;
        }
        // The value before the cell: a speed that does not fit fails before a cursor
        // outside the grid does.
        if (!value) {
            value = value_for_cells(r, rule, p);
        }
        r.cell(p.cursor).*rule.field = *value;
        ++p.cursor;
    } while (p.cursor < end);
}

// What the cells will hold of a value: a gradient or an adhesion keeps its low 8 bits,
// a speed goes in steps of 5 km/h (one that does not fit is an error, later).
void check_value(reading& r, profile_kind kind, std::int64_t value, const field_place& at) {
    switch (kind) {
        case profile_kind::gradient: {
            const std::uint8_t stored = gradient_value(value);
            if (value + 100 != stored) {
                r.warn(warning::value_wrapped, at,
                       say(phrase::gradient_wrapped, {std::to_string(value), std::to_string(stored),
                                                      std::to_string(std::int64_t{stored} - 100)}));
            }
            return;
        }
        case profile_kind::adhesion:
            if (value != adhesion_value(value)) {
                r.warn(warning::value_wrapped, at,
                       say(phrase::adhesion_wrapped,
                           {std::to_string(value), std::to_string(adhesion_value(value))}));
            }
            return;
        case profile_kind::speed: {
            const std::int64_t step = speed_step(value);
            if (value % 5 != 0 && step >= 0 && step <= 255) {
                r.warn(warning::value_rounded, at,
                       say(phrase::speed_rounded, {std::to_string(value), std::to_string(step),
                                                   std::to_string(5 * step)}));
            }
            return;
        }
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
    if (n > 0) {
        std::optional<std::int64_t> stop;
        if (rule.stops_at_last_cell) {
            stop = last_cell(r.state.celle);
        }
        fill(r, rule, n, stop);
    }
    if (working.chainage_place.line != 0 && p < working.chainage) {
        const std::string_view keyword = r.described->forms[0];
        r.warn(warning::out_of_order, p_place,
               say(phrase::profile_goes_back,
                   {keyword, std::to_string(p), std::to_string(working.chainage),
                    std::to_string(metres_per_cell * working.cursor)}),
               {r.note_at(working.chainage_place, say(phrase::note_previous_row, {keyword}))});
    }
    check_value(r, kind, value, value_place);
    working.previous = value;
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
