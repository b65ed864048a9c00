// scenario fmt replacing files in place (the golden cases under golden/fmt print instead).
#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::read_bytes;
using scenario::testing::run;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

// A file is replaced by its laid-out text (LF line ends become CR LF, the last line
// without a break stays so); one already laid out is left alone and not named; a file
// that cannot be read is named, the others are still done, and the status is 4.
TEST(FmtCommand, ReplacesOnlyTheFilesNotLaidOut) {
    temp_folder folder;
    const std::string messy = folder.file("Prova_linea.txt");
    const std::string tidy = folder.file("Prova_T1-.txt");
    write_bytes(messy, "[generale]\nlunghezza percorso ,\t10000 \n[fine]");
    write_bytes(tidy, "[generale]\r\nsabbia,    300\r\n");

    auto r = run({"fmt", messy, folder.file("Nessuno_linea.txt"), tidy});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(read_bytes(messy), "[generale]\r\nlunghezza percorso,    10000\r\n[fine]");
    EXPECT_EQ(read_bytes(tidy), "[generale]\r\nsabbia,    300\r\n");
    EXPECT_EQ(r.err.find("scenario: formatted \"" + messy + "\"\nscenario: cannot read \"" +
                         folder.file("Nessuno_linea.txt") + "\""),
              0u)
        << r.err;
    EXPECT_EQ(r.err.find(tidy), std::string::npos);

    r = run({"fmt", messy, tidy});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

TEST(FmtCommand, UsageErrors) {
    EXPECT_EQ(run({"fmt"}).status, 2);
    EXPECT_EQ(run({"fmt", "--check", "--stdout", "a_linea.txt"}).status, 2);
    EXPECT_EQ(run({"fmt", "--input-encoding", "latin-9", "a_linea.txt"}).status, 2);
}

}  // namespace
}  // namespace scenario::cli
