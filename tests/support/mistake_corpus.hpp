// The corpus of author mistakes (tests/cli/mistakes.txt, described at its head): read
// it, and make each mistake in the built-in documents' lines.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "documents/document_writer.hpp"
#include "support/temp_folder.hpp"

namespace scenario::testing {

struct mistake {
    std::string name;
    char document = 'L';
    std::size_t line = 0;
    std::string action;
    std::string text;
    std::string expected;
};

// "\xHH" is the byte HH, "\n" a line break.
inline std::string unescape(const std::string& text) {
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

inline std::vector<std::string> split(const std::string& text, const std::string& by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at = text.find(by); at != std::string::npos; at = text.find(by, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + by.size();
    }
    parts.push_back(text.substr(from));
    return parts;
}

inline std::vector<mistake> corpus() {
    std::istringstream in(read_bytes(
        (std::filesystem::path(__FILE__).parent_path().parent_path() / "cli" / "mistakes.txt")
            .string()));
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

inline std::vector<std::string> lines_of(line_list list) {
    return std::vector<std::string>(list.begin(), list.end());
}

inline std::string text_of(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) {
        text += l + "\r\n";
    }
    return text;
}

// Makes the mistake in the documents; false when the corpus line cannot be applied.
inline bool apply(const mistake& m, std::vector<std::string>& doc) {
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

}  // namespace scenario::testing
