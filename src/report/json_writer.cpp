#include "report/json_writer.hpp"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "text/windows1252.hpp"

namespace scenario {

namespace {

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
        } else if (std::size_t end = i; read_utf8(text, end)) {
            out.append(text.substr(i, end - i));
            i = end - 1;
        } else {
            out += windows1252_to_utf8(text.substr(i, 1));
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

void json_writer::document_string(std::string_view text) {
    string(windows1252_to_utf8(text));
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

void json_writer::raw_value(std::string_view json) {
    before_value();
    text_ += json;
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

}  // namespace scenario
