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
    EXPECT_EQ(r.stato.diagnostics[0].number, 15);
    EXPECT_EQ(r.stato.diagnostics[0].document, linea);
    const diagnostic& d = r.stato.diagnostics[1];
    EXPECT_EQ(d.number, 25);
    EXPECT_FALSE(d.has_position);
    EXPECT_EQ(d.position, 99999);
    EXPECT_EQ(d.document, treno);
}

TEST(ReaderErrors, ReadPastTheEndPointsAtTheLastFieldRead) {
    compilato r(documento_linea(5000, {}), "[generale]\r\nsegnale,  100,  1\r\n");
    EXPECT_EQ(r.stato.codice_errore, 25);
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    const diagnostic& d = r.stato.diagnostics.back();
    EXPECT_NE(d.message.find("signal s1: end of document"), std::string::npos);
    EXPECT_EQ(d.line, 2);
    EXPECT_EQ(d.column, 17);
    EXPECT_EQ(d.text, "segnale,  100,  1");
}

TEST(ReaderErrors, IndexOutsideTheGridPointsAtTheEntry) {
    // A board before the start lands in cell -1.
    compilato r(documento_linea(5000, {"pendenza,  0,  1", "cartello_indicatore,  -100,  x"}),
                documento_treno({}));
    EXPECT_EQ(r.stato.codice_errore, 25);
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    const diagnostic& d = r.stato.diagnostics.back();
    EXPECT_EQ(d.document, linea);
    EXPECT_EQ(d.line, 5);
    EXPECT_EQ(d.column, 23);
    EXPECT_NE(d.message.find("cell -1"), std::string::npos);
}

TEST(ReaderErrors, ErrorsWithoutPositionKeepTheEarlierOne) {
    compilato r(documento_linea(5000, {"pendenza,  99999,  1"}),
                documento_treno({"stazione, 0, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"}));
    EXPECT_EQ(r.stato.codice_errore, 24);
    EXPECT_EQ(r.stato.posizione_errore, 99999);
    ASSERT_EQ(r.stato.diagnostics.size(), 2u);
    EXPECT_EQ(r.stato.diagnostics[1].position, 99999);
    EXPECT_FALSE(r.stato.diagnostics[1].has_position);
    EXPECT_EQ(r.stato.diagnostics[1].line, 2);
}

}  // namespace
}  // namespace scenario::testing
