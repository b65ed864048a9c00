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
    EXPECT_FALSE(is_path_separator(cartella.back())) << cartella;
    EXPECT_TRUE(fs::path(cartella).is_absolute()) << cartella;
    // The run builds every path this way: folder, one separator, file name.
    EXPECT_TRUE(is_regular_file(path_in(cartella, nome_programma))) << cartella;
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
    // without a display the run goes on without a window. The console platform shows
    // the label on standard error.
    auto sistema = make_platform();
#ifdef _WIN32
    EXPECT_NO_THROW(sistema->show_window("Attendere"));
    EXPECT_NO_THROW(sistema->show_window("Attendere"));
#else
    ::testing::internal::CaptureStderr();
    sistema->show_window("Attendere");
    sistema->show_window("Attendere");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Attendere\nAttendere\n");
#endif
}

}  // namespace
}  // namespace scenario
