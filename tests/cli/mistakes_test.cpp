// The corpus of author mistakes (mistakes.txt): each is made from the built-in documents,
// checked with `scenario check --json`, and must be reported (by an error, a warning or
// one of their notes) at the document and line the corpus names.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "documents/built_in_documents.hpp"
#include "support/mistake_corpus.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

namespace fs = std::filesystem;
using scenario::testing::read_bytes;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

const std::string line_name = "Vessana_Pralbo_linea.txt";
const std::string train_name = "Vessana_Pralbo_5 bis-.txt";

using scenario::testing::apply;
using scenario::testing::corpus;
using scenario::testing::lines_of;
using scenario::testing::mistake;
using scenario::testing::text_of;

TEST(Mistakes, EachIsReportedAtTheDocumentAndLineWhereTheAuthorMadeIt) {
    const std::vector<mistake> list = corpus();
    ASSERT_GE(list.size(), 60u);
    std::size_t reported = 0;
    for (const mistake& m : list) {
        SCOPED_TRACE(m.name);
        std::vector<std::string> line = lines_of(line_document_lines());
        std::vector<std::string> train = lines_of(train_document_lines());
        ASSERT_TRUE(apply(m, m.document == 'L' ? line : train));
        temp_folder folder;
        const std::string line_path = folder.file(line_name);
        const std::string train_path = folder.file(train_name);
        write_bytes(line_path, text_of(m.action == "swap" ? train : line));
        write_bytes(train_path, text_of(m.action == "swap" || m.action == "same" ? line : train));

        const auto r = scenario::testing::run({"check", "--json", line_path, train_path});
        ASSERT_TRUE(r.status == 0 || r.status == 1 || r.status == 3) << r.status << r.err;
        const auto json = nlohmann::json::parse(r.out);
        const std::string want = m.expected[0] == 'L' ? line_path : train_path;
        const std::size_t colon = m.expected.find(':');
        const int want_line =
            colon == std::string::npos ? 0 : std::stoi(m.expected.substr(colon + 1));
        const auto names = [&](const nlohmann::json& place) {
            return place["document"].is_string() && place["document"] == want &&
                   (want_line == 0 || (place["line"].is_number() && place["line"] == want_line));
        };
        bool found = false;
        for (const auto& d : json["diagnostics"]) {
            found = found || names(d);
            for (const auto& n : d["notes"]) {
                found = found || names(n);
            }
        }
        EXPECT_TRUE(found) << "expected at " << m.expected << "; got "
                           << json["diagnostics"].dump();
        reported += found ? 1 : 0;
    }
    std::cout << "mistakes reported where they were made: " << reported << " of " << list.size()
              << '\n';
}

}  // namespace
}  // namespace scenario::cli
