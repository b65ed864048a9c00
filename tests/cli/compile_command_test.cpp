#include <gtest/gtest.h>

#include <filesystem>

#include "cli/exit_status.hpp"
#include <nlohmann/json.hpp>
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

// A small scenario without errors or warnings: a 10 km route (cells 0 to 340) and a
// train with its values and one station.
const std::string line_document =
    "[generale]\r\nlunghezza percorso, 10000\r\n[curve]\r\n[fine]\r\n";
const std::string train_values =
    "numero vetture, 12\r\npercentuale massa frenata, 125\r\nsabbia, 300\r\n";
const std::string train_document =
    "[generale]\r\nstazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, VESSANA\r\n" +
    train_values + "[fine]\r\n";

struct scenario_folder {
    temp_folder dir;
    std::string line = dir.file("Prova_linea.txt");
    std::string train = dir.file("Prova_T 1-.txt");
    std::string out = dir.file("out");

    scenario_folder(const std::string& line_text = line_document,
                    const std::string& train_text = train_document) {
        write_bytes(line, line_text);
        write_bytes(train, train_text);
        std::filesystem::create_directory(out);
    }
    std::vector<std::string> written() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(out)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST(Compile, WritesTheFilesItListsAndLeavesTheDocumentsAsTheyWere) {
    scenario_folder f;
    const auto r = run({"compile", f.line, f.train, "-o", f.out, "--json"});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    EXPECT_EQ(r.err, "");
    const auto json = nlohmann::ordered_json::parse(r.out);
    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"error", "position", "fatal", "files", "diagnostics"}));
    EXPECT_EQ(json["error"].get<double>(), 0);
    EXPECT_TRUE(json["fatal"].is_null());
    EXPECT_TRUE(json["diagnostics"].empty());
    std::vector<std::string> listed;
    for (const auto& name : json["files"]) {
        listed.push_back(name.get<std::string>());
    }
    EXPECT_EQ(listed,
              (std::vector<std::string>{"Prova_linea.dat", "Prova_T 1.sim", "Prova_T 1.dat"}));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(f.written(), listed);
    EXPECT_EQ(read_bytes(f.line), line_document);
    EXPECT_EQ(read_bytes(f.train), train_document);
}

TEST(Compile, HumanRunEndsWithAOneLineSummary) {
    scenario_folder f;
    const auto r = run({"compile", f.line, f.train, "-o", f.out});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.rfind("scenario: wrote ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("\"Prova_T 1.sim\""), std::string::npos);
    EXPECT_NE(r.err.find(" into \"" + f.out + "\": "), std::string::npos);
    EXPECT_NE(r.err.find(": 341 cells; 0 curves, 0 gradient rows, 0 speed rows, 0 adhesion rows, "
                         "0 tunnels, 0 indicator boards, 0 speed boards, 0 signals, 0 slowdowns, "
                         "0 code entries, 1 station\n"),
              std::string::npos)
        << r.err;
}

TEST(Compile, NoPlanWritesNoLinePlanFile) {
    scenario_folder f;
    const auto r = run({"compile", f.line, f.train, "-o", f.out, "--no-plan"});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    EXPECT_EQ(f.written(), (std::vector<std::string>{"Prova_T 1.dat", "Prova_T 1.sim"}));
}

TEST(Check, WritesNothingAndAcceptsNoOutputFolder) {
    scenario_folder f;
    const auto r = run({"check", f.line, f.train});
    EXPECT_EQ(r.status, exit_status::ok) << r.err;
    EXPECT_EQ(r.err.rfind("scenario: checked, nothing written: ", 0), 0u) << r.err;
    EXPECT_TRUE(f.written().empty());
    const auto j = run({"check", f.line, f.train, "--json"});
    EXPECT_TRUE(nlohmann::ordered_json::parse(j.out)["files"].empty());
    EXPECT_EQ(run({"check", f.line, f.train, "-o", f.out}).status, exit_status::usage);
}

TEST(Compile, ADocumentThatCannotBeReadEndsWithStatus4NamingIt) {
    scenario_folder f;
    const std::string missing = f.dir.file("Prova_T 2-.txt");
    const auto r = run({"compile", f.line, missing, "-o", f.out});
    EXPECT_EQ(r.status, exit_status::file);
    EXPECT_NE(r.err.find("\"" + missing + "\""), std::string::npos) << r.err;
    EXPECT_TRUE(f.written().empty());

    const auto folder = run({"check", f.out, f.train, "--scenario", "Prova", "--json"});
    EXPECT_EQ(folder.status, exit_status::file);
    const auto json = nlohmann::ordered_json::parse(folder.out);
    EXPECT_NE(json["failure"].get<std::string>().find("it is a folder"), std::string::npos);
    EXPECT_TRUE(json["files"].empty());
}

TEST(Compile, TheOutputFolderIsMadeWithItsParentsUnlessAPartOfItIsAFile) {
    scenario_folder f;
    const std::string deep = f.out + "/made/here";
    const auto made = run({"compile", f.line, f.train, "-o", deep});
    EXPECT_EQ(made.status, exit_status::ok) << made.err;
    for (const char* name : {"Prova_linea.dat", "Prova_T 1.sim", "Prova_T 1.dat"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(deep + "/" + name)) << name;
    }

    const std::string below_a_file = f.line + "/out";
    const auto r = run({"compile", f.line, f.train, "-o", below_a_file, "--json"});
    EXPECT_EQ(r.status, exit_status::file);
    const auto json = nlohmann::ordered_json::parse(r.out);
    EXPECT_TRUE(json["files"].empty());
    const std::string why =
        "cannot make the folder \"" + below_a_file + "\": \"" + f.line + "\" is a file, not a folder";
    EXPECT_EQ(json["failure"].get<std::string>(), why);
    EXPECT_EQ(r.err, "scenario: " + why + "\n");
}

TEST(Compile, UsageErrorsNameTheBadArgument) {
    scenario_folder f;
    const auto odd = run({"compile", f.dir.file("line.txt"), f.train});
    EXPECT_EQ(odd.status, exit_status::usage);
    EXPECT_NE(odd.err.find("cannot take the scenario name from \"line.txt\""), std::string::npos);
    EXPECT_NE(odd.err.find("--scenario NAME"), std::string::npos);
    EXPECT_EQ(odd.out, "");

    const auto extra = run({"compile", f.line, f.train, "third"});
    EXPECT_EQ(extra.status, exit_status::usage);
    EXPECT_EQ(extra.err.rfind("scenario compile: unexpected argument \"third\"\n", 0), 0u);
}

TEST(Compile, AnElementInCellOneIsFatalAndWritesNothing) {
    // An indicator board at position 0 takes cell 1's first value.
    scenario_folder f(
        "[generale]\r\nlunghezza percorso, 10000\r\n[cartelli]\r\n"
        "cartello_indicatore, 0, INIZIO\r\n[fine]\r\n");
    const auto r = run({"compile", f.line, f.train, "-o", f.out, "--json"});
    EXPECT_EQ(r.status, exit_status::fatal);
    const auto json = nlohmann::ordered_json::parse(r.out);
    EXPECT_EQ(json["fatal"].get<double>(), 1250);
    EXPECT_TRUE(json["files"].empty());
    EXPECT_TRUE(f.written().empty());
    const auto human = run({"compile", f.line, f.train, "-o", f.out});
    EXPECT_NE(human.err.find("scenario: fatal error 1250: "), std::string::npos) << human.err;
}

TEST(Compile, ATextTheHeaderFileCannotHoldStopsCheckAndCompileBeforeAnyFile) {
    // 65536 bytes: one more than the header file's 16-bit length holds.
    const std::string name(65536, 'X');
    scenario_folder f(line_document,
                      "[generale]\r\nstazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, " + name +
                          "\r\n" + train_values + "[fine]\r\n");
    for (const char* command : {"check", "compile"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> args{command, f.line, f.train, "--json"};
        if (std::string(command) == "compile") {
            args.insert(args.end(), {"-o", f.out});
        }
        const auto r = run(args);
        EXPECT_EQ(r.status, exit_status::scenario_error) << r.err;
        const auto json = nlohmann::ordered_json::parse(r.out);
        EXPECT_EQ(json["error"].get<double>(), 0) << "the compiler itself stores no error";
        EXPECT_TRUE(json["files"].empty());
        ASSERT_EQ(json["diagnostics"].size(), 1u);
        const auto& d = json["diagnostics"][0];
        EXPECT_TRUE(d["error"].is_null());
        EXPECT_EQ(d["line"].get<double>(), 2);
        EXPECT_EQ(d["column"].get<double>(), 58);
        EXPECT_NE(d["message"].get<std::string>().find("the station name is 65536 bytes long"),
                  std::string::npos);
        EXPECT_TRUE(f.written().empty());
    }
    // A scenario name the tool was given has no line.
    scenario_folder g;
    const auto r =
        run({"compile", g.line, g.train, "--scenario", name, "--train", "T 1", "-o", g.out});
    EXPECT_EQ(r.status, exit_status::scenario_error);
    EXPECT_EQ(r.err.rfind("scenario: error: the scenario name is 65536 bytes long", 0), 0u) << r.err;
    EXPECT_TRUE(g.written().empty());
}

}  // namespace
}  // namespace scenario::cli
