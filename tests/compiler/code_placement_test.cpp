#include "compiler/code_placement.hpp"

#include <gtest/gtest.h>

#include "compiler/recorders.hpp"
#include "small_grid.hpp"

namespace scenario {
namespace {

using testing::celle_di;
using testing::con_griglia;
using testing::in;
using testing::metti;

using indici = std::vector<std::int64_t>;

// A fast slowdown (no points inside) from cell s to cell e.
void rallentamento(run_state& stato, std::int64_t s, std::int64_t e, std::int16_t v = 120) {
    metti(stato, s, tipo::inizio_rallentamento, v);
    metti(stato, e, tipo::fine_rallentamento, v);
}

TEST(CodePlacement, BuiltInSlowdownAt30100GetsItsSixPoints) {
    run_state stato = con_griglia(1410);
    in(stato, 598).tipo_cella = tipo::segno_montagna;
    in(stato, 610).tipo_cella = tipo::segno_montagna;
    in(stato, 610).montagna = 1;
    std::int32_t sx = 2, s = 4, z = 0, tempo = 0;
    memo_segnale(stato, 27900, sx, s, z, z, z, z, z, z, z, tempo);  // cell 559
    memo_segnale(stato, 31000, sx, s, z, z, z, z, z, z, z, tempo);  // cell 621
    std::int32_t v = 40, l = 400, f_tt = 0, d_v = 0;
    memo_rallentamento(stato, 30100, v, l, f_tt, 1, d_v);
    ASSERT_EQ(stato.codice_errore, 0);

    place_code_points(stato);
    EXPECT_EQ(stato.codice_errore, 0);
    EXPECT_TRUE(stato.diagnostics.empty());
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{558, 585, 592, 598, 610, 620}));
    for (std::int64_t i : celle_di(stato, tipo::cambio_codice)) {
        EXPECT_EQ(in(stato, i).valore1, 180) << "cell " << i;
    }
    EXPECT_EQ(in(stato, 610).montagna, 1);  // only kind and code change
}

TEST(CodePlacement, NoGridIsNothingToDo) {
    run_state stato;
    stato.codice_errore = 8;
    EXPECT_NO_THROW(place_code_points(stato));
    EXPECT_TRUE(stato.celle.empty());
    EXPECT_EQ(stato.codice_errore, 8);
}

TEST(CodePlacementBeforeBoard, EverySignalWithin20CellsBeforeTheBoardGetsAPoint) {
    run_state stato = con_griglia(100);
    metti(stato, 79, tipo::avviso_rallentamento, 40);
    metti(stato, 59, tipo::segnale);
    metti(stato, 70, tipo::segnale);
    metti(stato, 78, tipo::segnale);
    place_code_points(stato);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{58, 69, 77}));

    run_state lontano = con_griglia(100);
    metti(lontano, 79, tipo::avviso_rallentamento, 40);
    metti(lontano, 58, tipo::segnale);  // 21 cells before the board
    place_code_points(lontano);
    EXPECT_TRUE(celle_di(lontano, tipo::cambio_codice).empty());
}

TEST(CodePlacementBeforeBoard, SecondCellServesWhenTheFirstIsTaken) {
    run_state stato = con_griglia(100);
    metti(stato, 79, tipo::avviso_rallentamento, 40);
    metti(stato, 60, tipo::segnale);
    metti(stato, 59, tipo::indicatore_vmax);
    in(stato, 58).tipo_cella = tipo::segno_montagna;  // a tunnel marker counts as free
    place_code_points(stato);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{58}));
    EXPECT_EQ(stato.codice_errore, 0);
}

TEST(CodePlacementBeforeBoard, ExistingCodeBeforeTheSignalIsLoweredTo180) {
    struct caso {
        std::int16_t codice, dopo;
    };
    for (const caso& k : {caso{270, 180}, caso{120, 120}, caso{180, 180}}) {
        run_state stato = con_griglia(100);
        metti(stato, 79, tipo::avviso_rallentamento, 40);
        metti(stato, 60, tipo::segnale);
        metti(stato, 59, tipo::cambio_codice, k.codice);
        metti(stato, 58, tipo::stazione);
        place_code_points(stato);
        EXPECT_EQ(in(stato, 59).valore1, k.dopo) << "code " << k.codice;
        EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{59}));
        EXPECT_EQ(stato.codice_errore, 0);
    }
}

TEST(CodePlacementBeforeBoard, FreeSecondCellWinsOverLoweringTheFirst) {
    run_state stato = con_griglia(100);
    metti(stato, 79, tipo::avviso_rallentamento, 40);
    metti(stato, 60, tipo::segnale);
    metti(stato, 59, tipo::cambio_codice, 270);
    place_code_points(stato);
    EXPECT_EQ(in(stato, 59).valore1, 270);
    EXPECT_EQ(in(stato, 58).tipo_cella, tipo::cambio_codice);
    EXPECT_EQ(in(stato, 58).valore1, 180);
}

TEST(CodePlacementBeforeBoard, CodeInTheSecondCellIsLoweredWhenTheFirstIsTaken) {
    run_state stato = con_griglia(100);
    metti(stato, 79, tipo::avviso_rallentamento, 40);
    metti(stato, 60, tipo::segnale);
    metti(stato, 59, tipo::codice_zero);
    metti(stato, 58, tipo::cambio_codice, 270);
    place_code_points(stato);
    EXPECT_EQ(in(stato, 58).valore1, 180);
    EXPECT_EQ(stato.codice_errore, 0);
}

TEST(CodePlacementBeforeBoard, NoRoomIsError11AtTheSignalAndTheSearchGoesOn) {
    run_state stato = con_griglia(100);
    stato.posizione_errore = 1234;
    metti(stato, 79, tipo::avviso_rallentamento, 40);
    for (std::int64_t i : {70, 65, 60}) {
        metti(stato, i, tipo::segnale);
    }
    for (std::int64_t i : {69, 68, 64, 63}) {
        metti(stato, i, tipo::stazione);
    }
    place_code_points(stato);
    // Nearest signal first: the one in 65 is the last without room.
    EXPECT_EQ(stato.codice_errore, 11);
    EXPECT_EQ(stato.posizione_errore, 50 * 65);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{59}));
    ASSERT_EQ(stato.diagnostics.size(), 2u);
    const diagnostic& d = stato.diagnostics[1];
    EXPECT_EQ(d.number, 11);
    EXPECT_EQ(d.position, 50 * 65);
    EXPECT_TRUE(d.has_position);
    EXPECT_TRUE(d.document.empty());
    EXPECT_EQ(d.line, 0);
    EXPECT_EQ(d.column, 0);
    EXPECT_NE(d.message.find("no free cell for the code point before the signal in cell 65 (warning board in "
              "cell 79)"), std::string::npos);
    EXPECT_EQ(stato.diagnostics[0].position, 50 * 70);
}

TEST(CodePlacementBeforeBoard, SearchStopsBeforeCell3) {
    run_state stato = con_griglia(100);
    metti(stato, 10, tipo::avviso_rallentamento, 40);
    metti(stato, 2, tipo::segnale);
    place_code_points(stato);
    EXPECT_TRUE(celle_di(stato, tipo::cambio_codice).empty());

    run_state tre = con_griglia(100);
    metti(tre, 10, tipo::avviso_rallentamento, 40);
    metti(tre, 3, tipo::segnale);
    place_code_points(tre);
    EXPECT_EQ(celle_di(tre, tipo::cambio_codice), (indici{2}));
}

TEST(CodePlacementWindows, ThreeWindowsBeforeTheStart) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 100, 110);
    place_code_points(stato);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{82, 89, 95}));

    run_state prese = con_griglia(200);
    rallentamento(prese, 100, 110);
    for (std::int64_t i : {95, 89, 82, 81}) {
        metti(prese, i, tipo::segnale);
    }
    place_code_points(prese);
    EXPECT_EQ(celle_di(prese, tipo::cambio_codice), (indici{80, 88, 94}));
}

TEST(CodePlacementWindows, EarlyStartsGetOnlyTheWindowsThatFit) {
    struct caso {
        std::int64_t inizio;
        indici punti;
    };
    const caso casi[] = {
        {7, {}}, {8, {3}}, {13, {8}}, {14, {3, 9}}, {20, {9, 15}}, {21, {3, 10, 16}},
    };
    for (const caso& k : casi) {
        run_state stato = con_griglia(100);
        rallentamento(stato, k.inizio, k.inizio + 2);
        place_code_points(stato);
        EXPECT_EQ(celle_di(stato, tipo::cambio_codice), k.punti) << "start " << k.inizio;
        EXPECT_EQ(stato.codice_errore, 0);
    }
}

TEST(CodePlacementWindows, FullWindowIsError12AtTheStartAndTheNextWindowStillRuns) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 100, 110);
    for (std::int64_t i : {93, 94, 95}) {
        metti(stato, i, tipo::segnale);
    }
    place_code_points(stato);
    EXPECT_EQ(stato.codice_errore, 12);
    EXPECT_EQ(stato.posizione_errore, 5000);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{82, 89}));
    ASSERT_EQ(stato.diagnostics.size(), 1u);
    EXPECT_NE(stato.diagnostics[0].message.find("no free cell for the code point 250 to 350 m before the slowdown start in cell 100"), std::string::npos);
}

TEST(CodePlacementWindows, PointPlacedForAnEarlierCellIsTakenForALaterOne) {
    run_state stato = con_griglia(200);
    metti(stato, 20, tipo::avviso_rallentamento, 40);
    metti(stato, 16, tipo::segnale);     // step A takes cell 15
    rallentamento(stato, 21, 23);  // its first window tries 16, 15, 14
    place_code_points(stato);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{3, 10, 14, 15}));
}

TEST(CodePlacementInside, SlowSlowdownGetsAPointEvery8Cells) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 100, 130, 50);
    place_code_points(stato);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{82, 89, 95, 108, 116, 124}));
}

TEST(CodePlacementInside, DuePointInTheEndCellFallsBackOnTheCellBefore) {
    run_state stato = con_griglia(1410);
    rallentamento(stato, 603, 611, 40);
    place_code_points(stato);
    EXPECT_EQ(in(stato, 610).tipo_cella, tipo::cambio_codice);
    EXPECT_EQ(in(stato, 611).tipo_cella, tipo::fine_rallentamento);
}

TEST(CodePlacementInside, SpacingRestartsFromTheCellActuallyUsed) {
    run_state prima = con_griglia(200);
    rallentamento(prima, 100, 130, 50);
    metti(prima, 108, tipo::segnale);
    place_code_points(prima);
    EXPECT_EQ(celle_di(prima, tipo::cambio_codice), (indici{82, 89, 95, 107, 115, 123}));

    run_state dopo = con_griglia(200);
    rallentamento(dopo, 100, 130, 50);
    metti(dopo, 108, tipo::segnale);
    metti(dopo, 107, tipo::segnale);
    place_code_points(dopo);
    EXPECT_EQ(celle_di(dopo, tipo::cambio_codice), (indici{82, 89, 95, 109, 117, 125}));
}

TEST(CodePlacementInside, NoRoomIsError13AndNoFurtherPointForThatSlowdown) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 100, 130, 50);
    for (std::int64_t i : {107, 108, 109}) {
        metti(stato, i, tipo::segnale);
    }
    place_code_points(stato);
    EXPECT_EQ(stato.codice_errore, 13);
    EXPECT_EQ(stato.posizione_errore, 50 * 108);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{82, 89, 95}));
    ASSERT_EQ(stato.diagnostics.size(), 1u);
    EXPECT_NE(stato.diagnostics[0].message.find("no free cell for the code point due in cell 108 inside the slowdown starting in "
              "cell 100"), std::string::npos);
}

TEST(CodePlacementInside, SpeedDecidesAndShortSlowdownsGetNone) {
    struct caso {
        std::int16_t v;
        std::int64_t fine;
        indici dentro;
    };
    const caso casi[] = {
        {109, 120, {108, 116}}, {110, 120, {}}, {-5, 110, {108}}, {60, 104, {}}, {60, 108, {107}},
    };
    for (const caso& k : casi) {
        run_state stato = con_griglia(200);
        rallentamento(stato, 100, k.fine, k.v);
        place_code_points(stato);
        indici dentro;
        for (std::int64_t i : celle_di(stato, tipo::cambio_codice)) {
            if (i > 100) {
                dentro.push_back(i);
            }
        }
        EXPECT_EQ(dentro, k.dentro) << "speed " << k.v << " end " << k.fine;
    }
}

TEST(CodePlacementAfterEnd, PointBeforeTheFirstSignalWithin12CellsOfTheEnd) {
    for (std::int16_t v : {40, 110, 150}) {
        run_state stato = con_griglia(200);
        rallentamento(stato, 100, 104, v);
        metti(stato, 116, tipo::segnale);  // 12 cells after the end
        metti(stato, 120, tipo::segnale);
        place_code_points(stato);
        EXPECT_EQ(in(stato, 115).tipo_cella, tipo::cambio_codice) << "speed " << v;
        EXPECT_EQ(in(stato, 119).tipo_cella, tipo::vuota) << "speed " << v;
    }

    run_state lontano = con_griglia(200);
    rallentamento(lontano, 100, 104);
    metti(lontano, 117, tipo::segnale);  // 13 cells after the end
    place_code_points(lontano);
    EXPECT_EQ(celle_di(lontano, tipo::cambio_codice), (indici{82, 89, 95}));
}

TEST(CodePlacementAfterEnd, SecondCellBeforeTheSignalAndThenError13AtTheEnd) {
    run_state stato = con_griglia(200);
    rallentamento(stato, 100, 104);
    metti(stato, 110, tipo::segnale);
    metti(stato, 109, tipo::stazione);
    place_code_points(stato);
    EXPECT_EQ(in(stato, 108).tipo_cella, tipo::cambio_codice);

    run_state pieno = con_griglia(200);
    rallentamento(pieno, 100, 104);
    metti(pieno, 110, tipo::segnale);
    metti(pieno, 109, tipo::stazione);
    metti(pieno, 108, tipo::cambio_codice, 270);
    place_code_points(pieno);
    EXPECT_EQ(pieno.codice_errore, 13);
    EXPECT_EQ(pieno.posizione_errore, 50 * 104);
    EXPECT_EQ(in(pieno, 108).valore1, 270);  // no lowering after a slowdown
    ASSERT_EQ(pieno.diagnostics.size(), 1u);
    EXPECT_NE(pieno.diagnostics[0].message.find("no free cell for the code point before the signal in cell 110 after the "
              "slowdown end in cell 104"), std::string::npos);
}

TEST(CodePlacementLimits, ScansStopAtTheLastCell) {
    // A slowdown with no end cell: the scan runs out at cell N, with no B5 point.
    run_state stato = con_griglia(40);
    metti(stato, 25, tipo::inizio_rallentamento, 40);
    place_code_points(stato);
    EXPECT_EQ(celle_di(stato, tipo::cambio_codice), (indici{7, 14, 20, 33}));
    EXPECT_EQ(stato.codice_errore, 0);

    // A point due in cell N with N and N - 1 taken: cell N + 1 does not exist.
    run_state bordo = con_griglia(38);
    metti(bordo, 30, tipo::inizio_rallentamento, 40);
    metti(bordo, 37, tipo::segnale);
    metti(bordo, 38, tipo::segnale);
    place_code_points(bordo);
    EXPECT_EQ(bordo.codice_errore, 13);
    EXPECT_EQ(bordo.posizione_errore, 50 * 38);
    EXPECT_EQ(bordo.celle.size(), 39u);

    // B5 looks no further than cell N either.
    run_state fine = con_griglia(40);
    rallentamento(fine, 30, 36);
    metti(fine, 40, tipo::segnale);
    EXPECT_NO_THROW(place_code_points(fine));
    EXPECT_EQ(in(fine, 39).tipo_cella, tipo::cambio_codice);
    EXPECT_EQ(fine.codice_errore, 0);
}

TEST(CodePlacementLimits, PassVisitsCellsUpToNMinus2) {
    run_state stato = con_griglia(40);
    metti(stato, 39, tipo::avviso_rallentamento, 40);
    metti(stato, 30, tipo::segnale);
    place_code_points(stato);
    EXPECT_TRUE(celle_di(stato, tipo::cambio_codice).empty());

    run_state inizio = con_griglia(40);
    metti(inizio, 39, tipo::inizio_rallentamento, 40);
    place_code_points(inizio);
    EXPECT_TRUE(celle_di(inizio, tipo::cambio_codice).empty());

    run_state ultimo = con_griglia(40);
    metti(ultimo, 38, tipo::avviso_rallentamento, 40);
    metti(ultimo, 30, tipo::segnale);
    place_code_points(ultimo);
    EXPECT_EQ(celle_di(ultimo, tipo::cambio_codice), (indici{29}));
}

TEST(CodePlacement, LastBlockErrorWinsAndEarlierErrorsStayUntilThen) {
    run_state stato = con_griglia(300);
    stato.codice_errore = 8;
    stato.posizione_errore = 777;
    rallentamento(stato, 100, 104);
    for (std::int64_t i : {93, 94, 95}) {
        metti(stato, i, tipo::segnale);
    }
    rallentamento(stato, 200, 204);
    metti(stato, 210, tipo::segnale);
    metti(stato, 209, tipo::stazione);
    metti(stato, 208, tipo::stazione);
    place_code_points(stato);
    EXPECT_EQ(stato.codice_errore, 13);
    EXPECT_EQ(stato.posizione_errore, 50 * 204);
    ASSERT_EQ(stato.diagnostics.size(), 2u);
    EXPECT_EQ(stato.diagnostics[0].number, 12);
    EXPECT_EQ(stato.diagnostics[0].position, 5000);
    EXPECT_EQ(stato.diagnostics[1].number, 13);

    run_state pulito = con_griglia(300);
    pulito.codice_errore = 8;
    pulito.posizione_errore = 777;
    rallentamento(pulito, 100, 104);
    place_code_points(pulito);
    EXPECT_EQ(pulito.codice_errore, 8);
    EXPECT_EQ(pulito.posizione_errore, 777);
}

}  // namespace
}  // namespace scenario
