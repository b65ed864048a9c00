#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/layout.hpp"
#include "render/svg_writer.hpp"

namespace scenario::render {
namespace {

std::string escaped(std::string_view s) {
    std::string out;
    append_xml_text(out, s);
    return out;
}

TEST(SvgText, ReservedCharactersAreEscaped) {
    EXPECT_EQ(escaped("A&B <C> \"q\" 'a'"), "A&amp;B &lt;C&gt; &quot;q&quot; 'a'");
}

TEST(SvgText, HighBytesBecomeTheirWindows1252CodePoints) {
    // Latin-1 range: the byte is the code point.
    EXPECT_EQ(escaped("CH\xC8RIE"), "CH&#200;RIE");
    EXPECT_EQ(escaped("\xE8\xFF\xA0"), "&#232;&#255;&#160;");
    // 0x80 to 0x9F are not C1 controls in this code page.
    EXPECT_EQ(escaped("\x80\x8A\x92\x96\x9F"), "&#8364;&#352;&#8217;&#8211;&#376;");
    // Bytes the code page leaves undefined, and control bytes, become U+FFFD.
    EXPECT_EQ(escaped("\x81\x8D\x8F\x90\x9D"), "&#65533;&#65533;&#65533;&#65533;&#65533;");
    EXPECT_EQ(escaped(std::string("a\x01z\0", 4)), "a&#65533;z&#65533;");
    EXPECT_EQ(escaped("\t\n\r"), "&#9;&#10;&#13;");
}

// A global C++ locale whose decimal separator is a comma must not leak into numbers.
struct comma_decimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(SvgNumbers, FixedPrecisionWithoutTrailingZerosAndIndependentOfTheLocale) {
    const std::locale before =
        std::locale::global(std::locale(std::locale::classic(), new comma_decimal));
    EXPECT_EQ(format_number(3.14159, 1), "3.1");
    EXPECT_EQ(format_number(2.0, 1), "2");
    EXPECT_EQ(format_number(1234567.891, 2), "1234567.89");
    EXPECT_EQ(format_number(-12.96, 1), "-13");
    EXPECT_EQ(format_number(-0.04, 1), "0");
    svg_writer w(2);
    w.open("p").attr("x", 0.125).attr("y", -7.333).attr("n", 70500).close();
    const std::string doc = w.finish();
    std::locale::global(before);
    EXPECT_NE(doc.find("<p x=\"0.12\" y=\"-7.33\" n=\"70500\"/>"), std::string::npos);
}

// Whatever a document leads the drawing to, every number has a text: beyond 1e9 units the
// bound is written, NaN as 0. The picture stays valid and the program goes on.
TEST(SvgNumbers, EveryDoubleHasAText) {
    EXPECT_EQ(format_number(999999999.9, 1), "999999999.9");
    EXPECT_EQ(format_number(1e9, 1), "1000000000");
    EXPECT_EQ(format_number(1000000000.5, 1), "1000000000");
    EXPECT_EQ(format_number(-1e15, 2), "-1000000000");
    EXPECT_EQ(format_number(std::numeric_limits<double>::infinity(), 1), "1000000000");
    EXPECT_EQ(format_number(-std::numeric_limits<double>::infinity(), 1), "-1000000000");
    EXPECT_EQ(format_number(std::numeric_limits<double>::quiet_NaN(), 1), "0");
    EXPECT_EQ(format_number(-std::numeric_limits<double>::max(), 3), "-1000000000");
}

TEST(SvgWriter, NestsElementsAndClosesEmptyOnesInTheStartTag) {
    svg_writer w;
    w.open("svg").attr("width", 10);
    w.open("g").attr("class", "a");
    w.open("rect").attr("x", 1.5).close();
    w.text_element("title", "x < y");
    w.close();
    w.open("g").close();
    EXPECT_EQ(w.finish(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg width=\"10\">\n<g class=\"a\">\n"
              "<rect x=\"1.5\"/>\n<title>x &lt; y</title>\n</g>\n<g/>\n</svg>\n");
}

TEST(SvgWriter, MixedContentKeepsItsTextFreeOfAddedLineBreaks) {
    svg_writer w;
    w.open("text").text("a");
    w.open("tspan").text("b").close();
    w.text("c");
    w.close();
    EXPECT_NE(w.finish().find("<text>a<tspan>b</tspan>c</text>"), std::string::npos);
}

// Each of these is a fault of the drawing code, never of a document.
TEST(SvgWriter, RefusesWhatWouldMakeBadXml) {
    svg_writer w;
    EXPECT_THROW(w.close(), std::logic_error);
    EXPECT_THROW(w.text("x"), std::logic_error);
    EXPECT_THROW(w.open("1abc"), std::logic_error);
    EXPECT_THROW(w.open("a b"), std::logic_error);
    w.open("svg").text("x");
    EXPECT_THROW(w.attr("late", "1"), std::logic_error);
    w.open("g");
    EXPECT_THROW(w.attr("bad name", "1"), std::logic_error);
}

TEST(RenderLayout, NiceRangesHoldTheValuesOnWholeSteps) {
    const axis_range g = nice_range(-17, 10, 4);
    EXPECT_LE(g.low, -17);
    EXPECT_GE(g.high, 10);
    EXPECT_DOUBLE_EQ(g.step, 10);
    EXPECT_DOUBLE_EQ(g.low, -20);
    const axis_range flat = nice_range(100, 100, 4);
    EXPECT_LT(flat.low, flat.high);
    EXPECT_LE(flat.low, 100);
    EXPECT_GE(flat.high, 100);
    EXPECT_DOUBLE_EQ(nice_step(70500, 14), 10000);  // 5035 per part rounds up
    EXPECT_DOUBLE_EQ(nice_step(1007000, 14), 100000);
}

TEST(RenderLayout, OverlappingLabelsGoToSeparateRowsWhateverTheirOrder) {
    // Spans in input order: 2 overlaps 0; 1 is far away; 3 overlaps 0 and 2.
    const std::vector<int> rows = stack_rows({{0, 100}, {500, 600}, {50, 150}, {90, 120}}, 8);
    EXPECT_EQ(rows, (std::vector<int>{0, 0, 1, 2}));
    // Unsorted input: the span further left still takes the first row.
    EXPECT_EQ(stack_rows({{200, 300}, {0, 250}}, 8), (std::vector<int>{1, 0}));
    // Spans closer than the gap do not share a row.
    EXPECT_EQ(stack_rows({{0, 100}, {104, 200}}, 8), (std::vector<int>{0, 1}));
}

// How far p lies from the segment a-b, worked out on its own: the nearest of the ends and
// the foot of the perpendicular when it falls between them.
double distance_to_segment(point p, point a, point b) {
    const double ab = std::hypot(b.x - a.x, b.y - a.y);
    const double along = ab > 0 ? ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / ab : -1;
    if (along <= 0 || along >= ab) {
        return std::min(std::hypot(p.x - a.x, p.y - a.y), std::hypot(p.x - b.x, p.y - b.y));
    }
    return std::abs((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / ab;
}

// The farthest any point left out lies from the segment between the points kept around it.
double farthest_left_out(const std::vector<point>& line, const std::vector<std::size_t>& kept) {
    double farthest = 0;
    for (std::size_t k = 0; k + 1 < kept.size(); ++k) {
        for (std::size_t i = kept[k] + 1; i < kept[k + 1]; ++i) {
            farthest = std::max(farthest,
                                distance_to_segment(line[i], line[kept[k]], line[kept[k + 1]]));
        }
    }
    return farthest;
}

TEST(RenderLayout, ASimplifiedLineStraysByNoMoreThanTheToleranceAndKeepsItsEnds) {
    // A circle of radius 1000 drawn a point every tenth of a degree. A chord strays from
    // its arc by 1000 (1 - cos(a / 2)) at angle a: 1 at 5.12 degrees, so no line within 1
    // takes fewer than 360 / 5.12 = 71 segments; one within a half (3.62 degrees) needs
    // at most 100, and this one may spend twice that.
    std::vector<point> circle;
    for (int i = 0; i <= 3600; ++i) {
        const double a = i * 3.14159265358979323846 / 1800;
        circle.push_back({1000 * std::cos(a), 1000 * std::sin(a)});
    }
    const std::vector<std::size_t> kept = simplify(circle, 1.0);
    ASSERT_GE(kept.size(), 2u);
    EXPECT_EQ(kept.front(), 0u);
    EXPECT_EQ(kept.back(), 3600u);
    EXPECT_LE(farthest_left_out(circle, kept), 1.0);
    EXPECT_GE(kept.size(), 72u);
    EXPECT_LE(kept.size(), 201u);

    // A straight line keeps its ends. A point 3 off it stays with its two neighbours (the
    // line to it from further away would pass them 3 off), one 0.4 off goes.
    std::vector<point> straight;
    for (int i = 0; i < 1000; ++i) {
        straight.push_back({static_cast<double>(i), 0});
    }
    EXPECT_EQ(simplify(straight, 1.0), (std::vector<std::size_t>{0, 999}));
    straight[400].y = 3;
    straight[700].y = 0.4;
    EXPECT_EQ(simplify(straight, 1.0), (std::vector<std::size_t>{0, 399, 400, 401, 999}));
    EXPECT_EQ(simplify(std::vector<point>{{5, 5}}, 1.0), (std::vector<std::size_t>{0}));
    EXPECT_TRUE(simplify({}, 1.0).empty());
}

}  // namespace
}  // namespace scenario::render
