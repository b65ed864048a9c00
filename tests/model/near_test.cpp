#include "model/near.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "model/cella.hpp"
#include "model/reader_failure.hpp"

namespace scenario {
namespace {

TEST(Near, ExactHalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(near(0.5), 0);
    EXPECT_EQ(near(1.5), 2);
    EXPECT_EQ(near(2.5), 2);
    EXPECT_EQ(near(7.5), 8);
    EXPECT_EQ(near(8.5), 8);
    EXPECT_EQ(near(-0.5), 0);
    EXPECT_EQ(near(-1.5), -2);
    EXPECT_EQ(near(-2.5), -2);
}

TEST(Near, NonHalvesGoToTheNearestInteger) {
    EXPECT_EQ(near(2.4999999), 2);
    EXPECT_EQ(near(2.5000001), 3);
    EXPECT_EQ(near(-2.4), -2);
    EXPECT_EQ(near(-2.6), -3);
    EXPECT_EQ(near(-0.2), 0);
    EXPECT_EQ(near(12.0), 12);
    EXPECT_EQ(near(-12.0), -12);
}

TEST(Near, RefusesValuesNoIndexCanHold) {
    EXPECT_EQ(near(9.0e15), 9'000'000'000'000'000);
    EXPECT_EQ(near(-9.0e15), -9'000'000'000'000'000);
    EXPECT_THROW(near(9.0e15 + 2), reader_failure);
    EXPECT_THROW(near(-9.0e15 - 2), reader_failure);
    EXPECT_THROW(near(std::numeric_limits<double>::infinity()), reader_failure);
    EXPECT_THROW(near(1e300), reader_failure);
    EXPECT_THROW(near(-1e300), reader_failure);
    EXPECT_THROW(near(std::numeric_limits<double>::quiet_NaN()), reader_failure);
}

TEST(Positions, GridSizeFollowsTheRouteLengthPlusSevenKilometres) {
    EXPECT_EQ(ultima_cella(63500), 1410);
    EXPECT_EQ(ultima_cella(0), 140);
    EXPECT_EQ(ultima_cella(1000000), 20140);
    EXPECT_EQ(ultima_cella(25), 140);  // 140.5 -> 140
    EXPECT_EQ(ultima_cella(75), 142);  // 141.5 -> 142
}

}  // namespace
}  // namespace scenario
