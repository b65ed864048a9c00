// The line plan drawn from the curve lines of the line document.
#include <gtest/gtest.h>

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
    // The first curved point turns left (k = -0.001) by one step.
    EXPECT_EQ(x(r, 901), -0.001);
    EXPECT_EQ(y(r, 901), 901.0);
    EXPECT_EQ(x(r, 902), -0.001 + -0.001 + -0.001 * 1.0);
    // From 2001 on the direction of the last curved step is kept.
    EXPECT_DOUBLE_EQ(x(r, 2001) - x(r, 2000), x(r, 2000) - x(r, 1999));
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
        EXPECT_EQ(n.stato.diagnostics.back().column, 1);
    }
}

TEST(ReaderPlan, CurveBehindTheCursorDrawsOnlyAheadOfIt) {
    compilato r(documento_linea(5000, {"curvad6,  100,  50", "curvas6,  120,  40"}), treno_vuoto);
    // Points 101 to 150 belong to the first curve; 151 to 160 turn left.
    const double dx150 = x(r, 150) - x(r, 149);
    const double dy150 = y(r, 150) - y(r, 149);
    EXPECT_EQ(x(r, 151), x(r, 150) + dx150 + -0.003 * dy150);
    const double dx161 = x(r, 161) - x(r, 160);
    EXPECT_DOUBLE_EQ(dx161, x(r, 160) - x(r, 159));
}

TEST(ReaderPlan, PlanWithoutSwitchIgnoresCurves) {
    // Without the plan the curve's numbers are keyword fields that match nothing.
    compilato r(documento_linea(5000, {"curvas,  10,  1", "pendenza,  600,  2"}), treno_vuoto, 0);
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_FALSE(r.stato.tracciato.esiste());
    EXPECT_EQ(r.c(12).pendenza, 102);
}

TEST(ReaderPlan, PlanLimits) {
    // Past metre 1000000: 103, pointing at the field that drove the cursor there.
    compilato lungo(documento_linea(1000000, {"curvas1,  999000,  5000"}), treno_vuoto);
    EXPECT_EQ(lungo.stato.codice_errore, 103);
    EXPECT_EQ(lungo.stato.diagnostics.back().column, 20);
    EXPECT_TRUE(lungo.eliminato(linea));
    EXPECT_FALSE(lungo.eliminato(treno));
    compilato dritto(documento_linea(1000000, {"curvas1,  1000500,  5"}), treno_vuoto);
    EXPECT_EQ(dritto.stato.codice_errore, 103);
    EXPECT_EQ(dritto.stato.diagnostics.back().column, 11);

    // A curve running past the end of a shorter plan (E = 1000).
    compilato oltre(documento_linea(lunghezza_piccola, {"curvas1,  900,  200"}), treno_vuoto);
    EXPECT_EQ(oltre.stato.codice_errore, 25);
    EXPECT_TRUE(oltre.eliminato(treno));
    EXPECT_EQ(oltre.stato.tracciato.kind(1000, 0), tipo_valore::doppio);
}

}  // namespace
}  // namespace scenario::testing
