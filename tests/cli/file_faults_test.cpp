// What `scenario compile` does when the file system refuses it: status 4, a message
// naming the file and the reason, earlier files whole and nothing half-written.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/exit_status.hpp"
#include <nlohmann/json.hpp>
#include "support/file_size_limit.hpp"
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

TEST(CompileFileFaults, AReadOnlyHeaderFileIsKeptAndTheFilesAfterItAreNotWritten) {
    built_in b;
    const std::string header = b.output("Vessana_Pralbo_5 bis.sim");
    write_bytes(header, "mine");
    fs::permissions(header, fs::perms::owner_read);
    const auto r = run({"compile", b.line, b.train, "-o", b.out, "--json"});
    fs::permissions(header, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(r.status, exit_status::file);
    const auto json = nlohmann::ordered_json::parse(r.out);
    ASSERT_EQ(json["files"].size(), 1u);
    EXPECT_EQ(json["files"][0].get<std::string>(), "Vessana_Pralbo_linea.dat");
    EXPECT_NE(json["failure"].get<std::string>().find(header), std::string::npos) << json["failure"].get<std::string>();
    EXPECT_NE(json["failure"].get<std::string>().find("read-only"), std::string::npos);
    EXPECT_EQ(read_bytes(header), "mine");
    EXPECT_EQ(b.written(),
              (std::vector<std::string>{"Vessana_Pralbo_5 bis.sim", "Vessana_Pralbo_linea.dat"}));
}

TEST(CompileFileFaults, ANameAFileCannotHoldIsRefusedBeforeAnythingIsWritten) {
    built_in b;
    const auto r = run({"compile", b.line, b.train, "-o", b.out, "--train", "5/bis"});
    EXPECT_EQ(r.status, exit_status::usage);
    EXPECT_NE(r.err.find("--train"), std::string::npos) << r.err;
    EXPECT_TRUE(b.written().empty());
}

#ifndef _WIN32
TEST(CompileFileFaults, ADiskThatFillsUpInTheMiddleOfAFileLeavesNoHalfWrittenFile) {
    built_in b;
    write_bytes(b.output("Vessana_Pralbo_linea.dat"), "old plan");
    const std::string err_path = b.dir.file("stderr.txt");
    const int status = testing::run_with_file_size_limit(1 << 20, [&] {
        const auto r = run({"compile", b.line, b.train, "-o", b.out});
        write_bytes(err_path, r.err);
        return r.status;
    });
    EXPECT_EQ(status, exit_status::file);
    const std::string err = read_bytes(err_path);
    EXPECT_NE(err.find(b.output("Vessana_Pralbo_linea.dat")), std::string::npos) << err;
    EXPECT_NE(err.find("too large"), std::string::npos) << err;
    EXPECT_EQ(b.written(), std::vector<std::string>{"Vessana_Pralbo_linea.dat"});
    EXPECT_EQ(read_bytes(b.output("Vessana_Pralbo_linea.dat")), "old plan");
}
#endif

}  // namespace
}  // namespace scenario::cli
