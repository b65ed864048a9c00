#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

namespace fs = std::filesystem;
using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::write_bytes;

// Each folder under golden/ is one case: a line document "*_linea.txt", a train
// document "*-.txt", the exact standard error of "scenario check LINE TRAIN" in
// expected.stderr (document paths shown relative to the case folder) and the exit
// status in expected.status. With SCENARIO_UPDATE_GOLDEN=1 the expected files are
// rewritten from the actual output, to be reviewed before they are committed.
const fs::path golden_root = fs::path(__FILE__).parent_path() / "golden";

std::vector<fs::path> golden_cases() {
    std::vector<fs::path> cases;
    for (const auto& e : fs::directory_iterator(golden_root)) {
        if (e.is_directory()) {
            cases.push_back(e.path());
        }
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

fs::path document_ending(const fs::path& folder, const std::string& ending) {
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (name.size() > ending.size() &&
            name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
            return e.path();
        }
    }
    return {};
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST(Golden, CasesAreComplete) {
    const auto cases = golden_cases();
    EXPECT_GE(cases.size(), 4u);
    for (const fs::path& c : cases) {
        EXPECT_FALSE(document_ending(c, "_linea.txt").empty()) << c;
        EXPECT_FALSE(document_ending(c, "-.txt").empty()) << c;
        EXPECT_TRUE(fs::exists(c / "expected.stderr")) << c;
        EXPECT_TRUE(fs::exists(c / "expected.status")) << c;
    }
}

TEST(Golden, CheckPrintsExactlyTheExpectedDiagnostics) {
    const bool update = std::getenv("SCENARIO_UPDATE_GOLDEN") != nullptr;
    for (const fs::path& c : golden_cases()) {
        SCOPED_TRACE(c.filename().string());
        const std::string line = document_ending(c, "_linea.txt").string();
        const std::string train = document_ending(c, "-.txt").string();
        const std::string line_before = read_bytes(line);
        const std::string train_before = read_bytes(train);
        const auto r = run({"check", line, train});
        const std::string shown = replace_all(r.err, c.string() + "/", "");
        if (update) {
            write_bytes((c / "expected.stderr").string(), shown);
            write_bytes((c / "expected.status").string(), std::to_string(r.status) + "\n");
            continue;
        }
        EXPECT_EQ(shown, read_bytes((c / "expected.stderr").string()));
        EXPECT_EQ(std::to_string(r.status) + "\n", read_bytes((c / "expected.status").string()));
        EXPECT_EQ(read_bytes(line), line_before);
        EXPECT_EQ(read_bytes(train), train_before);
    }
}

}  // namespace
}  // namespace scenario::cli
