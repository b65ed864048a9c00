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

struct mistake {
    std::string name;
    char document = 'L';
    std::size_t line = 0;
    std::string action;
    std::string text;
    std::string expected;
};

// "\xHH" is the byte HH, "\n" a line break.
std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> split(const std::string& text, const std::string& by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at = text.find(by); at != std::string::npos; at = text.find(by, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + by.size();
    }
    parts.push_back(text.substr(from));
    return parts;
}

std::vector<mistake> corpus() {
    std::istringstream in(read_bytes((fs::path(__FILE__).parent_path() / "mistakes.txt").string()));
    std::vector<mistake> list;
    std::string row;
    while (std::getline(in, row)) {
        if (row.empty() || row[0] == '#') {
            continue;
        }
        std::vector<std::string> f = split(row, "|");
        if (f.size() != 6) {
            ADD_FAILURE() << "not six fields: " << row;
            continue;
        }
        // One blank on each side of a "|" belongs to the separator.
        for (std::string& s : f) {
            s = s.substr(s.starts_with(' ') ? 1 : 0);
            s.resize(s.size() - (s.ends_with(' ') ? 1 : 0));
        }
        list.push_back(
            {f[0], f[1][0], f[2].empty() ? 0 : std::stoul(f[2]), f[3], unescape(f[4]), f[5]});
    }
    return list;
}

std::vector<std::string> lines_of(line_list list) {
    return std::vector<std::string>(list.begin(), list.end());
}

std::string text_of(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) {
        text += l + "\r\n";
    }
    return text;
}

// Makes the mistake in the documents; false when the corpus line cannot be applied.
bool apply(const mistake& m, std::vector<std::string>& doc) {
    if (m.action == "swap" || m.action == "same") {
        return true;
    }
    if (m.line == 0 || m.line > doc.size() + 1) {
        return false;
    }
    const auto at = doc.begin() + static_cast<std::ptrdiff_t>(m.line - 1);
    if (m.action == "sub") {
        const std::vector<std::string> ab = split(m.text, "=>");
        if (ab.size() != 2 || m.line > doc.size() || at->find(ab[0]) == std::string::npos) {
            return false;
        }
        const std::string by =
            ab[1].starts_with('@') ? std::string(std::stoul(ab[1].substr(1)), 'X') : ab[1];
        at->replace(at->find(ab[0]), ab[0].size(), by);
    } else if (m.action == "replace") {
        *at = m.text;
    } else if (m.action == "insert") {
        const std::vector<std::string> rows = split(m.text, "\n");
        doc.insert(at, rows.begin(), rows.end());
    } else if (m.action == "delete") {
        doc.erase(at, at + std::stoi(m.text.empty() ? "1" : m.text));
    } else if (m.action == "truncate") {
        doc.erase(at, doc.end());
    } else {
        return false;
    }
    return true;
}

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
