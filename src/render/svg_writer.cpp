#include "render/svg_writer.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "text/windows1252.hpp"

namespace scenario::render {

namespace {

constexpr char32_t replacement_character = 0xFFFD;

bool is_name(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' || c == '.';
        if (!ok) {
            return false;
        }
    }
    return !(name[0] >= '0' && name[0] <= '9') && name[0] != '-' && name[0] != '.';
}

// Tags and attribute names are the drawing code's own words, never a document's.
void require_name(std::string_view name) {
    if (!is_name(name)) {
        throw std::logic_error("not an XML name: " + std::string(name));
    }
}

}  // namespace

void append_xml_text(std::string& out, std::string_view text) {
    const std::string utf8 = windows1252_to_utf8(text);
    for (std::size_t at = 0; at < utf8.size();) {
        const char ch = utf8[at];
        const std::optional<char32_t> read = read_utf8(utf8, at);
        if (!read) {
            ++at;  // never happens: the text was made as UTF-8 just above
        }
        const auto code = static_cast<std::uint32_t>(read.value_or(replacement_character));
        switch (ch) {
            case '&':
                out += "&amp;";
                continue;
            case '<':
                out += "&lt;";
                continue;
            case '>':
                out += "&gt;";
                continue;
            case '"':
                out += "&quot;";
                continue;
            default:
                break;
        }
        if (code >= 0x20 && code < 0x7F) {
            out += ch;
            continue;
        }
        // Tabs and line ends are written as references so that attribute values keep
        // them too; XML cannot carry the other control characters.
        const bool control = code < 0x20 && code != '\t' && code != '\n' && code != '\r';
        out += "&#";
        out += std::to_string(control ? std::uint32_t{replacement_character} : code);
        out += ';';
    }
}

std::string format_number(double value, int decimals) {
    if (std::isnan(value)) {
        value = 0;
    }
    value = std::clamp(value, -largest_number, largest_number);
    decimals = std::clamp(decimals, 0, most_decimals);
    // At most 1 + 10 + 1 + most_decimals characters: the buffer always holds them.
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, decimals)
                         .ptr;
    std::string s(buffer.data(), end);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') {
            s.pop_back();
        }
        if (s.back() == '.') {
            s.pop_back();
        }
    }
    if (s == "-0") {
        s = "0";
    }
    return s;
}

svg_writer::svg_writer(int decimals) : decimals_(decimals) {
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
}

void svg_writer::end_start_tag() {
    if (start_tag_pending_) {
        out_ += '>';
        start_tag_pending_ = false;
    }
}

svg_writer& svg_writer::open(std::string_view tag) {
    require_name(tag);
    end_start_tag();
    if (!has_text_) {
        out_ += '\n';
    }
    out_ += '<';
    out_ += tag;
    open_.push_back({std::string(tag), has_text_});
    start_tag_pending_ = true;
    has_text_ = false;
    return *this;
}

svg_writer& svg_writer::attr(std::string_view name, std::string_view value) {
    if (!start_tag_pending_) {
        throw std::logic_error("attribute " + std::string(name) + " after element content");
    }
    require_name(name);
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    append_xml_text(out_, value);
    out_ += '"';
    return *this;
}

svg_writer& svg_writer::attr(std::string_view name, double value) {
    return attr(name, std::string_view(format_number(value, decimals_)));
}

svg_writer& svg_writer::attr(std::string_view name, std::int64_t value) {
    return attr(name, std::string_view(std::to_string(value)));
}

svg_writer& svg_writer::text(std::string_view content) {
    if (open_.empty()) {
        throw std::logic_error("text outside the root element");
    }
    end_start_tag();
    append_xml_text(out_, content);
    has_text_ = true;
    return *this;
}

svg_writer& svg_writer::close() {
    if (open_.empty()) {
        throw std::logic_error("close without an open element");
    }
    if (start_tag_pending_) {
        out_ += "/>";
        start_tag_pending_ = false;
    } else {
        if (!has_text_) {
            out_ += '\n';
        }
        out_ += "</";
        out_ += open_.back().tag;
        out_ += '>';
    }
    has_text_ = open_.back().parent_has_text;
    open_.pop_back();
    return *this;
}

svg_writer& svg_writer::text_element(std::string_view tag, std::string_view content) {
    open(tag);
    text(content);
    return close();
}

std::string svg_writer::finish() {
    while (!open_.empty()) {
        close();
    }
    out_ += '\n';
    return std::move(out_);
}

}  // namespace scenario::render
