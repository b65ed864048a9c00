#include "cli/json_writer.hpp"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace scenario::cli {

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not one.
std::size_t utf8_length(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    std::size_t n = 0;
    std::uint32_t code = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2, code = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, code = b & 0x0Fu;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, code = b & 0x07u;
    } else {
        return 0;
    }
    if (i + n > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (byte(i + k) & 0x3Fu);
    }
    const bool overlong = (n == 3 && code < 0x800) || (n == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) {
        return 0;
    }
    return n;
}

void append_hex4(std::string& out, unsigned v) {
    static constexpr char digits[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += digits[(v >> shift) & 0xFu];
    }
}

// Whether a text goes into JSON as it is, between quotes: printable ASCII without a
// quote or a backslash (every key, and most values).
bool plain(std::string_view text) {
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
            return false;
        }
    }
    return true;
}

// Appends the JSON text of a string, quotes included.
void append_quoted(std::string& out, std::string_view text) {
    if (plain(text)) {
        out += '"';
        out += text;
        out += '"';
    } else {
        out += json_quote(text);
    }
}

}  // namespace

std::string json_quote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (c < 0x20 || c == 0x7F) {
            append_hex4(out, c);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const std::size_t n = utf8_length(text, i); n != 0) {
            out.append(text.substr(i, n));
            i += n - 1;
        } else {
            // A single byte of the documents' code page, read as Latin-1: two UTF-8 bytes.
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out += '"';
    return out;
}

void json_writer::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!nonempty_.empty()) {
        if (nonempty_.back()) {
            text_ += ',';
        }
        nonempty_.back() = true;
    }
}

void json_writer::after_value() {
    if (nonempty_.empty() || text_.size() >= handover_bytes) {
        flush();
    }
}

void json_writer::flush() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
}

json_writer::~json_writer() {
    flush();
}

void json_writer::begin_object() {
    before_value();
    text_ += '{';
    nonempty_.push_back(false);
}

void json_writer::end_object() {
    nonempty_.pop_back();
    text_ += '}';
    after_value();
}

void json_writer::begin_array() {
    before_value();
    text_ += '[';
    nonempty_.push_back(false);
}

void json_writer::end_array() {
    nonempty_.pop_back();
    text_ += ']';
    after_value();
}

void json_writer::key(std::string_view name) {
    before_value();
    append_quoted(text_, name);
    text_ += ':';
    after_key_ = true;
}

void json_writer::string(std::string_view text) {
    before_value();
    append_quoted(text_, text);
    after_value();
}

void json_writer::integer(std::int64_t v) {
    before_value();
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    text_.append(buffer, result.ptr);
    after_value();
}

void json_writer::number(double v) {
    if (!std::isfinite(v)) {
        null();
        return;
    }
    before_value();
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    text_.append(buffer, result.ptr);
    after_value();
}

void json_writer::null() {
    before_value();
    text_ += "null";
    after_value();
}

void json_writer::boolean(bool v) {
    before_value();
    text_ += v ? "true" : "false";
    after_value();
}

}  // namespace scenario::cli
