#pragma once

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::testing {

// A strict JSON parser for the tests: one value, then only white space. Throws
// std::runtime_error naming the offset of the first fault.
struct json_value {
    enum class type { null, boolean, number, string, array, object };
    type kind = type::null;
    bool flag = false;
    double number = 0;
    std::string text;  // the string, or the number's own text
    std::vector<json_value> items;
    // Members in document order: names and values side by side.
    std::vector<std::string> names;
    std::vector<json_value> values;

    bool is_null() const { return kind == type::null; }
    const json_value& operator[](const std::string& key) const {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == key) {
                return values[i];
            }
        }
        throw std::runtime_error("no member \"" + key + "\"");
    }
    const json_value& operator[](std::size_t i) const { return items.at(i); }
    bool has(const std::string& key) const {
        return std::find(names.begin(), names.end(), key) != names.end();
    }
    const std::vector<std::string>& keys() const { return names; }
};

class json_parser {
  public:
    static json_value parse(std::string_view text) {
        json_parser p(text);
        p.space();
        json_value v = p.value(0);
        p.space();
        if (p.at_ != text.size()) {
            p.fail("text after the value");
        }
        return v;
    }

  private:
    explicit json_parser(std::string_view text) : s_(text) {}

    [[noreturn]] void fail(const std::string& why) const {
        throw std::runtime_error("JSON fault at offset " + std::to_string(at_) + ": " + why);
    }
    char peek() const { return at_ < s_.size() ? s_[at_] : '\0'; }
    void space() {
        while (at_ < s_.size() &&
               (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) {
            ++at_;
        }
    }
    void expect(char c) {
        if (peek() != c || at_ >= s_.size()) {
            fail(std::string("expected '") + c + "'");
        }
        ++at_;
    }
    void word(std::string_view w) {
        if (s_.substr(at_, w.size()) != w) {
            fail("bad literal");
        }
        at_ += w.size();
    }

    json_value value(int depth) {
        if (depth > 64) {
            fail("nested too deeply");
        }
        json_value v;
        switch (peek()) {
            case '{':
                v.kind = json_value::type::object;
                ++at_;
                space();
                if (peek() == '}') {
                    ++at_;
                    return v;
                }
                for (;;) {
                    space();
                    if (peek() != '"') {
                        fail("expected a member name");
                    }
                    std::string key = string();
                    space();
                    expect(':');
                    space();
                    v.names.push_back(std::move(key));
                    v.values.push_back(value(depth + 1));
                    space();
                    if (peek() == ',') {
                        ++at_;
                        continue;
                    }
                    expect('}');
                    return v;
                }
            case '[':
                v.kind = json_value::type::array;
                ++at_;
                space();
                if (peek() == ']') {
                    ++at_;
                    return v;
                }
                for (;;) {
                    space();
                    v.items.push_back(value(depth + 1));
                    space();
                    if (peek() == ',') {
                        ++at_;
                        continue;
                    }
                    expect(']');
                    return v;
                }
            case '"':
                v.kind = json_value::type::string;
                v.text = string();
                return v;
            case 't':
                word("true");
                v.kind = json_value::type::boolean;
                v.flag = true;
                return v;
            case 'f':
                word("false");
                v.kind = json_value::type::boolean;
                return v;
            case 'n':
                word("null");
                return v;
            default:
                return number();
        }
    }

    json_value number() {
        const std::size_t start = at_;
        const auto digits = [&] {
            const std::size_t from = at_;
            while (peek() >= '0' && peek() <= '9') {
                ++at_;
            }
            if (at_ == from) {
                fail("expected a digit");
            }
        };
        if (peek() == '-') {
            ++at_;
        }
        if (peek() == '0') {
            ++at_;
        } else {
            digits();
        }
        if (peek() == '.') {
            ++at_;
            digits();
        }
        if (peek() == 'e' || peek() == 'E') {
            ++at_;
            if (peek() == '+' || peek() == '-') {
                ++at_;
            }
            digits();
        }
        json_value v;
        v.kind = json_value::type::number;
        v.text = std::string(s_.substr(start, at_ - start));
        v.number = std::strtod(v.text.c_str(), nullptr);
        return v;
    }

    unsigned hex4() {
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = peek();
            ++at_;
            v <<= 4;
            if (c >= '0' && c <= '9') {
                v |= static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                v |= static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                v |= static_cast<unsigned>(c - 'A' + 10);
            } else {
                fail("bad \\u escape");
            }
        }
        return v;
    }

    static void put_utf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // Checks one UTF-8 sequence starting at at_ and copies it.
    void utf8(std::string& out) {
        const auto b = static_cast<unsigned char>(s_[at_]);
        const int n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 0;
        if (n == 0 || at_ + n > s_.size()) {
            fail("invalid UTF-8");
        }
        for (int i = 1; i < n; ++i) {
            if ((static_cast<unsigned char>(s_[at_ + i]) & 0xC0) != 0x80) {
                fail("invalid UTF-8");
            }
        }
        out.append(s_.substr(at_, n));
        at_ += n;
    }

    std::string string() {
        expect('"');
        std::string out;
        for (;;) {
            if (at_ >= s_.size()) {
                fail("unterminated string");
            }
            const auto c = static_cast<unsigned char>(s_[at_]);
            if (c == '"') {
                ++at_;
                return out;
            }
            if (c < 0x20) {
                fail("control character in a string");
            }
            if (c >= 0x80) {
                utf8(out);
                continue;
            }
            ++at_;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            const char e = peek();
            ++at_;
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u':
                    put_utf8(out, hex4());
                    break;
                default:
                    fail("bad escape");
            }
        }
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

}  // namespace scenario::testing
