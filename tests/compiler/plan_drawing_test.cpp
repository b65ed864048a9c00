// The plan's points against values worked out by hand from the step
//   x(c) = x(c-1) + dx + k dy,  y(c) = y(c-1) + dy - k dx
// from (0, 0) and (0, 1). With k constant the step is multiplied by 1 - ik (in x + iy):
// each curved point turns it by atan(k), clockwise for k > 0, and lengthens it by
// sqrt(1 + k^2); after the points 2 to n, P(n) = (1 - (1 - ik)^n) / k.
#include "compiler/plan_drawing.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "model/reader_failure.hpp"

namespace scenario {
namespace {

// The direction of the step into metre m, clockwise from the second coordinate.
double heading(const tracciato_linea& t, std::int64_t m) {
    return std::atan2(t.value(m, 0) - t.value(m - 1, 0), t.value(m, 1) - t.value(m - 1, 1));
}
double step_length(const tracciato_linea& t, std::int64_t m) {
    return std::hypot(t.value(m, 0) - t.value(m - 1, 0), t.value(m, 1) - t.value(m - 1, 1));
}

TEST(PlanDrawing, LongRightAndLeftCurvesFollowTheHandWorkedPoints) {
    // k = 0.001 (class 4): atan(k) = 0.000999999667 rad and sqrt(1 + k^2) = 1.0000005
    // per metre. Left-hand curves mirror the first coordinate.
    for (const double side : {1.0, -1.0}) {
        tracciato_linea t(1200);
        start_plan(t);
        std::int64_t cursor = 2;
        draw_to(t, cursor, 1000, side * 0.001);
        ASSERT_EQ(cursor, 1001);
        EXPECT_NEAR(t.value(2, 0), side * 0.001, 1e-15);
        EXPECT_EQ(t.value(2, 1), 2.0);
        // The second curved point: 0.001 + 0.001 + 0.001 * 1, 2 + 1 - 0.001 * 0.001.
        EXPECT_NEAR(t.value(3, 0), side * 0.003, 1e-15);
        EXPECT_NEAR(t.value(3, 1), 2.999999, 1e-12);
        // 999 curved steps: turned by 999 atan(0.001), lengthened to (1 + 1e-6)^499.5.
        EXPECT_NEAR(heading(t, 1000), side * 0.998999667000, 1e-9);
        EXPECT_NEAR(step_length(t, 1000), 1.000499624521, 1e-9);
        EXPECT_NEAR(t.value(1000, 0), side * 459.427194935, 1e-6);
        EXPECT_NEAR(t.value(1000, 1), 841.891645100, 1e-6);
        EXPECT_EQ(t.kind(1001, 0), tipo_valore::vuoto);
    }
}

TEST(PlanDrawing, StraightKeepsTheHeadingAndAnEqualOppositeCurveUndoesTheTurn) {
    tracciato_linea t(3000);
    start_plan(t);
    std::int64_t cursor = 2;
    draw_to(t, cursor, 1000, 0.001);
    draw_to(t, cursor, 1500, 0.0);
    draw_to(t, cursor, 2499, -0.001);  // 999 points, as many as the right-hand curve
    ASSERT_EQ(cursor, 2500);
    EXPECT_NEAR(heading(t, 1500), 0.998999667000, 1e-9);
    EXPECT_NEAR(step_length(t, 1500), 1.000499624521, 1e-9);
    // (1 - ik)^999 (1 + ik)^999 = (1 + k^2)^999: straight ahead again, 1.000999498667 long.
    EXPECT_NEAR(heading(t, 2499), 0.0, 1e-9);
    EXPECT_NEAR(step_length(t, 2499), 1.000999498667, 1e-9);
}

TEST(PlanDrawing, StretchPastThePlanDrawsUpToItsEndThenFails) {
    tracciato_linea t(100);
    start_plan(t);
    std::int64_t c = 2;
    EXPECT_THROW(draw_to(t, c, 150, 0.001), reader_failure);
    EXPECT_EQ(c, 101);
    EXPECT_EQ(t.kind(100, 0), tipo_valore::doppio);
    std::int64_t behind = 50;
    draw_to(t, behind, 40, 0.0);  // nothing to draw
    EXPECT_EQ(behind, 50);
}

}  // namespace
}  // namespace scenario
