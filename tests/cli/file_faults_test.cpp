// What `scenario compile` does when the file system refuses it: status 4, a message
// naming the file and the reason, earlier files whole and nothing half-written.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/exit_status.hpp"
#include <nlohmann/json.hpp>
#include "support/file_faults.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;
namespace fs = std::filesystem;

struct built_in {
    temp_folder dir;
    std::string line = dir.file("Vessana_Pralbo_linea.txt");
    std::string train = dir.file("Vessana_Pralbo_5 bis-.txt");
    std::string out = dir.file("out");
    built_in() {
        EXPECT_EQ(run({"example", "-o", dir.str()}).status, 0);
        fs::create_directory(out);
    }
    std::string output(const std::string& name) const { return (fs::path(out) / name).string(); }
    std::vector<std::string> written() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(out)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

// A fault at any one of the three files: every old file stays byte for byte, nothing
// temporary is left, and nothing is reported as written.
TEST(CompileFileFaults, AFaultAtAnyFileLeavesEveryOldFileAsItWas) {
    const std::vector<std::string> files = {
        "Vessana_Pralbo_linea.dat", "Vessana_Pralbo_5 bis.sim", "Vessana_Pralbo_5 bis.dat"};
    for (const testing::file_fault f : testing::file_faults()) {
        for (const std::string& faulty : files) {
            SCOPED_TRACE(std::string(testing::fault_name(f)) + " at " + faulty);
            built_in b;
            for (const std::string& name : files) {
                write_bytes(b.output(name), "old " + name);
            }
            testing::inject(f, b.output(faulty));
            auto before = testing::folder_contents(b.out);
            before.erase(faulty + ".partial");  // a temporary name must be gone again
            const auto r = run({"compile", b.line, b.train, "-o", b.out, "--json"});
            testing::clear(f, b.output(faulty));
            EXPECT_EQ(r.status, exit_status::file);
            const auto json = nlohmann::ordered_json::parse(r.out);
            EXPECT_TRUE(json["files"].empty());
            EXPECT_NE(json["failure"].get<std::string>().find(b.output(faulty)),
                      std::string::npos)
                << json["failure"];
            EXPECT_EQ(testing::folder_contents(b.out), before);
        }
    }
}

TEST(CompileFileFaults, ANameAFileCannotHoldIsRefusedBeforeAnythingIsWritten) {
    built_in b;
    const auto r = run({"compile", b.line, b.train, "-o", b.out, "--train", "5/bis"});
    EXPECT_EQ(r.status, exit_status::usage);
    EXPECT_NE(r.err.find("--train"), std::string::npos) << r.err;
    EXPECT_TRUE(b.written().empty());
}

}  // namespace
}  // namespace scenario::cli
