#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "compiler/compile.hpp"
#include "files/stores.hpp"
#include "generator/scenario_documents.hpp"
#include "generator/scenario_layout.hpp"
#include "model/file_names.hpp"

namespace scenario::bench {
namespace {

std::int64_t cell_of(std::int64_t position) {
    return position / 50 + 1;
}

// Every cell an element of the layout claims, with the number of claims.
std::map<std::int64_t, int> claimed_cells(const scenario_layout& l) {
    std::map<std::int64_t, int> cells;
    for (const auto& b : l.speed_boards) {
        ++cells[cell_of(b.position)];
    }
    for (const auto& s : l.signs) {
        ++cells[cell_of(s.position)];
    }
    for (const auto& s : l.signals) {
        ++cells[cell_of(s.position)];
    }
    for (const auto& r : l.slowdowns) {
        ++cells[cell_of(r.start)];
        ++cells[cell_of(r.start + r.length)];
        for (int i = 0; i <= 4; ++i) {
            ++cells[cell_of(r.start - 1200) - i];
        }
    }
    return cells;
}

TEST(ScenarioGenerator, LargestRouteFillsEveryTableTheDocumentsAllow) {
    const scenario_layout l = make_layout(longest_route);
    EXPECT_EQ(l.last_cell, 20140);
    EXPECT_EQ(l.stations.size(), std::size_t{most_stations});
    EXPECT_EQ(l.tunnels.size(), std::size_t{most_tunnels});
    EXPECT_EQ(l.signs.size(), std::size_t{sign_count});
    EXPECT_EQ(l.slowdowns.size(), 100u);
    EXPECT_EQ(l.gradients.size(), 10001u);
    EXPECT_GE(l.curves.size(), 999u);
    // Dropping the signals and boards that fall near a slowdown costs few of them.
    EXPECT_GT(l.signals.size(), 700u);
    EXPECT_GT(l.speed_boards.size(), 450u);
    // The plan may not be drawn past metre 1,000,000.
    const auto& last_curve = l.curves.back();
    EXPECT_LT(last_curve.start + last_curve.length, 1000000);
}

TEST(ScenarioGenerator, NoTwoElementsShareACellAndAllLieInsideTheRoute) {
    for (const std::int32_t length : {10000, 63500, 100000, 1000000}) {
        const scenario_layout l = make_layout(length);
        for (const auto& [cell, claims] : claimed_cells(l)) {
            EXPECT_EQ(claims, 1) << "cell " << cell << " at length " << length;
            EXPECT_GT(cell, 1);
            EXPECT_LE(cell, l.last_cell - 14);
        }
        for (std::size_t i = 1; i < l.stations.size(); ++i) {
            EXPECT_GT(l.stations[i].position, l.stations[i - 1].position);
        }
        EXPECT_TRUE(std::is_sorted(l.signals.begin(), l.signals.end(),
                                   [](auto& a, auto& b) { return a.position < b.position; }));
    }
}

TEST(ScenarioGenerator, DocumentsAreCrLfLinesFramedLikeTheBuiltInOnes) {
    const scenario_layout l = make_layout(100000);
    for (const std::string& doc : {line_document(l), train_document(l)}) {
        ASSERT_GE(doc.size(), 2u);
        EXPECT_EQ(doc.rfind("[generale]\r\n", 0), 0u);
        EXPECT_EQ(doc.substr(doc.size() - 8), "[fine]\r\n");
        for (std::size_t i = 0; i < doc.size(); ++i) {
            if (doc[i] == '\n') {
                ASSERT_GT(i, 0u);
                ASSERT_EQ(doc[i - 1], '\r') << "bare line feed at byte " << i;
            }
        }
    }
    const std::string train = train_document(l);
    // Fixed columns: the first station and a signal row line up as the built-in rows do.
    EXPECT_NE(train.find("stazione,       0,  4,  900,  1, 0, 0,  4,1,1,  2,1,1,    1,   6, 0, "
                         "0, STAZIONE 1\r\n"),
              std::string::npos);
    EXPECT_NE(train.find("segnale,    1350,   2, 4, 0,  0, 0,    0,  0,0,0, 0\r\n"),
              std::string::npos);
}

TEST(ScenarioGenerator, DocumentsCompileWithoutAnyErrorOrWarning) {
    for (const std::int32_t length : {10000, 100000, 1000000}) {
        const scenario_layout l = make_layout(length);
        memory_store store;
        store.put(nome_documento_linea(l.scenario_name), line_document(l));
        store.put(nome_documento_treno(l.scenario_name, l.train_name), train_document(l));
        run_state stato;
        stato.nome_scenario = l.scenario_name;
        stato.nome_treno = l.train_name;
        ASSERT_EQ(compile_scenario(stato, store, 1), 0);
        EXPECT_EQ(stato.codice_errore, 0) << "at " << stato.posizione_errore;
        EXPECT_TRUE(stato.diagnostics.empty()) << stato.diagnostics.front().message;
        ASSERT_EQ(stato.celle.size(), static_cast<std::size_t>(l.last_cell) + 1);
        std::map<tipo, std::size_t> kinds;
        for (const cella& c : stato.celle) {
            ++kinds[c.tipo_cella];
        }
        std::size_t station_cells = 0;
        for (const auto& s : l.stations) {
            station_cells += s.kind < 25 ? 1 : 0;
        }
        EXPECT_EQ(kinds[tipo::segnale], l.signals.size());
        EXPECT_EQ(kinds[tipo::inizio_rallentamento], l.slowdowns.size());
        EXPECT_EQ(kinds[tipo::fine_rallentamento], l.slowdowns.size());
        EXPECT_EQ(kinds[tipo::avviso_rallentamento], l.slowdowns.size());
        EXPECT_EQ(kinds[tipo::preavviso_rallentamento], 4 * l.slowdowns.size());
        EXPECT_EQ(kinds[tipo::indicatore_vmax], l.speed_boards.size());
        EXPECT_EQ(kinds[tipo::cartello], l.signs.size());
        EXPECT_EQ(kinds[tipo::stazione], station_cells);
        // Every slowdown gets its signal point, three windows and the point after it.
        EXPECT_GE(kinds[tipo::cambio_codice], 5 * l.slowdowns.size());
        EXPECT_TRUE(stato.tracciato.exists());
        EXPECT_EQ(stato.voci[voce_percorso].fine_area, length);
    }
}

}  // namespace
}  // namespace scenario::bench
