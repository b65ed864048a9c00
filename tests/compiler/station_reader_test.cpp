#include <gtest/gtest.h>

#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

const std::string linea_base = documento_linea(63500, {});

std::string riga_stazione(int p, int tipo, int lp, int sesto = 0,
                          const std::string& resto = "4,1,1,  2,1,1,    1,  19, 9, 0") {
    return "stazione, " + std::to_string(p) + ", " + std::to_string(tipo) + ", " +
           std::to_string(lp) + ",  1, 1, " + std::to_string(sesto) + ",  " + resto + ", N" +
           std::to_string(p);
}

TEST(StationReader, FirstBuiltInStation) {
    compilato r(linea_base, documento_treno({"stazione,       0,  4,  900,  1, 0, 0,  4,1,1,  "
                                             "2,1,1,    1,  19, 9, 0, VESSANA"}));
    // The record's fields do not follow the order of the line.
    voce atteso;
    atteso.tipo_stazione = 4;
    atteso.inizio_area = -450;
    atteso.fine_area = 450;
    atteso.opzione_a = 1;
    atteso.nome = "VESSANA";
    atteso.numero_a = 4;
    atteso.numero_b = 1;
    atteso.opzione_b = 1;
    atteso.numero_c = 2;
    atteso.numero_d = 1;
    atteso.numero_e = 1;
    atteso.opzione_c = 1;
    atteso.orario = 68940;  // opzione_d and opzione_e cleared for the first station
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.stato.voci[1], atteso);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(r.c(8 - i).avvicinamento, 80 + i);
    }
    EXPECT_EQ(r.c(8).tipo_cella, tipo::stazione);
    EXPECT_EQ(r.c(8).valore1, 1);
    EXPECT_EQ(r.c(3).avvicinamento, 0);
}

TEST(StationReader, AreasByKind) {
    compilato r(linea_base,
                documento_treno({riga_stazione(0, 4, 900, 1), riga_stazione(4700, 22, 300, 1),
                                 riga_stazione(10300, 22, 600, 1), riga_stazione(20000, 5, 400),
                                 riga_stazione(30000, 7, 400, 1), riga_stazione(40000, 25, 100)}));
    const auto& v = r.stato.voci;
    EXPECT_EQ(r.stato.codice_errore, 0);
    // The first station's area uses the sixth field before it is cleared.
    EXPECT_EQ(v[1].fine_area, 500);
    EXPECT_EQ(v[1].opzione_d, 0);
    EXPECT_EQ(v[1].opzione_e, 0);
    EXPECT_EQ(v[2].inizio_area, 4550);
    EXPECT_EQ(v[2].fine_area, 4900);  // 50 m later for the sixth field
    EXPECT_EQ(v[2].opzione_d, 1);
    EXPECT_EQ(v[2].opzione_e, 0);  // shorter than 600 m
    EXPECT_EQ(v[3].opzione_e, 1);
    // Kind 5: P - Lp to P + 150, a station cell (near(20150 / 50 - 1) = 402), no markers.
    EXPECT_EQ(v[4].inizio_area, 19600);
    EXPECT_EQ(v[4].fine_area, 20150);
    EXPECT_EQ(r.c(402).tipo_cella, tipo::stazione);
    EXPECT_EQ(r.c(402).valore1, 4);
    EXPECT_EQ(r.c(401).avvicinamento, 0);
    EXPECT_EQ(r.c(400).avvicinamento, 0);
    // Kind 7: P - Lp to P + Lp, sixth field cleared.
    EXPECT_EQ(v[5].inizio_area, 29600);
    EXPECT_EQ(v[5].fine_area, 30400);
    EXPECT_EQ(v[5].opzione_d, 0);
    // Kind 25: entry and area, no cell, no markers.
    EXPECT_EQ(v[6].inizio_area, 39950);
    EXPECT_EQ(r.c(800).tipo_cella, tipo::vuota);
    EXPECT_EQ(r.c(799).avvicinamento, 0);
}

TEST(StationReader, AreasCloserThan350mAre22) {
    // The first area ends at 450; the next starts at P - 150.
    compilato passa(linea_base,
                    documento_treno({riga_stazione(0, 4, 900), riga_stazione(950, 25, 300)}));
    EXPECT_EQ(passa.stato.codice_errore, 0);
    compilato no(linea_base,
                 documento_treno({riga_stazione(0, 4, 900), riga_stazione(900, 25, 300)}));
    EXPECT_EQ(no.stato.codice_errore, 22);
    EXPECT_EQ(no.stato.posizione_errore, 900);
    EXPECT_EQ(no.stato.voci[2].nome, "N900");
    EXPECT_TRUE(no.eliminato(treno));
}

TEST(StationReader, PositionAndLengthErrors) {
    compilato otto(linea_base, documento_treno({riga_stazione(4725, 4, 900)}));
    EXPECT_EQ(otto.stato.codice_errore, 8);
    EXPECT_EQ(otto.stato.posizione_errore, 4725);
    EXPECT_EQ(otto.stato.voci[1].progressiva, 4725);
    ASSERT_EQ(otto.stato.diagnostics.size(), 1u);
    EXPECT_EQ(otto.stato.diagnostics.back().column, 11);

    compilato nove(linea_base, documento_treno({riga_stazione(4700, 4, 950)}));
    EXPECT_EQ(nove.stato.codice_errore, 9);
    EXPECT_EQ(nove.stato.posizione_errore, 4700);
    ASSERT_EQ(nove.stato.diagnostics.size(), 1u);
    EXPECT_EQ(nove.stato.diagnostics.back().column, 20);  // the length field
    EXPECT_TRUE(nove.eliminato(treno));

    // A reference cell at index 1 or less: 24, position unchanged.
    compilato ventiquattro(linea_base, documento_treno({riga_stazione(0, 4, 200)}));
    EXPECT_EQ(ventiquattro.stato.codice_errore, 24);
    EXPECT_EQ(ventiquattro.stato.posizione_errore, 0);
    ASSERT_EQ(ventiquattro.stato.diagnostics.size(), 1u);
    EXPECT_FALSE(ventiquattro.stato.diagnostics.back().has_position);
    EXPECT_EQ(ventiquattro.c(1).tipo_cella, tipo::vuota);

    compilato tipo(linea_base, documento_treno({riga_stazione(4700, 300, 900)}));
    EXPECT_EQ(tipo.stato.codice_errore, 25);
    EXPECT_TRUE(tipo.eliminato(linea));
    EXPECT_TRUE(tipo.eliminato(treno));

    compilato orario(
        linea_base,
        documento_treno({riga_stazione(4700, 4, 900, 0, "4,1,1,  2,1,1,  1, 600000, 0, 0")}));
    EXPECT_EQ(orario.stato.codice_errore, 25);
}

TEST(StationReader, StationRangeTestUses800m) {
    // N = 1410: 50 N - 800 = 69700.
    compilato dentro(linea_base, documento_treno({riga_stazione(69700, 25, 100)}));
    EXPECT_EQ(dentro.stato.codice_errore, 0);
    compilato fuori(linea_base, documento_treno({riga_stazione(69750, 25, 100), "sabbia, 3"}));
    EXPECT_EQ(fuori.stato.codice_errore, 15);
    EXPECT_EQ(fuori.stato.posizione_errore, 69750);
    EXPECT_EQ(fuori.stato.voci[86].numero_a, 0);
}

std::string stazioni(int quante) {
    std::string righe;
    for (int i = 1; i <= quante; ++i) {
        righe += riga_stazione(1000 * i, 25, 100) + "\r\n";
    }
    return righe;
}

std::string cartelli(int quanti) {
    std::string righe;
    for (int i = 0; i < quanti; ++i) {
        righe += "cartello_indicatore,  " + std::to_string(500 + 100 * i) + ",  b\r\n";
    }
    return documento({"[generale]", "lunghezza percorso,    80000", "[x]"}) + righe;
}

TEST(StationReader, StationsMayNotReachTheBoardTexts) {
    // Four boards: the 75th station is written, then 10.
    compilato r(cartelli(4), "[generale]\r\n" + stazioni(76));
    EXPECT_EQ(r.stato.codice_errore, 10);
    EXPECT_EQ(r.stato.voci[75].progressiva, 75000);
    EXPECT_EQ(r.stato.voci[76].nome, "");
    EXPECT_EQ(r.stato.voci[77].nome, "b");
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    EXPECT_EQ(r.stato.diagnostics.back().line, 76);
    compilato meno(cartelli(4), "[generale]\r\n" + stazioni(74));
    EXPECT_EQ(meno.stato.codice_errore, 0);

    // 79 boards leave entry 1 free for one station; with 80 there is none.
    compilato una(cartelli(79), "[generale]\r\n" + stazioni(1));
    EXPECT_EQ(una.stato.codice_errore, 10);
    EXPECT_EQ(una.stato.voci[1].progressiva, 1000);
    compilato nessuna(cartelli(80), "[generale]\r\n" + stazioni(1));
    EXPECT_EQ(nessuna.stato.codice_errore, 25);
    EXPECT_EQ(nessuna.stato.voci[1].nome, "b");
}

}  // namespace
}  // namespace scenario::testing
