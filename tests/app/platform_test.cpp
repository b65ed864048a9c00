#include "app/platform.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/file_ops.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* nome_programma = "app_tests.exe";
#else
constexpr const char* nome_programma = "app_tests";
#endif

TEST(Platform, OwnFolderJoinedWithTheSeparatorReachesTheProgramFile) {
    auto sistema = make_platform();
    const std::string cartella = sistema->own_folder();
    ASSERT_FALSE(cartella.empty());
    EXPECT_NE(cartella.back(), sistema->separator()) << cartella;
    EXPECT_TRUE(fs::path(cartella).is_absolute()) << cartella;
    // The run builds every path this way: folder, one separator, file name.
    EXPECT_TRUE(is_regular_file(cartella + sistema->separator() + nome_programma)) << cartella;
}

TEST(Platform, OwnFolderDoesNotDependOnTheWorkingDirectory) {
    auto sistema = make_platform();
    const std::string prima = sistema->own_folder();
    const fs::path lavoro = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    const std::string dopo = sistema->own_folder();
    fs::current_path(lavoro);
    EXPECT_EQ(prima, dopo);
}

TEST(Platform, ShowingTheWindowReturnsWithoutWaitingForTheUser) {
    // Shown twice (the second replaces the first) and closed when the platform goes;
    // without a display the run goes on without a window.
    auto sistema = make_platform();
    sistema->show_window("Attendere");
    sistema->show_window("Attendere");
    SUCCEED();
}

}  // namespace
}  // namespace scenario
