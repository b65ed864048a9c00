#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "render/render_model.hpp"
#include "render/svg.hpp"
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

struct xy {
    double x;
    double y;
};

// The picture points of the drawn track.
std::vector<xy> track_points(const std::string& svg) {
    const xml_element root = parse_xml(svg);
    const auto track = with_class(*find_id(root, "plan"), "track");
    EXPECT_EQ(track.size(), 1u);
    std::vector<xy> out;
    if (track.empty() || track[0]->children.empty()) {
        return out;
    }
    std::istringstream in(track[0]->children[0].attr_or("points"));
    std::string pair;
    while (in >> pair) {
        const auto comma = pair.find(',');
        out.push_back({std::stod(pair.substr(0, comma)), std::stod(pair.substr(comma + 1))});
    }
    return out;
}

run_state route_with_curve(double k) {
    run_state s = testing::empty_route(5000, true);
    testing::plan_drawer plan(s.tracciato);
    plan.curve(1000, 1500, k);
    plan.straight_to(12000 - 2);
    return s;
}

TEST(RenderPlan, TheTrackStartsHeadingUpAndRightHandCurvesTurnClockwise) {
    const std::vector<xy> right = track_points(draw(route_with_curve(0.001)));
    ASSERT_GT(right.size(), 100u);
    // Picture y grows downwards: heading up means y falls while x stays.
    EXPECT_LT(right[1].y, right[0].y);
    EXPECT_NEAR(right[1].x, right[0].x, 0.05);
    EXPECT_GT(right.back().x, right.front().x);

    const std::vector<xy> left = track_points(draw(route_with_curve(-0.001)));
    EXPECT_LT(left.back().x, left.front().x);
}

TEST(RenderPlan, APlanLeftUnfinishedEndsAtItsLastComputedPoint) {
    run_state s = testing::empty_route(12000, true);
    testing::plan_drawer plan(s.tracciato);
    plan.straight_to(3000);  // the reader stopped here; metres 3001 to 19000 stay empty
    testing::put_station(s, 1, 10000, "OLTRE");
    const std::string svg = draw(s);
    const std::vector<xy> pts = track_points(svg);
    ASSERT_GE(pts.size(), 2u);
    for (std::size_t i = 1; i < pts.size(); ++i) {
        ASSERT_LT(pts[i].y, pts[i - 1].y) << "empty points must not pull the track back";
    }
    // A mark beyond the drawn plan sits at its last point.
    const xml_element root = parse_xml(svg);
    const auto station = with_class(*find_id(root, "plan"), "station");
    ASSERT_EQ(station.size(), 1u);
    const auto circles =
        testing::find_all(*station[0], [](const xml_element& e) { return e.name == "circle"; });
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_NEAR(std::stod(circles[0]->attr_or("cy")), pts.back().y, 0.05);
}

TEST(RenderPlan, TheLongestRouteIsDrawnWithAFewThousandPointsInASmallFile) {
    run_state s = testing::empty_route(1000000, true);  // 1007001 plan points
    testing::plan_drawer plan(s.tracciato);
    for (std::int64_t start = 50000; start < 950000; start += 100000) {
        plan.curve(start, 20000, start % 200000 == 50000 ? 0.0001 : -0.0002);
    }
    plan.straight_to(1007000 - 2);
    for (int e = 1; e <= 60; ++e) {
        testing::put_station(s, e, e * 16000, "STAZIONE " + std::to_string(e));
    }
    for (std::int32_t p = 1000; p < 1000000; p += 12500) {
        testing::put_tunnel(s, p, p + 10000, 1);  // 80 long tunnels
    }
    for (std::int32_t p = 1500; p < 1000000; p += 1500) {
        testing::put_signal(s, p);
    }
    testing::fill_cells(s, 0, s.celle.size() - 4, [](cella& c) { c.vel_limite = 28; });
    const std::string svg = draw(s);
    EXPECT_LT(svg.size(), 1000000u);
    const std::vector<xy> pts = track_points(svg);
    EXPECT_GT(pts.size(), 1000u);
    EXPECT_LE(pts.size(), 4001u);
    const xml_element root = parse_xml(svg);
    EXPECT_EQ(with_class(root, "station").size(), 120u);
    EXPECT_EQ(with_class(root, "tunnel").size(), 160u);
    EXPECT_EQ(with_class(root, "signal").size(), 666u);
}

TEST(RenderPlan, AScenarioWithNeitherGridNorPlanStillGivesAPicture) {
    run_state s;  // the reader stopped before the route length
    diagnostic missing;
    missing.number = 101;
    missing.message = "line document missing";
    s.diagnostics.push_back(missing);
    const std::string svg = draw(s);
    const xml_element root = parse_xml(svg);
    const xml_element* plan = find_id(root, "plan");
    ASSERT_NE(plan, nullptr);
    EXPECT_TRUE(with_class(*plan, "track").empty());
    EXPECT_NE(testing::all_text(*plan).find("No line plan"), std::string::npos);
    EXPECT_EQ(with_class(root, "error-note").size(), 1u);
}

TEST(RenderMarks, SlowdownsPairStartWithNextEndAndTunnelsSplitWhereTheirTypeChanges) {
    run_state s = testing::empty_route(5000, false);
    // Start and end in one cell: the end never got recorded, only a start.
    testing::point_cell(s, 1000).tipo_cella = inizio_rallentamento;
    testing::put_slowdown(s, 2000, 300, 50);
    testing::put_tunnel(s, 3000, 3500, 1);
    testing::put_tunnel(s, 3500, 3800, 1);  // same type, touching: one stretch
    testing::put_tunnel(s, 3800, 4000, 2);  // another type, touching: a new stretch
    const route_marks m = collect_marks(s, s.diagnostics);
    ASSERT_EQ(m.slowdowns.size(), 2u);
    EXPECT_EQ(m.slowdowns[0].start, 1000);
    EXPECT_EQ(m.slowdowns[0].end, 1000);
    EXPECT_EQ(m.slowdowns[1].start, 2000);
    EXPECT_EQ(m.slowdowns[1].end, 2300);
    EXPECT_EQ(m.slowdowns[1].value, 50);
    ASSERT_EQ(m.tunnels.size(), 2u);
    EXPECT_EQ(m.tunnels[0].start, 3000);
    EXPECT_EQ(m.tunnels[0].end, 3800);
    EXPECT_EQ(m.tunnels[1].start, 3800);
    EXPECT_EQ(m.tunnels[1].value, 2);
    // No plan: the axis still runs to the end of the grid.
    EXPECT_EQ(m.axis_end, 50 * ultima_cella(5000));
    EXPECT_EQ(m.route_length, 5000);
}

}  // namespace
}  // namespace scenario::render
