#include "language/framing.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>

namespace scenario::language {

namespace {

constexpr std::string_view length_name = "content-length";

bool same_name(std::string_view a, std::string_view lower) {
    return a.size() == lower.size() &&
           std::equal(a.begin(), a.end(), lower.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == y;
           });
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// What a header said: whether the stream ended inside it, whether it ran past its limit
// or held a line that is no header, and the content length it gave.
struct header {
    bool ended = false;
    bool overlong = false;
    bool malformed = false;
    std::optional<std::size_t> length;
};

// Reads one line of a header into `line`, kept only while the header stays within its
// limit (every byte counts, its line break too); false at the end of the stream.
bool read_header_line(std::istream& in, std::size_t limit, std::size_t& size, header& h,
                      std::string& line) {
    line.clear();
    int c = 0;
    while ((c = in.get()) != std::char_traits<char>::eof()) {
        if (++size > limit) {
            h.overlong = true;
        }
        if (c == '\n') {
            return true;
        }
        if (!h.overlong) {
            line += static_cast<char>(c);
        }
    }
    return false;
}

void read_header_field(std::string_view text, header& h) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        h.malformed = true;
        return;
    }
    if (same_name(trimmed(text.substr(0, colon)), length_name)) {
        const std::string_view value = trimmed(text.substr(colon + 1));
        std::size_t n = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc{} || end != value.data() + value.size() || value.empty()) {
            h.malformed = true;
        } else {
            h.length = n;
        }
    }
}

header read_header(std::istream& in, const framing_limits& limits) {
    header h;
    std::string line;
    std::size_t size = 0;
    bool any_line = false;
    while (true) {
        if (!read_header_line(in, limits.header_bytes, size, h, line)) {
            h.ended = true;
            return h;
        }
        const std::string_view text = trimmed(line);
        if (text.empty()) {
            if (any_line) {
                return h;
            }
            // Blank lines between messages: no part of the next header.
            if (!h.overlong) {
                size = 0;
            }
            continue;
        }
        any_line = true;
        if (!h.overlong) {
            read_header_field(text, h);
        }
    }
}

// Reads past `length` bytes in pieces, keeping none of them; false when the stream ends first.
bool read_past(std::istream& in, std::size_t length) {
    std::size_t left = length;
    while (left > 0 && in) {
        const auto step = static_cast<std::streamsize>(std::min<std::size_t>(left, 1 << 16));
        in.ignore(step);
        left -= static_cast<std::size_t>(in.gcount());
        if (in.gcount() == 0) {
            break;
        }
    }
    return left == 0;
}

// Reads `length` bytes in pieces, so that a length the stream never gives costs no more
// than it gave; false when the stream ends first.
bool read_content(std::istream& in, std::size_t length, std::string& content) {
    std::array<char, 1 << 16> piece{};
    std::size_t left = length;
    while (left > 0) {
        in.read(piece.data(), static_cast<std::streamsize>(std::min(left, piece.size())));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) {
            content.clear();
            return false;
        }
        content.append(piece.data(), got);
        left -= got;
    }
    return true;
}

}  // namespace

framed_message read_message(std::istream& in, const framing_limits& limits) {
    framed_message result;
    const header h = read_header(in, limits);
    if (h.ended) {
        result.what = framed_message::kind::end;
        return result;
    }
    if (h.overlong || h.malformed || !h.length) {
        result.what = framed_message::kind::bad_header;
        result.why = h.overlong    ? "the message header is longer than " +
                                      std::to_string(limits.header_bytes) + " bytes"
                     : h.malformed ? "the message header holds a malformed line"
                                   : "the message header has no Content-Length";
        return result;
    }
    if (*h.length > limits.content_bytes) {
        if (!read_past(in, *h.length)) {
            result.what = framed_message::kind::end;
            return result;
        }
        result.what = framed_message::kind::too_large;
        result.why = "the message of " + std::to_string(*h.length) + " bytes is longer than " +
                     std::to_string(limits.content_bytes) + " bytes";
        return result;
    }
    result.what = read_content(in, *h.length, result.content) ? framed_message::kind::message
                                                              : framed_message::kind::end;
    return result;
}

void write_message(std::ostream& out, std::string_view content) {
    out << "Content-Length: " << content.size() << "\r\n\r\n";
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
}

}  // namespace scenario::language
