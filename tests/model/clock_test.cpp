#include "model/clock.hpp"

#include <gtest/gtest.h>

namespace scenario {
namespace {

// Each part rolls over at its boundary; hours grow past two digits; a negative time
// keeps its parts and takes a sign.
TEST(Clock, SecondsOfTheDayAsHoursMinutesAndSeconds) {
    EXPECT_EQ(clock_text(0), "00:00:00");
    EXPECT_EQ(clock_text(59), "00:00:59");
    EXPECT_EQ(clock_text(60), "00:01:00");
    EXPECT_EQ(clock_text(3599), "00:59:59");
    EXPECT_EQ(clock_text(3600), "01:00:00");
    EXPECT_EQ(clock_text(68940), "19:09:00");
    EXPECT_EQ(clock_text(359999), "99:59:59");
    EXPECT_EQ(clock_text(360000), "100:00:00");
    EXPECT_EQ(clock_text(-1), "-00:00:01");
    EXPECT_EQ(clock_text(-3661), "-01:01:01");
}

TEST(Clock, PartsHeldApartAreWrittenAsTheyStand) {
    EXPECT_EQ(clock_text(19, 8, 15), "19:08:15");
    EXPECT_EQ(clock_text(9, 10, 0), "09:10:00");
    EXPECT_EQ(clock_text(-1, 75, 100), "-1:75:100");
}

}  // namespace
}  // namespace scenario
