#include "render/svg.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/render_model.hpp"
#include "render/xml_check.hpp"

namespace scenario::render {
namespace {

std::string draw(const run_state& s, const render_options& opt = {}) {
    return render_svg(s, s.diagnostics, opt);
}

using testing::find_id;
using testing::parse_xml;
using testing::with_class;
using testing::xml_element;

// A 12 km route: stations, signals, two slowdowns, three tunnels (two of them
// touching), an indicator board, a speed board, three profiles and two errors.
run_state small_scenario() {
    run_state s = testing::empty_route(12000, true);  // cells 0 to 380, plan 0 to 19000
    s.nome_scenario = "Prova";
    s.nome_treno = "7";
    testing::plan_drawer plan(s.tracciato);
    plan.curve(2000, 1500, 0.001);
    plan.curve(6000, 800, -0.0004);
    plan.straight_to(19000 - 2);

    testing::put_station(s, 1, 0, "ALFA");
    testing::put_station(s, 2, 5000, "BRAVO");
    testing::put_station(s, 3, 11000, "CH\xC8RIE");
    testing::put_station(s, 5, 3000, "GHOST");  // after the first empty entry: not a station
    for (std::int32_t p : {1950, 4000, 9000}) {
        testing::put_signal(s, p);
    }
    testing::put_slowdown(s, 3000, 400, 40);
    testing::put_slowdown(s, 8000, 200, 60);
    testing::put_tunnel(s, 5000, 5800, 1);
    testing::put_tunnel(s, 5900, 6500, 3);
    testing::put_tunnel(s, 6500, 7000, 2);
    s.celle[104].tipo_cella = segno_montagna;  // a tunnel marker is no mark of its own
    testing::point_cell(s, 650).tipo_cella = cartello;
    testing::point_cell(s, 650).valore1 = 80;
    s.voci[80].nome = "(PONTE & <CANALE>)";
    testing::point_cell(s, 700).tipo_cella = indicatore_vmax;
    testing::point_cell(s, 700).valore1 = 26 * 100 + 22;

    testing::fill_cells(s, 0, 12, [](cella& c) { c.vel_limite = 16; });
    testing::fill_cells(s, 13, 377, [](cella& c) { c.vel_limite = 28; });
    testing::fill_cells(s, 0, 99, [](cella& c) { c.pendenza = 100; });
    testing::fill_cells(s, 100, 199, [](cella& c) { c.pendenza = 95; });
    testing::fill_cells(s, 200, 377, [](cella& c) { c.pendenza = 108; });
    testing::fill_cells(s, 0, 377, [](cella& c) { c.aderenza = 100; });
    testing::fill_cells(s, 150, 170, [](cella& c) { c.aderenza = 85; });

    diagnostic placed;
    placed.number = 16;
    placed.position = 4000;
    placed.has_position = true;
    placed.message = "signal cell not free";
    diagnostic unplaced;
    unplaced.number = 25;
    unplaced.message = "a number does not fit its field";
    s.diagnostics = {placed, unplaced};
    return s;
}

std::vector<std::int64_t> positions(const std::vector<const xml_element*>& marks,
                                    const char* attribute = "data-position") {
    std::vector<std::int64_t> out;
    for (const xml_element* m : marks) {
        out.push_back(std::stoll(m->attr_or(attribute, "-1")));
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<const xml_element*> steps(const xml_element& profiles, const std::string& name) {
    for (const xml_element* g : with_class(profiles, "profile")) {
        if (g->attr_or("data-profile") == name) {
            return with_class(*g, "step");
        }
    }
    return {};
}

using v64 = std::vector<std::int64_t>;

TEST(RenderSvg, EveryMarkIsCountedOnceInThePlanAndOnceInTheProfiles) {
    const std::string svg = draw(small_scenario());
    for (unsigned char c : svg) {
        ASSERT_LT(c, 0x80) << "the picture must be pure ASCII";
    }
    const xml_element root = parse_xml(svg);
    EXPECT_EQ(root.name, "svg");
    EXPECT_EQ(root.attr_or("xmlns"), "http://www.w3.org/2000/svg");
    const xml_element* plan = find_id(root, "plan");
    const xml_element* profiles = find_id(root, "profiles");
    ASSERT_NE(plan, nullptr);
    ASSERT_NE(profiles, nullptr);

    EXPECT_EQ(positions(with_class(*plan, "station")), (v64{0, 5000, 11000}));
    EXPECT_EQ(positions(with_class(*plan, "signal")), (v64{1950, 4000, 9000}));
    EXPECT_EQ(positions(with_class(*plan, "slowdown")), (v64{3000, 8000}));
    EXPECT_EQ(positions(with_class(*plan, "slowdown"), "data-end"), (v64{3400, 8200}));
    EXPECT_EQ(positions(with_class(*plan, "tunnel")), (v64{5000, 5900, 6500}));
    EXPECT_EQ(positions(with_class(*plan, "tunnel"), "data-end"), (v64{5800, 6500, 7000}));
    EXPECT_EQ(positions(with_class(*plan, "board")), (v64{650}));
    EXPECT_EQ(positions(with_class(*plan, "speed-board")), (v64{700}));
    EXPECT_EQ(positions(with_class(*plan, "error")), (v64{4000}));
    EXPECT_EQ(positions(with_class(*plan, "route-end")), (v64{12000}));

    EXPECT_EQ(positions(with_class(*profiles, "station")), (v64{0, 5000, 11000}));
    EXPECT_EQ(positions(with_class(*profiles, "slowdown")), (v64{3000, 8000}));
    EXPECT_EQ(positions(with_class(*profiles, "tunnel")), (v64{5000, 5900, 6500}));
    EXPECT_EQ(positions(with_class(*profiles, "error")), (v64{4000}));
    EXPECT_TRUE(with_class(*profiles, "signal").empty());

    // The error without a position is listed under the picture.
    const auto notes = with_class(root, "error-note");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->text, "error 25: a number does not fit its field");
}

TEST(RenderSvg, ProfilesStepWhereTheCellValuesChangeAndLeaveOutTheUnfilledLastCells) {
    const xml_element root = parse_xml(draw(small_scenario()));
    const xml_element& profiles = *find_id(root, "profiles");
    const auto speed = steps(profiles, "speed");
    EXPECT_EQ(positions(speed), (v64{0, 650}));
    ASSERT_EQ(speed.size(), 2u);
    EXPECT_EQ(speed[0]->attr_or("data-value"), "80");
    EXPECT_EQ(speed[1]->attr_or("data-value"), "140");
    // Cells 378 to 380 are never filled: the profile ends at 50 * 378.
    EXPECT_EQ(speed[1]->attr_or("data-end"), "18900");

    const auto gradient = steps(profiles, "gradient");
    EXPECT_EQ(positions(gradient), (v64{0, 5000, 10000}));
    ASSERT_EQ(gradient.size(), 3u);
    EXPECT_EQ(gradient[1]->attr_or("data-value"), "-5");
    EXPECT_EQ(gradient[2]->attr_or("data-value"), "8");

    const auto adhesion = steps(profiles, "adhesion");
    EXPECT_EQ(positions(adhesion), (v64{0, 7500, 8550}));
    ASSERT_EQ(adhesion.size(), 3u);
    EXPECT_EQ(adhesion[1]->attr_or("data-value"), "85");
}

TEST(RenderSvg, NamesAndTextsReadBackAsWritten) {
    const xml_element root = parse_xml(draw(small_scenario()));
    const std::string plan_text = testing::all_text(*find_id(root, "plan"));
    EXPECT_NE(plan_text.find("CH\xC3\x88RIE"), std::string::npos);  // U+00C8 in UTF-8
    EXPECT_EQ(plan_text.find("GHOST"), std::string::npos);
    const auto boards = with_class(root, "board");
    ASSERT_EQ(boards.size(), 1u);
    EXPECT_NE(testing::all_text(*boards[0]).find("(PONTE & <CANALE>)"), std::string::npos);
    const auto speed_boards = with_class(root, "speed-board");
    ASSERT_EQ(speed_boards.size(), 1u);
    EXPECT_NE(testing::all_text(*speed_boards[0]).find("130/110 km/h"), std::string::npos);
    EXPECT_NE(testing::all_text(root).find("Prova"), std::string::npos);
}

TEST(RenderSvg, WithoutThePlanOnlyTheProfilesAreDrawn) {
    render_options opt;
    opt.plan = false;
    const xml_element root = parse_xml(draw(small_scenario(), opt));
    EXPECT_EQ(find_id(root, "plan"), nullptr);
    ASSERT_NE(find_id(root, "profiles"), nullptr);
    EXPECT_EQ(with_class(root, "station").size(), 3u);
    EXPECT_EQ(with_class(root, "signal").size(), 0u);
    const xml_element full = parse_xml(draw(small_scenario()));
    EXPECT_LT(std::stod(root.attr_or("height")), std::stod(full.attr_or("height")));
}

}  // namespace
}  // namespace scenario::render
