#include "cli/tool_store.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

TEST(ToolStore, ServesTheGivenFileUnderTheExpectedNameAndNeverDeletes) {
    temp_folder dir;
    const std::string path = dir.file("my line.txt");
    write_bytes(path, "[generale]\r\n");
    tool_store store;
    EXPECT_EQ(store.give("S_linea.txt", path), "");
    EXPECT_TRUE(store.exists("S_linea.txt"));
    EXPECT_FALSE(store.exists("my line.txt"));
    EXPECT_FALSE(store.exists(""));
    EXPECT_EQ(store.read("S_linea.txt"), "[generale]\r\n");
    EXPECT_EQ(store.read("S_T-.txt"), std::nullopt);
    EXPECT_EQ(store.path_of("S_linea.txt"), path);
    EXPECT_EQ(store.path_of("other"), "other");
    store.remove("S_linea.txt");
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(store.exists("S_linea.txt")) << "the compile may ask again";
}

TEST(ToolStore, RefusesMissingFilesFoldersAndHugeFilesNamingThem) {
    temp_folder dir;
    tool_store store;
    const std::string missing = dir.file("none.txt");
    std::string why = store.give("a", missing);
    EXPECT_NE(why.find("\"" + missing + "\""), std::string::npos) << why;
    EXPECT_NE(why.find("No such file"), std::string::npos) << why;

    why = store.give("a", dir.str());
    EXPECT_NE(why.find("it is a folder"), std::string::npos) << why;

    const std::string huge = dir.file("huge.txt");
    write_bytes(huge, "");
    std::filesystem::resize_file(huge, largest_document + 1);  // sparse: costs no disk
    why = store.give("a", huge);
    EXPECT_NE(why.find("67108865 bytes long, more than the 64 MiB"), std::string::npos) << why;
    EXPECT_FALSE(store.exists("a"));

    const std::string just = dir.file("just.txt");
    write_bytes(just, "");
    std::filesystem::resize_file(just, largest_document);
    EXPECT_EQ(store.give("b", just), "");
    EXPECT_EQ(store.read("b")->size(), largest_document);
}

}  // namespace
}  // namespace scenario::cli
