// The mistakes that used to pass without a word, each held against what the cells and
// the header entries hold (worked out by hand from the reading rules), with every limit
// pinned on both sides.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "reader_test_support.hpp"

namespace scenario {
namespace {

using testing::compilato;
using testing::documento_linea;
using testing::documento_treno;

const std::string linea_base = documento_linea(10000, {});  // N = 340
const std::string treno_base = documento_treno({});
// The train's values, so that the train document leaves nothing out.
const std::string valori = "numero vetture, 12\r\npercentuale massa frenata, 125\r\nsabbia, 300";

std::vector<const diagnostic*> named(const compilato& r, const std::string& name) {
    std::vector<const diagnostic*> found;
    for (const diagnostic& d : r.warnings) {
        if (d.name == name) {
            found.push_back(&d);
        }
    }
    return found;
}

bool says(const diagnostic* d, const std::string& text) {
    return d != nullptr && d->message.find(text) != std::string::npos;
}

std::vector<std::uint8_t> gradients(const compilato& r) {
    std::vector<std::uint8_t> g;
    for (const cella& c : r.stato.celle) {
        g.push_back(c.pendenza);
    }
    return g;
}

TEST(SilentMistakes, AProfileLineInACellTheLinesBeforeFillTakesEffectACellLater) {
    // 1000 m is cell 20; 1025 m rounds to cell 20 too (half to even), 1026 m to cell 21.
    const compilato r(documento_linea(10000, {"pendenza, 1000, 5", "pendenza, 1025, 6",
                                              "pendenza, 1100, 7"}),
                      treno_base);
    EXPECT_EQ(r.c(19).pendenza, 100);
    EXPECT_EQ(r.c(20).pendenza, 105);
    EXPECT_EQ(r.c(21).pendenza, 106);  // the 1025 m line's value, from 1050 m
    EXPECT_EQ(r.c(22).pendenza, 107);
    const auto shared = named(r, "shared-cell");
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_EQ(shared[0]->line, 5);
    EXPECT_TRUE(says(shared[0], "falls in cell 20") && says(shared[0], "at 1050 m"));
    // Its choice, the chainage it takes effect at, compiles to the same cells.
    ASSERT_EQ(shared[0]->fixes.size(), 1u);
    EXPECT_FALSE(shared[0]->fixes[0].certain);
    EXPECT_EQ(shared[0]->fixes[0].replacement, "1050");
    const compilato moved(documento_linea(10000, {"pendenza, 1000, 5", "pendenza, 1050, 6",
                                                  "pendenza, 1100, 7"}),
                          treno_base);
    EXPECT_EQ(gradients(moved), gradients(r));
    EXPECT_TRUE(named(moved, "shared-cell").empty());
    const compilato apart(documento_linea(10000, {"pendenza, 1000, 5", "pendenza, 1026, 6"}),
                          treno_base);
    EXPECT_TRUE(named(apart, "shared-cell").empty());
}

TEST(SilentMistakes, AProfileLineNoCellTakesIsHiddenAndGoesWithoutAChange) {
    // 25 m rounds to cell 0 (half to even): the line at 0 m never fills a cell.
    const compilato r(linea_base, documento_treno({valori, "velocita, 0, 80",
                                                   "velocita, 25, 100"}));
    const auto hidden = named(r, "hidden-row");
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hidden[0]->line, 5);
    ASSERT_EQ(hidden[0]->fixes.size(), 1u);
    EXPECT_TRUE(hidden[0]->fixes[0].certain);
    EXPECT_EQ(hidden[0]->fixes[0].line, 5);
    EXPECT_EQ(hidden[0]->fixes[0].column, 0);
    EXPECT_EQ(r.c(0).vel_limite, 20);
    const compilato without(linea_base, documento_treno({valori, "velocita, 25, 100"}));
    for (std::int64_t i = 0; i <= r.n(); ++i) {
        ASSERT_EQ(without.c(i).vel_limite, r.c(i).vel_limite) << i;
    }
    // 26 m is cell 1: the first line's value fills cell 0.
    const compilato filled(linea_base, documento_treno({valori, "velocita, 0, 80",
                                                        "velocita, 26, 100"}));
    EXPECT_TRUE(named(filled, "hidden-row").empty());
    EXPECT_EQ(filled.c(0).vel_limite, 16);
}

TEST(SilentMistakes, AValueALaterLineOfItsKeywordReplacesIsHidden) {
    const compilato r(linea_base, documento_treno({valori, "sabbia, 200"}));
    const auto hidden = named(r, "hidden-row");
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hidden[0]->line, 4);
    ASSERT_EQ(hidden[0]->notes.size(), 1u);
    EXPECT_EQ(hidden[0]->notes[0].line, 5);
    EXPECT_EQ(r.stato.voci[voce_treno].numero_a, 200);
}

TEST(SilentMistakes, SignalValuesOutsideTheirDigits) {
    const auto signal = [](const std::string& values) {
        return compilato(linea_base, documento_treno({valori, "segnale, 3700, " + values}));
    };
    // d1 9 fits the units, 10 does not: 10 x 4 + 10 = 50 reads back as s1 5, d1 0.
    EXPECT_TRUE(named(signal("2, 4, 0, 0, 0, 2, 9, 0, 0, 0"), "value-packed").empty());
    const compilato ten = signal("2, 4, 0, 0, 0, 2, 10, 0, 0, 0");
    ASSERT_EQ(named(ten, "value-packed").size(), 1u);
    EXPECT_EQ(ten.c(75).valore1, 50);
    EXPECT_TRUE(says(named(ten, "value-packed")[0], "50 is stored, which reads back as s1 5 and d1 0"));
    // sx and dx are a base-3 pair: 2 fits, 3 does not (10 x 0 + 9 + 0 = 9: sx 3, dx 0).
    EXPECT_TRUE(named(signal("2, 4, 0, 0, 0, 2, 0, 0, 0, 0"), "value-packed").empty());
    const compilato three = signal("3, 4, 0, 0, 0, 0, 0, 0, 0, 0");
    EXPECT_EQ(three.c(75).valore4, 9);
    EXPECT_EQ(named(three, "value-packed").size(), 1u);
    // Below 0.
    EXPECT_EQ(named(signal("2, -1, 0, 0, 0, 2, 2, 0, 0, 0"), "value-packed").size(), 1u);
}

TEST(SilentMistakes, SpeedBoardValuesOutsideTheirDigits) {
    const auto board = [](const std::string& values) {
        return compilato(documento_linea(10000, {"indicatori_vmax, 700, " + values}),
                         documento_treno({valori, "velocita, 0, 130"}));
    };
    // A left-hand speed keeps steps of 5: 132 packs as near(13200 / 5) = 2640, which
    // reads back as 130 on the left and 200 on the right.
    const compilato left = board("132, 130, 130, 0, , , , 0");
    EXPECT_EQ(left.c(15).valore1, 2640);
    ASSERT_EQ(named(left, "value-packed").size(), 1u);
    EXPECT_TRUE(says(named(left, "value-packed")[0], "130 km/h on the left and 200 km/h on the right"));
    // A right-hand speed takes two digits of steps: 497 is step 99, 498 step 100.
    EXPECT_TRUE(named(board("130, 130, 130, 0, 497, 130, 130, 0"), "value-packed").empty());
    EXPECT_EQ(named(board("130, 130, 130, 0, 498, 130, 130, 0"), "value-packed").size(), 1u);
    // A right-hand stripe count takes one digit: 9 fits, 10 does not.
    EXPECT_TRUE(named(board("130, 130, 130, 0, 130, 130, 130, 9"), "value-packed").empty());
    EXPECT_EQ(named(board("130, 130, 130, 0, 130, 130, 130, 10"), "value-packed").size(), 1u);
    // Some speeds of a board empty, not all: half written; none empty, or all, is not.
    const compilato half = board("130, , 130, 0, , , , 0");
    ASSERT_EQ(named(half, "half-written").size(), 1u);
    EXPECT_EQ(named(half, "half-written")[0]->column, 28);
    EXPECT_TRUE(named(board("130, 130, 130, 0, , , , 0"), "half-written").empty());
}

TEST(SilentMistakes, AStationCellWrittenOverAnElement) {
    // The station's area ends at 4900 m: its cell is near(4900 / 50 - 1) = 97, where a
    // speed board at 4800 m stands (near(4800 / 50 + 1) = 97).
    const compilato r(documento_linea(10000, {"indicatori_vmax, 4800, 130, 140, 150, 0, , , , 0"}),
                      documento_treno({valori, "velocita, 0, 140",
                                       "stazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, A",
                                       "stazione, 4700, 22, 300, 0, 0, 1, 0,0,0, 4,1,1, 0, 0, 0, 0, B"}));
    EXPECT_EQ(r.c(97).tipo_cella, tipo::stazione);
    const auto replaced = named(r, "element-replaced");
    ASSERT_EQ(replaced.size(), 1u);
    EXPECT_EQ(replaced[0]->line, 7);
    EXPECT_TRUE(says(replaced[0], "cell 97 is written over the speed board"));
}

TEST(SilentMistakes, ValuesNoRailwayHasEachOnBothSidesOfItsLimit) {
    const auto train = [](const std::string& line) {
        return compilato(linea_base, documento_treno({valori, line}));
    };
    const auto line = [](const std::string& row) {
        return compilato(documento_linea(10000, {row}), documento_treno({valori}));
    };
    EXPECT_TRUE(named(train("velocita, 0, 350"), "unlikely-speed").empty());
    EXPECT_EQ(named(train("velocita, 0, 355"), "unlikely-speed").size(), 1u);
    EXPECT_TRUE(named(line("pendenza, 1000, 70"), "unlikely-gradient").empty());
    EXPECT_EQ(named(line("pendenza, 1000, 71"), "unlikely-gradient").size(), 1u);
    EXPECT_TRUE(named(line("pendenza, 1000, -70"), "unlikely-gradient").empty());
    EXPECT_EQ(named(line("pendenza, 1000, -71"), "unlikely-gradient").size(), 1u);
    EXPECT_TRUE(named(train("aderenza, 0, 100"), "unlikely-adhesion").empty());
    EXPECT_EQ(named(train("aderenza, 0, 101"), "unlikely-adhesion").size(), 1u);
    EXPECT_TRUE(named(line("indicatori_vmax, 700, 130, 130, 130, 3, , , , 0"), "unlikely-stripes").empty());
    EXPECT_EQ(named(line("indicatori_vmax, 700, 130, 130, 130, 4, , , , 0"), "unlikely-stripes").size(), 1u);
    const std::string station = "stazione, 0, {}, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, A";
    const auto kind = [&](const std::string& k) {
        std::string s = station;
        return train(s.replace(s.find("{}"), 2, k));
    };
    EXPECT_TRUE(named(kind("25"), "station-kind").empty());
    EXPECT_EQ(named(kind("26"), "station-kind").size(), 1u);
    // Minutes 60 are an hour: 19:60 is stored as 20:00:00.
    const compilato minutes = train("stazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 60, 0, A");
    EXPECT_EQ(minutes.stato.voci[1].orario, 72000);
    ASSERT_EQ(named(minutes, "time-of-day").size(), 1u);
    EXPECT_TRUE(says(named(minutes, "time-of-day")[0], "stored as 20:00:00"));
    EXPECT_TRUE(named(train("stazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 23, 59, 59, A"), "time-of-day").empty());
    EXPECT_EQ(named(train("orologio, 24, 0, 0"), "time-of-day").size(), 1u);
}

TEST(SilentMistakes, ATimeThatGoesBackAlongTheRunButNotPastMidnight) {
    const auto two = [](const std::string& later) {
        return compilato(linea_base,
                         documento_treno({valori,
                                          "stazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 53, 0, A",
                                          "stazione, 4000, 22, 300, 0, 0, 1, 0,0,0, 4,1,1, 0, 0, 0, 0, B",
                                          "stazione, 8000, 22, 300, 0, 0, 1, 0,0,0, 4,1,1, 0, " +
                                              later + ", 0, C"}));
    };
    EXPECT_TRUE(named(two("19, 53"), "time-goes-back").empty());
    ASSERT_EQ(named(two("19, 52"), "time-goes-back").size(), 1u);
    // A station without a time (0:00:00) between them is passed over.
    EXPECT_EQ(named(two("19, 52"), "time-goes-back")[0]->notes.at(0).line, 5);
    // 12 hours back or more is a run past midnight.
    EXPECT_EQ(named(two("7, 54"), "time-goes-back").size(), 1u);
    EXPECT_TRUE(named(two("7, 53"), "time-goes-back").empty());
}

TEST(SilentMistakes, ASpeedBoardTheSpeedLimitDoesNotComeDownToWithinItsReach) {
    // A board at 2000 m showing 120 at most reaches 1200 m on, 500 m more a stripe: the
    // limit of 130 must come down to 120 by cell near(3200 / 50) = 64.
    const auto board = [](int stripes, int drop) {
        return compilato(documento_linea(10000, {"indicatori_vmax, 2000, 100, 110, 120, " +
                                                     std::to_string(stripes) + ", , , , 0"}),
                         documento_treno({valori, "velocita, 0, 130",
                                          "velocita, " + std::to_string(drop) + ", 120"}));
    };
    EXPECT_TRUE(named(board(0, 3200), "board-speed").empty());
    ASSERT_EQ(named(board(0, 3250), "board-speed").size(), 1u);
    EXPECT_TRUE(says(named(board(0, 3250), "board-speed")[0], "at 130 km/h or more, from the board up to 3200 m"));
    EXPECT_TRUE(named(board(1, 3700), "board-speed").empty());
    EXPECT_EQ(named(board(1, 3750), "board-speed").size(), 1u);
}

TEST(SilentMistakes, TheTrainValuesLeftOut) {
    const compilato r(linea_base, documento_treno({"numero vetture, 12"}));
    const auto missing = named(r, "missing-train-value");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0]->message,
              "the train document has no \"percentuale massa frenata\" or \"sabbia\" line: the "
              "braked-mass percentage and the sand value stay 0 in the header");
    EXPECT_TRUE(named(compilato(linea_base, documento_treno({valori})), "missing-train-value").empty());
}

TEST(SilentMistakes, WhereTheReadingStoppedAndNothingFalseAfterIt) {
    // A signal beyond the grid ends the train document's loop at line 3 (error 15): the
    // three rows after it are not read, and the station among them is not missing.
    const compilato r(linea_base,
                      documento_treno({"segnale, 70000, 2, 4, 0, 0, 0, 0, 0, 0, 0, 0", valori,
                                       "stazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, A"}));
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    const diagnostic& stop = r.stato.diagnostics[0];
    EXPECT_EQ(stop.number, 15);
    ASSERT_EQ(stop.notes.size(), 1u);
    EXPECT_EQ(stop.notes[0].line, 3);
    EXPECT_EQ(stop.notes[0].message, "the rest of this document was not read: 4 rows");
    EXPECT_TRUE(named(r, "missing-stations").empty());
    EXPECT_TRUE(named(r, "missing-train-value").empty());
    // The line document stopped (error 1): the train document was not read at all.
    const compilato line(documento_linea(1000001, {"pendenza, 0, 0"}), documento_treno({valori}));
    ASSERT_EQ(line.stato.diagnostics.size(), 1u);
    ASSERT_EQ(line.stato.diagnostics[0].notes.size(), 2u);
    EXPECT_EQ(line.stato.diagnostics[0].notes[0].message, "the rest of this document was not read: 1 row");
    EXPECT_EQ(line.stato.diagnostics[0].notes[1].message, "the train document was not read: 3 rows");
}

TEST(SilentMistakes, StationsOutOfOrderAreToBePutInOrder) {
    const compilato r(linea_base,
                      documento_treno({valori,
                                       "stazione, 5000, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, A",
                                       "stazione, 2000, 22, 300, 0, 0, 1, 0,0,0, 4,1,1, 0, 0, 0, 0, B"}));
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    EXPECT_EQ(r.stato.codice_errore, 22);
    EXPECT_NE(r.stato.diagnostics[0].message.find(
                  "this station, at 2000 m, comes before the station of the line before it, at "
                  "5000 m; put the station lines in the order of their chainages"),
              std::string::npos);
    // Too close but in order: the advice to move or shorten stays.
    const compilato close(linea_base,
                          documento_treno({valori,
                                           "stazione, 2000, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, A",
                                           "stazione, 2700, 22, 300, 0, 0, 1, 0,0,0, 4,1,1, 0, 0, 0, 0, B"}));
    EXPECT_NE(close.stato.diagnostics.at(0).message.find("move the station further along"),
              std::string::npos);
}

}  // namespace
}  // namespace scenario
