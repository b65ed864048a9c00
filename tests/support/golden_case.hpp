// The golden cases of the tool (tests/cli/golden/, described in golden_test.cpp): their
// files and how one is read.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace scenario::testing {

inline const std::filesystem::path golden_root =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "cli" / "golden";

struct golden_document {
    std::string name;
    std::string bytes;
    std::string hex;  // a binary file's section as written, empty for a text document
};

struct golden_case {
    std::string head;  // the comment and the command lines, as written
    std::vector<std::vector<std::string>> commands;
    std::vector<golden_document> documents;
    std::vector<golden_document> after;  // documents the commands change, as they must be
    std::map<std::string, std::string> expected;  // status, stdout, stderr
    bool stdout_crlf = false;
};

// The bytes of a hexadecimal section; a malformed one fails the test.
inline std::string hex_bytes(const std::string& section) {
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

inline std::vector<std::string> split_arguments(const std::string& line) {
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

inline golden_case parse_case(const std::string& text) {
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
        const std::string after = " (after)";
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
            const bool changed = section.size() > after.size() &&
                                 section.compare(section.size() - after.size(), after.size(),
                                                 after) == 0;
            (changed ? c.after : c.documents)
                .push_back({changed ? section.substr(0, section.size() - after.size()) : section,
                            body, ""});
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

inline std::vector<std::filesystem::path> golden_cases() {
    std::vector<std::filesystem::path> cases;
    for (const auto& e : std::filesystem::recursive_directory_iterator(golden_root)) {
        if (e.is_regular_file() && e.path().extension() == ".case") {
            cases.push_back(e.path());
        }
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

}  // namespace scenario::testing
