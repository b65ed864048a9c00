#include "compiler/document_checks.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "model/failure.hpp"
#include "text/windows1252.hpp"

namespace scenario {

namespace {

constexpr bool space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The head of a document: up to its second "[" (the first section header after
// "[generale]"), where a line document gives its route length.
std::string_view head(std::string_view text) {
    const std::size_t first = text.find('[');
    const std::size_t second = first == std::string_view::npos ? first : text.find('[', first + 1);
    return text.substr(0, second);
}

bool looks_like_line(std::string_view text) {
    const std::string_view top = head(text);
    return contains(top, "lunghezza") && contains(top, "percorso");
}

bool looks_like_train(std::string_view text) {
    return !looks_like_line(text) && (contains(text, "stazione") || contains(text, "segnale") ||
                                      contains(text, "velocit") || contains(text, "aderenza"));
}

// The first byte above 127 from `at` on (the text's size when there is none), eight
// bytes at a time.
std::size_t next_high_byte(std::string_view text, std::size_t at) {
    constexpr std::uint64_t high_bits = 0x8080808080808080u;
    while (at + 8 <= text.size()) {
        std::uint64_t eight;
        std::memcpy(&eight, text.data() + at, 8);
        if ((eight & high_bits) != 0) {
            break;
        }
        at += 8;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) {
        ++at;
    }
    return at;
}

// The last line that holds more than blanks must be "[fine]".
void check_end(reading& r) {
    const std::string_view text = r.text;
    std::size_t end = text.size();
    while (end > 0 && space(text[end - 1])) {
        --end;
    }
    std::size_t start = text.rfind('\n', end == 0 ? 0 : end - 1);
    start = start == std::string_view::npos ? 0 : start + 1;
    std::size_t first = start;
    while (first < end && (text[first] == ' ' || text[first] == '\t')) {
        ++first;
    }
    const std::string_view last = text.substr(first, end - first);
    if (last.size() == 6 && contains(last, "[fine]")) {
        return;
    }
    const auto line = static_cast<int>(std::count(
                          text.begin(), text.begin() + static_cast<std::ptrdiff_t>(start), '\n')) +
                      1;
    field_place place{start, first, line, static_cast<int>(first - start) + 1,
                      static_cast<int>(end - start)};
    r.warn(warning::missing_fine, place, say(phrase::missing_fine));
}

// Characters written in UTF-8: the documents are Windows-1252, one byte a character, so
// the simulator shows each byte of the sequence as a character of its own. One warning
// a line, at its first such character.
void check_encoding(reading& r) {
    const std::string_view text = r.text;
    int line = 1;
    std::size_t counted = 0;  // newlines are counted up to here
    int warned = 0;
    for (std::size_t at = next_high_byte(text, 0); at < text.size();
         at = next_high_byte(text, at + 1)) {
        std::size_t next = at;
        const auto code = read_utf8(text, next);
        if (!code || next - at < 2) {
            continue;
        }
        line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                                            text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
        counted = at;
        const std::string_view bytes = text.substr(at, next - at);
        if (line != warned) {
            warned = line;
            const std::size_t start =
                text.rfind('\n', at) == std::string_view::npos ? 0 : text.rfind('\n', at) + 1;
            const int column = static_cast<int>(at - start) + 1;
            const field_place place{start, at, line, column,
                                    column + static_cast<int>(bytes.size()) - 1};
            // The character meant, as the document's own text where the code page has it.
            const windows1252_text meant = utf8_to_windows1252(bytes);
            std::string character = meant.text;
            if (meant.fault) {
                char name[16];
                std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(*code));
                character = name;
            }
            std::string hex;
            for (const char c : bytes) {
                char byte[4];
                std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(c));
                hex.append(hex.empty() ? "" : " ").append(byte);
            }
            std::vector<diagnostic_fix> fixes;
            if (!meant.fault) {
                fixes.push_back(r.fix_at(place, meant.text,
                                         "write the character as Windows-1252: \"" + meant.text +
                                             "\"",
                                         true));
            }
            r.warn(warning::not_windows_1252, place,
                   say(phrase::not_windows_1252, {character, hex, bytes}), {}, std::move(fixes));
        }
        at = next - 1;
    }
}

}  // namespace

void check_document(reading& r) {
    const std::string_view text = r.text;
    if (std::all_of(text.begin(), text.end(), space)) {
        r.warn_document(warning::empty_document, say(phrase::empty_document));
        r.keyword_warnings = false;
        return;
    }
    check_end(r);
    check_encoding(r);
    if (r.which == source_document::line) {
        r.line_looks_like_train = looks_like_train(text);
        if (r.line_looks_like_train) {
            r.keyword_warnings = false;
            // A train document the store cannot read is not taken for a line document
            // here: the train reader says why when it opens it.
            shared_document other;
            try {
                other = r.store.read(r.train_name);
            } catch (const failure&) {
            }
            r.warn_document(
                warning::documents_swapped,
                say(other && looks_like_line(*other) ? phrase::documents_swapped
                                                     : phrase::line_document_looks_like_train));
        }
        return;
    }
    if (text == r.line_text) {
        r.keyword_warnings = false;
        r.warn_document(warning::same_document, say(phrase::same_document));
    } else if (looks_like_line(text)) {
        r.keyword_warnings = false;
        if (!r.line_looks_like_train) {
            r.warn_document(warning::documents_swapped,
                            say(phrase::train_document_looks_like_line));
        }
    }
}

}  // namespace scenario
