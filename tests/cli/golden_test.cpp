// Golden cases: each file under golden/<area>/ is one case, in sections:
//
//   # what the case shows (lines starting with "#" before the first section)
//   $ scenario ARGUMENTS          the command, arguments split at blanks ("..." keeps blanks);
//   $ scenario ARGUMENTS          several run in order, each but the last must end with
//                                 status 0 (a compile that makes the files to dump)
//   === NAME                      a document written into the case's folder, line by line,
//   ...                           each line ending in CR LF ("=== NAME (no final line
//                                 break)" leaves the last line without one)
//   === NAME (after)              what a document must hold once the commands have run
//   ...                           (a document without it must be left as it was)
//   === NAME (hex)                a binary file, written byte by byte: two hexadecimal
//   ...                           digits a byte, blanks between them, "#" to the end of a
//                                 line a comment
//   === status                    the expected exit status of the last command
//   === stdout                    its exact expected standard output (optional)
//   === stdout (CR LF)            the same, each line ending in CR LF
//   === stderr                    its exact expected standard error
//
// The commands run in a fresh folder holding the documents; each document must then hold
// its "(after)" text, or be left unchanged. SCENARIO_UPDATE_GOLDEN=1 rewrites status, stdout and stderr from what the
// tool printed, to be reviewed before it is committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "support/golden_case.hpp"
#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

namespace fs = std::filesystem;
using scenario::testing::read_bytes;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

using scenario::testing::golden_case;
using scenario::testing::golden_cases;
using scenario::testing::golden_root;
using scenario::testing::parse_case;

std::string write_case(const golden_case& c) {
    std::string text = c.head;
    std::vector<scenario::testing::golden_document> all = c.documents;
    for (const auto& a : c.after) {
        all.push_back({a.name + " (after)", a.bytes, ""});
    }
    for (const auto& [name, bytes, hex] : all) {
        if (!hex.empty()) {
            text += "=== " + name + " (hex)\n" + hex;
            continue;
        }
        const bool breaks = bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
        text += "=== " + name + (breaks || bytes.empty() ? "" : " (no final line break)") + "\n";
        std::string lines = bytes;
        for (std::size_t at = lines.find("\r\n"); at != std::string::npos;
             at = lines.find("\r\n", at)) {
            lines.erase(at, 1);
        }
        text += lines + (breaks || bytes.empty() ? "" : "\n");
    }
    for (const std::string name : {"status", "stdout", "stderr"}) {
        const auto it = c.expected.find(name);
        if (it == c.expected.end()) {
            continue;
        }
        std::string body = it->second;
        const bool crlf = name == "stdout" && c.stdout_crlf;
        for (std::size_t at = body.find("\r\n"); crlf && at != std::string::npos;
             at = body.find("\r\n", at)) {
            body.erase(at, 1);
        }
        text += "=== " + name + (crlf ? " (CR LF)" : "") + "\n" + body;
    }
    return text;
}

// Restores the working folder when the case ends.
struct working_folder {
    explicit working_folder(const std::string& to) : from(fs::current_path()) {
        fs::current_path(to);
    }
    ~working_folder() { fs::current_path(from); }
    fs::path from;
};

TEST(Golden, EveryCasePrintsExactlyWhatItExpects) {
    const bool update = std::getenv("SCENARIO_UPDATE_GOLDEN") != nullptr;
    const auto cases = golden_cases();
    EXPECT_GE(cases.size(), 6u);
    for (const fs::path& path : cases) {
        SCOPED_TRACE(fs::relative(path, golden_root).string());
        golden_case c = parse_case(read_bytes(path.string()));
        ASSERT_FALSE(c.commands.empty()) << "no \"$ scenario\" line";
        ASSERT_TRUE(c.expected.count("status") != 0 && c.expected.count("stderr") != 0);
        temp_folder folder;
        for (const auto& d : c.documents) {
            write_bytes(folder.file(d.name), d.bytes);
        }
        scenario::testing::tool_result r;
        {
            working_folder here(folder.str());
            for (const auto& args : c.commands) {
                r = scenario::testing::run(args);
                if (&args != &c.commands.back()) {
                    ASSERT_EQ(r.status, 0) << "a command before the last failed:\n" << r.err;
                }
            }
        }
        for (const auto& d : c.documents) {
            const auto after = std::find_if(c.after.begin(), c.after.end(),
                                            [&](const auto& a) { return a.name == d.name; });
            EXPECT_EQ(read_bytes(folder.file(d.name)), after != c.after.end() ? after->bytes : d.bytes)
                << d.name << (after != c.after.end() ? " is not as expected" : " was changed");
        }
        const std::string status = std::to_string(r.status) + "\n";
        if (update) {
            c.expected["status"] = status;
            c.expected["stderr"] = r.err;
            if (c.expected.count("stdout") != 0 || !r.out.empty()) {
                c.expected["stdout"] = r.out;
            }
            write_bytes(path.string(), write_case(c));
            continue;
        }
        EXPECT_EQ(status, c.expected["status"]);
        EXPECT_EQ(r.err, c.expected["stderr"]);
        EXPECT_EQ(r.out, c.expected.count("stdout") != 0 ? c.expected["stdout"] : std::string());
    }
}

}  // namespace
}  // namespace scenario::cli
