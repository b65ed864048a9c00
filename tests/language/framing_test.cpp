// The framing's header limit, 8 KiB: a header is every byte from its first line up to and
// including the line break of the blank line that ends it. One exactly that long is read,
// one a byte longer refused, whichever line breaks it uses.
#include "language/framing.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace scenario::language {
namespace {

// A header of exactly `size` bytes announcing the two bytes "{}", its lines ended by
// `eol`: a Content-Length line, a padding line, the blank line.
std::string header_of(std::size_t size, const std::string& eol) {
    const std::string length = "Content-Length: 2" + eol;
    const std::string name = "X-Pad: ";
    const std::size_t fixed = length.size() + name.size() + 2 * eol.size();
    EXPECT_GE(size, fixed);
    return length + name + std::string(size - fixed, 'a') + eol + eol;
}

TEST(Framing, AHeaderUpToTheLimitIsReadALongerOneRefused) {
    const std::size_t limit = framing_limits{}.header_bytes;
    ASSERT_EQ(limit, 8192u);
    struct row {
        std::string stream;
        framed_message::kind what;
    };
    const row rows[] = {
        {header_of(8192, "\r\n") + "{}", framed_message::kind::message},
        {header_of(8193, "\r\n") + "{}", framed_message::kind::bad_header},
        {header_of(8192, "\n") + "{}", framed_message::kind::message},
        {header_of(8193, "\n") + "{}", framed_message::kind::bad_header},
        // Blank lines between messages belong to no header.
        {"\r\n\r\n\n" + header_of(8192, "\r\n") + "{}", framed_message::kind::message},
        {"\r\n\r\n\n" + header_of(8193, "\r\n") + "{}", framed_message::kind::bad_header},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.stream.substr(0, 24) + "... " + std::to_string(r.stream.size()) + " bytes");
        std::istringstream in(r.stream);
        const framed_message m = read_message(in);
        EXPECT_EQ(m.what, r.what) << m.why;
        if (r.what == framed_message::kind::message) {
            EXPECT_EQ(m.content, "{}");
        } else {
            EXPECT_EQ(m.why, "the message header is longer than 8192 bytes");
        }
    }
}

}  // namespace
}  // namespace scenario::language
