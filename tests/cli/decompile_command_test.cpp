// scenario decompile on the built-in scenario's reference files (tests/golden/built-in),
// as they are and changed in ways no document can give: the exact report and status,
// and files that are not scenario files, cut at every record boundary.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/exit_status.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

namespace fs = std::filesystem;
using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

const fs::path reference = fs::path(__FILE__).parent_path().parent_path() / "golden" / "built-in";
const std::string header_name = "Vessana_Pralbo_5 bis.sim";
const std::string grid_name = "Vessana_Pralbo_5 bis.dat";
const std::string plan_name = "Vessana_Pralbo_linea.dat";
const std::string line_name = "Vessana_Pralbo_linea.txt";
const std::string train_name = "Vessana_Pralbo_5 bis-.txt";

// The three reference files in a folder "in", to change before a decompile into "out".
struct files_folder {
    temp_folder folder;
    std::string header = read_bytes((reference / header_name).string());
    std::string grid = read_bytes((reference / grid_name).string());
    std::string plan = read_bytes((reference / plan_name).string());

    std::string in() const { return folder.file("in"); }
    std::string out() const { return folder.file("out"); }
    std::string path(const std::string& name) const { return (fs::path(in()) / name).string(); }
    void write() const {
        write_bytes(path(header_name), header);
        write_bytes(path(grid_name), grid);
        write_bytes(path(plan_name), plan);
    }
    scenario::testing::tool_result decompile(std::vector<std::string> extra = {}) const {
        write();
        return decompile_as_written(std::move(extra));
    }
    scenario::testing::tool_result decompile_as_written(std::vector<std::string> extra = {}) const {
        std::vector<std::string> args = {"decompile", in(), "-o", out()};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }
    bool wrote_nothing() const { return !fs::exists(out()); }
};

constexpr std::size_t grid_header = 10;
constexpr std::size_t cell = 15;
constexpr std::size_t avvicinamento_at = 10;  // in a cell record

std::string summary(const files_folder& f, std::size_t values) {
    return "scenario: wrote \"" + line_name + "\" and \"" + train_name + "\" into \"" + f.out() +
           "\", the closest documents: " + std::to_string(values) +
           (values == 1 ? " value" : " values") + " of the files read cannot be reproduced\n";
}

TEST(DecompileCommand, BuiltInFilesComeBackByteForByte) {
    files_folder f;
    ASSERT_EQ(f.grid.size(), 10u + 15u * 1411u);
    const auto r = f.decompile();
    EXPECT_EQ(r.status, exit_status::ok) << r.err;
    EXPECT_EQ(r.err, "scenario: wrote \"" + line_name + "\" and \"" + train_name + "\" into \"" +
                         f.out() + "\": they compile to the 3 files read, byte for byte\n");
    const std::string line = read_bytes((fs::path(f.out()) / line_name).string());
    EXPECT_TRUE(line.starts_with("- decompiled by \"scenario decompile\" from " + header_name +
                                 ", " + grid_name + ", " + plan_name + "\r\n[generale]\r\n"));
    const auto again = run({"compile", f.folder.file("out/" + line_name),
                            f.folder.file("out/" + train_name), "-o", f.folder.file("again")});
    ASSERT_EQ(again.status, exit_status::ok) << again.err;
    EXPECT_EQ(read_bytes(f.folder.file("again/" + header_name)), f.header);
    EXPECT_EQ(read_bytes(f.folder.file("again/" + grid_name)), f.grid);
    EXPECT_EQ(read_bytes(f.folder.file("again/" + plan_name)), f.plan);

    // The documents in the way: nothing replaced without --force, replaced with it.
    write_bytes(f.folder.file("out/" + line_name), "edited");
    EXPECT_EQ(f.decompile().status, exit_status::file);
    EXPECT_EQ(read_bytes(f.folder.file("out/" + line_name)), "edited");
    EXPECT_EQ(f.decompile({"--force"}).status, exit_status::ok);
    EXPECT_EQ(read_bytes(f.folder.file("out/" + line_name)), line);
}

TEST(DecompileCommand, JsonSaysWhatWasReadAndWritten) {
    files_folder f;
    const auto r = f.decompile({"--json"});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["files"]["plan"], f.path(plan_name));
    EXPECT_EQ(json["scenario"], "Vessana_Pralbo");
    EXPECT_EQ(json["train"], "5 bis");
    EXPECT_EQ(json["exact"], true);
    EXPECT_EQ(json["documents"].size(), 2u);
    EXPECT_TRUE(json["differences"].empty());
    EXPECT_TRUE(json["first_unmatched_metre"].is_null());
}

TEST(DecompileCommand, ApproachMarkerMovedIsNamedCellByCell) {
    // The signal at 6,450 m (cell 130, sx 2, dx 0) marks cells 128, 126, 124, 122 with
    // 61 to 64. Its marker of cell 128 moved to cell 127: no row gives that.
    files_folder f;
    ASSERT_EQ(f.grid.size(), grid_header + cell * 1411);
    char& at127 = f.grid[grid_header + cell * 127 + avvicinamento_at];
    char& at128 = f.grid[grid_header + cell * 128 + avvicinamento_at];
    ASSERT_EQ(at127, 0);
    ASSERT_EQ(at128, 61);
    at127 = 61;
    at128 = 0;
    const auto r = f.decompile();
    EXPECT_EQ(r.status, exit_status::not_reproduced);
    const std::string grid = f.path(grid_name);
    EXPECT_EQ(r.err, grid + ": offset 1925: cell 127, avvicinamento: stored 61, the documents give 0\n" +
                         grid + ": offset 1940: cell 128, avvicinamento: stored 0, the documents give 61\n" +
                         summary(f, 2));
    EXPECT_TRUE(fs::exists(f.folder.file("out/" + line_name)));

    const auto j = f.decompile({"--json", "--force"});
    const auto json = nlohmann::json::parse(j.out);
    EXPECT_EQ(json["exact"], false);
    ASSERT_EQ(json["differences"].size(), 2u);
    EXPECT_EQ(json["differences"][0]["file"], grid);
    EXPECT_EQ(json["differences"][0]["offset"], 1925);
    EXPECT_EQ(json["differences"][0]["what"], "cell 127, avvicinamento");
    EXPECT_EQ(json["differences"][0]["stored"], 61);
    EXPECT_EQ(json["differences"][0]["documents"], 0);
}

TEST(DecompileCommand, PlanPointMovedByOneMetreIsTheFirstUnmatchedMetre) {
    // Metres 0 to 70500: the first coordinates take 4 + 4 bytes (two integers), 10 for
    // each of metres 2 to 70498, 2 + 2 for the empty last two; the second ones start at
    // 18 + 704982 = 705000, and metre 5000's at 705000 + 8 + 10 x 4998 = 754988.
    files_folder f;
    ASSERT_EQ(f.plan.size(), 1409982u);
    const std::size_t at = 754988;
    ASSERT_EQ(f.plan[at], 5);
    double y = 0;
    std::memcpy(&y, f.plan.data() + at + 2, sizeof y);
    const double moved = y + 1.0;
    std::memcpy(f.plan.data() + at + 2, &moved, sizeof moved);
    const auto text = [](double v) {
        char buffer[32];
        return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
    };
    const auto r = f.decompile();
    EXPECT_EQ(r.status, exit_status::not_reproduced);
    const std::string plan = f.path(plan_name);
    EXPECT_EQ(r.err, plan + ": offset 754988: metre 5000, y: stored " + text(moved) +
                         ", the documents give " + text(y) + "\n" + plan +
                         ": no curve row draws metre 5000 from the two before it (1 metre in all)\n" +
                         summary(f, 1));
}

TEST(DecompileCommand, ValuesTheCompilerNeverWritesAreNamed) {
    // Header record 0 holding a station kind (the compiler never writes record 0), and
    // cell 300 of kind 7 (a kind no element has).
    files_folder f;
    ASSERT_EQ(f.header[0], 0);
    f.header[0] = 4;
    char& kind = f.grid[grid_header + cell * 300];
    ASSERT_EQ(kind, 0);
    kind = 7;
    const auto r = f.decompile();
    EXPECT_EQ(r.status, exit_status::not_reproduced);
    EXPECT_EQ(r.err, f.path(header_name) +
                         ": offset 0: record 0, tipo_stazione: stored 4, the documents give 0\n" +
                         f.path(grid_name) +
                         ": offset 4510: cell 300, tipo_cella: stored 7, the documents give 0\n" +
                         summary(f, 2));
}

// A file cut at a record boundary fails there, naming the record the file ends in;
// nothing is written.
void expect_cut(files_folder& f, const std::string& file, const std::string& name,
                std::size_t size, const std::string& title, const std::string& record) {
    write_bytes(f.path(name), file.substr(0, size));
    const auto r = f.decompile_as_written();
    write_bytes(f.path(name), file);
    SCOPED_TRACE(name + " cut to " + std::to_string(size) + " bytes");
    EXPECT_EQ(r.status, exit_status::scenario_error);
    EXPECT_TRUE(r.err.starts_with(f.path(name) + ": cannot decode the " + title +
                                  " at byte offset " + std::to_string(size) + ": "))
        << r.err;
    EXPECT_NE(r.err.find(record), std::string::npos) << r.err;
    EXPECT_TRUE(f.wrote_nothing());
}

TEST(DecompileCommand, FilesCutAtEveryRecordBoundary) {
    files_folder f;
    f.write();
    // Header records: 34 bytes and the name's length each.
    std::size_t at = 0;
    for (int k = 0; k < 87; ++k) {
        expect_cut(f, f.header, header_name, at, "header file", "of entry " + std::to_string(k));
        ASSERT_LE(at + 16, f.header.size());
        const auto n = static_cast<std::size_t>(static_cast<unsigned char>(f.header[at + 14]) |
                                                (static_cast<unsigned char>(f.header[at + 15]) << 8));
        at += 34 + n;
    }
    EXPECT_EQ(at, f.header.size());
    // Grid: the array header, then 1411 cells of 15 bytes (the first twenty, then one in
    // 47, and the last).
    for (std::size_t i = 0; i < 1411; i += i < 20 ? 1 : 47) {
        expect_cut(f, f.grid, grid_name, grid_header + cell * i, "grid file",
                   "cell " + std::to_string(i) + " ");
    }
    expect_cut(f, f.grid, grid_name, grid_header + cell * 1410, "grid file", "cell 1410 ");
    // Plan: the array header, then values of 4, 10 or 2 bytes; some of each.
    expect_cut(f, f.plan, plan_name, 18, "line plan file", "metre 0, coordinate 0");
    expect_cut(f, f.plan, plan_name, 22, "line plan file", "metre 1, coordinate 0");
    expect_cut(f, f.plan, plan_name, 26 + 10 * 3000, "line plan file", "metre 3002, coordinate 0");
    expect_cut(f, f.plan, plan_name, 705000 - 2, "line plan file", "metre 70500, coordinate 0");
    expect_cut(f, f.plan, plan_name, 705000, "line plan file", "metre 0, coordinate 1");
    expect_cut(f, f.plan, plan_name, 705008 + 10 * 70000, "line plan file",
               "metre 70002, coordinate 1");
    expect_cut(f, f.plan, plan_name, f.plan.size() - 2, "line plan file",
               "metre 70500, coordinate 1");
}

TEST(DecompileCommand, NotAScenarioFile) {
    files_folder f;
    f.grid = "not a grid";
    const auto r = f.decompile();
    EXPECT_EQ(r.status, exit_status::scenario_error);
    EXPECT_TRUE(r.err.starts_with(f.path(grid_name) + ": cannot decode the grid file at byte offset "));
    EXPECT_TRUE(f.wrote_nothing());
}

}  // namespace
}  // namespace scenario::cli
