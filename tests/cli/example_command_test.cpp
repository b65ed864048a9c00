#include <gtest/gtest.h>

#include "cli/exit_status.hpp"
#include "documents/built_in_documents.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::temp_folder;

TEST(Example, WritesTheFiveBuiltInDocumentsByteForByte) {
    temp_folder dir;
    const auto r = run({"example", "-o", dir.str()});
    ASSERT_EQ(r.status, exit_status::ok) << r.err;
    const std::pair<const char*, line_list> documents[] = {
        {"Vessana_Pralbo_linea.txt", line_document_lines()},
        {"Vessana_Pralbo_5 bis-.txt", train_document_lines()},
        {"Vessana_Pralbo_5 bis_note.txt", notes_lines()},
        {"Vessana_Pralbo_5 bis_rallentamenti.txt", slow_order_lines()},
        {"Vessana_Pralbo_5 bis_scheda_treno.txt", timetable_lines()}};
    for (const auto& [name, righe] : documents) {
        EXPECT_EQ(read_bytes(dir.file(name)), document_text(righe)) << name;
        EXPECT_NE(r.err.find(std::string("\"") + name + "\""), std::string::npos) << name;
    }
}

TEST(Example, AFolderThatCannotBeWrittenEndsWithStatus4) {
    temp_folder dir;
    const auto r = run({"example", "-o", dir.file("missing")});
    EXPECT_EQ(r.status, exit_status::file);
    EXPECT_NE(r.err.find(dir.file("missing")), std::string::npos) << r.err;
}

}  // namespace
}  // namespace scenario::cli
