#include "model/zeroed_block.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

#include "model/tracciato.hpp"

namespace scenario {
namespace {

// Sizes on both sides of the point where a block gets a mapping of its own, and
// sizes that are not a whole number of (huge) pages.
TEST(ZeroedBlock, EverySizeArrivesZeroedAndWritableToItsLastByte) {
    constexpr std::size_t mib = std::size_t{1} << 20;
    for (const std::size_t bytes :
         {std::size_t{1}, std::size_t{4095}, 4 * mib - 1, 4 * mib, 5 * mib + 3, 20 * mib + 140}) {
        zeroed_block b(bytes);
        ASSERT_NE(b.data(), nullptr) << bytes;
        EXPECT_TRUE(std::all_of(b.data(), b.data() + bytes, [](char c) { return c == 0; }))
            << bytes;
        b.data()[0] = 1;
        b.data()[bytes - 1] = 2;
        EXPECT_EQ(b.data()[bytes - 1], 2) << bytes;
    }
    EXPECT_EQ(zeroed_block(0).data(), nullptr);
}

TEST(ZeroedBlock, MovingHandsTheMemoryOverAndAssignmentReleasesTheOldBlock) {
    zeroed_block a(6u << 20);
    a.data()[123] = 7;
    zeroed_block b(std::move(a));
    EXPECT_EQ(a.data(), nullptr);  // NOLINT(bugprone-use-after-move): defined as empty
    EXPECT_EQ(b.data()[123], 7);
    b = zeroed_block(10);  // under a sanitizer a leak or double release shows here
    EXPECT_EQ(b.data()[9], 0);
}

TEST(ZeroedBlock, TheLongestRoutesPlanStartsEmptyAndCopiesWhole) {
    tracciato_linea t(1'000'000);
    EXPECT_EQ(t.kind(1'000'000, 1), tipo_valore::vuoto);
    t.set_double(1'000'000, 1, 2.5);
    t.set_integer(0, 0, -3);
    const tracciato_linea copia = t;
    EXPECT_EQ(copia.value(1'000'000, 1), 2.5);
    EXPECT_EQ(copia.value(0, 0), -3.0);
    EXPECT_EQ(copia.kind(999'999, 1), tipo_valore::vuoto);
    EXPECT_TRUE(copia == t);
}

}  // namespace
}  // namespace scenario
