// No document ends `scenario render` or `scenario serve`: every mistake of the corpus
// (tests/cli/mistakes.txt) and the extremes below is drawn, by render (status 0, 1 or 3
// and the picture written) and by the live session (a drawing in its result).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/tool_runner.hpp"
#include "documents/built_in_documents.hpp"
#include "live/session.hpp"
#include "support/mistake_corpus.hpp"
#include "support/temp_folder.hpp"

namespace scenario::testing {
namespace {

struct document_pair {
    std::string name;
    std::string line;
    std::string train;
};

std::vector<document_pair> pairs() {
    const std::vector<std::string> line = lines_of(line_document_lines());
    const std::vector<std::string> train = lines_of(train_document_lines());
    std::vector<document_pair> out;
    for (const mistake& m : corpus()) {
        std::vector<std::string> l = line;
        std::vector<std::string> t = train;
        EXPECT_TRUE(apply(m, m.document == 'L' ? l : t)) << m.name;
        out.push_back({m.name, text_of(m.action == "swap" ? t : l),
                       text_of(m.action == "swap" || m.action == "same" ? l : t)});
    }
    // The longest route, all of it in the sharpest curve; and a route of one metre.
    out.push_back({"longest-route-in-one-curve",
                   "[generale]\r\nlunghezza percorso,    1000000\r\n[curve]\r\n"
                   "curvad6,  100,  999000\r\n[fine]\r\n",
                   text_of(train)});
    out.push_back({"one-metre-route",
                   "[generale]\r\nlunghezza percorso,    1\r\n[curve]\r\n[fine]\r\n",
                   text_of(train)});
    return out;
}

TEST(AnyDocument, IsDrawnByRenderAndByTheLiveSession) {
    const std::vector<document_pair> list = pairs();
    ASSERT_GE(list.size(), 60u);
    for (const document_pair& p : list) {
        SCOPED_TRACE(p.name);
        temp_folder dir;
        const std::string line = dir.file("S_linea.txt");
        const std::string train = dir.file("S_T-.txt");
        write_bytes(line, p.line);
        write_bytes(train, p.train);

        const tool_result r = run({"render", line, train, "-o", dir.file("s.svg")});
        EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == 3) << r.status << r.err;
        const std::string picture = read_bytes(dir.file("s.svg"));
        EXPECT_EQ(picture.rfind("</svg>\n"), picture.size() - 7);

        live::compile_session session({"S", "T", document_source{line, std::nullopt},
                                       document_source{train, std::nullopt}, true,
                                       text_encoding::windows_1252, {}});
        ASSERT_TRUE(session.compile());
        const nlohmann::json result = nlohmann::json::parse(*session.result());
        ASSERT_TRUE(result["drawing"].is_object()) << result.dump().substr(0, 400);
        const std::string frame = result["drawing"]["frame"]["svg"];
        EXPECT_EQ(frame.rfind("</svg>"), frame.size() - 7);
    }
}

}  // namespace
}  // namespace scenario::testing
