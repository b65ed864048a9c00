#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/platform.hpp"
#include "app/run_sequence.hpp"
#include "model/file_names.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::temp_folder;

class folder_platform : public platform {
  public:
    explicit folder_platform(fs::path folder) : folder_(std::move(folder)) {}
    std::string own_folder() override { return folder_.string(); }
    char separator() const override { return static_cast<char>(fs::path::preferred_separator); }
    void show_window(std::string_view) override {}
    void message_box(std::string_view prompt) override { messages += prompt; }
    void report_failure(std::string_view message) override { failures += message; }
    std::string messages;
    std::string failures;

  protected:
    void end(int status) override {
        throw std::runtime_error("ended with status " + std::to_string(status));
    }

  private:
    fs::path folder_;
};

TEST(RunDocuments, TheRunLeavesTheDriverDocumentsInItsFolder) {
    temp_folder dir;
    const fs::path folder = dir.str();
    folder_platform sistema(folder);
    EXPECT_EQ(Form_Load(sistema), 0);
    EXPECT_EQ(sistema.failures, "");
    const std::string s = "Vessana_Pralbo";
    const std::string t = "5 bis";
    EXPECT_EQ(fs::file_size(folder / nome_note(s, t)), 712U);
    EXPECT_EQ(fs::file_size(folder / nome_rallentamenti(s, t)), 3285U);
    EXPECT_EQ(fs::file_size(folder / nome_scheda(s, t)), 3308U);
}

TEST(RunDocuments, ADocumentThatCannotBeWrittenEndsTheRunBeforeTheCompiler) {
    temp_folder dir;
    const fs::path folder = dir.str();
    const std::string s = "Vessana_Pralbo";
    const std::string t = "5 bis";
    fs::create_directory(folder / nome_scheda(s, t));  // the last document cannot replace it
    folder_platform sistema(folder);
    EXPECT_NE(Form_Load(sistema), 0);
    EXPECT_NE(sistema.failures.find(nome_scheda(s, t)), std::string::npos) << sistema.failures;
    EXPECT_TRUE(fs::is_regular_file(folder / nome_rallentamenti(s, t)));
    EXPECT_FALSE(fs::exists(folder / nome_file_intestazione(s, t)));
}

}  // namespace
}  // namespace scenario
