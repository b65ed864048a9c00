// Decompile and compile again: the documents a decompile writes must compile to the
// files it read, byte for byte, for every set of files a compile with no stored error
// writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "compiled/compiled_scenario.hpp"
#include "decompile/decompile.hpp"
#include "documents/built_in_documents.hpp"
#include "support/mistake_corpus.hpp"

namespace scenario {
namespace {

compiled_scenario compiled_from(const std::string& line, const std::string& train, bool plan,
                                const std::string& name = "Vessana_Pralbo",
                                const std::string& train_name = "5 bis") {
    compile_request request;
    request.scenario = name;
    request.train = train_name;
    request.line = document_source{name + "_linea.txt", line};
    request.train_document = document_source{name + "_" + train_name + "-.txt", train};
    request.plan = plan;
    return compile(request);
}

std::string differences_of(const decompiled_scenario& d) {
    std::string out;
    for (const file_difference& f : d.differences) {
        out += std::string(file_title(f.file)) + " @" + std::to_string(f.offset) + " " + f.what +
               ": " + value_text(f.stored) + " -> " + value_text(f.given) + "\n";
        if (out.size() > 4000) {
            break;
        }
    }
    for (const diagnostic& e : d.document_errors) {
        out += "document error " + std::to_string(e.number) + " " + e.message + "\n";
    }
    return out;
}

TEST(RoundTrip, BuiltInScenario) {
    const std::string line = scenario::testing::text_of(
        scenario::testing::lines_of(line_document_lines()));
    const std::string train = scenario::testing::text_of(
        scenario::testing::lines_of(train_document_lines()));
    for (const bool plan : {true, false}) {
        const compiled_scenario c = compiled_from(line, train, plan);
        ASSERT_EQ(c.state.codice_errore, 0);
        std::string bytes;
        const decompiled_scenario d = decompile(files_of(c.state, bytes));
        EXPECT_TRUE(d.exact()) << differences_of(d) << d.documents.line << d.documents.train;
        if (std::getenv("SHOW_DOCS")) { std::cout << d.documents.line << d.documents.train; }
    }
}

}  // namespace
}  // namespace scenario
