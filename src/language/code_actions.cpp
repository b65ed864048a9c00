#include "language/code_actions.hpp"

#include "text/windows1252.hpp"

namespace scenario::language {

namespace {

// Whether two ranges meet (an empty range meets one that holds its position, or ends or
// starts there).
bool meet(const text_range& a, const text_range& b) {
    return !(a.end < b.start) && !(b.end < a.start);
}

// The range of the editor's text a fix replaces.
text_range edit_range(const document_text& text, const diagnostic_fix& f) {
    if (f.column == 0) {
        const text_position start{f.line - 1, 0};
        return {start, f.line < text.line_count() ? text_position{f.line, 0} : text.end()};
    }
    return {text.position_of(f.line, f.column), text.position_of(f.line, f.end_column + 1)};
}

}  // namespace

std::vector<quick_fix> quick_fixes_at(const compiled_pair& pair, source_document which,
                                      text_range range) {
    std::vector<quick_fix> fixes;
    const pair_document& cursor = pair.document(which);
    if (!cursor.text) {
        return fixes;
    }
    for (const diagnostic& d : pair.compiled.state.diagnostics) {
        if (d.fixes.empty()) {
            continue;
        }
        const pair_document* in = place_of(pair, d.document);
        if (in == nullptr) {
            continue;
        }
        const editor_diagnostic shown = editor_form(pair, d, *in);
        const bool here = in == &cursor && meet(shown.range, range);
        for (const diagnostic_fix& f : d.fixes) {
            const pair_document* target = place_of(pair, f.document);
            if (target == nullptr || f.line < 1 || f.line > target->text->line_count()) {
                continue;
            }
            const text_range changed = edit_range(*target->text, f);
            if (!here && !(target == &cursor && meet(changed, range))) {
                continue;
            }
            std::string replacement = windows1252_to_utf8(f.replacement);
            if (f.column == 0 && !replacement.empty()) {
                replacement += target->text->line_end(f.line - 1);
            }
            fixes.push_back({windows1252_to_utf8(f.title), shown, in->uri, f.certain, target->uri,
                             text_edit{changed, std::move(replacement)}});
        }
    }
    return fixes;
}

}  // namespace scenario::language
