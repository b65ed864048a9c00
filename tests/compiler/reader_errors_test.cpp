// The general failure path and the diagnostics list.
#include <gtest/gtest.h>

#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

TEST(ReaderErrors, GeneralFailureKeepsPositionModelAndOrder) {
    compilato r(documento_linea(5000, {"pendenza,  0,  4", "pendenza,  99999,  1"}),
                documento_treno({"numero vetture,  7", "sabbia,    40000"}));
    EXPECT_EQ(r.stato.codice_errore, 25);
    EXPECT_EQ(r.stato.posizione_errore, 99999);
    EXPECT_EQ(r.stato.voci[84].progressiva, 7);
    EXPECT_EQ(r.c(0).pendenza, 104);  // the line part finished before the failure
    EXPECT_EQ(r.c(r.n()).vel_limite, 0);
    EXPECT_TRUE(r.eliminato(linea));
    EXPECT_TRUE(r.eliminato(treno));
    ASSERT_EQ(r.stato.diagnostics.size(), 2u);
    EXPECT_EQ(r.stato.diagnostics[0].numero, 15);
    EXPECT_EQ(r.stato.diagnostics[0].documento, linea);
    const diagnostic& d = r.stato.diagnostics[1];
    EXPECT_EQ(d.numero, 25);
    EXPECT_FALSE(d.ha_posizione);
    EXPECT_EQ(d.posizione, 99999);
    EXPECT_EQ(d.documento, treno);
}

TEST(ReaderErrors, ReadPastTheEndPointsAtTheLastFieldRead) {
    compilato r(documento_linea(5000, {}), "[generale]\r\nsegnale,  100,  1\r\n");
    EXPECT_EQ(r.stato.codice_errore, 25);
    const diagnostic& d = r.stato.diagnostics.back();
    EXPECT_EQ(d.dettaglio, "signal s1: end of document");
    EXPECT_EQ(d.riga, 2);
    EXPECT_EQ(d.colonna, 17);
    EXPECT_EQ(d.testo, "segnale,  100,  1");
}

TEST(ReaderErrors, IndexOutsideTheGridPointsAtTheEntry) {
    // A board before the start lands in cell -1.
    compilato r(documento_linea(5000, {"pendenza,  0,  1", "cartello_indicatore,  -100,  x"}),
                documento_treno({}));
    EXPECT_EQ(r.stato.codice_errore, 25);
    const diagnostic& d = r.stato.diagnostics.back();
    EXPECT_EQ(d.documento, linea);
    EXPECT_EQ(d.riga, 5);
    EXPECT_EQ(d.colonna, 23);
    EXPECT_NE(d.dettaglio.find("cell -1"), std::string::npos);
}

TEST(ReaderErrors, ErrorsWithoutPositionKeepTheEarlierOne) {
    compilato r(documento_linea(5000, {"pendenza,  99999,  1"}),
                documento_treno({"stazione, 0, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"}));
    EXPECT_EQ(r.stato.codice_errore, 24);
    EXPECT_EQ(r.stato.posizione_errore, 99999);
    ASSERT_EQ(r.stato.diagnostics.size(), 2u);
    EXPECT_EQ(r.stato.diagnostics[1].posizione, 99999);
    EXPECT_FALSE(r.stato.diagnostics[1].ha_posizione);
    EXPECT_EQ(r.stato.diagnostics[1].riga, 2);
}

}  // namespace
}  // namespace scenario::testing
