#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario::testing {

// A parsed XML element; attribute values and text are decoded to UTF-8.
struct xml_element {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<xml_element> children;
    std::string text;  // all character data directly inside, concatenated

    const std::string* attr(std::string_view n) const {
        for (const auto& [k, v] : attributes) {
            if (k == n) {
                return &v;
            }
        }
        return nullptr;
    }
    std::string attr_or(std::string_view n, std::string fallback = "") const {
        const std::string* v = attr(n);
        return v != nullptr ? *v : fallback;
    }
};

// A strict reader of the XML our writer produces: an optional declaration, one root
// element, elements with quoted unique attributes, character data and the five
// named and numeric character references. Anything else is a fault, reported as
// std::runtime_error with its byte offset.
class xml_reader {
  public:
    static xml_element parse(std::string_view doc) {
        xml_reader r(doc);
        return r.document();
    }

  private:
    explicit xml_reader(std::string_view doc) : s_(doc) {}

    [[noreturn]] void fail(const std::string& why) const {
        throw std::runtime_error("XML fault at byte " + std::to_string(i_) + ": " + why);
    }
    bool at_end() const { return i_ >= s_.size(); }
    char peek() const { return at_end() ? '\0' : s_[i_]; }
    bool starts(std::string_view t) const { return s_.substr(i_, t.size()) == t; }
    void expect(std::string_view t) {
        if (!starts(t)) {
            fail("expected '" + std::string(t) + "'");
        }
        i_ += t.size();
    }
    void skip_space() {
        while (!at_end() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) {
            ++i_;
        }
    }
    static bool name_start(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    }
    static bool name_char(char c) {
        return name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    }
    std::string name() {
        if (!name_start(peek())) {
            fail("a name was expected");
        }
        const std::size_t from = i_;
        while (!at_end() && name_char(peek())) {
            ++i_;
        }
        return std::string(s_.substr(from, i_ - from));
    }
    static void append_utf8(std::string& out, unsigned long cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    static bool xml_char(unsigned long cp) {
        return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
               (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
    }
    void reference(std::string& out) {
        expect("&");
        const std::size_t semi = s_.find(';', i_);
        if (semi == std::string_view::npos || semi - i_ > 10) {
            fail("unterminated reference");
        }
        const std::string_view body = s_.substr(i_, semi - i_);
        i_ = semi + 1;
        if (body == "amp") {
            out += '&';
        } else if (body == "lt") {
            out += '<';
        } else if (body == "gt") {
            out += '>';
        } else if (body == "quot") {
            out += '"';
        } else if (body == "apos") {
            out += '\'';
        } else if (body.size() > 1 && body[0] == '#') {
            const bool hex = body[1] == 'x';
            const std::string digits(body.substr(hex ? 2 : 1));
            if (digits.empty() ||
                digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") !=
                    std::string::npos) {
                fail("bad character reference");
            }
            const unsigned long cp = std::stoul(digits, nullptr, hex ? 16 : 10);
            if (!xml_char(cp)) {
                fail("reference to a character XML does not allow");
            }
            append_utf8(out, cp);
        } else {
            fail("unknown entity '" + std::string(body) + "'");
        }
    }
    void character(std::string& out, bool in_attribute) {
        const auto c = static_cast<unsigned char>(peek());
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            fail("control byte");
        }
        if (c == '<' && in_attribute) {
            fail("'<' in an attribute value");
        }
        out += static_cast<char>(c);
        ++i_;
    }
    xml_element element() {
        expect("<");
        xml_element e;
        e.name = name();
        for (;;) {
            const std::size_t before = i_;
            skip_space();
            if (starts("/>")) {
                i_ += 2;
                return e;
            }
            if (starts(">")) {
                ++i_;
                break;
            }
            if (i_ == before) {
                fail("space expected before an attribute");
            }
            std::string key = name();
            skip_space();
            expect("=");
            skip_space();
            const char quote = peek();
            if (quote != '"' && quote != '\'') {
                fail("attribute value not quoted");
            }
            ++i_;
            std::string value;
            while (!at_end() && peek() != quote) {
                if (peek() == '&') {
                    reference(value);
                } else {
                    character(value, true);
                }
            }
            expect(std::string_view(&quote, 1));
            if (e.attr(key) != nullptr) {
                fail("attribute '" + key + "' repeated");
            }
            e.attributes.emplace_back(std::move(key), std::move(value));
        }
        for (;;) {
            if (at_end()) {
                fail("element '" + e.name + "' not closed");
            }
            if (starts("</")) {
                i_ += 2;
                if (name() != e.name) {
                    fail("end tag does not match '" + e.name + "'");
                }
                skip_space();
                expect(">");
                return e;
            }
            if (starts("<")) {
                e.children.push_back(element());
            } else if (peek() == '&') {
                reference(e.text);
            } else {
                character(e.text, false);
            }
        }
    }
    xml_element document() {
        if (starts("<?xml")) {
            const std::size_t end = s_.find("?>", i_);
            if (end == std::string_view::npos) {
                fail("declaration not closed");
            }
            i_ = end + 2;
        }
        skip_space();
        xml_element root = element();
        skip_space();
        if (!at_end()) {
            fail("content after the root element");
        }
        return root;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

inline xml_element parse_xml(std::string_view doc) {
    return xml_reader::parse(doc);
}

// Every element below e (not e itself) for which pred holds, in document order.
inline std::vector<const xml_element*> find_all(
    const xml_element& e, const std::function<bool(const xml_element&)>& pred) {
    std::vector<const xml_element*> out;
    for (const xml_element& c : e.children) {
        if (pred(c)) {
            out.push_back(&c);
        }
        for (const xml_element* d : find_all(c, pred)) {
            out.push_back(d);
        }
    }
    return out;
}

inline const xml_element* find_id(const xml_element& e, std::string_view id) {
    const auto found = find_all(e, [&](const xml_element& c) { return c.attr_or("id") == id; });
    return found.empty() ? nullptr : found.front();
}

inline std::vector<const xml_element*> with_class(const xml_element& e, std::string_view cls) {
    return find_all(e, [&](const xml_element& c) { return c.attr_or("class") == cls; });
}

// All text inside e and its descendants.
inline std::string all_text(const xml_element& e) {
    std::string out = e.text;
    for (const xml_element& c : e.children) {
        out += all_text(c);
    }
    return out;
}

}  // namespace scenario::testing
