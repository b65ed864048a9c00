#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_folder.hpp"
#include "tool_runner.hpp"
#include "render/xml_check.hpp"

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

    const xml_element root = parse_xml(read_bytes(dir.file("line.svg")));
    const xml_element& plan = *find_id(root, "plan");
    const auto stations = with_class(plan, "station");
    ASSERT_EQ(stations.size(), 13u);
    std::string names;
    for (const xml_element* s : stations) {
        names += all_text(*s) + "|";
    }
    for (const char* name : {"VESSANA", "ROCCALEVINA", "PRALBO P.P.", "PRALBO CASTELMA"}) {
        EXPECT_NE(names.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(with_class(plan, "signal").size(), 34u);
    EXPECT_EQ(with_class(plan, "slowdown").size(), 2u);
    EXPECT_EQ(with_class(plan, "tunnel").size(), 19u);
    EXPECT_EQ(with_class(plan, "error").size(), 0u);

    // The speed profile steps at the chainages of the train document's speed rows.
    std::vector<std::string> speed_steps;
    for (const xml_element* p : with_class(*find_id(root, "profiles"), "profile")) {
        if (p->attr_or("data-profile") == "speed") {
            for (const xml_element* step : with_class(*p, "step")) {
                speed_steps.push_back(step->attr_or("data-position"));
            }
        }
    }
    EXPECT_EQ(speed_steps,
              (std::vector<std::string>{"0", "650", "15000", "17000", "23950", "25200", "34500",
                                        "35500", "43350", "44300", "55400", "59750", "60750"}));

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
    const xml_element root = parse_xml(read_bytes(dir.file("profiles.svg")));
    EXPECT_EQ(find_id(root, "plan"), nullptr);
    EXPECT_EQ(with_class(*find_id(root, "profiles"), "station").size(), 13u);
}

TEST_F(BuiltInPicture, ARecordedErrorIsDrawnInItsPlaceAndSetsTheExitStatus) {
    std::string text = read_bytes(train());
    const std::string row = "stazione,   10300, 22,  600,";
    ASSERT_NE(text.find(row), std::string::npos);
    text.replace(text.find(row), row.size(), "stazione,   10300, 22,  650,");
    write_bytes(train(), text);
    const tool_result r = run({"render", line(), train(), "-o", dir.file("bad.svg")});
    EXPECT_EQ(r.status, 1);
    const xml_element root = parse_xml(read_bytes(dir.file("bad.svg")));
    const auto errors = with_class(*find_id(root, "plan"), "error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]->attr_or("data-position"), "10300");
    EXPECT_NE(all_text(*errors[0]).find("error 9"), std::string::npos);
}

TEST(RenderCommand, ThePictureFileMustBeNamed) {
    const tool_result r = run({"render", "a_linea.txt", "a_b-.txt"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("-o FILE.svg"), std::string::npos);
}

}  // namespace
}  // namespace scenario::testing
