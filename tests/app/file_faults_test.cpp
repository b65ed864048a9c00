// What the generator does when the file system refuses it: a clear message naming the
// file, a non-zero status, earlier files intact and no half-written file anywhere.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/fake_platform.hpp"
#include "app/run_sequence.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "model/file_names.hpp"
#include "support/file_faults.hpp"
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
        sistema.failures[0].find(path_in(not_a_folder, nome_documento_linea(s))),
        std::string::npos)
        << sistema.failures[0];
    EXPECT_EQ(read_bytes(not_a_folder), "x");
}

// A fault at any one of the three binary files: the run fails naming it, every old
// binary file stays byte for byte and nothing temporary is left.
TEST(GeneratorFileFaults, AFaultAtAnyBinaryFileLeavesEveryOldOneAsItWas) {
    const std::vector<std::string> files = {nome_file_tracciato(s), nome_file_intestazione(s, t),
                                            nome_file_griglia(s, t)};
    const auto binaries = [&](const std::string& folder) {
        auto contents = testing::folder_contents(folder);
        std::erase_if(contents, [&](const auto& entry) {
            return std::find(files.begin(), files.end(), entry.first) == files.end();
        });
        return contents;
    };
    for (const testing::file_fault f : testing::file_faults()) {
        for (const std::string& faulty : files) {
            SCOPED_TRACE(std::string(testing::fault_name(f)) + " at " + faulty);
            temp_folder dir;
            for (const std::string& name : files) {
                write_bytes(dir.file(name), "old " + name);
            }
            testing::inject(f, dir.file(faulty));
            const auto before = binaries(dir.str());
            fake_platform sistema(dir.str());
            EXPECT_NE(Form_Load(sistema), 0);
            testing::clear(f, dir.file(faulty));
            ASSERT_EQ(sistema.failures.size(), 1u);
            EXPECT_NE(sistema.failures[0].find(faulty), std::string::npos) << sistema.failures[0];
            EXPECT_EQ(binaries(dir.str()), before);
            EXPECT_FALSE(fs::is_symlink(dir.file(faulty + ".partial")));
            EXPECT_FALSE(fs::exists(dir.file(faulty + ".partial")));
            for (const std::string& name : files) {
                EXPECT_FALSE(fs::exists(dir.file(name + ".previous")));
            }
        }
    }
}

}  // namespace
}  // namespace scenario
