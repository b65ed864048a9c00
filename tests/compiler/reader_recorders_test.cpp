// How the readers act on what the element recorders report. These need the real
// recorders and are skipped while they are not built in.
#include <gtest/gtest.h>

#include "compiler/recorders.hpp"
#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

bool recorders_present() {
    run_state s;
    s.celle.assign(200, cella{});
    std::int32_t sx = 0, s1 = 0, s2 = 0, s3 = 0, rapp = 0, dx = 0, d1 = 0, d2 = 0, d3 = 0,
                 tempo = 0;
    memo_segnale(s, 5000, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
    return s.celle[101].tipo_cella == segnale;
}

#define REQUIRE_RECORDERS()                                    \
    if (!recorders_present()) {                                \
        GTEST_SKIP() << "the element recorders are not built"; \
    }

TEST(ReaderRecorders, SignalOnABoardStopsTheTrainDocumentAt16) {
    REQUIRE_RECORDERS();
    compilato r(
        documento_linea(63500, {"cartello_indicatore,  6450,  x"}),
        documento_treno({"velocita,  0,  80", "segnale,    6450,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
                         "sabbia,    300"}));
    EXPECT_EQ(r.stato.codice_errore, 16);
    EXPECT_EQ(r.stato.posizione_errore, 6450);
    EXPECT_EQ(r.stato.voci[86].numero_a, 0);
    EXPECT_TRUE(r.eliminato(treno));
    EXPECT_EQ(r.stato.diagnostics.back().riga, 3);
    EXPECT_EQ(r.stato.diagnostics.back().colonna, 13);
    EXPECT_EQ(r.c(r.n() - 3).vel_limite, 0);  // the profiles are not finished
}

TEST(ReaderRecorders, SpeedBoardOnABoardStopsTheLineDocumentAt21) {
    REQUIRE_RECORDERS();
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
    REQUIRE_RECORDERS();
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
    EXPECT_EQ(su_marcatore.c(23).tipo_cella, cartello);
    EXPECT_EQ(su_marcatore.c(23).montagna, 1);
}

}  // namespace
}  // namespace scenario::testing
