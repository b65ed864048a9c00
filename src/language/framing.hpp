#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace scenario::language {

// The message framing of the protocol: a header of "Name: value" lines ended by CR LF
// (a lone LF is taken too), a blank line, then Content-Length bytes of JSON. The header
// is its lines and the blank line, each with its line break; blank lines before it are
// none of it.
struct framing_limits {
    std::size_t header_bytes = 8 * 1024;          // a longer header is skipped, unread
    std::size_t content_bytes = std::size_t{64} << 20;  // a longer content is read past, unkept
};

// What one read gave.
struct framed_message {
    enum class kind {
        message,    // content holds the message's bytes
        end,        // the stream ended (a message cut short ends it too)
        bad_header, // a header without a usable Content-Length, or too long: skipped
        too_large,  // Content-Length past the limit: the content was read past and dropped
    };
    kind what = kind::end;
    std::string content;
    std::string why;  // for bad_header and too_large
};

// Reads the next message. Never keeps more than the limits, never waits for more than
// the header and the length it announces.
framed_message read_message(std::istream& in, const framing_limits& limits = {});

// Writes one message with its header, and flushes.
void write_message(std::ostream& out, std::string_view content);

}  // namespace scenario::language
