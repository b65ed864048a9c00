#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace scenario::testing {

// An empty folder of the test's own under SCENARIO_TEST_TMP (the system's temporary
// folder when the variable is not set), created afresh for every test.
inline std::filesystem::path scratch_folder() {
    const char* base = std::getenv("SCENARIO_TEST_TMP");
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = base != nullptr && *base != '\0'
                                       ? std::filesystem::path(base)
                                       : std::filesystem::temp_directory_path() / "scenario_tests";
    folder /= std::string("documents_") + test->test_suite_name() + "_" + test->name();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace scenario::testing
