// The built-in line and train documents read in full, with the real recorders and the
// zone ordering, from memory and from the folder the writers put them in.
#include <gtest/gtest.h>

#include <map>
#include <cmath>

#include "documents/built_in_documents.hpp"
#include "reader_test_support.hpp"
#include "support/temp_folder.hpp"

namespace scenario::testing {
namespace {

run_state stato_incorporato() {
    run_state stato;
    stato.nome_scenario = "Vessana_Pralbo";
    stato.nome_treno = "5 bis";
    stato.con_tracciato = 1;
    return stato;
}

run_state da_memoria() {
    run_state stato = stato_incorporato();
    memory_store store;
    store.put(nome_documento_linea(stato.nome_scenario), document_bytes(line_document_lines()));
    store.put(nome_documento_treno(stato.nome_scenario, stato.nome_treno),
              document_bytes(train_document_lines()));
    memorizza_dati(stato, store);
    EXPECT_EQ(store.removed().size(), 2u);
    return stato;
}

TEST(BuiltinReader, CompilesWithoutErrorIntoTheExpectedModel) {
    const run_state s = da_memoria();
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_TRUE(s.diagnostics.empty());
    ASSERT_EQ(s.celle.size(), 1411u);
    EXPECT_EQ(s.tracciato.last_metre(), 70500);

    std::map<tipo, int> tipi;
    for (const cella& c : s.celle) {
        ++tipi[c.tipo_cella];
    }
    EXPECT_EQ(tipi[tipo::segnale], 34);
    EXPECT_EQ(tipi[tipo::fine_rallentamento], 2);
    EXPECT_EQ(tipi[tipo::inizio_rallentamento], 2);
    EXPECT_EQ(tipi[tipo::avviso_rallentamento], 2);
    EXPECT_EQ(tipi[tipo::preavviso_rallentamento], 8);
    EXPECT_EQ(tipi[tipo::indicatore_vmax], 21);
    EXPECT_EQ(tipi[tipo::stazione], 12);
    EXPECT_EQ(tipi[tipo::segno_montagna], 81);
    EXPECT_EQ(tipi[tipo::cartello], 4);

    // The zones as ordered, with their flags applied.
    EXPECT_EQ(s.voci[81].fine_area, 60400);
    EXPECT_EQ(s.voci[82].fine_area, 57100);
    EXPECT_EQ(s.voci[83].fine_area, 35100);
    EXPECT_EQ(s.voci[84].fine_area, 63500);
    EXPECT_EQ(s.voci[85].nome, "Vessana_Pralbo");
    EXPECT_EQ(s.voci[86].nome, "5 bis");
    EXPECT_EQ(s.voci[86].progressiva, 4);
    EXPECT_EQ(s.voci[13].nome, "PRALBO CASTELMA");
    EXPECT_EQ(s.voci[77].nome, "(  BIVIO   )(TRAVERSATA)");

    // The signal at 6450 m: cell 130 with its approach markers.
    EXPECT_EQ(s.celle[130].tipo_cella, tipo::segnale);
    EXPECT_EQ(s.celle[130].valore1, 40);
    EXPECT_EQ(s.celle[128].avvicinamento, 61);
    EXPECT_EQ(s.celle[122].avvicinamento, 64);
}

// The direction of the step into metre m, clockwise from the second coordinate.
double heading(const tracciato_linea& t, std::int64_t m) {
    return std::atan2(t.value(m, 0) - t.value(m - 1, 0), t.value(m, 1) - t.value(m - 1, 1));
}

TEST(BuiltinReader, PlanHeadingAfterTheFirstCurveAndAtTheEnd) {
    const run_state s = da_memoria();
    ASSERT_EQ(s.tracciato.last_metre(), 70500);
    // "curvas4, 900, 1100": 1100 points turning left by atan(0.001) each.
    EXPECT_NEAR(heading(s.tracciato, 2000), -1.099999633, 1e-8);
    // At the last drawn point, E - 2, every curve counted by class, right minus left
    // points: class 1 8450 - 1800, class 2 2700 - 2800, class 3 2900 - 7150, class 4
    // 2900 - 3900, class 5 1900 - 2150, class 6 400 - 50, each times atan(k).
    EXPECT_NEAR(heading(s.tracciato, 70498), -1.505002061, 1e-8);
}

TEST(BuiltinReader, FromTheWritersFolderTheModelIsTheSame) {
    const run_state memoria = da_memoria();
    temp_folder cartella;
    const document_target t{cartella.str(), "Vessana_Pralbo", "5 bis"};
    dati_linea(t);
    dati_treno(t);
    folder_store store(cartella.str(), true);
    run_state stato = stato_incorporato();
    memorizza_dati(stato, store);
    EXPECT_EQ(stato.voci, memoria.voci);
    EXPECT_EQ(stato.celle, memoria.celle);
    EXPECT_EQ(stato.tracciato, memoria.tracciato);
    EXPECT_FALSE(store.exists(nome_documento_linea("Vessana_Pralbo")));
    EXPECT_FALSE(store.exists(nome_documento_treno("Vessana_Pralbo", "5 bis")));
}

}  // namespace
}  // namespace scenario::testing
