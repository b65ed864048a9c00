#include "compiler/document_checks.hpp"

#include <algorithm>

namespace scenario {

namespace {

constexpr bool space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool looks_like_line(std::string_view text) {
    return contains(text, "lunghezza") && contains(text, "percorso");
}

bool looks_like_train(std::string_view text) {
    return !looks_like_line(text) &&
           (contains(text, "stazione") || contains(text, "segnale") ||
            contains(text, "velocit") || contains(text, "aderenza"));
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
    const auto line = static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(start), '\n')) + 1;
    field_place place{start, first, line, static_cast<int>(first - start) + 1,
                      static_cast<int>(end - start)};
    r.warn(warning::missing_fine, place, say(phrase::missing_fine));
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
    if (r.which == source_document::line) {
        r.line_looks_like_train = looks_like_train(text);
        if (r.line_looks_like_train) {
            r.keyword_warnings = false;
            const auto other = r.store.read(r.train_name);
            r.warn_document(warning::documents_swapped,
                            say(other && looks_like_line(*other)
                                    ? phrase::documents_swapped
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
