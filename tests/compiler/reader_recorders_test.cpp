// How the readers act on what the element recorders report.
#include <gtest/gtest.h>

#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

TEST(ReaderRecorders, SignalOnABoardStopsTheTrainDocumentAt16) {
    compilato r(
        documento_linea(63500, {"cartello_indicatore,  6450,  x"}),
        documento_treno({"velocita,  0,  80", "segnale,    6450,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
                         "sabbia,    300"}));
    EXPECT_EQ(r.stato.codice_errore, 16);
    EXPECT_EQ(r.stato.posizione_errore, 6450);
    EXPECT_EQ(r.stato.voci[86].numero_a, 0);
    EXPECT_TRUE(r.eliminato(treno));
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    EXPECT_EQ(r.stato.diagnostics.back().line, 3);
    EXPECT_EQ(r.stato.diagnostics.back().column, 13);
    EXPECT_EQ(r.c(r.n() - 3).vel_limite, 0);  // the profiles are not finished
}

TEST(ReaderRecorders, SpeedBoardOnABoardStopsTheLineDocumentAt21) {
    compilato r(
        documento_linea(63500, {"cartello_indicatore,  700,  x",
                                "indicatori_vmax,  700,  130,  140,  150,  0,  ,  ,  ,  0"}),
        documento_treno({}));
    EXPECT_EQ(r.stato.codice_errore, 21);
    EXPECT_EQ(r.stato.posizione_errore, 700);
    EXPECT_TRUE(r.eliminato(linea));
    EXPECT_FALSE(r.eliminato(treno));
}

TEST(ReaderRecorders, BoardsAgainstSpeedBoardsAndTunnelMarkers) {
    compilato su_indicatore(
        documento_linea(63500, {"indicatori_vmax,  700,  130,  140,  150,  0,  ,  ,  ,  0",
                                "cartello_indicatore,  700,  x"}),
        documento_treno({}));
    EXPECT_EQ(su_indicatore.stato.codice_errore, 6);
    EXPECT_EQ(su_indicatore.stato.posizione_errore, 700);

    // Tunnel 1000 to 2000 with markers: every fourth cell from cell 20, so cell 23.
    compilato su_marcatore(
        documento_linea(63500, {"montagna,   1000,  2000,  11", "cartello_indicatore,  1100,  x"}),
        documento_treno({}));
    EXPECT_EQ(su_marcatore.stato.codice_errore, 0);
    EXPECT_EQ(su_marcatore.c(23).tipo_cella, tipo::cartello);
    EXPECT_EQ(su_marcatore.c(23).montagna, 1);
}

}  // namespace
}  // namespace scenario::testing
