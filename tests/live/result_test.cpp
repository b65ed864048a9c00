#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>

#include "live_fixture.hpp"

namespace scenario::testing {
namespace {

using json = nlohmann::json;

json result_of(const live::compile_session& s) {
    return json::parse(*s.result());
}

using LiveResult = example_documents;

TEST_F(LiveResult, TheExampleShowsItsStationsElementsAndTheFilesCompileWrites) {
    live::compile_session session(options());
    ASSERT_TRUE(session.compile());
    const json r = result_of(session);
    EXPECT_EQ(r["generation"], 1);
    EXPECT_EQ(r["ok"], true);
    EXPECT_TRUE(r["diagnostics"].empty());
    EXPECT_EQ(r["documents"]["train"], train());
    const json& drawing = r["drawing"];
    EXPECT_EQ(drawing["generation"], 1);
    EXPECT_EQ(drawing["stale"], false);

    // The 13 stations of the train document, in order, from the header records.
    std::vector<std::string> stations;
    for (const json& e : drawing["elements"]) {
        if (e["kind"] == "station") {
            stations.push_back(e["name"]);
        }
    }
    EXPECT_EQ(stations, (std::vector<std::string>{
                            "VESSANA", "MELISCANO L.", "ROCCALEVINA", "PERZANO GUALMIA",
                            "FORNEVAL COSTABRINA", "VELMORA LOVENZA", "BIRMO LOVENZA", "SALVERINO",
                            "PRALBO S.FELIZIO", "BIVIO TORMIA", "PRALBO P.P.", "BIVIO TRAVERSATA",
                            "PRALBO CASTELMA"}));

    // Each element's id is its index, and every drawn one is found by it in the picture,
    // on the plan and on the profiles alike for a station.
    const std::string svg = drawing["svg"];
    std::set<std::string> kinds;
    for (std::size_t i = 0; i < drawing["elements"].size(); ++i) {
        const json& e = drawing["elements"][i];
        EXPECT_EQ(e["id"], i);
        kinds.insert(e["kind"].get<std::string>());
        EXPECT_NE(svg.find("data-element=\"" + std::to_string(i) + "\""), std::string::npos)
            << e.dump();
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"station", "signal", "board", "speed_board",
                                            "slowdown", "tunnel", "speed", "gradient",
                                            "adhesion", "curve", "code_point"}));
    const std::string first_station = "data-element=\"0\"";
    EXPECT_NE(svg.find(first_station, svg.find(first_station) + 1), std::string::npos);

    // The first station and the first signal at their rows of the train document
    // (line 32 "stazione, 0, ...", line 49 "segnale, 1950, ...").
    ASSERT_FALSE(drawing["elements"].empty());
    EXPECT_EQ(drawing["elements"][0]["document"], train());
    EXPECT_EQ(drawing["elements"][0]["line"], 32);
    EXPECT_EQ(drawing["elements"][0]["values"]["progressiva"], 0);
    const auto signal = std::find_if(drawing["elements"].begin(), drawing["elements"].end(),
                                     [](const json& e) { return e["kind"] == "signal"; });
    ASSERT_NE(signal, drawing["elements"].end());
    EXPECT_EQ((*signal)["position"], 1950);
    EXPECT_EQ((*signal)["cell"], 40);  // near(1950 / 50 + 1)
    EXPECT_EQ((*signal)["document"], train());
    EXPECT_EQ((*signal)["line"], 49);
    EXPECT_EQ((*signal)["values"]["tipo_cella"], 1);

    // The first curve: line 11 of the line document, "curvas4,  900,  1100".
    const auto curve = std::find_if(drawing["elements"].begin(), drawing["elements"].end(),
                                    [](const json& e) { return e["kind"] == "curve"; });
    ASSERT_NE(curve, drawing["elements"].end());
    EXPECT_EQ((*curve)["position"], 900);
    EXPECT_EQ((*curve)["end"], 2000);
    EXPECT_EQ((*curve)["document"], line());
    EXPECT_EQ((*curve)["line"], 11);

    const json& counts = r["status"]["counts"];
    EXPECT_EQ(counts["stations"], 13);
    EXPECT_EQ(counts["signals"], 34);

    // The files and sizes "scenario compile" writes, and nothing written beside the documents.
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(cli::run_tool({"compile", line(), train(), "-o", dir.file("out")}, out, err), 0);
    ASSERT_EQ(r["status"]["files"].size(), 3u);
    for (const json& f : r["status"]["files"]) {
        const std::string name = f["name"];
        EXPECT_EQ(f["size"], std::filesystem::file_size(dir.file("out/" + name))) << name;
    }
}

TEST_F(LiveResult, ABrokenSaveKeepsTheLastGoodDrawingWithTheNewErrorMarkedOnIt) {
    live::compile_session session(options());
    ASSERT_TRUE(session.compile());
    replace_in_train("stazione,   10300, 22,  600,", "stazione,   10300, 22,  650,");
    ASSERT_TRUE(session.compile());
    json r = result_of(session);
    EXPECT_EQ(r["generation"], 2);
    EXPECT_EQ(r["ok"], false);
    ASSERT_EQ(r["diagnostics"].size(), 1u);
    const json& d = r["diagnostics"][0];
    // The same fields as "scenario check --json" gives a diagnostic.
    std::set<std::string> keys;
    for (const auto& [k, v] : d.items()) {
        keys.insert(k);
    }
    EXPECT_EQ(keys, (std::set<std::string>{"error", "position", "document", "line", "column",
                                           "end_column", "text", "message", "severity", "name",
                                           "notes", "fixes"}));
    EXPECT_EQ(d["error"], 9);
    EXPECT_EQ(d["position"], 10300);
    EXPECT_EQ(d["document"], train());
    EXPECT_EQ(d["column"], 25);  // the length field "650"
    EXPECT_EQ(d["end_column"], 27);

    const json& drawing = r["drawing"];
    EXPECT_EQ(drawing["stale"], true);
    EXPECT_EQ(drawing["generation"], 1);
    const std::string svg = drawing["svg"];
    EXPECT_NE(svg.find("<g class=\"error\" data-position=\"10300\" data-diagnostic=\"0\">"),
              std::string::npos);
    EXPECT_TRUE(r["status"]["files"].size() == 3u);

    // Fixed again: a fresh drawing.
    replace_in_train("stazione,   10300, 22,  650,", "stazione,   10300, 22,  600,");
    ASSERT_TRUE(session.compile());
    r = result_of(session);
    EXPECT_EQ(r["ok"], true);
    EXPECT_EQ(r["drawing"]["generation"], 3);
    EXPECT_EQ(r["drawing"]["stale"], false);
    EXPECT_EQ(r["drawing"]["svg"].get<std::string>().find("class=\"error\""), std::string::npos);
}

TEST_F(LiveResult, AMissingDocumentIsWaitedForAndAnUnreadableOneIsAnError) {
    live::compile_session session(options());
    ASSERT_TRUE(session.compile());
    std::filesystem::rename(train(), dir.file("away.txt"));
    EXPECT_FALSE(session.compile());
    EXPECT_EQ(session.generation(), 1u);

    // A folder in its place cannot be read: the result says so, with no drawing yet
    // replaced (the last good one stays).
    std::filesystem::create_directory(train());
    ASSERT_TRUE(session.compile());
    const json r = result_of(session);
    EXPECT_EQ(r["ok"], false);
    ASSERT_EQ(r["diagnostics"].size(), 1u);
    EXPECT_EQ(r["diagnostics"][0]["document"], train());
    EXPECT_EQ(r["drawing"]["stale"], true);
    EXPECT_TRUE(r["status"]["files"].empty());
}

}  // namespace
}  // namespace scenario::testing
