#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::render {

// Appends text to an XML document, escaping what XML reserves. The input is
// single-byte Windows-1252 text, decoded by windows1252_to_utf8; every character
// beyond ASCII becomes a numeric character reference to its code point, so the output
// is pure ASCII. Control characters that XML cannot carry become U+FFFD.
void append_xml_text(std::string& out, std::string_view text);

// The largest magnitude a number of the picture is written with, and the most digits
// after the point. A picture is a few thousand units across: a value beyond this is
// already nonsense, but the document stays a valid picture.
constexpr double largest_number = 1e9;
constexpr int most_decimals = 6;

// A number with at most `decimals` digits after the point (0 to most_decimals),
// independent of the locale; trailing zeros and a lone point are dropped and -0 is
// written as 0. Every double has a text: a value beyond largest_number is written as
// that bound (with its sign), and NaN as 0, so that no value a document leads to can
// stop a drawing.
std::string format_number(double value, int decimals);

// A small streaming writer for SVG (XML) documents. Elements are opened and closed
// in order; attributes belong to the element opened last and must come before its
// content. Element empty at its close is written as <tag .../>. Breaking these rules
// (a close without an open element, an attribute after content, text outside the
// root, a tag or attribute name that is not an XML name) is a fault of the drawing
// code, never of a document: it throws std::logic_error.
class svg_writer {
  public:
    // Starts the document with the XML declaration (the content is ASCII, so UTF-8). Numbers are
    // written with `decimals` digits after the point at most.
    explicit svg_writer(int decimals = 1);

    svg_writer& open(std::string_view tag);
    svg_writer& attr(std::string_view name, std::string_view value);
    svg_writer& attr(std::string_view name, const char* value) {
        return attr(name, std::string_view(value));
    }
    svg_writer& attr(std::string_view name, const std::string& value) {
        return attr(name, std::string_view(value));
    }
    svg_writer& attr(std::string_view name, double value);
    svg_writer& attr(std::string_view name, std::int64_t value);
    svg_writer& attr(std::string_view name, int value) {
        return attr(name, static_cast<std::int64_t>(value));
    }
    svg_writer& text(std::string_view content);
    svg_writer& close();

    // An element holding only text: <tag>content</tag> (attributes may not follow).
    svg_writer& text_element(std::string_view tag, std::string_view content);

    // Formats a number as attributes are formatted, for building path data.
    std::string number(double value) const { return format_number(value, decimals_); }

    // Closes every open element and hands over the document.
    std::string finish();

  private:
    void end_start_tag();

    int decimals_;
    std::string out_;
    struct open_element {
        std::string tag;
        bool parent_has_text;  // restored when the element closes
    };
    std::vector<open_element> open_;
    bool start_tag_pending_ = false;
    bool has_text_ = false;
};

}  // namespace scenario::render
