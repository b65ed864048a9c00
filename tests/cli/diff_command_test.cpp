// scenario diff --json on the built-in documents and a changed copy.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "cli/exit_status.hpp"
#include "documents/built_in_documents.hpp"
#include "support/mistake_corpus.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::lines_of;
using scenario::testing::run;
using scenario::testing::temp_folder;
using scenario::testing::text_of;
using scenario::testing::write_bytes;

TEST(DiffCommand, JsonListsEachChangeWithItsElementAndPosition) {
    temp_folder folder;
    std::vector<std::string> train = lines_of(train_document_lines());
    const std::string line = text_of(lines_of(line_document_lines()));
    write_bytes(folder.file("old/Vessana_Pralbo_linea.txt"), line);
    write_bytes(folder.file("old/Vessana_Pralbo_5 bis-.txt"), text_of(train));
    // Line 20 of the train document: "velocita,   15000,   130".
    ASSERT_GE(train.size(), 20u);
    ASSERT_EQ(train[19], "velocita,   15000,   130");
    train[19] = "velocita,   15000,   120";
    write_bytes(folder.file("new/Vessana_Pralbo_linea.txt"), line);
    write_bytes(folder.file("new/Vessana_Pralbo_5 bis-.txt"), text_of(train));

    const auto r = run({"diff", folder.file("old"), folder.file("new"), "--json"});
    EXPECT_EQ(r.status, exit_status::scenario_error) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["same"], false);
    ASSERT_EQ(json["changes"].size(), 1u);
    EXPECT_EQ(json["changes"][0]["position"], 15000);
    EXPECT_EQ(json["changes"][0]["element"], "speed limit");
    EXPECT_EQ(json["changes"][0]["change"], "speed limit from 15,000 m: 130 -> 120 km/h");

    const auto same = run({"diff", folder.file("old"), folder.file("old"), "--json"});
    EXPECT_EQ(same.status, exit_status::ok);
    EXPECT_EQ(nlohmann::json::parse(same.out)["same"], true);
    EXPECT_TRUE(nlohmann::json::parse(same.out)["changes"].empty());
}

TEST(DiffCommand, SideThatCannotBeReadIsAFileFault) {
    temp_folder folder;
    write_bytes(folder.file("a/x.txt"), "nothing");
    write_bytes(folder.file("b/x.txt"), "nothing");
    const auto r = run({"diff", folder.file("a"), folder.file("b")});
    EXPECT_EQ(r.status, exit_status::file);
    EXPECT_NE(r.err.find("no header file"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace scenario::cli
