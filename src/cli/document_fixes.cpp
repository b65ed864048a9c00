#include "cli/document_fixes.hpp"

#include <algorithm>
#include <map>
#include <optional>

namespace scenario::cli {

namespace {

// A line of a document: where it starts, where its text ends and where its line end
// ends (the next line's start).
struct line_span {
    std::size_t start;
    std::size_t text_end;
    std::size_t end;
};

std::vector<line_span> lines_of(std::string_view bytes) {
    std::vector<line_span> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back({start, bytes.size(), bytes.size()});
            break;
        }
        const std::size_t text_end = lf > start && bytes[lf - 1] == '\r' ? lf - 1 : lf;
        lines.push_back({start, text_end, lf + 1});
        start = lf + 1;
    }
    return lines;
}

// The byte offset of character column `column` (from 1) of a line; one past the line's
// text for the column after its last character; nothing beyond.
std::optional<std::size_t> offset_of(std::string_view bytes, const line_span& line, int column,
                                     text_encoding encoding) {
    std::size_t at = line.start;
    if (encoding == text_encoding::utf_8 && at == 0 && bytes.starts_with("\xEF\xBB\xBF")) {
        at = 3;  // the byte order mark is no character of the text
    }
    for (int c = 1; c < column; ++c) {
        if (at >= line.text_end) {
            return std::nullopt;
        }
        if (encoding == text_encoding::utf_8) {
            std::size_t next = at;
            at = read_utf8(bytes, next) ? next : at + 1;
        } else {
            ++at;
        }
    }
    return at <= line.text_end ? std::optional<std::size_t>(at) : std::nullopt;
}

// The bytes a fix replaces, [first, last), and what goes there; nothing when it does not
// fit the text.
struct edit {
    std::size_t first;
    std::size_t last;
    std::string text;
};

std::optional<edit> edit_of(const document_bytes& d, const std::vector<line_span>& lines,
                            const diagnostic_fix& f) {
    if (f.line < 1 || static_cast<std::size_t>(f.line) > lines.size()) {
        return std::nullopt;
    }
    const line_span& line = lines[static_cast<std::size_t>(f.line - 1)];
    const std::string text = d.encoding == text_encoding::utf_8
                                 ? windows1252_to_utf8(f.replacement)
                                 : f.replacement;
    if (f.column == 0) {
        return edit{line.start, line.end, text.empty() ? text : text + std::string(
                                                                    d.bytes.substr(line.text_end, line.end - line.text_end))};
    }
    const auto first = offset_of(d.bytes, line, f.column, d.encoding);
    const auto last = offset_of(d.bytes, line, f.end_column + 1, d.encoding);
    if (!first || !last || *last < *first) {
        return std::nullopt;
    }
    return edit{*first, *last, text};
}

}  // namespace

std::vector<const diagnostic_fix*> apply_fixes(document_bytes& document,
                                               std::span<const diagnostic_fix* const> fixes) {
    const std::vector<line_span> lines = lines_of(document.bytes);
    // Kept edits by their first byte; each must keep clear of the others' bytes and
    // lines (a whole line's edit of every other on its line).
    std::map<std::size_t, std::pair<edit, const diagnostic_fix*>> kept;
    std::vector<int> whole_lines, touched_lines;
    for (const diagnostic_fix* f : fixes) {
        const std::optional<edit> e = edit_of(document, lines, *f);
        if (!e) {
            continue;
        }
        const bool whole = f->column == 0;
        const bool line_taken =
            std::find(whole_lines.begin(), whole_lines.end(), f->line) != whole_lines.end() ||
            (whole && std::find(touched_lines.begin(), touched_lines.end(), f->line) !=
                          touched_lines.end());
        const bool overlaps = std::any_of(kept.begin(), kept.end(), [&](const auto& k) {
            const edit& o = k.second.first;
            return e->first == o.first || (e->first < o.last && o.first < e->last);
        });
        if (line_taken || overlaps) {
            continue;
        }
        kept.emplace(e->first, std::pair{*e, f});
        (whole ? whole_lines : touched_lines).push_back(f->line);
    }
    std::string out;
    out.reserve(document.bytes.size());
    std::size_t at = 0;
    for (const auto& [first, kept_edit] : kept) {
        out.append(document.bytes, at, first - at);
        out += kept_edit.first.text;
        at = kept_edit.first.last;
    }
    out.append(document.bytes, at, std::string::npos);
    document.bytes = std::move(out);
    std::vector<const diagnostic_fix*> applied;
    for (const diagnostic_fix* f : fixes) {
        if (std::any_of(kept.begin(), kept.end(),
                        [&](const auto& k) { return k.second.second == f; })) {
            applied.push_back(f);
        }
    }
    return applied;
}

namespace {

std::vector<std::string_view> text_lines(std::string_view bytes) {
    std::vector<std::string_view> out;
    for (const line_span& l : lines_of(bytes)) {
        out.push_back(bytes.substr(l.start, l.text_end - l.start));
    }
    return out;
}

// The shortest edit script between two lists of lines (Myers): for each line of either,
// whether it is kept, removed (from a) or added (from b), in order.
enum class step { keep, remove, add };

std::vector<step> edit_script(const std::vector<std::string_view>& a,
                              const std::vector<std::string_view>& b) {
    // The lines both begin and end with are kept; the search runs between them.
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
        ++tail;
    }
    const auto n = static_cast<std::ptrdiff_t>(a.size() - head - tail);
    const auto m = static_cast<std::ptrdiff_t>(b.size() - head - tail);
    const auto same = [&](std::ptrdiff_t x, std::ptrdiff_t y) {
        return a[head + static_cast<std::size_t>(x)] == b[head + static_cast<std::size_t>(y)];
    };
    // trace[d][k + d]: the furthest x on diagonal k after d edits.
    std::vector<std::vector<std::ptrdiff_t>> trace;
    std::ptrdiff_t found = -1;
    for (std::ptrdiff_t d = 0; found < 0; ++d) {
        std::vector<std::ptrdiff_t> v(static_cast<std::size_t>(2 * d + 1), 0);
        const auto before = [&](std::ptrdiff_t k) {
            return trace.back()[static_cast<std::size_t>(k + d - 1)];
        };
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            std::ptrdiff_t x = 0;
            if (d > 0) {
                x = k == -d || (k != d && before(k - 1) < before(k + 1)) ? before(k + 1)
                                                                         : before(k - 1) + 1;
            }
            std::ptrdiff_t y = x - k;
            while (x < n && y < m && same(x, y)) {
                ++x;
                ++y;
            }
            v[static_cast<std::size_t>(k + d)] = x;
            if (x >= n && y >= m && found < 0) {
                found = d;
            }
        }
        trace.push_back(std::move(v));
    }
    std::vector<step> script(tail, step::keep);
    std::ptrdiff_t x = n;
    std::ptrdiff_t y = m;
    for (std::ptrdiff_t d = found; d > 0; --d) {
        const std::vector<std::ptrdiff_t>& previous = trace[static_cast<std::size_t>(d - 1)];
        const auto at = [&](std::ptrdiff_t k) { return previous[static_cast<std::size_t>(k + d - 1)]; };
        const std::ptrdiff_t k = x - y;
        const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        const std::ptrdiff_t previous_k = down ? k + 1 : k - 1;
        const std::ptrdiff_t previous_x = at(previous_k);
        const std::ptrdiff_t previous_y = previous_x - previous_k;
        while (x > previous_x && y > previous_y) {
            script.push_back(step::keep);
            --x;
            --y;
        }
        script.push_back(down ? step::add : step::remove);
        x = previous_x;
        y = previous_y;
    }
    while (x > 0 && y > 0) {
        script.push_back(step::keep);
        --x;
        --y;
    }
    script.insert(script.end(), head, step::keep);
    std::reverse(script.begin(), script.end());
    return script;
}

std::string shown(std::string_view line, text_encoding encoding) {
    return encoding == text_encoding::utf_8 ? std::string(line) : windows1252_to_utf8(line);
}

}  // namespace

std::string unified_diff(const document_bytes& before, const document_bytes& after,
                         const std::string& path) {
    if (before.bytes == after.bytes) {
        return {};
    }
    const std::vector<std::string_view> a = text_lines(before.bytes);
    const std::vector<std::string_view> b = text_lines(after.bytes);
    const std::vector<step> script = edit_script(a, b);
    // Each step with the line numbers (from 0) it stands at in a and b.
    struct placed {
        step s;
        std::size_t i;
        std::size_t j;
    };
    std::vector<placed> steps;
    std::size_t i = 0;
    std::size_t j = 0;
    for (const step s : script) {
        steps.push_back({s, i, j});
        i += s != step::add ? 1 : 0;
        j += s != step::remove ? 1 : 0;
    }
    constexpr std::size_t context = 3;
    std::string out = "--- " + path + "\n+++ " + path + "\n";
    std::size_t k = 0;
    while (k < steps.size()) {
        if (steps[k].s == step::keep) {
            ++k;
            continue;
        }
        // A hunk: from `context` kept lines before this change to `context` after the
        // last change that lies within twice the context of the one before it.
        std::size_t first = k >= context ? k - context : 0;
        std::size_t last = k;
        for (std::size_t q = k; q < steps.size(); ++q) {
            if (steps[q].s != step::keep) {
                last = q;
            } else if (q - last > 2 * context) {
                break;
            }
        }
        const std::size_t end = std::min(last + context + 1, steps.size());
        std::size_t a_count = 0;
        std::size_t b_count = 0;
        std::string body;
        for (std::size_t q = first; q < end; ++q) {
            const placed& p = steps[q];
            switch (p.s) {
                case step::keep:
                    body.append(1, ' ').append(shown(a[p.i], before.encoding)).append(1, '\n');
                    ++a_count;
                    ++b_count;
                    break;
                case step::remove:
                    body.append(1, '-').append(shown(a[p.i], before.encoding)).append(1, '\n');
                    ++a_count;
                    break;
                case step::add:
                    body.append(1, '+').append(shown(b[p.j], after.encoding)).append(1, '\n');
                    ++b_count;
                    break;
            }
        }
        const auto range = [](std::size_t start, std::size_t count) {
            return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
        };
        out += "@@ -" + range(steps[first].i, a_count) + " +" + range(steps[first].j, b_count) +
               " @@\n" + body;
        k = end;
    }
    return out;
}

}  // namespace scenario::cli
