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

}  // namespace

framed_message read_message(std::istream& in, const framing_limits& limits) {
    framed_message result;
    std::string line;
    std::size_t header_size = 0;
    bool overlong = false;
    bool malformed = false;
    bool any_line = false;
    std::optional<std::size_t> length;
    while (true) {
        // One header line, kept only while the header stays within its limit. Every
        // byte counts, its line break too.
        line.clear();
        int c = 0;
        while ((c = in.get()) != std::char_traits<char>::eof()) {
            if (++header_size > limits.header_bytes) {
                overlong = true;
            }
            if (c == '\n') {
                break;
            }
            if (!overlong) {
                line += static_cast<char>(c);
            }
        }
        if (c == std::char_traits<char>::eof()) {
            result.what = framed_message::kind::end;
            return result;
        }
        const std::string_view text = trimmed(line);
        if (text.empty()) {
            if (!any_line) {
                // Blank lines between messages: no part of the next header.
                if (!overlong) {
                    header_size = 0;
                }
                continue;
            }
            break;
        }
        any_line = true;
        if (overlong) {
            continue;
        }
        const auto colon = text.find(':');
        if (colon == std::string_view::npos) {
            malformed = true;
            continue;
        }
        if (same_name(trimmed(text.substr(0, colon)), length_name)) {
            const std::string_view value = trimmed(text.substr(colon + 1));
            std::size_t n = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (ec != std::errc{} || end != value.data() + value.size() || value.empty()) {
                malformed = true;
            } else {
                length = n;
            }
        }
    }
    if (overlong || malformed || !length) {
        result.what = framed_message::kind::bad_header;
        result.why = overlong  ? "the message header is longer than " +
                                    std::to_string(limits.header_bytes) + " bytes"
                     : malformed ? "the message header holds a malformed line"
                                 : "the message header has no Content-Length";
        return result;
    }
    if (*length > limits.content_bytes) {
        // Read past it in pieces, keeping none of it.
        std::size_t left = *length;
        while (left > 0 && in) {
            const auto step = static_cast<std::streamsize>(std::min<std::size_t>(left, 1 << 16));
            in.ignore(step);
            left -= static_cast<std::size_t>(in.gcount());
            if (in.gcount() == 0) {
                break;
            }
        }
        if (left > 0) {
            result.what = framed_message::kind::end;
            return result;
        }
        result.what = framed_message::kind::too_large;
        result.why = "the message of " + std::to_string(*length) + " bytes is longer than " +
                     std::to_string(limits.content_bytes) + " bytes";
        return result;
    }
    // Read in pieces, so that a length the stream never gives costs no more than it gave.
    std::array<char, 1 << 16> piece{};
    std::size_t left = *length;
    while (left > 0) {
        in.read(piece.data(), static_cast<std::streamsize>(std::min(left, piece.size())));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) {
            result.what = framed_message::kind::end;
            result.content.clear();
            return result;
        }
        result.content.append(piece.data(), got);
        left -= got;
    }
    result.what = framed_message::kind::message;
    return result;
}

void write_message(std::ostream& out, std::string_view content) {
    out << "Content-Length: " << content.size() << "\r\n\r\n";
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
}

}  // namespace scenario::language
