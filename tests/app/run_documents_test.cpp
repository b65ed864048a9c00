#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/fake_platform.hpp"
#include "app/run_sequence.hpp"
#include "model/file_names.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::fake_platform;
using testing::temp_folder;

TEST(RunDocuments, TheRunLeavesTheDriverDocumentsInItsFolder) {
    temp_folder dir;
    const fs::path folder = dir.str();
    fake_platform sistema(folder.string());
    EXPECT_EQ(Form_Load(sistema), 0);
    EXPECT_TRUE(sistema.failures.empty());
    const std::string s = "Vessana_Pralbo";
    const std::string t = "5 bis";
    EXPECT_EQ(fs::file_size(folder / nome_note(s, t)), 751U);
    EXPECT_EQ(fs::file_size(folder / nome_rallentamenti(s, t)), 3285U);
    EXPECT_EQ(fs::file_size(folder / nome_scheda(s, t)), 3308U);
}

TEST(RunDocuments, ADocumentThatCannotBeWrittenEndsTheRunBeforeTheCompiler) {
    temp_folder dir;
    const fs::path folder = dir.str();
    const std::string s = "Vessana_Pralbo";
    const std::string t = "5 bis";
    fs::create_directory(folder / nome_scheda(s, t));  // the last document cannot replace it
    fake_platform sistema(folder.string());
    EXPECT_NE(Form_Load(sistema), 0);
    ASSERT_EQ(sistema.failures.size(), 1u);
    EXPECT_NE(sistema.failures[0].find(nome_scheda(s, t)), std::string::npos)
        << sistema.failures[0];
    EXPECT_TRUE(fs::is_regular_file(folder / nome_rallentamenti(s, t)));
    EXPECT_FALSE(fs::exists(folder / nome_file_intestazione(s, t)));
}

}  // namespace
}  // namespace scenario
