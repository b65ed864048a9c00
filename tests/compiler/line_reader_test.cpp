#include <gtest/gtest.h>

#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

const std::string treno_vuoto = documento_treno({});

std::string generale(std::initializer_list<std::string> righe) {
    std::string testo = "[generale]\r\nlunghezza percorso,    5000\r\n";
    for (const std::string& r : righe) {
        testo += r + "\r\n";
    }
    return testo + "[curve]\r\n[fine]\r\n";
}

TEST(LineReader, RouteLengthSizesGridAndPlan) {
    compilato r(documento_linea(63500, {}), treno_vuoto);
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.n(), 1410);
    EXPECT_EQ(r.stato.tracciato.last_metre(), 70500);
    EXPECT_EQ(r.stato.voci[84].fine_area, 63500);
    EXPECT_TRUE(r.eliminato(linea));
    EXPECT_TRUE(r.eliminato(treno));

    compilato senza(documento_linea(63500, {}), treno_vuoto, 0);
    EXPECT_FALSE(senza.stato.tracciato.exists());
}

TEST(LineReader, RouteLengthLimits) {
    compilato massimo(documento_linea(1000000, {}), treno_vuoto);
    EXPECT_EQ(massimo.stato.codice_errore, 0);
    EXPECT_EQ(massimo.n(), 20140);

    compilato oltre(documento_linea(1000001, {}), treno_vuoto);
    EXPECT_EQ(oltre.stato.codice_errore, 1);
    EXPECT_EQ(oltre.stato.voci[84].fine_area, 1000001);
    EXPECT_TRUE(oltre.stato.celle.empty());
    EXPECT_TRUE(oltre.eliminato(linea));
    EXPECT_FALSE(oltre.eliminato(treno));
    ASSERT_EQ(oltre.stato.diagnostics.size(), 1u);
    EXPECT_EQ(oltre.stato.diagnostics.back().column, 24);  // the length field

    // A negative length is accepted while it leaves a grid of at least cells 0 to 2.
    compilato corto(documento_linea(-6925, {}), treno_vuoto);
    EXPECT_EQ(corto.stato.codice_errore, 0);
    EXPECT_EQ(corto.n(), 2);
    compilato nessuno(documento_linea(-6926, {}), treno_vuoto);
    EXPECT_EQ(nessuno.stato.codice_errore, 25);
    EXPECT_TRUE(nessuno.eliminato(treno));
}

TEST(LineReader, ZonesSceneryAndRepetition) {
    compilato r(generale({"progressiva chilometrica tre,    55500,    60300,    0",
                          "progressiva chilometrica due,    34950,    57000,    0",
                          "progressiva chilometrica uno,    24500,    35000,    0",
                          "sfondo uno,    70000", "sfondo due,    50000", "sfondo tre,    1",
                          "ripetizione segnali 9 codici,    100,    60750"}),
                treno_vuoto);
    const auto& v = r.stato.voci;
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(v[81].inizio_area, 55500);
    EXPECT_EQ(v[82].fine_area, 57000);
    EXPECT_EQ(v[83].inizio_area, 24500);
    EXPECT_EQ(v[85].inizio_area, 70000);
    EXPECT_EQ(v[85].progressiva, 50000);
    EXPECT_EQ(v[85].fine_area, 1);
    EXPECT_EQ(v[86].inizio_area, 100);
    EXPECT_EQ(v[86].fine_area, 60750);
    EXPECT_EQ(v[86].progressiva, 9);

    compilato fine_zero(generale({"ripetizione segnali 4 codici,    0,    0"}), treno_vuoto);
    EXPECT_EQ(fine_zero.stato.voci[86].progressiva, 0);
}

TEST(LineReader, RepetitionErrors) {
    struct caso {
        std::string riga;
        int errore;
        int colonna;
    };
    for (const caso& c : {caso{"ripetizione segnali 4 codici,    25,    100", 3, 34},
                          caso{"ripetizione segnali 4 codici,    50,    75", 4, 41},
                          caso{"ripetizione segnali codici,    50,    100", 5, 1}}) {
        compilato r(generale({c.riga}), treno_vuoto);
        EXPECT_EQ(r.stato.codice_errore, c.errore);
        EXPECT_TRUE(r.eliminato(linea));
        EXPECT_FALSE(r.eliminato(treno));
        ASSERT_EQ(r.stato.diagnostics.size(), 1u);
        EXPECT_EQ(r.stato.diagnostics.back().line, 3);
        EXPECT_EQ(r.stato.diagnostics.back().column, c.colonna);
        EXPECT_EQ(r.stato.diagnostics.back().text, c.riga);
    }
}

TEST(LineReader, GradientFillCursor) {
    compilato r(documento_linea(63500, {"pendenza,  0,   0", "pendenza,  600,   -2",
                                        "pendenza,  610,   3", "pendenza,  620,   200"}),
                treno_vuoto);
    const auto n = r.n();
    // The entry at 0 writes nothing; the one at 600 writes cells 0 to 11.
    EXPECT_EQ(r.c(0).pendenza, 100);
    EXPECT_EQ(r.c(11).pendenza, 100);
    // Entries in the same cell still write one cell each, at the cursor.
    EXPECT_EQ(r.c(12).pendenza, 98);
    EXPECT_EQ(r.c(13).pendenza, 103);
    // The last gradient fills up to N - 3, its low 8 bits (300 -> 44).
    EXPECT_EQ(r.c(14).pendenza, 44);
    EXPECT_EQ(r.c(n - 3).pendenza, 44);
    EXPECT_EQ(r.c(n - 2).pendenza, 0);
    EXPECT_EQ(r.c(n).pendenza, 0);
}

TEST(LineReader, GradientCursorPastTheGridFails) {
    // N = 20: entries at 900 (cell 18) push the cursor one cell further each time.
    compilato r(documento_linea(lunghezza_piccola,
                                {"pendenza,  900,  1", "pendenza,  900,  1", "pendenza,  900,  1",
                                 "pendenza,  900,  1", "pendenza,  900,  1"}),
                treno_vuoto);
    EXPECT_EQ(r.stato.codice_errore, 25);
    EXPECT_EQ(r.c(20).pendenza, 101);
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    EXPECT_EQ(r.stato.diagnostics.back().line, 8);
}

TEST(LineReader, RangeTestEndsTheBodyWith15) {
    // N = 20: the last accepted chainage is 50 N - 100 = 900.
    compilato r(documento_linea(lunghezza_piccola, {"pendenza,  900,   5", "pendenza,  901,   7",
                                                    "cartello_indicatore,  100,  never read"}),
                documento_treno({"sabbia,  3"}));
    EXPECT_EQ(r.stato.codice_errore, 15);
    EXPECT_EQ(r.stato.posizione_errore, 901);
    EXPECT_EQ(r.c(17).pendenza, 100);
    EXPECT_EQ(r.c(18).pendenza, 105);  // the rest is filled with the last accepted gradient
    EXPECT_EQ(r.c(3).tipo_cella, tipo::vuota);
    EXPECT_EQ(r.stato.voci[86].numero_a, 3);  // the train document is still read
    EXPECT_TRUE(r.eliminato(linea));
    EXPECT_TRUE(r.eliminato(treno));
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    const diagnostic& d = r.stato.diagnostics.back();
    EXPECT_EQ(d.number, 15);
    EXPECT_TRUE(d.has_position);
    EXPECT_EQ(d.line, 5);
    EXPECT_EQ(d.column, 12);
}

TEST(LineReader, EntryBeforeTheRouteLengthFails) {
    compilato r(documento({"[generale]", "[curve]", "pendenza,  600,  1", "[fine]"}), treno_vuoto,
                0);
    EXPECT_EQ(r.stato.codice_errore, 25);
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    EXPECT_EQ(r.stato.diagnostics.back().line, 3);
    EXPECT_TRUE(r.eliminato(linea));
    EXPECT_TRUE(r.eliminato(treno));
}

TEST(LineReader, IndicatorBoards) {
    compilato r(documento_linea(63500, {"cartello_indicatore,  650,   (CAVALCAVIA)( Km 0.661 )",
                                        "cartello_indicatore,  59450,   (PRALBO P.P.)"}),
                treno_vuoto);
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.c(14).tipo_cella, tipo::cartello);
    EXPECT_EQ(r.c(14).valore1, 80);
    EXPECT_EQ(r.stato.voci[80].nome, "(CAVALCAVIA)( Km 0.661 )");
    EXPECT_EQ(r.c(1190).valore1, 79);
    EXPECT_EQ(r.stato.voci[79].nome, "(PRALBO P.P.)");

    // Halves go to the even cell: 25 m and 75 m both land in cell 2.
    compilato stessa(documento_linea(63500, {"cartello_indicatore,  25,  a",
                                             "cartello_indicatore,  75,  b", "pendenza, 0, 1"}),
                     treno_vuoto);
    EXPECT_EQ(stessa.stato.codice_errore, 6);
    EXPECT_EQ(stessa.stato.posizione_errore, 75);
    EXPECT_EQ(stessa.c(0).pendenza, 0);  // reading stopped before the gradient
    EXPECT_EQ(stessa.stato.voci[79].nome, "");
    EXPECT_TRUE(stessa.eliminato(linea));
    EXPECT_FALSE(stessa.eliminato(treno));
    ASSERT_EQ(stessa.stato.diagnostics.size(), 1u);
    EXPECT_EQ(stessa.stato.diagnostics.back().column, 23);
}

TEST(LineReader, EightyBoardsFitTheEightyFirstFails) {
    std::string corpo;
    for (int i = 0; i < 81; ++i) {
        corpo += "cartello_indicatore,  " + std::to_string(1000 + 100 * i) + ",  b" +
                 std::to_string(i) + "\r\n";
    }
    compilato r(generale({}) + "[x]\r\n" + corpo, treno_vuoto);
    EXPECT_EQ(r.stato.codice_errore, 25);
    EXPECT_EQ(r.stato.voci[1].nome, "b79");
    EXPECT_EQ(r.stato.voci[0].nome, "");
}

}  // namespace
}  // namespace scenario::testing
