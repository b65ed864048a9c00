#include <gtest/gtest.h>

#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

const std::string linea_base = documento_linea(63500, {});

TEST(TrainReader, TrainValues) {
    compilato r(linea_base, documento_treno({"numero vetture,    12",
                                             "percentuale massa frenata,    125", "sabbia,    300",
                                             "orologio,    19              8             15 "}));
    const auto& v = r.stato.voci;
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(v[84].progressiva, 12);
    EXPECT_EQ(v[84].inizio_area, 125);
    EXPECT_EQ(v[84].fine_area, 63500);
    EXPECT_EQ(v[86].numero_a, 300);
    EXPECT_EQ(v[86].numero_c, 19);
    EXPECT_EQ(v[86].numero_d, 8);
    EXPECT_EQ(v[86].numero_e, 15);
}

TEST(TrainReader, SixteenBitOverflowTakesTheGeneralFailurePath) {
    compilato r(linea_base, documento_treno({"numero vetture,    12", "sabbia,    32768"}));
    EXPECT_EQ(r.stato.codice_errore, 25);
    EXPECT_EQ(r.stato.voci[84].progressiva, 12);  // what was read stays
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    const diagnostic& d = r.stato.diagnostics.back();
    EXPECT_NE(d.message.find("sand: value 32768 does not fit its field (-32768 to 32767)"),
              std::string::npos);
    EXPECT_EQ(d.document, treno);
    EXPECT_EQ(d.line, 3);
    EXPECT_EQ(d.column, 12);
    EXPECT_EQ(d.text, "sabbia,    32768");
}

TEST(TrainReader, SpeedProfile) {
    compilato r(linea_base, documento_treno({"velocita,       0,    80", "velocita,     650,   140",
                                             "velocita,    1000,    95", "velocita,    1050,    62",
                                             "velocita,    1100,    63"}));
    const auto n = r.n();
    EXPECT_EQ(r.c(0).vel_limite, 16);
    EXPECT_EQ(r.c(12).vel_limite, 16);
    EXPECT_EQ(r.c(13).vel_limite, 28);
    EXPECT_EQ(r.c(19).vel_limite, 28);
    EXPECT_EQ(r.c(20).vel_limite, 19);
    EXPECT_EQ(r.c(21).vel_limite, 12);
    EXPECT_EQ(r.c(22).vel_limite, 13);
    EXPECT_EQ(r.c(n - 3).vel_limite, 13);
    EXPECT_EQ(r.c(n - 2).vel_limite, 0);
}

TEST(TrainReader, SpeedCursorStopsAtTheLastCell) {
    // N = 20: entries in cell 18 push the cursor on until it reaches N, then stop there;
    // the finishing step still writes cell N.
    compilato r(documento_linea(lunghezza_piccola, {}),
                documento_treno({"velocita, 900, 10", "velocita, 900, 20", "velocita, 900, 30",
                                 "velocita, 900, 40", "velocita, 900, 50", "velocita, 900, 60"}));
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.c(17).vel_limite, 0);
    EXPECT_EQ(r.c(18).vel_limite, 2);
    EXPECT_EQ(r.c(19).vel_limite, 4);
    EXPECT_EQ(r.c(20).vel_limite, 12);
}

TEST(TrainReader, SpeedThatDoesNotFitItsCellFails) {
    compilato r(linea_base, documento_treno({"velocita,  0,  1280", "velocita,  100,  10"}));
    EXPECT_EQ(r.stato.codice_errore, 25);
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    // At the line whose speed does not fit, with a note where its cells are written.
    EXPECT_EQ(r.stato.diagnostics.back().line, 2);
    EXPECT_EQ(r.stato.diagnostics.back().column, 16);
    ASSERT_EQ(r.stato.diagnostics.back().notes.size(), 1u);
    EXPECT_EQ(r.stato.diagnostics.back().notes[0].line, 3);
    compilato giusta(linea_base, documento_treno({"velocita,  0,  1277"}));
    EXPECT_EQ(giusta.stato.codice_errore, 0);
    EXPECT_EQ(giusta.c(0).vel_limite, 255);
}

TEST(TrainReader, AdhesionProfile) {
    compilato r(linea_base,
                documento_treno({"aderenza,   0,    100", "aderenza,   12750,    300"}));
    EXPECT_EQ(r.c(254).aderenza, 100);
    EXPECT_EQ(r.c(255).aderenza, 44);  // low 8 bits
    EXPECT_EQ(r.c(r.n() - 3).aderenza, 44);
    EXPECT_EQ(r.c(r.n() - 2).aderenza, 0);
}

TEST(TrainReader, CodeEntries) {
    compilato r(
        documento_linea(63500, {"cartello_indicatore,  6450,  x"}),
        documento_treno({"abbattimento,  6450,  0", "abbattimento,  100,  3",
                         "abbattimento,  200,  70000", "abbattimento,  6500,  3", "sabbia, 9"}));
    EXPECT_EQ(r.c(129).tipo_cella, tipo::codice_zero);
    EXPECT_EQ(r.c(2).tipo_cella, tipo::cambio_codice);
    EXPECT_EQ(r.c(2).valore1, 3);
    EXPECT_EQ(r.c(4).valore1, 4464);  // low 16 bits of 70000
    // 6500 is cell 130, which holds the board.
    EXPECT_EQ(r.stato.codice_errore, 7);
    EXPECT_EQ(r.stato.posizione_errore, 6500);
    EXPECT_EQ(r.c(130).tipo_cella, tipo::cartello);
    EXPECT_EQ(r.stato.voci[86].numero_a, 0);
    EXPECT_TRUE(r.eliminato(treno));
}

TEST(TrainReader, RangeTestBoundsAndWhatFollowsA15) {
    // N = 1410: 50 N - 100 = 70400 is accepted, 70401 is not.
    compilato r(linea_base,
                documento_treno({"aderenza,  70400,  5", "abbattimento,  70401,  1", "sabbia, 9"}));
    EXPECT_EQ(r.stato.codice_errore, 15);
    EXPECT_EQ(r.stato.posizione_errore, 70401);
    EXPECT_EQ(r.stato.voci[86].numero_a, 0);
    // The profile is still finished: at least one cell, here N - 2.
    EXPECT_EQ(r.c(r.n() - 3).aderenza, 0);
    EXPECT_EQ(r.c(r.n() - 2).aderenza, 5);
    EXPECT_TRUE(r.eliminato(treno));
}

TEST(TrainReader, ZoneBoundsNotMultiplesOf50Are2) {
    compilato r(
        documento({"[generale]", "lunghezza percorso,    5000",
                   "progressiva chilometrica tre,    4010,    4500,    0", "[curve]", "[fine]"}),
        documento_treno({}));
    EXPECT_EQ(r.stato.codice_errore, 2);
    EXPECT_TRUE(r.eliminato(treno));
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    EXPECT_EQ(r.stato.diagnostics.back().document, linea);
}

TEST(TrainReader, AMissingTrainDocumentIs25) {
    const std::string l = linea_base;
    compilato r(&l, nullptr);
    EXPECT_EQ(r.stato.codice_errore, 25);
    EXPECT_TRUE(r.eliminato(linea));
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    EXPECT_EQ(r.stato.diagnostics.back().document, treno);
    EXPECT_EQ(r.stato.diagnostics.back().line, 0);
}

// A 15 left by the line part neither stops the train document at its first signal or
// slowdown nor loses its position.
TEST(TrainReader, LinePart15SurvivesRecorderCalls) {
    compilato r(
        documento_linea(5000, {"pendenza,  99999,  1"}),
        documento_treno({"segnale,    1950,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
                         "rallentamento,   3000,    40,  400, 0,  1,  0", "sabbia,    300"}));
    EXPECT_EQ(r.stato.codice_errore, 15);
    EXPECT_EQ(r.stato.posizione_errore, 99999);
    EXPECT_EQ(r.stato.voci[86].numero_a, 300);
    EXPECT_EQ(r.stato.diagnostics.size(), 1u);
}

}  // namespace
}  // namespace scenario::testing
