// The built-in scenario both ways, the generator (in process) and `scenario example`
// then `scenario compile`: each writes the three binary files byte for byte as the
// reference files made by an independent implementation (tests/golden/built-in); the
// tool keeps its documents, the generator removes the two it compiled and keeps the
// other three.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "app/platform.hpp"
#include "app/run_sequence.hpp"
#include "cli/exit_status.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

namespace fs = std::filesystem;
using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::temp_folder;

const fs::path tests_root = fs::path(__FILE__).parent_path().parent_path();
const fs::path reference = tests_root / "golden" / "built-in";
const fs::path documents = tests_root / "documents" / "golden";

const std::string line_name = "Vessana_Pralbo_linea.txt";
const std::string train_name = "Vessana_Pralbo_5 bis-.txt";
const std::vector<std::string> binary_names = {
    "Vessana_Pralbo_linea.dat", "Vessana_Pralbo_5 bis.sim", "Vessana_Pralbo_5 bis.dat"};
const std::vector<std::string> kept_names = {"Vessana_Pralbo_5 bis_note.txt",
                                             "Vessana_Pralbo_5 bis_rallentamenti.txt",
                                             "Vessana_Pralbo_5 bis_scheda_treno.txt"};

// The generator run in-process, with its own folder set to a test folder.
class folder_platform : public platform {
  public:
    explicit folder_platform(std::string folder) : folder_(std::move(folder)) {}
    std::string own_folder() override { return folder_; }
    void show_window(std::string_view) override {}
    void message_box(std::string_view prompt) override { messages += std::string(prompt); }
    void report_failure(std::string_view message) override { messages += std::string(message); }
    std::string messages;

  private:
    std::string folder_;
};

class BuiltInRun : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto example = run({"example", "-o", tool.str()});
        ASSERT_EQ(example.status, exit_status::ok) << example.err;
        compiled = run({"compile", tool.file(line_name), tool.file(train_name), "-o", tool.str()});
        folder_platform sistema(generator.str());
        ASSERT_EQ(Form_Load(sistema), 0) << sistema.messages;
    }

    temp_folder tool;
    temp_folder generator;
    scenario::testing::tool_result compiled;
};

// Where a file first differs from its reference, for the failure message.
std::string difference(const std::string& ours, const std::string& expected) {
    const auto at = std::mismatch(ours.begin(), ours.end(), expected.begin(), expected.end()).first;
    return "first difference at byte " + std::to_string(at - ours.begin()) + " of " +
           std::to_string(ours.size()) + " (the reference has " + std::to_string(expected.size()) +
           ")";
}

TEST_F(BuiltInRun, BothWaysWriteTheReferenceFilesByteForByte) {
    EXPECT_EQ(compiled.status, exit_status::ok) << compiled.err;
    for (const std::string& name : binary_names) {
        const std::string expected = read_bytes((reference / name).string());
        ASSERT_FALSE(expected.empty()) << "no reference file " << name;
        for (const temp_folder* folder : {&tool, &generator}) {
            const std::string ours = read_bytes(folder->file(name));
            EXPECT_TRUE(ours == expected)
                << name << (folder == &tool ? " of scenario compile: " : " of the generator: ")
                << difference(ours, expected);
        }
    }
    EXPECT_NE(compiled.err.find("1411 cells"), std::string::npos) << compiled.err;
    EXPECT_EQ(compiled.err.find(": warning: "), std::string::npos)
        << "no warning on the built-in documents";
}

TEST_F(BuiltInRun, CompileKeepsItsDocumentsTheGeneratorRemovesTheTwoItCompiled) {
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(generator.str())) {
        left.push_back(e.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = binary_names;
    expected.insert(expected.end(), kept_names.begin(), kept_names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    for (const std::string& name : kept_names) {
        const std::string text = read_bytes((documents / name).string());
        ASSERT_FALSE(text.empty()) << name;
        EXPECT_EQ(read_bytes(generator.file(name)), text) << name;
        EXPECT_EQ(read_bytes(tool.file(name)), text) << name;
    }
    for (const std::string& name : {line_name, train_name}) {
        EXPECT_EQ(read_bytes(tool.file(name)), read_bytes((documents / name).string())) << name;
    }
}

TEST_F(BuiltInRun, DumpShowsTheSignalTheTrainEntryAndThePlansFirstPoints) {
    const auto grid =
        nlohmann::ordered_json::parse(run({"dump", tool.file(binary_names[2]), "--json"}).out);
    bool found = false;
    for (const auto& c : grid["celle"]) {
        if (c["cella"].get<double>() == 130) {
            found = true;
            EXPECT_EQ(c["tipo_cella"].get<double>(), 1);
            EXPECT_EQ(c["valore1"].get<double>(), 40);
            EXPECT_EQ(c["valore4"].get<double>(), 6);
        }
        if (c["cella"].get<double>() == 128) {
            EXPECT_EQ(c["avvicinamento"].get<double>(), 61);
        }
    }
    EXPECT_TRUE(found);

    const auto header =
        nlohmann::ordered_json::parse(run({"dump", tool.file(binary_names[1]), "--json"}).out);
    EXPECT_EQ(header["voci"][86]["nome"].get<std::string>(), "5 bis");
    EXPECT_EQ(header["voci"][86]["fine_area"].get<double>(), 60750);
    EXPECT_EQ(header["voci"][85]["numero_a"].get<double>(), 610);

    const auto table = run({"dump", tool.file(binary_names[0])});
    EXPECT_EQ(table.status, exit_status::ok);
    EXPECT_NE(table.out.find("70501 points (metres 0 to 70500)"), std::string::npos);
    const auto plan =
        nlohmann::ordered_json::parse(run({"dump", tool.file(binary_names[0]), "--json"}).out);
    const auto& points = plan["tracciato"];
    EXPECT_EQ(points.size(), 70499u) << "the last two metres stay empty";
    EXPECT_EQ(points[0]["x"].get<double>(), 0);
    EXPECT_EQ(points[1]["y"].get<double>(), 1);
    EXPECT_EQ(points[2]["y"].get<double>(), 2) << "straight on at first";
}

}  // namespace
}  // namespace scenario::cli
