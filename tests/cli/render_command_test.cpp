#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "render/svg_query.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct BuiltInPicture : ::testing::Test {
    temp_folder dir;
    std::string line() const { return dir.file("Vessana_Pralbo_linea.txt"); }
    std::string train() const { return dir.file("Vessana_Pralbo_5 bis-.txt"); }
    void SetUp() override { ASSERT_EQ(run({"example", "-o", dir.str()}).status, 0); }
};

TEST_F(BuiltInPicture, ShowsEveryStationSignalSlowdownAndTunnelOfTheBuiltInScenario) {
    const auto before = listing(dir.str());
    const std::string line_text = read_bytes(line());
    const tool_result r = run({"render", line(), train(), "-o", dir.file("line.svg")});
    ASSERT_EQ(r.status, 0) << r.err;

    const pugi::xml_document doc = read_svg(read_bytes(dir.file("line.svg")));
    std::string names;
    for (const pugi::xpath_node& s : with_class(doc, "station", "plan")) {
        names += all_text(s.node()) + "|";
    }
    for (const char* name : {"VESSANA", "ROCCALEVINA", "PRALBO P.P.", "PRALBO CASTELMA"}) {
        EXPECT_NE(names.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(with_class(doc, "station", "plan").size(), 13u);
    EXPECT_EQ(with_class(doc, "signal", "plan").size(), 34u);
    EXPECT_EQ(with_class(doc, "slowdown", "plan").size(), 2u);
    EXPECT_EQ(with_class(doc, "tunnel", "plan").size(), 19u);
    EXPECT_TRUE(with_class(doc, "error").empty());

    // The speed profile steps at the chainages of the train document's speed rows.
    EXPECT_EQ(numbers(doc.select_nodes("//*[@data-profile='speed']/*[@class='step']")),
              (std::vector<std::int64_t>{0, 650, 15000, 17000, 23950, 25200, 34500, 35500, 43350,
                                         44300, 55400, 59750, 60750}));

    // The documents are untouched and the picture is the only new file.
    auto after = listing(dir.str());
    after.erase(std::find(after.begin(), after.end(), "line.svg"));
    EXPECT_EQ(after, before);
    EXPECT_EQ(read_bytes(line()), line_text);
}

TEST_F(BuiltInPicture, WithoutThePlanOnlyTheProfilesAreDrawn) {
    const tool_result r =
        run({"render", line(), train(), "--no-plan", "-o", dir.file("profiles.svg")});
    ASSERT_EQ(r.status, 0) << r.err;
    const pugi::xml_document doc = read_svg(read_bytes(dir.file("profiles.svg")));
    EXPECT_TRUE(doc.select_node("//*[@id='plan']").node().empty());
    EXPECT_EQ(with_class(doc, "station", "profiles").size(), 13u);
}

TEST_F(BuiltInPicture, ARecordedErrorIsDrawnInItsPlaceAndSetsTheExitStatus) {
    std::string text = read_bytes(train());
    const std::string row = "stazione,   10300, 22,  600,";
    ASSERT_NE(text.find(row), std::string::npos);
    text.replace(text.find(row), row.size(), "stazione,   10300, 22,  650,");
    write_bytes(train(), text);
    const tool_result r = run({"render", line(), train(), "-o", dir.file("bad.svg")});
    EXPECT_EQ(r.status, 1);
    const pugi::xml_document doc = read_svg(read_bytes(dir.file("bad.svg")));
    const auto errors = with_class(doc, "error", "plan");
    EXPECT_EQ(numbers(errors), (std::vector<std::int64_t>{10300}));
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(
        all_text(errors.first().node().child("title")).rfind("error 9: the station length", 0), 0u);
}

TEST(RenderCommand, ThePictureFileMustBeNamed) {
    const tool_result r = run({"render", "a_linea.txt", "a_b-.txt"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("-o FILE.svg"), std::string::npos);
}

}  // namespace
}  // namespace scenario::testing
