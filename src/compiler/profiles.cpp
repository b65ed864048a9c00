#include "compiler/profiles.hpp"

#include <cstddef>
#include <optional>

#include "compiler/grid_access.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"

namespace scenario {

namespace {

// Gradient + 100 and the adhesion keep their low 8 bits on purpose; the speed limit is
// stored in steps of 5 km/h and must fit its 8 bits.
std::uint8_t gradient_value(std::int64_t gradient) {
    return wrap8(gradient + 100);
}
std::uint8_t speed_value(std::int64_t speed) {
    return fit<std::uint8_t>(near(static_cast<double>(speed) / 5.0), "speed step");
}
std::uint8_t adhesion_value(std::int64_t adhesion) {
    return wrap8(adhesion);
}

// What tells the profiles apart.
struct profile_rule {
    profile reading::*working;
    std::uint8_t cella::*field;
    std::uint8_t (*cell_value)(std::int64_t);
    const char* chainage_name;
    const char* value_name;
    bool stops_at_last_cell;  // an entry's fill writes no cell from N on
};

// In the order of profile_kind.
constexpr profile_rule rules[] = {
    {&reading::gradient, &cella::pendenza, gradient_value, "gradient chainage", "gradient", false},
    {&reading::speed, &cella::vel_limite, speed_value, "speed chainage", "speed", true},
    {&reading::adhesion, &cella::aderenza, adhesion_value, "adhesion chainage", "adhesion", false},
};

const profile_rule& rule_of(profile_kind kind) {
    return rules[static_cast<std::size_t>(kind)];
}

// Writes the profile's previous value into the cells from its cursor on: one cell,
// then on while the cursor is below `end`; from a `stop` cell on, none.
void fill(reading& r, const profile_rule& rule, std::int64_t end,
          std::optional<std::int64_t> stop) {
    profile& p = r.*rule.working;
    do {
        if (stop && p.cursor >= *stop) {
            return;
        }
        // The value before the cell: a speed that does not fit fails before a cursor
        // outside the grid does.
        const std::uint8_t value = rule.cell_value(p.previous);
        r.cell(p.cursor).*rule.field = value;
        ++p.cursor;
    } while (p.cursor < end);
}

}  // namespace

outcome read_profile_entry(reading& r, profile_kind kind) {
    const profile_rule& rule = rule_of(kind);
    const std::int32_t p = r.chainage(rule.chainage_name);
    const std::int32_t value = r.fields.number<std::int32_t>(rule.value_name);
    if (r.beyond_grid(p, entry_margin)) {
        return outcome::end_loop;
    }
    const std::int64_t n = near(p / 50.0);
    if (n > 0) {
        std::optional<std::int64_t> stop;
        if (rule.stops_at_last_cell) {
            stop = last_cell(r.state.celle);
        }
        fill(r, rule, n, stop);
    }
    (r.*rule.working).previous = value;
    return outcome::go_on;
}

void finish_profile(reading& r, profile_kind kind) {
    fill(r, rule_of(kind), last_cell(r.state.celle) - 2, std::nullopt);
}

}  // namespace scenario
