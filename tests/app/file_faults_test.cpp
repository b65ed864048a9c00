// What the generator does when the file system refuses it: a clear message naming the
// file, a non-zero status, earlier files intact and no half-written file anywhere.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/fake_platform.hpp"
#include "app/run_sequence.hpp"
#include "files/file_error.hpp"
#include "model/file_names.hpp"
#include "support/file_size_limit.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

using testing::fake_platform;
using testing::read_bytes;
using testing::temp_folder;
using testing::write_bytes;
namespace fs = std::filesystem;

const std::string s = "Vessana_Pralbo";
const std::string t = "5 bis";

TEST(GeneratorFileFaults, AnOwnFolderTheSystemCannotTellEndsTheRunWithStatusTwo) {
    struct lost_platform : fake_platform {
        lost_platform() : fake_platform("") {}
        std::string own_folder() override {
            throw file_error("", "gone", "cannot find the program's own folder");
        }
    } sistema;
    EXPECT_EQ(Form_Load(sistema), 2);
    EXPECT_EQ(sistema.failures, std::vector<std::string>{"cannot find the program's own folder"});
    EXPECT_TRUE(sistema.messages.empty());
}

TEST(GeneratorFileFaults, AnOwnFolderThatCannotHoldFilesEndsTheRunNamingTheFirstDocument) {
    temp_folder dir;
    const std::string not_a_folder = dir.file("plain file");
    write_bytes(not_a_folder, "x");
    fake_platform sistema(not_a_folder);
    EXPECT_NE(Form_Load(sistema), 0);
    ASSERT_EQ(sistema.failures.size(), 1u);
    EXPECT_NE(
        sistema.failures[0].find(not_a_folder + sistema.separator() + nome_documento_linea(s)),
        std::string::npos)
        << sistema.failures[0];
    EXPECT_EQ(read_bytes(not_a_folder), "x");
}

#ifndef _WIN32
std::vector<std::string> listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(GeneratorFileFaults, ADiskThatFillsUpInTheLinePlanLeavesEveryEarlierFileWhole) {
    temp_folder dir;
    const std::string header = dir.file(nome_file_intestazione(s, t));
    const std::string grid = dir.file(nome_file_griglia(s, t));
    write_bytes(header, "old header");
    write_bytes(grid, "old grid");
    // The documents are a few kilobytes; the line plan file is 1409982 bytes.
    const int status = testing::run_with_file_size_limit(1 << 20, [&] {
        fake_platform sistema(dir.str());
        const int result = Form_Load(sistema);
        return result != 0 && sistema.failures.size() == 1 &&
                       sistema.failures[0].find(nome_file_tracciato(s)) != std::string::npos
                   ? 42
                   : 1;
    });
    EXPECT_EQ(status, 42) << "the run must fail naming the line plan file";
    EXPECT_EQ(
        listing(dir.str()),
        (std::vector<std::string>{nome_file_griglia(s, t), nome_file_intestazione(s, t),
                                  nome_note(s, t), nome_rallentamenti(s, t), nome_scheda(s, t)}));
    EXPECT_EQ(read_bytes(header), "old header");
    EXPECT_EQ(read_bytes(grid), "old grid");
    EXPECT_EQ(fs::file_size(dir.file(nome_scheda(s, t))), 3308u);
}
#endif

}  // namespace
}  // namespace scenario
