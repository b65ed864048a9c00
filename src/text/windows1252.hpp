#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// The scenario documents are Windows-1252 text: one byte, one character. These are the
// conversions between that code page and UTF-8, the encoding of everything the tools
// show to a person (terminal, JSON, SVG).

// The encodings an author may write a document in. The compiler reads Windows-1252; a
// UTF-8 document is converted first.
enum class text_encoding : std::uint8_t { windows_1252, utf_8 };

// Document text as UTF-8. Every output that shows document text decodes it here: 0x00
// to 0x7F and 0xA0 to 0xFF are the code points of the same number, 0x80 to 0x9F the
// code page's own characters (0x80 is the euro sign), and the five bytes it leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD.
std::string windows1252_to_utf8(std::string_view text);

// Reads the UTF-8 character that starts at text[at] (at < text.size()) and moves `at`
// past it. A byte
// that does not start a well-formed character (a stray continuation byte, a truncated
// sequence, an overlong form, a surrogate, a value past U+10FFFF) gives nothing and
// leaves `at` where it was.
std::optional<char32_t> read_utf8(std::string_view text, std::size_t& at);

// Appends a code point as UTF-8.
void append_utf8(std::string& out, char32_t code);

// Where a UTF-8 text cannot become Windows-1252, and why.
struct text_fault {
    enum class kind { no_windows1252_form, not_utf8 };
    kind why = kind::not_utf8;
    int line = 0;      // from 1
    int column = 0;    // from 1, counting characters (the converted text's bytes)
    std::string what;  // names the character or the byte: "the character \"ł\" (U+0142)
                       // has no Windows-1252 form", "the byte 0xE8 does not begin a well-formed
                       // UTF-8 character"
};

struct windows1252_text {
    std::string text;
    std::optional<text_fault> fault;  // when set, the text is not usable
};

// A UTF-8 document as Windows-1252, one byte per character, so that the lines and
// columns of the result are those of the author's file. A byte order mark at the start
// is dropped. The first character the code page cannot hold (or the first byte that is
// not UTF-8) is the fault.
windows1252_text utf8_to_windows1252(std::string_view text);

}  // namespace scenario
