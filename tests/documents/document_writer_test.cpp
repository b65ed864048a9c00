#include "documents/document_writer.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_error.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::temp_folder;
using testing::write_bytes;

TEST(DocumentWriter, EndsEveryLineWithCrLfAndKeepsBlanksAndBytes) {
    temp_folder dir;
    const fs::path file = fs::path(dir.str()) / "doc.txt";
    const std::vector<std::string_view> righe = {"abc,    1", "", "  trailing  ", "\xE8\xF2\xF9"};
    write_document(file.string(), righe);
    EXPECT_EQ(read_bytes(file.string()), "abc,    1\r\n\r\n  trailing  \r\n\xE8\xF2\xF9\r\n");
}

TEST(DocumentWriter, EmptyListOrMarkerFirstGivesAnEmptyFile) {
    temp_folder dir;
    const fs::path folder = dir.str();
    write_document((folder / "a.txt").string(), {});
    const std::vector<std::string_view> solo_marcatore = {end_marker, "never"};
    write_document((folder / "b.txt").string(), solo_marcatore);
    for (const char* name : {"a.txt", "b.txt"}) {
        ASSERT_TRUE(fs::is_regular_file(folder / name)) << name;
        EXPECT_EQ(fs::file_size(folder / name), 0U) << name;
    }
}

TEST(DocumentWriter, StopsAtTheExactEndMarkerAndNeverWritesIt) {
    const std::vector<std::string_view> righe = {
        "uno", "Riferimento fine del file", "riferimento fine del file ", end_marker, "dopo"};
    EXPECT_EQ(document_bytes(righe),
              "uno\r\nRiferimento fine del file\r\nriferimento fine del file \r\n");
    EXPECT_EQ(lines_to_write(righe).size(), 3U);
}

TEST(DocumentWriter, ReplacesAnOlderLongerDocumentWhole) {
    temp_folder dir;
    const fs::path file = fs::path(dir.str()) / "doc.txt";
    write_bytes(file.string(), std::string(5000, 'x') + "\r\n");
    const std::vector<std::string_view> righe = {"[fine]"};
    write_document(file.string(), righe);
    EXPECT_EQ(read_bytes(file.string()), "[fine]\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 1)
        << "no temporary file is left behind";
}

TEST(DocumentWriter, AcceptsAThousandLinesAndRefusesMoreBeforeTouchingTheFile) {
    temp_folder dir;
    const fs::path file = fs::path(dir.str()) / "doc.txt";
    std::vector<std::string_view> righe(max_lines, "r");
    righe.push_back(end_marker);  // a full list: 1000 lines and the marker
    write_document(file.string(), righe);
    EXPECT_EQ(fs::file_size(file), 3 * max_lines);

    righe.back() = "one too many";
    EXPECT_THROW(write_document(file.string(), righe), file_error);
    EXPECT_EQ(fs::file_size(file), 3 * max_lines) << "the older document is untouched";
}

TEST(DocumentWriter, RefusesALineHoldingItsOwnLineEnd) {
    for (const std::string_view cattiva : {"a\nb", "a\r", "\r\n"}) {
        const std::vector<std::string_view> righe = {"ok", cattiva};
        EXPECT_THROW(document_bytes(righe), file_error) << cattiva;
    }
}

TEST(DocumentWriter, FailuresNameTheFileAndLeaveTheOldContent) {
    temp_folder dir;
    const fs::path folder = dir.str();
    const std::vector<std::string_view> righe = {"nuovo"};

    const fs::path missing = folder / "no_such_folder" / "doc.txt";
    try {
        write_document(missing.string(), righe);
        FAIL() << "a missing folder must fail";
    } catch (const file_error& e) {
        EXPECT_EQ(e.path(), missing.string());
        EXPECT_FALSE(e.reason().empty());
    }

    const fs::path locked = folder / "locked.txt";
    write_bytes(locked.string(), "vecchio\r\n");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_THROW(write_document(locked.string(), righe), file_error);
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(read_bytes(locked.string()), "vecchio\r\n");
}

}  // namespace
}  // namespace scenario
