// The line plan drawn from the curve lines of the line document.
#include <gtest/gtest.h>

#include <cmath>

#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

const std::string treno_vuoto = documento_treno({});

double x(const compilato& r, std::int64_t m) {
    return r.stato.tracciato.value(m, 0);
}
double y(const compilato& r, std::int64_t m) {
    return r.stato.tracciato.value(m, 1);
}
// The direction of the step into metre m, clockwise from the second coordinate.
double heading(const compilato& r, std::int64_t m) {
    return std::atan2(x(r, m) - x(r, m - 1), y(r, m) - y(r, m - 1));
}

TEST(ReaderPlan, StraightThenCurvedPointsAndTheEmptyLastTwo) {
    compilato r(documento_linea(63500, {"curvas4,  900,  1100"}), treno_vuoto);
    const tracciato_linea& t = r.stato.tracciato;
    ASSERT_EQ(r.stato.codice_errore, 0);
    for (const int m : {0, 1}) {
        EXPECT_EQ(t.kind(m, 0), tipo_valore::intero);
        EXPECT_EQ(t.kind(m, 1), tipo_valore::intero);
    }
    EXPECT_EQ(y(r, 1), 1.0);
    EXPECT_EQ(t.kind(2, 0), tipo_valore::doppio);
    EXPECT_EQ(x(r, 900), 0.0);
    EXPECT_EQ(y(r, 900), 900.0);
    // Left-hand, k = -0.001, from (0, 899), (0, 900): (-0.001, 901), then
    // (-0.001 - 0.001 - 0.001 * 1, 901 + 1 - 0.001 * 0.001).
    EXPECT_EQ(x(r, 901), -0.001);
    EXPECT_EQ(y(r, 901), 901.0);
    EXPECT_NEAR(x(r, 902), -0.003, 1e-12);
    EXPECT_NEAR(y(r, 902), 901.999999, 1e-9);
    // 1100 curved points turn left by 1100 atan(0.001) = 1.099999633 rad; the straight
    // points after the curve keep that heading up to the last drawn point, E - 2.
    EXPECT_NEAR(heading(r, 2000), -1.099999633, 1e-8);
    EXPECT_NEAR(heading(r, 70498), -1.099999633, 1e-8);
    EXPECT_EQ(t.kind(70498, 0), tipo_valore::doppio);
    EXPECT_EQ(t.kind(70499, 0), tipo_valore::vuoto);
    EXPECT_EQ(t.kind(70500, 1), tipo_valore::vuoto);
}

TEST(ReaderPlan, SideAndClassComeFromTheKeywordField) {
    // "curvad12": right-hand (no "s"), class 1 before 2. "CURVAS3": left-hand class 3.
    compilato d(documento_linea(5000, {"curvad12,  10,  1"}), treno_vuoto);
    EXPECT_EQ(x(d, 11), 0.0001);
    compilato s(documento_linea(5000, {"CURVAS3,  10,  1"}), treno_vuoto);
    EXPECT_EQ(x(s, 11), -0.0004);
    for (const char* classe : {"curvas", "curvas7"}) {
        compilato n(documento_linea(5000, {std::string(classe) + ",  10,  1"}), treno_vuoto);
        EXPECT_EQ(n.stato.codice_errore, 103);
        EXPECT_TRUE(n.eliminato(linea));
        EXPECT_FALSE(n.eliminato(treno));
        ASSERT_EQ(n.stato.diagnostics.size(), 1u);
        EXPECT_EQ(n.stato.diagnostics.back().column, 1);
    }
}

TEST(ReaderPlan, CurveBehindTheCursorDrawsOnlyAheadOfIt) {
    compilato r(documento_linea(5000, {"curvad6,  100,  50", "curvas6,  120,  40"}), treno_vuoto);
    // Points 101 to 150 turn right, 151 to 160 left (not 120 to 160): net 40 atan(0.003)
    // = 0.119999640 rad to the right, kept by the straight points after.
    EXPECT_NEAR(heading(r, 150), 0.149999550, 1e-9);
    EXPECT_NEAR(heading(r, 161), 0.119999640, 1e-9);
}

TEST(ReaderPlan, PlanWithoutSwitchIgnoresCurves) {
    // Without the plan the curve's numbers are keyword fields that match nothing.
    compilato r(documento_linea(5000, {"curvas,  10,  1", "pendenza,  600,  2"}), treno_vuoto, 0);
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_FALSE(r.stato.tracciato.exists());
    EXPECT_EQ(r.c(12).pendenza, 102);
}

TEST(ReaderPlan, PlanLimits) {
    // Past metre 1000000: 103, pointing at the field that drove the cursor there.
    compilato lungo(documento_linea(1000000, {"curvas1,  999000,  5000"}), treno_vuoto);
    EXPECT_EQ(lungo.stato.codice_errore, 103);
    ASSERT_EQ(lungo.stato.diagnostics.size(), 1u);
    EXPECT_EQ(lungo.stato.diagnostics.back().column, 20);
    EXPECT_TRUE(lungo.eliminato(linea));
    EXPECT_FALSE(lungo.eliminato(treno));
    compilato dritto(documento_linea(1000000, {"curvas1,  1000500,  5"}), treno_vuoto);
    EXPECT_EQ(dritto.stato.codice_errore, 103);
    ASSERT_EQ(dritto.stato.diagnostics.size(), 1u);
    EXPECT_EQ(dritto.stato.diagnostics.back().column, 11);

    // A curve running past the end of a shorter plan (E = 1000).
    compilato oltre(documento_linea(lunghezza_piccola, {"curvas1,  900,  200"}), treno_vuoto);
    EXPECT_EQ(oltre.stato.codice_errore, 25);
    EXPECT_TRUE(oltre.eliminato(treno));
    EXPECT_EQ(oltre.stato.tracciato.kind(1000, 0), tipo_valore::doppio);
}

}  // namespace
}  // namespace scenario::testing
