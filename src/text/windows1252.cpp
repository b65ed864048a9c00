#include "text/windows1252.hpp"

#include <array>
#include <cstdint>

namespace scenario {

namespace {

// The code points of the bytes 0x80 to 0x9F; 0 marks the five the code page leaves
// undefined. Every other byte is the code point of the same number.
constexpr std::array<char16_t, 32> high_block = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};

constexpr char32_t replacement_character = 0xFFFD;

// The byte a code point is written as, or nothing.
std::optional<unsigned char> windows1252_byte(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<unsigned char>(code);
    }
    for (std::size_t i = 0; i < high_block.size(); ++i) {
        if (high_block[i] != 0 && high_block[i] == code) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string hex(std::uint32_t value, int digits) {
    static constexpr char names[] = "0123456789ABCDEF";
    std::string out(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) {
        out[static_cast<std::size_t>(i)] = names[value & 0xFu];
    }
    return out;
}

std::string describe_character(char32_t code) {
    std::string name = "U+" + hex(code, code > 0xFFFF ? 6 : 4);
    // Control characters are named by number only, so the message stays printable.
    if (code >= 0x80 && code <= 0x9F) {
        return "the character " + name;
    }
    std::string shown;
    append_utf8(shown, code);
    return "the character \"" + shown + "\" (" + name + ")";
}

}  // namespace

void append_utf8(std::string& out, char32_t code) {
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

std::string windows1252_to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else if (byte < 0xA0) {
            const char16_t code = high_block[byte - 0x80];
            append_utf8(out, code != 0 ? char32_t{code} : replacement_character);
        } else {
            append_utf8(out, byte);
        }
    }
    return out;
}

std::optional<char32_t> read_utf8(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length) {
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0u) != 0x80u) {
            return std::nullopt;
        }
        code = (code << 6) | (byte(at + k) & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) {
        return std::nullopt;
    }
    at += length;
    return code;
}

windows1252_text utf8_to_windows1252(std::string_view text) {
    windows1252_text result;
    result.text.reserve(text.size());
    std::size_t at = 0;
    int line = 1;
    int column = 1;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {  // U+FEFF, the byte order mark
        at = 3;
    }
    while (at < text.size()) {
        const std::size_t first = at;
        const std::optional<char32_t> code = read_utf8(text, at);
        std::optional<unsigned char> byte;
        if (code) {
            byte = windows1252_byte(*code);
        }
        if (!byte) {
            text_fault fault;
            fault.line = line;
            fault.column = column;
            if (code) {
                fault.why = text_fault::kind::no_windows1252_form;
                fault.what = describe_character(*code) + " has no Windows-1252 form";
            } else {
                fault.why = text_fault::kind::not_utf8;
                fault.what = "the byte 0x" + hex(static_cast<unsigned char>(text[first]), 2) +
                             " does not begin a well-formed UTF-8 character";
            }
            result.fault = std::move(fault);
            return result;
        }
        result.text += static_cast<char>(*byte);
        if (*byte == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return result;
}

}  // namespace scenario
