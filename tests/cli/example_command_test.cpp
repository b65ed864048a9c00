#include <gtest/gtest.h>

#include <filesystem>

#include "cli/exit_status.hpp"
#include "documents/built_in_documents.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

TEST(Example, WritesTheFiveDocumentsByteForByteIntoAFolderItMakesAndReplacesThemOnlyWithForce) {
#ifdef _WIN32
    const std::string separator = "\\";
#else
    const std::string separator = "/";
#endif
    temp_folder dir;
    const std::string folder = dir.file("made") + separator + "here";
    const auto r = run({"example", "-o", folder});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    const std::pair<const char*, line_list> documents[] = {
        {"Vessana_Pralbo_linea.txt", line_document_lines()},
        {"Vessana_Pralbo_5 bis-.txt", train_document_lines()},
        {"Vessana_Pralbo_5 bis_note.txt", notes_lines()},
        {"Vessana_Pralbo_5 bis_rallentamenti.txt", slow_order_lines()},
        {"Vessana_Pralbo_5 bis_scheda_treno.txt", timetable_lines()}};
    for (const auto& [name, righe] : documents) {
        EXPECT_EQ(read_bytes(folder + separator + name), document_bytes(righe)) << name;
        EXPECT_NE(r.err.find(std::string("\"") + name + "\""), std::string::npos) << name;
    }

    // The author edits the line document and deletes the notes: a second run names the
    // four in the way and writes nothing, not even the notes.
    const std::string line = folder + separator + "Vessana_Pralbo_linea.txt";
    const std::string notes = folder + separator + "Vessana_Pralbo_5 bis_note.txt";
    write_bytes(line, "edited\r\n");
    std::filesystem::remove(notes);
    const auto again = run({"example", "-o", folder});
    EXPECT_EQ(again.status, exit_status::file);
    for (const auto& [name, righe] : documents) {
        const bool named =
            again.err.find("\"" + folder + separator + name + "\" already exists\n") !=
            std::string::npos;
        EXPECT_EQ(named, folder + separator + name != notes) << name;
    }
    EXPECT_EQ(read_bytes(line), "edited\r\n");
    EXPECT_FALSE(std::filesystem::exists(notes));

    const auto forced = run({"example", "-o", folder, "--force"});
    EXPECT_EQ(forced.status, exit_status::ok) << forced.err;
    EXPECT_EQ(read_bytes(line), document_bytes(line_document_lines()));
}

}  // namespace
}  // namespace scenario::cli
