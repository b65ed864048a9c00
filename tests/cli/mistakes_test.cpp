// The corpus of author mistakes (mistakes.txt): each is made from the built-in documents,
// checked with `scenario check --json`, and must be reported (by an error, a warning or
// one of their notes) at the document and line the corpus names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
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
        const std::size_t equals = m.expected.find('=');
        const int want_line =
            colon == std::string::npos ? 0 : std::stoi(m.expected.substr(colon + 1));
        const std::string want_name =
            equals == std::string::npos ? std::string() : m.expected.substr(equals + 1);
        const auto names = [&](const nlohmann::json& place) {
            return place["document"].is_string() && place["document"] == want &&
                   (want_line == 0 || (place["line"].is_number() && place["line"] == want_line));
        };
        const auto called = [&](const nlohmann::json& d) {
            return want_name.empty() || d["name"] == want_name ||
                   (d["error"].is_number() && std::to_string(d["error"].get<int>()) == want_name);
        };
        bool found = false;
        for (const auto& d : json["diagnostics"]) {
            if (!called(d)) {
                continue;
            }
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

// What check says of a pair of documents: each diagnostic by its kind (severity and
// warning name or error number) and document (a fix changes a line's text, and a removed
// line moves the lines after it), and the certain fixes offered.
struct checked {
    std::multiset<std::string> said;
    std::vector<nlohmann::json> certain;  // {"name": ..., "fix": {...}}
};

std::string kind_of(const nlohmann::json& d) {
    return d["severity"].get<std::string>() + " " +
           (d["name"].is_string() ? d["name"].get<std::string>() : d["error"].dump()) + " " +
           d["document"].dump();
}

checked check_of(const std::string& line_path, const std::string& train_path) {
    const auto r = scenario::testing::run({"check", "--json", line_path, train_path});
    checked c;
    if (r.status != 0 && r.status != 1 && r.status != 3) {
        ADD_FAILURE() << "check ended with " << r.status << ": " << r.err;
        return c;
    }
    const auto json = nlohmann::json::parse(r.out);
    for (const auto& d : json["diagnostics"]) {
        c.said.insert(kind_of(d));
        for (const auto& f : d["fixes"]) {
            if (f["certain"].get<bool>()) {
                c.certain.push_back({{"name", d["name"]}, {"kind", kind_of(d)}, {"fix", f}});
            }
        }
    }
    return c;
}

// The files compile writes, name and bytes, in a fresh folder.
std::map<std::string, std::string> compiled_bytes(const std::string& line_path,
                                                  const std::string& train_path) {
    temp_folder out;
    scenario::testing::run({"compile", line_path, train_path, "-o", out.str()});
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(out.str())) {
        files[e.path().filename().string()] = read_bytes(e.path().string());
    }
    return files;
}

// The fixes that write what is stored already, or take out a line nothing read.
bool leaves_the_bytes(const nlohmann::json& fixed) {
    const std::string name = fixed["name"].is_string() ? fixed["name"].get<std::string>() : "";
    return name == "hidden-row" || name == "value-rounded" || name == "value-ignored" ||
           (name == "double-comma" && !fixed["fix"]["replacement"].get<std::string>().empty());
}

TEST(Mistakes, EveryCertainFixRemovesItsWarningAndLeavesNoNewOne) {
    std::size_t fixed = 0;
    for (const mistake& m : corpus()) {
        SCOPED_TRACE(m.name);
        std::vector<std::string> line = lines_of(line_document_lines());
        std::vector<std::string> train = lines_of(train_document_lines());
        ASSERT_TRUE(apply(m, m.document == 'L' ? line : train));
        temp_folder folder;
        const std::string line_path = folder.file(line_name);
        const std::string train_path = folder.file(train_name);
        write_bytes(line_path, text_of(m.action == "swap" ? train : line));
        write_bytes(train_path, text_of(m.action == "swap" || m.action == "same" ? line : train));
        const checked before = check_of(line_path, train_path);
        if (before.certain.empty()) {
            continue;
        }
        const auto bytes_before = compiled_bytes(line_path, train_path);
        const auto r = scenario::testing::run({"fix", line_path, train_path});
        ASSERT_EQ(r.status, 0) << r.err;
        const checked after = check_of(line_path, train_path);
        // What is said after is what was said before, less a warning of each kind fixed:
        // each fixed warning is gone and nothing new is said.
        std::multiset<std::string> expected = before.said;
        for (const auto& f : before.certain) {
            const auto it = expected.find(f["kind"].get<std::string>());
            if (it != expected.end()) {
                expected.erase(it);
            }
        }
        for (const std::string& s : after.said) {
            const auto it = expected.find(s);
            EXPECT_TRUE(it != expected.end()) << "after the fixes, one more than expected: " << s;
            if (it != expected.end()) {
                expected.erase(it);
            }
        }
        if (std::all_of(before.certain.begin(), before.certain.end(), leaves_the_bytes)) {
            EXPECT_EQ(compiled_bytes(line_path, train_path), bytes_before)
                << "the fixes changed the compiled files";
        }
        // A second run finds nothing to do.
        const std::string line_once = read_bytes(line_path);
        const std::string train_once = read_bytes(train_path);
        const auto again = scenario::testing::run({"fix", line_path, train_path});
        EXPECT_EQ(again.err, "scenario: nothing to fix with certainty\n");
        EXPECT_EQ(read_bytes(line_path), line_once);
        EXPECT_EQ(read_bytes(train_path), train_once);
        ++fixed;
    }
    EXPECT_GE(fixed, 15u);
    std::cout << "mistakes mended by scenario fix: " << fixed << '\n';
}

}  // namespace
}  // namespace scenario::cli
