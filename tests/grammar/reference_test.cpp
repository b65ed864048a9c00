// docs/documents.md is the reference the description renders, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "grammar/grammar.hpp"
#include "support/temp_folder.hpp"
#include "text/windows1252.hpp"

namespace scenario {
namespace {

TEST(Reference, DocumentsPageIsWhatTheDescriptionRenders) {
    const auto page = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
                      "docs" / "documents.md";
    const std::string written = testing::read_bytes(page.string());
    ASSERT_FALSE(written.empty()) << page;
    EXPECT_TRUE(written == reference_markdown(windows1252_to_utf8))
        << "docs/documents.md differs from the description in src/grammar/; make it again "
           "with\n  scenario help documents > docs/documents.md";
}

}  // namespace
}  // namespace scenario
