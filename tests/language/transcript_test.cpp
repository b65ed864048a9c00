// The language server driven through its streams by transcripts: each file under
// transcripts/ gives the documents on disk, the messages sent, and the messages
// expected back in order. An expected message is matched as a part of the one that
// came: every member it names must be there with that value; arrays must have the
// same length; a string "~text" matches any string that holds the text. "log TEXT" lines
// are the lines the server must write to its error stream, in order, each holding TEXT;
// without them it must write none.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "language/server.hpp"
#include "memory_files.hpp"

namespace scenario::language {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path transcripts = fs::path(__FILE__).parent_path() / "transcripts";

using testing::memory_files;

std::string framed(const std::string& content) {
    return "Content-Length: " + std::to_string(content.size()) + "\r\n\r\n" + content;
}

// "\r", "\n", "\\" and "\xHH" in a raw line.
std::string unescaped(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            if (c == 'r') {
                out += '\r';
            } else if (c == 'n') {
                out += '\n';
            } else if (c == 'x' && i + 2 < s.size()) {
                out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                out += c;
            }
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<json> responses(std::string out) {
    std::vector<json> messages;
    while (!out.empty()) {
        const auto end = out.find("\r\n\r\n");
        if (end == std::string::npos) {
            ADD_FAILURE() << "output cut short: " << out;
            break;
        }
        const std::size_t length = std::stoul(out.substr(out.find(':') + 1, end));
        messages.push_back(json::parse(out.substr(end + 4, length)));
        out.erase(0, end + 4 + length);
    }
    return messages;
}

// Whether `got` holds everything `expected` names; where not, the path to the difference.
bool matches(const json& expected, const json& got, std::string& where) {
    if (expected.is_object()) {
        if (!got.is_object()) {
            return false;
        }
        for (const auto& [key, value] : expected.items()) {
            if (!got.contains(key) || !matches(value, got[key], where)) {
                where = "/" + key + where;
                return false;
            }
        }
        return true;
    }
    if (expected.is_array()) {
        if (!got.is_array() || got.size() != expected.size()) {
            where = " (array of " + std::to_string(got.is_array() ? got.size() : 0) + ")";
            return false;
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (!matches(expected[i], got[i], where)) {
                where = "/" + std::to_string(i) + where;
                return false;
            }
        }
        return true;
    }
    // "~text": a string that holds the text.
    if (expected.is_string() && expected.get<std::string>().starts_with("~")) {
        return got.is_string() &&
               got.get<std::string>().find(expected.get<std::string>().substr(1)) != std::string::npos;
    }
    return expected == got;
}

void run_transcript(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    memory_files disk;
    server_options options;
    std::string input;
    std::vector<json> expected;
    std::vector<std::string> logged;  // what the error stream must hold, in order
    int status = -1;
    std::string line;
    std::optional<std::string> document;  // the path of the file being written
    while (std::getline(in, line)) {
        if (document) {
            if (line == "end") {
                document.reset();
            } else {
                disk.files[*document] += unescaped(line) + "\r\n";
            }
        } else if (line.rfind("file ", 0) == 0) {
            document = line.substr(5);
            disk.files[*document];
        } else if (line.rfind("send ", 0) == 0) {
            input += framed(line.substr(5));
        } else if (line.rfind("raw ", 0) == 0) {
            input += unescaped(line.substr(4));
        } else if (line.rfind("expect ", 0) == 0) {
            expected.push_back(json::parse(line.substr(7)));
        } else if (line.rfind("log ", 0) == 0) {
            logged.push_back(line.substr(4));
        } else if (line.rfind("status ", 0) == 0) {
            status = std::stoi(line.substr(7));
        } else if (line == "encoding utf-8") {
            options.encoding = text_encoding::utf_8;
        } else if (line.rfind("limit ", 0) == 0) {
            options.limits.content_bytes = std::stoul(line.substr(6));
        }
    }
    std::ostringstream log;
    server s(disk, options, log);
    std::istringstream requests(input);
    std::ostringstream out;
    const int got_status = s.run(requests, out);
    // Every line logged is expected, in order.
    std::istringstream log_lines(log.str());
    std::string logged_line;
    std::size_t next = 0;
    while (std::getline(log_lines, logged_line)) {
        EXPECT_TRUE(next < logged.size() && logged_line.find(logged[next]) != std::string::npos)
            << file.filename() << ": logged " << logged_line;
        ++next;
    }
    EXPECT_EQ(next, logged.size()) << file.filename() << ": fewer lines logged than expected";
    const std::vector<json> got = responses(out.str());
    ASSERT_EQ(got.size(), expected.size()) << file.filename() << ": " << out.str();
    for (std::size_t i = 0; i < got.size(); ++i) {
        std::string where;
        EXPECT_TRUE(matches(expected[i], got[i], where))
            << file.filename() << ", message " << i + 1 << " differs at " << where
            << "\nexpected: " << expected[i].dump() << "\ngot:      " << got[i].dump();
    }
    if (status >= 0) {
        EXPECT_EQ(got_status, status) << file.filename();
    }
}

TEST(LanguageServer, Transcripts) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(transcripts)) {
        files.push_back(e.path());
    }
    ASSERT_FALSE(files.empty());
    for (const fs::path& f : files) {
        SCOPED_TRACE(f.filename().string());
        run_transcript(f);
    }
}

// A stream that announces a message of 100 MB and holds it, made as it is read.
class huge_message : public std::streambuf {
  public:
    huge_message(std::string head, std::size_t body, std::string tail)
        : head_(std::move(head)), body_(body), tail_(std::move(tail)) {}

  protected:
    int_type underflow() override {
        while (gptr() == egptr()) {
            if (stage_ == 0) {
                stage_ = 1;
                setg(head_.data(), head_.data(), head_.data() + head_.size());
            } else if (stage_ == 1 && body_ > 0) {
                const std::size_t n = std::min(body_, piece_.size());
                body_ -= n;
                setg(piece_.data(), piece_.data(), piece_.data() + n);
            } else if (stage_ == 1) {
                stage_ = 2;
                setg(tail_.data(), tail_.data(), tail_.data() + tail_.size());
            } else {
                return traits_type::eof();
            }
        }
        return traits_type::to_int_type(*gptr());
    }

  private:
    std::string head_;
    std::size_t body_;
    std::string tail_;
    std::string piece_ = std::string(1 << 16, 'x');
    int stage_ = 0;
};

TEST(LanguageServer, MessageOfHundredMegabytesIsReadPastAndRefused) {
    const std::size_t size = std::size_t{100} << 20;
    huge_message stream("Content-Length: " + std::to_string(size) + "\r\n\r\n", size,
                        framed(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})"));
    std::istream in(&stream);
    memory_files disk;
    std::ostringstream log;
    server s(disk, {}, log);
    std::ostringstream out;
    EXPECT_EQ(s.run(in, out), 1);
    const std::vector<json> got = responses(out.str());
    ASSERT_EQ(got.size(), 2U);
    EXPECT_EQ(got[0]["error"]["code"], -32600);
    EXPECT_TRUE(got[1]["result"].contains("capabilities"));  // the next message is read
}

}  // namespace
}  // namespace scenario::language
