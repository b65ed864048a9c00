// Drawing a stretch at once gives the very doubles that drawing point by point gives.
#include "compiler/plan_drawing.hpp"

#include <gtest/gtest.h>

#include <bit>

#include "model/reader_failure.hpp"

namespace scenario {
namespace {

struct stretch {
    std::int64_t fino;
    double k;
};

TEST(PlanDrawing, StretchesMatchPointByPointDrawingBitForBit) {
    const stretch stretches[] = {{900, 0.0},     {2000, -0.001}, {2100, 0.003},   {2101, 0.0},
                                 {5000, 0.0002}, {5000, 0.006},  {9000, -0.0004}, {9998, 0.0}};
    tracciato_linea a(10000);
    tracciato_linea b(10000);
    inizia_tracciato(a);
    inizia_tracciato(b);
    std::int64_t ca = 2;
    std::int64_t cb = 2;
    for (const stretch& s : stretches) {
        for (; ca <= s.fino; ++ca) {
            aggiungi_punto(a, ca, s.k);
        }
        disegna_fino(b, cb, s.fino, s.k);
        ASSERT_EQ(cb, ca);
    }
    for (std::int64_t m = 0; m <= 10000; ++m) {
        for (int c = 0; c < 2; ++c) {
            ASSERT_EQ(a.kind(m, c), b.kind(m, c)) << m;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(a.value(m, c)),
                      std::bit_cast<std::uint64_t>(b.value(m, c)))
                << "metre " << m << " coordinate " << c;
        }
    }
}

TEST(PlanDrawing, StretchPastThePlanDrawsUpToItsEndThenFails) {
    tracciato_linea t(100);
    inizia_tracciato(t);
    std::int64_t c = 2;
    EXPECT_THROW(disegna_fino(t, c, 150, 0.001), reader_failure);
    EXPECT_EQ(c, 101);
    EXPECT_EQ(t.kind(100, 0), tipo_valore::doppio);
    std::int64_t behind = 50;
    disegna_fino(t, behind, 40, 0.0);  // nothing to draw
    EXPECT_EQ(behind, 50);
}

}  // namespace
}  // namespace scenario
