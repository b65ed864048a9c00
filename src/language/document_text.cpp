#include "language/document_text.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "text/windows1252.hpp"

namespace scenario::language {

namespace {

// The code page's own characters (bytes 0x80 to 0x9F), as the one decoding gives them.
struct special_character {
    char32_t code = 0;
    unsigned char byte = 0;
};

const std::array<special_character, 32>& specials() {
    static const std::array<special_character, 32> table = [] {
        std::array<special_character, 32> t{};
        for (unsigned b = 0x80; b < 0xA0; ++b) {
            const std::string utf8 = windows1252_to_utf8(std::string(1, static_cast<char>(b)));
            std::size_t at = 0;
            const std::optional<char32_t> c = read_utf8(utf8, at);
            t[b - 0x80] = {c && *c != 0xFFFD ? *c : char32_t{0}, static_cast<unsigned char>(b)};
        }
        return t;
    }();
    return table;
}

std::optional<char> windows1252_byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (const special_character& s : specials()) {
        if (s.code != 0 && s.code == c) {
            return static_cast<char>(s.byte);
        }
    }
    return std::nullopt;
}

int utf16_units(char32_t c) {
    return c >= 0x10000 ? 2 : 1;
}

// What the conversion of the code page says about one character or byte.
std::string fault_text(std::string_view piece) {
    const windows1252_text t = utf8_to_windows1252(piece);
    return t.fault ? t.fault->what : std::string("a character the documents cannot hold");
}

}  // namespace

document_text document_text::from_unicode(std::string_view utf8) {
    document_text d;
    d.unicode_.reserve(utf8.size());
    d.bytes_.reserve(utf8.size());
    int line = 1;
    int column = 1;
    std::size_t at = 0;
    while (at < utf8.size()) {
        // ASCII, most of any document, is the same in both forms.
        const std::size_t first = at;
        while (at < utf8.size() && static_cast<unsigned char>(utf8[at]) < 0x80) {
            if (utf8[at] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
            ++at;
        }
        if (at > first) {
            d.unicode_.append(utf8.substr(first, at - first));
            d.bytes_.append(utf8.substr(first, at - first));
            continue;
        }
        const std::optional<char32_t> c = read_utf8(utf8, at);
        if (!c) {
            ++at;
            d.faults_.push_back({line, column, fault_text(utf8.substr(first, 1))});
            append_utf8(d.unicode_, 0xFFFD);
            d.bytes_ += '?';
        } else if (const std::optional<char> b = windows1252_byte(*c)) {
            d.unicode_.append(utf8.substr(first, at - first));
            d.bytes_ += *b;
        } else {
            d.faults_.push_back({line, column, fault_text(utf8.substr(first, at - first))});
            d.unicode_.append(utf8.substr(first, at - first));
            d.bytes_ += '?';
        }
        if (c == U'\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    d.index();
    return d;
}

document_text document_text::from_windows1252(std::string_view bytes) {
    document_text d;
    d.bytes_ = bytes;
    d.unicode_ = windows1252_to_utf8(bytes);
    d.index();
    return d;
}

void document_text::index() {
    starts_.assign(1, 0);
    byte_starts_.assign(1, 0);
    for (std::size_t i = 0; i < unicode_.size(); ++i) {
        if (unicode_[i] == '\n') {
            starts_.push_back(i + 1);
        }
    }
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (bytes_[i] == '\n') {
            byte_starts_.push_back(i + 1);
        }
    }
}

namespace {

std::string_view line_in(const std::string& text, const std::vector<std::size_t>& starts,
                         int line) {
    if (line < 0 || line >= static_cast<int>(starts.size())) {
        return {};
    }
    const auto i = static_cast<std::size_t>(line);
    std::size_t end = i + 1 < starts.size() ? starts[i + 1] - 1 : text.size();
    std::string_view s(text.data() + starts[i], end - starts[i]);
    if (!s.empty() && s.back() == '\r' && i + 1 < starts.size()) {
        s.remove_suffix(1);
    }
    return s;
}

}  // namespace

std::string_view document_text::unicode_line(int line) const {
    return line_in(unicode_, starts_, line);
}

std::string_view document_text::byte_line(int line) const {
    return line_in(bytes_, byte_starts_, line);
}

text_position document_text::position_of(int line, int column) const {
    const int l = std::clamp(line - 1, 0, line_count() - 1);
    const std::string_view s = unicode_line(l);
    text_position p{l, 0};
    std::size_t at = 0;
    for (int c = 1; c < column && at < s.size(); ++c) {
        const std::size_t first = at;
        const std::optional<char32_t> code = read_utf8(s, at);
        if (!code) {
            at = first + 1;
        }
        p.character += code ? utf16_units(*code) : 1;
    }
    return p;
}

std::string_view document_text::line_end(int line) const {
    if (line < 0 || line + 1 >= line_count()) {
        return {};
    }
    const std::size_t next = starts_[static_cast<std::size_t>(line) + 1];
    const std::size_t start = starts_[static_cast<std::size_t>(line)];
    return next >= start + 2 && unicode_[next - 2] == '\r' ? "\r\n" : "\n";
}

text_range document_text::field_range(int line, int column, int end_column) const {
    if (line <= 0) {
        return {};
    }
    if (column <= 0) {
        const auto length = static_cast<int>(byte_line(line - 1).size());
        return {position_of(line, 1), position_of(line, length + 1)};
    }
    return {position_of(line, column), position_of(line, std::max(end_column, column) + 1)};
}

text_position document_text::end() const {
    const int last = line_count() - 1;
    const std::string_view s = line_in(unicode_, starts_, last);
    return position_of(last + 1, static_cast<int>(s.size()) + 1);
}

namespace {

// Walks a line to a UTF-16 column: the byte offset reached and the characters passed.
std::pair<std::size_t, int> walk(std::string_view s, int character) {
    std::size_t at = 0;
    int units = 0;
    int characters = 0;
    while (at < s.size() && units < character) {
        const std::size_t first = at;
        const std::optional<char32_t> code = read_utf8(s, at);
        if (!code) {
            at = first + 1;
        }
        const int n = code ? utf16_units(*code) : 1;
        if (units + n > character) {
            at = first;  // inside a surrogate pair: the character's start
            break;
        }
        units += n;
        ++characters;
    }
    return {at, characters};
}

}  // namespace

int document_text::column_at(const text_position& p) const {
    return walk(unicode_line(p.line), p.character).second + 1;
}

std::size_t document_text::offset_of(const text_position& p) const {
    if (p.line < 0) {
        return 0;
    }
    if (p.line >= line_count()) {
        return unicode_.size();
    }
    const auto i = static_cast<std::size_t>(p.line);
    // The whole line here, with its CR, so that a column past the end stops before LF.
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] - 1 : unicode_.size();
    const std::string_view s(unicode_.data() + starts_[i], end - starts_[i]);
    return starts_[i] + walk(s, std::max(p.character, 0)).first;
}

void document_text::replace(const text_position& start, const text_position& end,
                            std::string_view text) {
    const std::size_t a = offset_of(start);
    const std::size_t b = std::max(a, offset_of(end));
    std::string next;
    next.reserve(unicode_.size() - (b - a) + text.size());
    next.append(unicode_, 0, a).append(text).append(unicode_, b, std::string::npos);
    *this = from_unicode(next);
}

}  // namespace scenario::language
