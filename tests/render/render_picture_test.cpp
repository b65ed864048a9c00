// Pictures of scenarios compiled from small documents by the real readers and
// recorders, read back with an XML parser. Expected positions are worked out by hand
// from the documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiled/compiled_scenario.hpp"
#include "render/svg.hpp"
#include "render/svg_query.hpp"

namespace scenario::render {
namespace {

using testing::all_text;
using testing::numbers;
using testing::read_svg;
using testing::with_class;
using v64 = std::vector<std::int64_t>;

// The picture writes numbers with one decimal: read back, they are this close.
constexpr double written = 0.05 + 1e-9;

// A document written with '\n' line ends, given the CR LF ones of the real documents.
std::string document(std::string_view text) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return out;
}

// One compile of the two documents as the tool does it, for scenario S and train T.
compiled_scenario compiled(const std::string& line, const std::string& train, bool plan = true) {
    compile_request request;
    request.scenario = "S";
    request.train = "T";
    request.line = document_source{"S_linea.txt", line};
    request.train_document = document_source{"S_T-.txt", train};
    request.plan = plan;
    return compile(request);
}

// A station line, with its line end.
std::string station(int position, const std::string& name) {
    return "stazione, " + std::to_string(position) +
           ", 22, 100, 0, 0, 1, 0,0,0, 4,1,1, 0, 0, 0, 0, " + name + "\n";
}

// A 12 km route (cells 0 to 380, plan to 19000 m) with every kind of mark. The
// second tunnel starts within 150 m of the first, so it takes type 3; the third,
// 12, is type 2 with tunnel markers, which are no marks of their own.
compiled_scenario small_scenario(bool plan = true) {
    const std::string line = document(R"([generale]
lunghezza percorso, 12000
[curve]
curvad1, 2000, 1500
curvas3, 6000, 800
[pendenze]
pendenza, 0, 0
pendenza, 5000, -5
pendenza, 10000, 8
[montagne]
montagna, 5000, 5800, 1
montagna, 5800, 6500, 1
montagna, 9500, 10000, 12
[cartelli]
indicatori_vmax, 700, 130, 140, 150, 0, 110, 120, 130, 0
[indicazioni]
cartello_indicatore, 650, (PONTE & <CANALE>)
[fine]
)");
    const std::string train = document(R"([generale]
numero vetture, 12
percentuale massa frenata, 125
sabbia, 300
[aderenze]
aderenza, 0, 100
aderenza, 7500, 85
aderenza, 8550, 100
[vel_limite]
velocita, 0, 80
velocita, 650, 140
[stazioni]
tipo::stazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, ALFA
)" + station(5000, "BRAVO") + station(11000, "CH\xC8RIE") +
                                       R"([rallentamenti]
rallentamento, 3000, 40, 400, 0, 1, 0
rallentamento, 8000, 60, 200, 1, 1, 0
[segnali]
tipo::segnale, 1950, 2, 4, 0, 0, 0, 0, 0,0,0, 0
tipo::segnale, 4000, 2, 4, 0, 0, 0, 0, 0,0,0, 0
tipo::segnale, 9000, 2, 4, 0, 0, 0, 0, 0,0,0, 0
[codici]
[fine]
)");
    return compiled(line, train, plan);
}

const std::string no_train = document("[generale]\n[fine]\n");

std::string straight_line(int length) {
    return document("[generale]\nlunghezza percorso, " + std::to_string(length) +
                    "\n[curve]\n[fine]\n");
}

std::string picture(const compiled_scenario& s, bool plan = true) {
    render_options opt;
    opt.plan = plan;
    return render_svg(s, s.state.diagnostics, opt);
}

// The profile steps of one band: start, end and value of each.
std::vector<v64> steps(const pugi::xml_document& doc, const std::string& profile) {
    std::vector<v64> out;
    const auto set =
        doc.select_nodes(("//*[@data-profile='" + profile + "']/*[@class='step']").c_str());
    for (const pugi::xpath_node& n : set) {
        const pugi::xml_node s = n.node();
        out.push_back({s.attribute("data-position").as_llong(), s.attribute("data-end").as_llong(),
                       s.attribute("data-value").as_llong()});
    }
    return out;
}

pugi::xml_attribute first_attribute(const pugi::xpath_node_set& set, const char* child,
                                    const char* attribute) {
    return set.empty() ? pugi::xml_attribute()
                       : set.first().node().child(child).attribute(attribute);
}

TEST(RenderPicture, EveryMarkOfTheDocumentsIsDrawnAtItsPositionInThePlanAndTheProfiles) {
    const compiled_scenario s = small_scenario();
    ASSERT_TRUE(s.state.diagnostics.empty()) << s.state.diagnostics.front().message;
    const std::string svg = picture(s);
    for (unsigned char c : svg) {
        ASSERT_LT(c, 0x80) << "the picture must be pure ASCII";
    }
    const pugi::xml_document doc = read_svg(svg);
    EXPECT_EQ(std::string(doc.document_element().name()), "svg");

    for (const char* group : {"plan", "profiles"}) {
        SCOPED_TRACE(group);
        EXPECT_EQ(numbers(with_class(doc, "station", group)), (v64{0, 5000, 11000}));
        EXPECT_EQ(numbers(with_class(doc, "slowdown", group)), (v64{3000, 8000}));
        EXPECT_EQ(numbers(with_class(doc, "slowdown", group), "data-end"), (v64{3400, 8200}));
        EXPECT_EQ(numbers(with_class(doc, "tunnel", group)), (v64{5000, 5800, 9500}));
        EXPECT_EQ(numbers(with_class(doc, "tunnel", group), "data-end"), (v64{5800, 6500, 10000}));
        EXPECT_EQ(numbers(with_class(doc, "route-end", group)), (v64{12000}));
        EXPECT_TRUE(with_class(doc, "error", group).empty());
    }
    EXPECT_EQ(numbers(with_class(doc, "signal", "plan")), (v64{1950, 4000, 9000}));
    EXPECT_EQ(numbers(with_class(doc, "board", "plan")), (v64{650}));
    EXPECT_EQ(numbers(with_class(doc, "speed-board", "plan")), (v64{700}));
    EXPECT_TRUE(with_class(doc, "signal", "profiles").empty());

    // Texts read back as written: Windows-1252 names, XML's reserved characters,
    // the tunnels' types and the board's packed speeds.
    const std::string plan_text = all_text(doc.select_node("//*[@id='plan']").node());
    EXPECT_NE(plan_text.find("CH\xC3\x88RIE"), std::string::npos);  // U+00C8 in UTF-8
    EXPECT_NE(plan_text.find("at 650 m: (PONTE & <CANALE>)"), std::string::npos);
    EXPECT_NE(plan_text.find("at 700 m: 130/110 km/h"), std::string::npos);
    EXPECT_NE(plan_text.find("tunnel 5800-6500 m, type 3"), std::string::npos);
    EXPECT_NE(plan_text.find("tunnel 9500-10000 m, type 2"), std::string::npos);
}

TEST(RenderPicture, ProfilesStepWhereTheDocumentsChangeAndEndBeforeTheUnfilledLastCells) {
    const pugi::xml_document doc = read_svg(picture(small_scenario()));
    // Cells 378 to 380 are never filled: every profile ends at 50 * 378.
    EXPECT_EQ(steps(doc, "speed"), (std::vector<v64>{{0, 650, 80}, {650, 18900, 140}}));
    EXPECT_EQ(steps(doc, "gradient"),
              (std::vector<v64>{{0, 5000, 0}, {5000, 10000, -5}, {10000, 18900, 8}}));
    EXPECT_EQ(steps(doc, "adhesion"),
              (std::vector<v64>{{0, 7500, 100}, {7500, 8550, 85}, {8550, 18900, 100}}));
}

TEST(RenderPicture, WithoutThePlanOnlyTheProfilesAreDrawn) {
    const std::string with_plan = picture(small_scenario());
    const pugi::xml_document doc = read_svg(picture(small_scenario(false), false));
    EXPECT_TRUE(doc.select_node("//*[@id='plan']").node().empty());
    EXPECT_EQ(numbers(with_class(doc, "station", "profiles")), (v64{0, 5000, 11000}));
    EXPECT_TRUE(with_class(doc, "signal").empty());
    EXPECT_LT(doc.document_element().attribute("height").as_double(),
              read_svg(with_plan).document_element().attribute("height").as_double());
}

TEST(RenderPicture, ErrorsAreTheDiagnosticsOfSeverityErrorWithTheirMessages) {
    const compiled_scenario s = small_scenario();
    diagnostic placed;
    placed.number = 16;
    placed.position = 4000;
    placed.has_position = true;
    placed.message = "Segnale in una cella occupata";
    diagnostic unplaced;
    unplaced.number = 25;
    unplaced.message = "Documento \xE8 illeggibile";
    diagnostic warning = placed;
    warning.level = severity::warning;
    warning.position = 9000;
    diagnostic note = unplaced;
    note.level = severity::note;
    const std::vector<diagnostic> given = {warning, placed, note, unplaced};

    const pugi::xml_document doc = read_svg(render_svg(s, given));
    for (const char* group : {"plan", "profiles"}) {
        const auto errors = with_class(doc, "error", group);
        EXPECT_EQ(numbers(errors), (v64{4000})) << group;
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(all_text(errors.first().node().child("title")),
                  "error 16: Segnale in una cella occupata");
    }
    const auto notes = with_class(doc, "error-note");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(all_text(notes.first().node()), "error 25: Documento \xC3\xA8 illeggibile");

    // Only the diagnostics given are drawn: none of the run's own, none invented.
    compiled_scenario failed = s;
    failed.state.codice_errore = 15;
    failed.state.posizione_errore = 4000;
    const pugi::xml_document none = read_svg(render_svg(failed, {}));
    EXPECT_TRUE(with_class(none, "error").empty());
    EXPECT_TRUE(with_class(none, "error-note").empty());
}

TEST(RenderPicture, PositionsBeyondTheDrawingAreDrawnAtItsEnd) {
    // A plan left unfinished where a curve line fails: it ends with that stretch, at 3500 m.
    const compiled_scenario s = compiled(document(R"([generale]
lunghezza percorso, 10000
[curve]
curvad1, 2000, 1500
curvad1, 5000, 99999999999
[fine]
)"),
                                 no_train);
    diagnostic far;
    far.number = 15;
    far.position = 9000;
    far.has_position = true;
    const picture_layout layout = lay_out_picture(s, std::vector<diagnostic>{far});
    ASSERT_TRUE(layout.plan);
    EXPECT_EQ(layout.plan->last_metre(), 3500);
    const std::vector<point>& track = layout.on_plan.track;
    ASSERT_GE(track.size(), 2u);
    const point end = layout.plan->at(3500);
    EXPECT_EQ(track.back().x, end.x);
    EXPECT_EQ(track.back().y, end.y);
    EXPECT_LT(end.y, track.front().y);  // the empty rest does not pull it back to 0
    const pugi::xml_document doc = read_svg(draw_picture(layout));
    const auto error = with_class(doc, "error", "plan");
    EXPECT_NEAR(first_attribute(error, "circle", "cx").as_double(), end.x, written);
    EXPECT_NEAR(first_attribute(error, "circle", "cy").as_double(), end.y, written);

    // A signal beyond the track: error 15 at 20000 m, past the profile axis (17000 m).
    const compiled_scenario beyond =
        compiled(straight_line(10000),
                 document("[generale]\nsegnale, 20000, 2, 4, 0, 0, 0, 0, 0,0,0, 0\n[fine]\n"));
    const picture_layout b = lay_out_picture(beyond, beyond.state.diagnostics);
    const pugi::xml_document beyond_doc = read_svg(draw_picture(b));
    const auto profile_error = with_class(beyond_doc, "error", "profiles");
    EXPECT_EQ(numbers(profile_error), (v64{20000}));
    EXPECT_NEAR(first_attribute(profile_error, "line", "x1").as_double(), b.profiles.right,
                written);
}

TEST(RenderPicture, TheTrackStartsHeadingUpAndRightHandCurvesTurnClockwise) {
    for (const auto& [curve, right_hand] :
         {std::pair{"curvad1", true}, std::pair{"curvas1", false}}) {
        SCOPED_TRACE(curve);
        const compiled_scenario s = compiled(document("[generale]\nlunghezza percorso, 5000\n[curve]\n" +
                                              std::string(curve) + ", 1000, 1500\n[fine]\n"),
                                     no_train);
        const std::vector<point> track = lay_out_picture(s, {}).on_plan.track;
        ASSERT_GT(track.size(), 100u);
        // Picture y grows downwards: heading up means y falls while x stays.
        EXPECT_LT(track[1].y, track[0].y);
        EXPECT_NEAR(track[1].x, track[0].x, 1e-9);
        EXPECT_EQ(track.back().x > track.front().x, right_hand);
    }
}

TEST(RenderPicture, StationLabelsKeepApartInThePlanAndInTheirRows) {
    // Twelve stations 500 m apart on a 27 km plan: about 10 pixels apart, closer than
    // a label is high, and with labels wider than their spacing on the profile axis.
    std::string train = "[generale]\nnumero vetture, 12\npercentuale massa frenata, 125\nsabbia, 300\n";
    for (int i = 0; i < 12; ++i) {
        train += station(1000 + 500 * i, "STAZIONE DI PROVA " + std::to_string(i));
    }
    const compiled_scenario s = compiled(straight_line(20000), document(train + "[fine]\n"));
    ASSERT_TRUE(s.state.diagnostics.empty()) << s.state.diagnostics.front().message;
    const picture_layout layout = lay_out_picture(s, s.state.diagnostics);
    ASSERT_TRUE(layout.plan);

    const std::vector<std::optional<box>>& plan = layout.on_plan.station_labels;
    ASSERT_EQ(plan.size(), 12u);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        ASSERT_TRUE(plan[i].has_value()) << i;  // a straight track leaves room for all
        for (std::size_t j = 0; j < plan.size(); ++j) {
            EXPECT_FALSE(i != j && plan[i]->overlaps(*plan[j])) << i << " " << j;
            EXPECT_FALSE(plan[i]->contains(layout.plan->at(1000 + 500 * static_cast<int>(j))))
                << i << " " << j;
        }
    }
    const auto& rows_of = layout.profiles.station_labels;
    ASSERT_EQ(rows_of.size(), 12u);
    int deepest = 0;
    for (std::size_t i = 0; i < rows_of.size(); ++i) {
        deepest = std::max(deepest, rows_of[i].row);
        for (std::size_t j = i + 1; j < rows_of.size(); ++j) {
            if (rows_of[i].row == rows_of[j].row) {
                EXPECT_GE(rows_of[j].where.x0 - rows_of[i].where.x1, 8) << i << " " << j;
            }
        }
    }
    EXPECT_GE(deepest, 2);

    // The picture writes each label where the layout put it.
    const pugi::xml_document doc = read_svg(draw_picture(layout));
    const auto drawn = doc.select_nodes("//*[@id='plan']/*[@class='station']/text");
    ASSERT_EQ(drawn.size(), 12u);
    std::size_t i = 0;
    for (const pugi::xpath_node& t : drawn) {
        EXPECT_NEAR(t.node().attribute("x").as_double(), plan[i++]->x0, written);
    }
    for (const pugi::xpath_node& g : with_class(doc, "station", "profiles")) {
        const std::int64_t position = g.node().attribute("data-position").as_llong();
        const box& where = rows_of.at(static_cast<std::size_t>((position - 1000) / 500)).where;
        EXPECT_NEAR(g.node().child("text").attribute("x").as_double(), where.x0, written);
        EXPECT_NEAR(g.node().child("rect").attribute("y").as_double(), where.y0 + 1, written);
    }
}

TEST(RenderPicture, TheLongestRouteIsDrawnWithAFewThousandPointsInASmallFile) {
    std::string line = "[generale]\nlunghezza percorso, 1000000\n[curve]\n";
    for (int start = 50000; start < 950000; start += 100000) {
        line += (start % 200000 == 50000 ? "curvad1, " : "curvas2, ") + std::to_string(start) +
                ", 20000\n";
    }
    line += "[montagne]\n";
    for (int p = 1000; p < 1000000; p += 12500) {
        line += "montagna, " + std::to_string(p) + ", " + std::to_string(p + 10000) + ", 1\n";
    }
    std::string train = "[generale]\n";
    for (int p = 1500; p < 1000000; p += 1500) {
        train += "segnale, " + std::to_string(p) + ", 2, 4, 0, 0, 0, 0, 0,0,0, 0\n";
    }
    const compiled_scenario s = compiled(document(line + "[fine]\n"), document(train + "[fine]\n"));
    const picture_layout layout = lay_out_picture(s, s.state.diagnostics);
    EXPECT_GT(layout.on_plan.track.size(), 1000u);
    EXPECT_LE(layout.on_plan.track.size(), 4001u);
    const std::string svg = draw_picture(layout);
    EXPECT_LT(svg.size(), 1000000u);
    const pugi::xml_document doc = read_svg(svg);
    EXPECT_EQ(with_class(doc, "tunnel", "plan").size(), 80u);
    EXPECT_EQ(with_class(doc, "signal", "plan").size(), 666u);
}

TEST(RenderPicture, TheRunOffAfterTheRouteEndIsGreyedAndTheAxesSayTheirUnits) {
    // The 12 km route's grid and plan run to 19000 m: the last 7000 m are run-off.
    const picture_layout layout = lay_out_picture(small_scenario(), {});
    ASSERT_TRUE(layout.plan);
    ASSERT_FALSE(layout.on_plan.track.empty());
    ASSERT_FALSE(layout.on_plan.run_off.empty());
    const point end = layout.plan->at(12000);
    EXPECT_EQ(layout.on_plan.track.back().x, end.x);
    EXPECT_EQ(layout.on_plan.run_off.front().y, end.y);
    const pugi::xml_document doc = read_svg(draw_picture(layout));
    EXPECT_EQ(numbers(with_class(doc, "run-off", "plan")), (v64{12000}));
    EXPECT_EQ(numbers(with_class(doc, "run-off", "profiles")), (v64{12000}));
    EXPECT_EQ(numbers(with_class(doc, "run-off", "profiles"), "data-end"), (v64{19000}));
    const std::string titles = all_text(doc.select_node("//*[@id='profiles']").node());
    for (const char* title : {"speed limit (km/h)", "gradient (\xE2\x80\xB0)", "adhesion (%)"}) {
        EXPECT_NE(titles.find(title), std::string::npos) << title;
    }

    // A plan that stops before the route's end has no run-off.
    const compiled_scenario short_plan = compiled(document(R"([generale]
lunghezza percorso, 10000
[curve]
curvad1, 5000, 99999999999
[fine]
)"),
                                                  no_train);
    EXPECT_TRUE(with_class(read_svg(picture(short_plan)), "run-off", "plan").empty());
}

TEST(RenderPicture, TheFrameIsThePictureWithoutItsMarks) {
    render_options frame;
    frame.part = picture_part::frame;
    const compiled_scenario s = small_scenario();
    const pugi::xml_document doc = read_svg(render_svg(s, s.state.diagnostics, frame));
    for (const char* mark : {"station", "signal", "slowdown", "tunnel", "board", "speed-board",
                             "route-end", "run-off", "track", "step"}) {
        EXPECT_TRUE(with_class(doc, mark).empty()) << mark;
    }
    EXPECT_FALSE(with_class(doc, "scale", "plan").empty());
    const std::string text = all_text(doc.document_element());
    EXPECT_NE(text.find("speed limit (km/h)"), std::string::npos);
    EXPECT_NE(text.find("recorded error"), std::string::npos);
    // The frame's height is the whole picture's: the page draws the marks into it.
    EXPECT_EQ(doc.document_element().attribute("height").as_double(),
              read_svg(picture(s)).document_element().attribute("height").as_double());
}

TEST(RenderPicture, CrowdedLabelsAreLeftOutRatherThanLaidOverOneAnother) {
    // Seventy stations with long names 500 m apart and an error among them, on a straight
    // route of 52 km: a few pixels apart, on some 340 pixels of track, with names wider
    // than the room on either side of it holds two of. There is no room for every name.
    std::string train = "[generale]\nnumero vetture, 12\npercentuale massa frenata, 125\nsabbia, 300\n";
    for (int i = 0; i < 70; ++i) {
        train += station(1000 + 500 * i, "STAZIONE DI PROVA DAL NOME LUNGO " + std::to_string(i));
    }
    const compiled_scenario s = compiled(straight_line(52000), document(train + "[fine]\n"));
    ASSERT_TRUE(s.state.diagnostics.empty()) << s.state.diagnostics.front().message;
    diagnostic error;
    error.number = 16;
    error.position = 3250;
    error.has_position = true;
    error.message = "Segnale in una cella occupata";
    const picture_layout layout = lay_out_picture(s, std::vector<diagnostic>{error});
    ASSERT_TRUE(layout.plan);
    std::vector<box> placed;
    for (const std::optional<box>& b : layout.on_plan.error_labels) {
        ASSERT_TRUE(b.has_value()) << "the error's label comes first";
        placed.push_back(*b);
    }
    std::size_t stations = 0;
    for (const std::optional<box>& b : layout.on_plan.station_labels) {
        if (b) {
            placed.push_back(*b);
            ++stations;
        }
    }
    EXPECT_GT(stations, 20u);
    EXPECT_LT(stations, 70u);
    for (const auto& k : layout.on_plan.kilometres) {
        if (k.label) {
            placed.push_back(*k.label);
        }
    }
    if (layout.on_plan.route_end_label) {
        placed.push_back(*layout.on_plan.route_end_label);
    }
    const box& area = layout.plan->area();
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const box& a = placed[i];
        EXPECT_TRUE(a.x0 >= area.x0 && a.x1 <= area.x1 && a.y0 >= area.y0 && a.y1 <= area.y1) << i;
        EXPECT_FALSE(a.overlaps(layout.on_plan.scale)) << i;
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            EXPECT_FALSE(a.overlaps(placed[j])) << i << " " << j;
        }
    }
}

TEST(RenderPicture, AScenarioWithNeitherGridNorPlanStillGivesAPicture) {
    compile_request request;  // no documents: the reader stops before the route length
    request.scenario = "S";
    request.train = "T";
    const compiled_scenario s = compile(request);
    ASSERT_FALSE(s.state.diagnostics.empty());
    const pugi::xml_document doc = read_svg(render_svg(s, s.state.diagnostics));
    EXPECT_TRUE(with_class(doc, "track").empty());
    const std::string text = all_text(doc.document_element());
    EXPECT_NE(text.find("No line plan"), std::string::npos);
    EXPECT_NE(text.find("No track cells"), std::string::npos);
    EXPECT_EQ(with_class(doc, "error-note").size(), s.state.diagnostics.size());
}

TEST(SvgText, EveryByteReadsBackAsItsCharacter) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    svg_writer w;
    w.open("t").attr("v", all).text(all).close();
    const pugi::xml_document doc = read_svg(w.finish());
    const pugi::xml_node t = doc.document_element();
    EXPECT_EQ(std::string(t.attribute("v").value()), all_text(t));
    // 0xC8 reads back as U+00C8 in UTF-8, 0x80 as the euro sign; '<' and '&' survive.
    EXPECT_NE(all_text(t).find("\xC3\x88"), std::string::npos);
    EXPECT_NE(all_text(t).find("\xE2\x82\xAC"), std::string::npos);
    EXPECT_NE(all_text(t).find("%&'()"), std::string::npos);
    EXPECT_NE(all_text(t).find(";<=>?@"), std::string::npos);
}

}  // namespace
}  // namespace scenario::render
