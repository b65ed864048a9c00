#include "compiler/markers.hpp"

#include <gtest/gtest.h>

namespace scenario {
namespace {

run_state compiled(std::size_t cells) {
    run_state s;
    s.voci[voce_scenario].nome = "Vessana_Pralbo";
    s.voci[voce_treno].nome = "5 bis";
    s.celle.assign(cells, cella{});
    return s;
}

TEST(Markers, FreeSlotsReceiveMarkersAndBothCodes) {
    run_state s = compiled(1411);
    EXPECT_EQ(fill_marker_slots(s), 0);
    EXPECT_EQ(s.voci[voce_scenario].numero_a, 610);
    ASSERT_EQ(s.celle.size(), 1411u);
    EXPECT_EQ(s.celle[1].valore1, 5121);
    // The codes of the built-in names (see integrity_codes_test).
    EXPECT_EQ(s.celle[1].valore2, 2545);
    EXPECT_EQ(s.voci[voce_scenario].orario, 34581);
}

TEST(Markers, ATakenFirstSlotIsFatal1250BeforeAnythingIsSet) {
    run_state s = compiled(20);
    ASSERT_EQ(s.celle.size(), 20u);
    s.celle[1].valore1 = 80;  // an indicator board at position 0
    EXPECT_EQ(fill_marker_slots(s), 1250);
    EXPECT_EQ(s.voci[voce_scenario].numero_a, 0);

    run_state t = compiled(20);
    t.voci[voce_scenario].numero_a = 1;
    EXPECT_EQ(fill_marker_slots(t), 1250);
}

TEST(Markers, ATakenCodeSlotIsFatal1251AfterTheMarkers) {
    run_state s = compiled(20);
    ASSERT_EQ(s.celle.size(), 20u);
    s.celle[1].valore2 = 7;  // only the second value of cell 1 taken
    EXPECT_EQ(fill_marker_slots(s), 1251);
    EXPECT_EQ(s.celle[1].valore1, 5121);
    EXPECT_EQ(s.voci[voce_scenario].orario, 0);
}

TEST(Markers, WithoutAGridOnlyTheHeaderIsMarked) {
    run_state s = compiled(0);
    EXPECT_EQ(fill_marker_slots(s), 0);
    EXPECT_EQ(s.voci[voce_scenario].numero_a, 610);
    EXPECT_EQ(s.voci[voce_scenario].orario, 34581);
}

}  // namespace
}  // namespace scenario
