#include "compiler/plan_drawing.hpp"

#include <algorithm>
#include <string>

#include "model/reader_failure.hpp"

namespace scenario {

namespace {

[[noreturn]] void beyond_the_plan(const tracciato_linea& plan, std::int64_t point) {
    throw reader_failure("plan point " + std::to_string(point) + " is beyond the plan (0 to " +
                         std::to_string(plan.last_metre()) + ")");
}

}  // namespace

void start_plan(tracciato_linea& plan) {
    if (!plan.exists()) {
        throw reader_failure("no route length before the body, so there is no plan");
    }
    if (plan.last_metre() < 1) {
        throw reader_failure("the plan has no room for its first two points");
    }
    plan.set_integer(0, 0, 0);
    plan.set_integer(0, 1, 0);
    plan.set_integer(1, 0, 0);
    plan.set_integer(1, 1, 1);
}

void draw_to(tracciato_linea& plan, std::int64_t& cursor, std::int64_t to, double k) {
    if (cursor > to) {
        return;
    }
    if (cursor < 2) {
        beyond_the_plan(plan, cursor);  // the first two points are not drawn
    }
    const std::int64_t last = std::min(to, plan.last_metre());
    if (cursor <= last) {
        plan.draw(cursor, last, k);
        cursor = last + 1;
    }
    if (cursor <= to) {
        beyond_the_plan(plan, cursor);
    }
}

double curvature(char curve_class) {
    switch (curve_class) {
        case '1':
            return 0.0001;
        case '2':
            return 0.0002;
        case '3':
            return 0.0004;
        case '4':
            return 0.001;
        case '5':
            return 0.002;
        case '6':
            return 0.003;
        default:
            return 0.0;
    }
}

}  // namespace scenario
