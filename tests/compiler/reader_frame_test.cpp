// The document frame both readers share: "[generale]", general part and body,
// remarks, keyword matching, the last field of a document.
#include <gtest/gtest.h>

#include "reader_test_support.hpp"

namespace scenario::testing {
namespace {

const std::string treno_vuoto = documento_treno({});

TEST(ReaderFrame, MissingLineDocumentIs101AndDeletesNothing) {
    const std::string t = treno_vuoto;
    compilato r(nullptr, &t);
    EXPECT_EQ(r.stato.codice_errore, 101);
    EXPECT_TRUE(r.store.removed().empty());
    EXPECT_EQ(r.stato.voci[85].nome, "S");
    EXPECT_EQ(r.stato.voci[86].nome, "T");
    ASSERT_EQ(r.stato.diagnostics.size(), 1u);
    EXPECT_EQ(r.stato.diagnostics[0].document, linea);
    EXPECT_FALSE(r.stato.diagnostics[0].has_position);
    EXPECT_NE(r.stato.diagnostics[0].message.find("\"S_linea.txt\""), std::string::npos)
        << "the sentence names the document";
}

TEST(ReaderFrame, LineDocumentWithoutGeneraleIs102) {
    for (const std::string& l :
         {documento({"lunghezza percorso, 5000", "[fine]"}), documento({"x", "[GENERALE]"})}) {
        compilato r(l, treno_vuoto);
        EXPECT_EQ(r.stato.codice_errore, 102);
        EXPECT_TRUE(r.eliminato(linea));
        EXPECT_FALSE(r.eliminato(treno));  // the train part never runs
        EXPECT_TRUE(r.stato.celle.empty());
        ASSERT_EQ(r.stato.diagnostics.size(), 1u);
        EXPECT_EQ(r.stato.diagnostics.back().line, 2);
    }
}

TEST(ReaderFrame, EmptyLineDocumentIsAReadPastTheEnd) {
    compilato r(std::string(), treno_vuoto);
    EXPECT_EQ(r.stato.codice_errore, 25);
    EXPECT_TRUE(r.eliminato(linea));
    EXPECT_TRUE(r.eliminato(treno));
}

TEST(ReaderFrame, EverythingBeforeGeneraleIsIgnored) {
    const std::string l =
        "lunghezza percorso, 1\r\nfoo [Generale] bar\r\n" + documento_linea(5000, {}).substr(12);
    compilato r(l, treno_vuoto);
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.n(), 240);
}

TEST(ReaderFrame, GeneralKeywordsAreExactOrCaseFreeAsListed) {
    const std::string l = documento({"[generale]", "LUNGHEZZA Percorso,    5000",
                                     "PROGRESSIVA CHILOMETRICA UNO,    100,    200,    0",
                                     "sfondo uno,    7", "Sfondo due,    8", "[curve]",
                                     "sfondo tre,    9", "pendenza,  0,   5", "[fine]"});
    compilato r(l, treno_vuoto);
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.stato.voci[84].fine_area, 5000);
    EXPECT_EQ(r.stato.voci[83].inizio_area, 0);  // capitals: not a zone, numbers ignored
    EXPECT_EQ(r.stato.voci[85].inizio_area, 7);
    EXPECT_EQ(r.stato.voci[85].progressiva, 0);  // "Sfondo" is not exact
    EXPECT_EQ(r.stato.voci[85].fine_area, 0);    // general keyword in the body
    EXPECT_EQ(r.c(0).pendenza, 105);             // body keyword found after it
}

TEST(ReaderFrame, RemarksAreSkippedUpToTheirLimit) {
    // Ten remarks before a general keyword are skipped; after eleven the eleventh is the
    // keyword field and the real keyword line is read only as the next field.
    std::string dieci, undici;
    for (int i = 0; i < 10; ++i) {
        dieci += "-- remark\r\n";
    }
    undici = dieci + "-- sfondo uno\r\n";
    const std::string resto = "sfondo uno,    7\r\n[curve]\r\n[fine]\r\n";
    const std::string base = "[generale]\r\nlunghezza percorso, 5000\r\n";
    compilato a(base + dieci + resto, treno_vuoto);
    EXPECT_EQ(a.stato.voci[85].inizio_area, 7);
    compilato b(base + undici + resto, treno_vuoto);
    // "-- sfondo uno" itself is acted on and takes the next field, "sfondo uno", as its
    // number: not a number, so the general failure path.
    EXPECT_EQ(b.stato.codice_errore, 25);

    // In the train document two remarks are skipped; a third is a keyword field.
    compilato c(documento_linea(5000, {}),
                documento_treno({"-a", "-b", "sabbia,    300", "-a", "-b", "-c sabbia,  5"}));
    EXPECT_EQ(c.stato.voci[86].numero_a, 5);
}

TEST(ReaderFrame, SurplusFieldsAreReadAsKeywordFields) {
    compilato r(documento_linea(5000, {"pendenza,  0,   3,  7", "pendenza,  600,   4"}),
                documento_treno({"numero vetture,    12,  sabbia,  9"}));
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.c(0).pendenza, 103);
    EXPECT_EQ(r.c(12).pendenza, 104);
    EXPECT_EQ(r.stato.voci[84].progressiva, 12);
    EXPECT_EQ(r.stato.voci[86].numero_a, 9);
}

TEST(ReaderFrame, AFieldWithSeveralKeywordsActsOnEach) {
    compilato r(documento_linea(5000, {"pendenza cartello_indicatore,  600,  3,  650,  T"}),
                documento_treno({"velocita aderenza,  0,  80,  0,  90"}));
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.c(0).pendenza, 100);
    EXPECT_EQ(r.c(12).pendenza, 103);
    EXPECT_EQ(r.c(14).tipo_cella, tipo::cartello);
    EXPECT_EQ(r.stato.voci[80].nome, "T");
    EXPECT_EQ(r.c(0).vel_limite, 16);
    EXPECT_EQ(r.c(0).aderenza, 90);
}

TEST(ReaderFrame, TheLastFieldIsNeverInterpreted) {
    // A last line with data is acted on: its keyword field is not the last field.
    const std::string l =
        "[generale]\r\nlunghezza percorso, 5000\r\n[x]\r\npendenza,  600,   9\r\n";
    // A keyword that is itself the last field is not read (no read past the end).
    compilato r(l, "[generale]\r\nsabbia,  4\r\nsabbia\r\n");
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.c(11).pendenza, 100);
    EXPECT_EQ(r.c(12).pendenza, 109);
    EXPECT_EQ(r.stato.voci[86].numero_a, 4);
    EXPECT_TRUE(r.eliminato(treno));
}

TEST(ReaderFrame, TrainDocumentWithoutGeneraleOnlyFinishesTheProfiles) {
    compilato r(documento_linea(5000, {}), documento({"sabbia,  4", "velocita,  0,  80"}));
    EXPECT_EQ(r.stato.codice_errore, 0);
    EXPECT_EQ(r.stato.voci[86].numero_a, 0);
    EXPECT_EQ(r.c(0).vel_limite, 0);
    EXPECT_TRUE(r.eliminato(treno));
}

}  // namespace
}  // namespace scenario::testing
