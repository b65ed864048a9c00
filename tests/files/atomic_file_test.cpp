#include "files/atomic_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/file_error.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

using testing::read_bytes;
using testing::temp_folder;
using testing::write_bytes;
namespace fs = std::filesystem;

TEST(AtomicFile, ALongerOldFileIsReplacedWhole) {
    temp_folder dir;
    const std::string path = dir.file("grid.dat");
    write_bytes(path, std::string(5000, 'x'));
    replace_file(path, "new");
    EXPECT_EQ(read_bytes(path), "new");
}

TEST(AtomicFile, NothingIsLeftBehindButTheFinalFile) {
    temp_folder dir;
    replace_file(dir.file("a.sim"), "abc");
    replace_file(dir.file("empty.txt"), "");
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.str())) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.sim", "empty.txt"}));
    EXPECT_EQ(fs::file_size(dir.file("empty.txt")), 0u);
}

TEST(AtomicFile, AnUncommittedWriteLeavesTheOldFileAsItWas) {
    temp_folder dir;
    const std::string path = dir.file("header.sim");
    write_bytes(path, "old content");
    {
        atomic_file f(path);
        f.write("half of the new");
        // destroyed without commit, as when an encoder throws
    }
    EXPECT_EQ(read_bytes(path), "old content");
    EXPECT_FALSE(fs::exists(path + ".partial"));
}

TEST(AtomicFile, AReadOnlyFileIsNotReplacedAndTheErrorNamesIt) {
    temp_folder dir;
    const std::string path = dir.file("plan.dat");
    write_bytes(path, "keep me");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        replace_file(path, "new");
        FAIL() << "a read-only file was replaced";
    } catch (const file_error& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos);
    }
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(read_bytes(path), "keep me");
}

TEST(AtomicFile, AMissingFolderFailsWithTheOperatingSystemsReason) {
    temp_folder dir;
    const std::string path = dir.file("no-such-folder") + "/x.sim";
    try {
        replace_file(path, "x");
        FAIL();
    } catch (const file_error& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_FALSE(e.reason().empty());
    }
}

TEST(AtomicFile, ARenameThatFailsHalfWayPutsBackTheFilesAlreadyReplaced) {
    temp_folder dir;
    const std::string a = dir.file("a.sim");
    const std::string b = dir.file("b.dat");
    write_bytes(a, "old a");
    write_bytes(b, "old b");
    {
        atomic_file new_a(a);
        atomic_file new_b(b);
        new_a.write("new a");
        new_b.write("new b");
        // The old b cannot be set aside: a folder holds its "previous" name.
        fs::create_directories(b + ".previous/inside");
        EXPECT_THROW(commit_all({&new_a, &new_b}), file_error);
    }
    EXPECT_EQ(read_bytes(a), "old a");
    EXPECT_EQ(read_bytes(b), "old b");
    EXPECT_FALSE(fs::exists(a + ".previous"));
    EXPECT_FALSE(fs::exists(a + ".partial"));
    EXPECT_FALSE(fs::exists(b + ".partial"));

    fs::remove_all(b + ".previous");
    {
        atomic_file new_a(a);
        atomic_file new_b(b);
        new_a.write("new a");
        new_b.write("new b");
        commit_all({&new_a, &new_b});
    }
    EXPECT_EQ(read_bytes(a), "new a");
    EXPECT_EQ(read_bytes(b), "new b");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.str()), {}), 2);
}

}  // namespace
}  // namespace scenario
