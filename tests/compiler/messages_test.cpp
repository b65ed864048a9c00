#include "compiler/messages.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace scenario {
namespace {

TEST(Messages, CoverEveryNumberTheCompilerCanRecordAndNoOther) {
    std::set<int> expected;
    for (int n = 1; n <= 25; ++n) {
        if (n != 14 && n != 23) {
            expected.insert(n);
        }
    }
    expected.insert({101, 102, 103, 1250, 1251});
    std::set<int> covered;
    int previous = 0;
    for (const error_text& t : error_texts()) {
        EXPECT_GT(t.number, previous) << "the table is kept in ascending order";
        previous = t.number;
        covered.insert(t.number);
        EXPECT_EQ(find_error_text(t.number), &t);
    }
    EXPECT_EQ(covered, expected);
    EXPECT_EQ(find_error_text(14), nullptr);
    EXPECT_EQ(find_error_text(23), nullptr);
    EXPECT_EQ(find_error_text(0), nullptr);
}

TEST(Messages, EverySentenceSaysWhatIsWrongAndWhatToChange) {
    for (const error_text& t : error_texts()) {
        const std::string problema = t.problem;
        const std::string rimedio = t.remedy;
        ASSERT_GE(problema.size(), 20u) << t.number;
        ASSERT_GE(rimedio.size(), 20u) << t.number;
        // Both halves are joined into one sentence: no capital at the start and no
        // full stop at the end of either.
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(problema.front()))) << t.number;
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(rimedio.front()))) << t.number;
        EXPECT_NE(problema.back(), '.') << t.number;
        EXPECT_NE(rimedio.back(), '.') << t.number;
    }
}

TEST(Messages, TheDetailStandsBetweenWhatIsWrongAndWhatToChange) {
    EXPECT_EQ(error_message(9),
              "the station length is not a multiple of 100 m; give the station's third number "
              "as a multiple of 100 m (for example 600 or 700, not 650)");
    const std::string with_detail = error_message(25, "station kind 300 does not fit 8 bits");
    EXPECT_EQ(
        with_detail.rfind("a field could not be read: station kind 300 does not fit 8 bits; ", 0),
        0u)
        << with_detail;
    // A block check says in full where it failed, then what to change.
    EXPECT_EQ(block_message(block_place::window_before_start, "250 to 350 m", "603"),
              "no free cell for the code point 250 to 350 m before the slowdown start in cell "
              "603; free a cell in that window, or move the slowdown");
    EXPECT_EQ(block_error_number(block_place::signal_after_end), 13);
    EXPECT_EQ(error_message(14, ""), "unknown error 14");
    EXPECT_EQ(error_message(14, "x"), "unknown error 14: x");
}

}  // namespace
}  // namespace scenario
