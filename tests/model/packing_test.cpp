#include "model/packing.hpp"

#include <gtest/gtest.h>

#include "model/cella.hpp"
#include "model/reader_failure.hpp"
#include "model/tracciato.hpp"

namespace scenario {
namespace {

TEST(Packing, WrappingKeepsTheLowBits) {
    EXPECT_EQ(wrap16(32768), -32768);
    EXPECT_EQ(wrap16(65536 + 7), 7);
    EXPECT_EQ(wrap16(-1), -1);
    EXPECT_EQ(wrap8(256 + 98), 98);
    EXPECT_EQ(wrap8(-2), 254);
}

TEST(Packing, CheckedConversionsFailOutsideTheirWidth) {
    EXPECT_EQ(fit<std::int16_t>(32767, "v"), 32767);
    EXPECT_EQ(fit<std::int16_t>(-32768, "v"), -32768);
    EXPECT_THROW(fit<std::int16_t>(32768, "v"), reader_failure);
    EXPECT_THROW(fit<std::int16_t>(-32769, "v"), reader_failure);
    EXPECT_EQ(fit<std::uint8_t>(255, "v"), 255);
    EXPECT_THROW(fit<std::uint8_t>(256, "v"), reader_failure);
    EXPECT_THROW(fit<std::uint8_t>(-1, "v"), reader_failure);
}

TEST(Packing, FailureMessageNamesTheValueAndTheRange) {
    try {
        fit<std::uint8_t>(300, "station kind");
        FAIL();
    } catch (const reader_failure& e) {
        EXPECT_STREQ(e.what(), "station kind 300 does not fit its field (0 to 255)");
    }
}

TEST(Cells, OnlyEmptyCellsAndTunnelMarkersAreFree) {
    for (int kind = 0; kind < 256; ++kind) {
        cella c;
        c.tipo_cella = static_cast<tipo>(kind);
        EXPECT_EQ(libera(c), kind == 0 || kind == 11) << kind;
    }
}

TEST(Plan, StartsEmptyAndKeepsKindAndValuePerCoordinate) {
    tracciato_linea t(70500);
    EXPECT_TRUE(t.exists());
    EXPECT_EQ(t.points(), 70501u);
    EXPECT_EQ(t.kind(70500, 1), tipo_valore::vuoto);
    EXPECT_EQ(t.value(70500, 1), 0.0);
    t.set_integer(1, 1, 1);
    t.set_double(2, 0, -0.25);
    EXPECT_EQ(t.kind(1, 1), tipo_valore::intero);
    EXPECT_EQ(t.kind(1, 0), tipo_valore::vuoto);
    EXPECT_EQ(t.value(2, 0), -0.25);
    EXPECT_THROW(t.set_double(70501, 0, 1.0), reader_failure);
    EXPECT_THROW(t.set_integer(-1, 1, 1), reader_failure);
    EXPECT_THROW(t.set_double(5, 2, 1.0), reader_failure);
    EXPECT_FALSE(tracciato_linea().exists());
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(Plan, CopiesAreIndependentAndAMovedFromPlanIsEmpty) {
    tracciato_linea a(100);
    a.set_double(50, 1, 3.25);
    tracciato_linea b = a;
    b.set_double(50, 1, -1.0);
    EXPECT_EQ(a.value(50, 1), 3.25);
    EXPECT_EQ(b.value(50, 1), -1.0);
    b = a;
    EXPECT_TRUE(b == a);
    tracciato_linea c = std::move(a);
    EXPECT_EQ(c.value(50, 1), 3.25);
    EXPECT_FALSE(a.exists());  // NOLINT(bugprone-use-after-move): defined as empty
    EXPECT_EQ(a.points(), 0u);
    a = std::move(c);
    EXPECT_TRUE(a.exists());
    EXPECT_FALSE(c.exists());
}

}  // namespace
}  // namespace scenario
