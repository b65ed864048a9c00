// Golden cases: each file under golden/<area>/ is one case, in sections:
//
//   # what the case shows (lines starting with "#" before the first section)
//   $ scenario ARGUMENTS          the command, arguments split at blanks ("..." keeps blanks);
//   $ scenario ARGUMENTS          several run in order, each but the last must end with
//                                 status 0 (a compile that makes the files to dump)
//   === NAME                      a document written into the case's folder, line by line,
//   ...                           each line ending in CR LF ("=== NAME (no final line
//                                 break)" leaves the last line without one)
//   === NAME (hex)                a binary file, written byte by byte: two hexadecimal
//   ...                           digits a byte, blanks between them, "#" to the end of a
//                                 line a comment
//   === status                    the expected exit status of the last command
//   === stdout                    its exact expected standard output (optional)
//   === stdout (CR LF)            the same, each line ending in CR LF
//   === stderr                    its exact expected standard error
//
// The commands run in a fresh folder holding the documents; the documents must be left
// unchanged. SCENARIO_UPDATE_GOLDEN=1 rewrites status, stdout and stderr from what the
// tool printed, to be reviewed before it is committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "support/temp_folder.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

namespace fs = std::filesystem;
using scenario::testing::read_bytes;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

const fs::path golden_root = fs::path(__FILE__).parent_path() / "golden";

struct golden_document {
    std::string name;
    std::string bytes;
    std::string hex;  // a binary file's section as written, empty for a text document
};

struct golden_case {
    std::string head;  // the comment and the command lines, as written
    std::vector<std::vector<std::string>> commands;
    std::vector<golden_document> documents;
    std::map<std::string, std::string> expected;  // status, stdout, stderr
    bool stdout_crlf = false;
};

// The bytes of a hexadecimal section; a malformed one fails the test.
std::string hex_bytes(const std::string& section) {
    std::string bytes;
    std::istringstream in(section);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        for (std::string w; words >> w;) {
            EXPECT_EQ(w.size(), 2u) << "not one byte: \"" << w << "\"";
            bytes += static_cast<char>(std::stoi(w, nullptr, 16));
        }
    }
    return bytes;
}

std::vector<std::string> split_arguments(const std::string& line) {
    std::vector<std::string> args;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) {
                args.push_back(current);
            }
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) {
        args.push_back(current);
    }
    return args;
}

golden_case parse_case(const std::string& text) {
    golden_case c;
    std::istringstream in(text);
    std::string line;
    std::string section;
    bool final_break = true;
    std::string body;
    const auto finish = [&] {
        if (section.empty()) {
            return;
        }
        const std::string hex = " (hex)";
        if (section == "status" || section == "stdout" || section == "stderr") {
            c.expected[section] = body;
        } else if (section == "stdout (CR LF)") {
            c.expected["stdout"] = body;
            c.stdout_crlf = true;
        } else if (section.size() > hex.size() &&
                   section.compare(section.size() - hex.size(), hex.size(), hex) == 0) {
            c.documents.push_back(
                {section.substr(0, section.size() - hex.size()), hex_bytes(body), body});
        } else {
            if (!final_break && body.size() >= 2) {
                body.resize(body.size() - 2);
            }
            c.documents.push_back({section, body, ""});
        }
    };
    while (std::getline(in, line)) {
        if (line.rfind("=== ", 0) == 0) {
            finish();
            section = line.substr(4);
            body.clear();
            final_break = true;
            const std::string no_break = " (no final line break)";
            if (section.size() > no_break.size() &&
                section.compare(section.size() - no_break.size(), no_break.size(), no_break) == 0) {
                section.resize(section.size() - no_break.size());
                final_break = false;
            }
            continue;
        }
        if (section.empty()) {
            c.head += line + "\n";
            if (line.rfind("$ scenario ", 0) == 0) {
                c.commands.push_back(split_arguments(line.substr(11)));
            }
        } else if (section == "status" || section == "stdout" || section == "stderr" ||
                   section.find(" (hex)") != std::string::npos) {
            body += line + "\n";
        } else {
            body += line + "\r\n";
        }
    }
    finish();
    return c;
}

std::string write_case(const golden_case& c) {
    std::string text = c.head;
    for (const auto& [name, bytes, hex] : c.documents) {
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

std::vector<fs::path> golden_cases() {
    std::vector<fs::path> cases;
    for (const auto& e : fs::recursive_directory_iterator(golden_root)) {
        if (e.is_regular_file() && e.path().extension() == ".case") {
            cases.push_back(e.path());
        }
    }
    std::sort(cases.begin(), cases.end());
    return cases;
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
            EXPECT_EQ(read_bytes(folder.file(d.name)), d.bytes) << d.name << " was changed";
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
