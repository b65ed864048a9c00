// What the rows of a decompile are made of, on small grids and plans worked out by hand:
// the tunnel rows that give a grid's tunnel types and markers, and the curve runs of a
// plan file as the compiler writes it and as no curve row draws it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "compiled/compiled_scenario.hpp"
#include "decompile/decompile.hpp"
#include "decompile/plan_analysis.hpp"
#include "decompile/tunnel_rows.hpp"
#include "documents/built_in_documents.hpp"
#include "files/plan_file.hpp"
#include "files/scenario_files.hpp"
#include "support/mistake_corpus.hpp"

namespace scenario {

void PrintTo(const tunnel_row& r, std::ostream* out) {
    *out << "{" << r.start << ", " << r.end << ", " << r.type << "}";
}

namespace {

// A grid of 40 cells with tunnels of these types over these cells, and markers.
griglia tunnels(std::initializer_list<std::tuple<int, int, std::uint8_t>> runs,
                std::initializer_list<int> markers) {
    griglia g(40);
    for (const auto& [first, last, type] : runs) {
        for (int c = first; c <= last; ++c) {
            g[static_cast<std::size_t>(c)].montagna = type;
        }
    }
    for (const int c : markers) {
        g[static_cast<std::size_t>(c)].tipo_cella = tipo::segno_montagna;
    }
    return g;
}

TEST(TunnelRows, OneTunnelPerRunMarkersFromItsFirstCell) {
    // Cells 10 to 19 of type 1, every fourth from cell 10 marked: 13 and 17.
    EXPECT_EQ(tunnel_rows(tunnels({{10, 19, 1}}, {13, 17})),
              (std::vector<tunnel_row>{{500, 1000, 11}}));
    // Without markers; a type above 10 written as its 8 bits less 256.
    EXPECT_EQ(tunnel_rows(tunnels({{10, 19, 1}, {25, 29, 12}}, {})),
              (std::vector<tunnel_row>{{500, 1000, 1}, {1250, 1500, -244}}));
}

TEST(TunnelRows, TypeThreeAfterATunnelThatEndsCloseBefore) {
    // A tunnel starting where the one before ends takes type 3 whatever it says.
    EXPECT_EQ(tunnel_rows(tunnels({{10, 19, 1}, {20, 29, 3}}, {23, 27})),
              (std::vector<tunnel_row>{{500, 1000, 1}, {1000, 1500, 11}}));
    // Type 3 far from any other: written 3 (13 with markers).
    EXPECT_EQ(tunnel_rows(tunnels({{20, 29, 3}}, {23, 27})),
              (std::vector<tunnel_row>{{1000, 1500, 13}}));
    // Marked in cell 23 but not in 27, still empty: that tunnel ended at cell 23, and the
    // one after it (no markers) takes type 3 for starting where it ended.
    EXPECT_EQ(tunnel_rows(tunnels({{20, 29, 3}}, {23})),
              (std::vector<tunnel_row>{{1000, 1200, 13}, {1200, 1500, 1}}));
}

TEST(TunnelRows, RunOfOneTypeThatTwoTunnelsMarked) {
    // Type 1 from cell 10 to 29, markers 13, 17 (from cell 10) and 23, 27 (from cell 20):
    // two tunnels; the second must not take type 3, so a row that draws no cell and ends
    // 200 m before it comes between.
    EXPECT_EQ(tunnel_rows(tunnels({{10, 29, 1}}, {13, 17, 23, 27})),
              (std::vector<tunnel_row>{{500, 1000, 11}, {1000, 800, 0}, {1000, 1500, 11}}));
}

TEST(TunnelRows, MarkerOutsideAnyTunnelComesFromATunnelOfTypeZero) {
    // Cell 35 marked, no tunnel there: a tunnel of type 0 (266: markers, 0 in 8 bits) over
    // cells 32 to 35, written first; the tunnel of cells 10 to 19 then starts before its
    // end, and keeps its type behind a row that ends 200 m before it.
    EXPECT_EQ(tunnel_rows(tunnels({{10, 19, 1}}, {35})),
              (std::vector<tunnel_row>{{1600, 1800, 266}, {500, 300, 0}, {500, 1000, 1}}));
    // A marker at the first cell of a run: that run's tunnel cannot give it either.
    EXPECT_EQ(tunnel_rows(tunnels({{10, 19, 2}}, {10})),
              (std::vector<tunnel_row>{{350, 550, 266}, {500, 300, 0}, {500, 1000, 2}}));
}

TEST(TunnelRows, ElementsOverMarkersTellNothing) {
    // A signal over the cell of the second marker: the tunnel still marks from cell 10.
    griglia g = tunnels({{10, 19, 1}}, {13});
    g[17].tipo_cella = tipo::segnale;
    EXPECT_EQ(tunnel_rows(g), (std::vector<tunnel_row>{{500, 1000, 11}}));
}

std::string built_in_plan() {
    compile_request request;
    request.scenario = "Vessana_Pralbo";
    request.train = "5 bis";
    request.line = document_source{
        "line", scenario::testing::text_of(scenario::testing::lines_of(line_document_lines()))};
    request.train_document = document_source{
        "train", scenario::testing::text_of(scenario::testing::lines_of(train_document_lines()))};
    const compiled_scenario c = compile(request);
    string_sink sink;
    encode_output(c.state, file_format::plan, sink);
    return sink.bytes();
}

TEST(PlanAnalysis, BuiltInPlanFileGivesItsFortyTwoCurves) {
    const std::string bytes = built_in_plan();
    memory_bytes source(bytes);
    plan_analyser a;
    ASSERT_TRUE(analyse_plan_file(source, a));
    const plan_analysis p = a.finish();
    EXPECT_EQ(p.last_metre, 70500);
    EXPECT_EQ(p.last_drawn, 70498);
    EXPECT_FALSE(p.first_unmatched);
    ASSERT_EQ(p.curves.size(), 42u);
    // "curvas4, 900, 1100": metres 901 to 2000 to the left at 0.001; "curvas4, 61150,
    // 950": 61151 to 62100.
    EXPECT_EQ(p.curves.front().first, 901);
    EXPECT_EQ(p.curves.front().last, 2000);
    EXPECT_EQ(p.curves.front().k, -0.001);
    EXPECT_EQ(p.curves.back().first, 61151);
    EXPECT_EQ(p.curves.back().last, 62100);
    EXPECT_EQ(p.curves.back().k, -0.001);
    // "curvas6, 37000, 50" right before "curvas5, 37050, 350": two runs that touch.
    bool touching = false;
    for (std::size_t i = 1; i < p.curves.size(); ++i) {
        touching = touching || (p.curves[i - 1].first == 37001 && p.curves[i - 1].last == 37050 &&
                                p.curves[i].first == 37051 && p.curves[i].k == -0.002);
    }
    EXPECT_TRUE(touching);
}

TEST(PlanAnalysis, PointNoStepDrawsAndTagsThatDiffer) {
    std::string bytes = built_in_plan();
    // Metre 2000's first coordinate (at 18 + 8 + 10 x 1998) a metre further: only that
    // metre is unmatched, the next go on from the points the rows draw.
    const std::size_t x2000 = 18 + 8 + 10 * 1998;
    ASSERT_LT(x2000 + 10, bytes.size());
    double x = 0;
    std::memcpy(&x, bytes.data() + x2000 + 2, sizeof x);
    x += 1.0;
    std::memcpy(bytes.data() + x2000 + 2, &x, sizeof x);
    {
        memory_bytes source(bytes);
        plan_analyser a;
        ASSERT_TRUE(analyse_plan_file(source, a));
        const plan_analysis p = a.finish();
        EXPECT_EQ(p.first_unmatched, 2000);
        EXPECT_EQ(p.unmatched, 1);
        EXPECT_EQ(p.curves.size(), 42u);
    }
    // Metre 70499's second coordinate empty where its first is not (a double, with the
    // tag of the last metre's pushed on): the halves no longer match, and the file is read
    // as the decoder reads it.
    const std::string whole = built_in_plan();
    std::string changed = whole.substr(0, 18 + 704982);  // the first coordinates
    changed += whole.substr(18 + 704982, whole.size() - 18 - 704982 - 4);
    changed += std::string("\x05\x00", 2) + std::string(8, '\0') + std::string("\x00\x00", 2);
    memory_bytes source(changed);
    plan_analyser a;
    EXPECT_FALSE(analyse_plan_file(source, a));
}

}  // namespace
}  // namespace scenario
