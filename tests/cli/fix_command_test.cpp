// scenario fix writing the documents (the golden cases under golden/fix show what it
// prints): line ends, the last line without one, and faults that stop the writing.
#include <gtest/gtest.h>

#include <string>

#include "support/file_faults.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

const std::string line_text =
    "[generale]\nlunghezza percorso, 10000\r\n[curve]\ncurvs4, 900, 100\n[fine]";
const std::string train_text =
    "[generale]\r\nnumero vetture, 12\npercentuale massa frenata, 125\nsabbia, 300\nsabbia, "
    "200\r\nstazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, VESSANA\n[fine]";

// Only the fixed bytes change: every other line keeps its end (LF or CR LF), a removed
// line goes with its own, and the last line stays without one.
TEST(FixCommand, EveryLineKeepsItsEnd) {
    temp_folder folder;
    const std::string line = folder.file("Prova_linea.txt");
    const std::string train = folder.file("Prova_T1-.txt");
    write_bytes(line, line_text);
    write_bytes(train, train_text);
    const auto r = run({"fix", line, train});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_bytes(line),
              "[generale]\nlunghezza percorso, 10000\r\n[curve]\ncurvas4, 900, 100\n[fine]");
    EXPECT_EQ(read_bytes(train),
              "[generale]\r\nnumero vetture, 12\npercentuale massa frenata, 125\nsabbia, "
              "200\r\nstazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, VESSANA\n[fine]");
    EXPECT_EQ(r.out, line + ":4: write \"curvas4\" for \"curvs4\"\n" + train +
                         ":4: remove this line, whose value the later one replaces\n");
}

// A document that cannot be replaced: status 4, and neither document changes.
TEST(FixCommand, AFaultAtEitherDocumentLeavesBothAsTheyWere) {
    for (const auto fault : scenario::testing::file_faults()) {
        if (fault == scenario::testing::file_fault::folder) {
            continue;  // a folder in a document's place is a document that cannot be read
        }
        for (const bool at_line : {true, false}) {
            SCOPED_TRACE(std::string(scenario::testing::fault_name(fault)) +
                         (at_line ? " at the line document" : " at the train document"));
            temp_folder folder;
            const std::string line = folder.file("Prova_linea.txt");
            const std::string train = folder.file("Prova_T1-.txt");
            write_bytes(line, line_text);
            write_bytes(train, train_text);
            scenario::testing::inject(fault, at_line ? line : train);
            const auto r = run({"fix", line, train});
            EXPECT_EQ(r.status, 4) << r.err;
            EXPECT_EQ(read_bytes(line), line_text);
            EXPECT_EQ(read_bytes(train), train_text);
            scenario::testing::clear(fault, at_line ? line : train);
        }
    }
}

TEST(FixCommand, UsageErrors) {
    EXPECT_EQ(run({"fix"}).status, 2);
    EXPECT_EQ(run({"fix", "a_linea.txt"}).status, 2);
    EXPECT_EQ(run({"fix", "-Wno-nothing", "a_linea.txt", "a_T-.txt"}).status, 2);
    EXPECT_EQ(run({"fix", "--werror", "a_linea.txt", "a_T-.txt"}).status, 2);
    // Documents that are not there.
    EXPECT_EQ(run({"fix", "a_linea.txt", "a_T-.txt"}).status, 4);
}

}  // namespace
}  // namespace scenario::cli
