// The manual pages made from the command table: roff escaping worked out by hand, a
// page and a manual entry for every command, a synopsis that says what the help's usage
// line says, and a version that is the changelog's latest release.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "cli/command_table.hpp"
#include "cli/manual.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

TEST(Manual, TextIsEscapedForRoff) {
    const struct {
        const char* text;
        const char* roff;
    } cases[] = {
        // A hyphen is a minus sign where it is typed, a hyphen between letters.
        {"-o DIR", "\\-o DIR"},
        {"a built-in scenario", "a built-in scenario"},
        {"--input-encoding utf-8", "\\-\\-input\\-encoding utf\\-8"},
        {"(-Wno-NAME)", "(\\-Wno\\-NAME)"},
        {"\"--force\"", "\\(dq\\-\\-force\\(dq"},
        {"Windows-1252, bis-.txt, -5", "Windows\\-1252, bis\\-.txt, \\-5"},
        // Escapes, quotes, a control character at the start of a line only.
        {"a\\b", "a\\eb"},
        {".dat and 'x' and .sim", "\\&.dat and \\(aqx\\(aq and .sim"},
        {"'quoted", "\\&\\(aqquoted"},
        {"one\n.two", "one\n\\&.two"},
        // Beyond ASCII: the code point; a byte that is not UTF-8 the replacement character.
        {"citt\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x98\x80", "citt\\[u00E0] \\[u20AC] \\[u1F600]"},
        {"x\xFFy", "x\\[uFFFD]y"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roff_text(c.text), c.roff) << c.text;
    }
    EXPECT_EQ(roff_prose("`scenario fmt` writes *Read as* per **Fields.** field"),
              "\\fBscenario fmt\\fR writes \\fIRead as\\fR per \\fBFields.\\fR field");
    EXPECT_EQ(roff_prose("`a*b` *c*"), "\\fBa*b\\fR \\fIc\\fR");
    EXPECT_EQ(roff_text("`a*b`"), "`a*b`");
}

TEST(Manual, EveryCommandHasAManualEntryAndAPage) {
    const std::vector<manual_page> pages = manual_pages("scenario 9.9.9");
    ASSERT_EQ(pages.size(), commands().size() + 3);
    EXPECT_EQ(pages.front().name, "scenario");
    EXPECT_EQ(pages[pages.size() - 2].name, "genera_scenario");
    EXPECT_EQ(pages.back().name, "scenario-documents");
    EXPECT_EQ(pages.back().section, 5);
    EXPECT_EQ(command_manuals().size(), commands().size());
    for (std::size_t i = 0; i < commands().size(); ++i) {
        const command_spec& c = commands()[i];
        EXPECT_NE(find_command_manual(c.name), nullptr)
            << "src/cli/command_manual.cpp has no entry for " << c.name;
        EXPECT_EQ(pages[i + 1].name, std::string("scenario-") + c.name);
        EXPECT_EQ(pages[i + 1].section, 1);
    }
    for (const manual_page& p : pages) {
        EXPECT_NE(p.text.find("\" \"scenario 9.9.9\" "), std::string::npos) << p.name;
    }
}

// The words of a page's synopsis (.SY to .YS) without their fonts.
std::string synopsis_words(const std::string& page) {
    const std::size_t start = page.find(".SY \"");
    const std::size_t end = page.find("\n.YS", start);
    if (start == std::string::npos || end == std::string::npos) {
        return "";
    }
    std::string text = page.substr(start + 5, end - start - 5);
    text = std::regex_replace(text, std::regex("\"\n"), " ");
    text = std::regex_replace(text, std::regex("\\\\f[BIR]"), "");
    text = std::regex_replace(text, std::regex("\\\\-"), "-");
    text = std::regex_replace(text, std::regex("\\\\ "), " ");
    return std::regex_replace(text, std::regex("\n"), " ");
}

TEST(Manual, SynopsisSaysWhatTheUsageLineSays) {
    const std::vector<manual_page> pages = manual_pages("v");
    ASSERT_EQ(pages.size(), commands().size() + 3);
    for (std::size_t i = 0; i < commands().size(); ++i) {
        EXPECT_EQ(synopsis_words(pages[i + 1].text), usage_line(commands()[i]));
    }
}

TEST(Manual, VersionIsTheChangelogsLatestRelease) {
    const auto changelog = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
                           "CHANGELOG.md";
    const std::string text = testing::read_bytes(changelog.string());
    std::smatch release;
    ASSERT_TRUE(std::regex_search(text, release, std::regex("\n## \\[([0-9]+\\.[0-9]+\\.[0-9]+)\\]")))
        << changelog;
    const auto version = scenario::testing::run({"--version"});
    EXPECT_TRUE(version.out == "scenario " + release[1].str() + "\n" ||
                version.out.starts_with("scenario " + release[1].str() + " (git "))
        << version.out;
}

}  // namespace
}  // namespace scenario::cli
