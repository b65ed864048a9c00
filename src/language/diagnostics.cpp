#include "language/diagnostics.hpp"

#include "text/windows1252.hpp"

namespace scenario::language {

namespace {

}  // namespace

// The document of a pair a diagnostic names, when it is there.
const pair_document* place_of(const compiled_pair& pair, const std::string& document) {
    const pair_document* d = nullptr;
    if (document.empty()) {
        d = pair.line.text ? &pair.line : &pair.train;
    } else if (document == pair.train.name) {
        d = &pair.train;
    } else if (document == pair.line.name) {
        d = &pair.line;
    }
    return d != nullptr && d->text ? d : nullptr;
}

editor_diagnostic editor_form(const compiled_pair& pair, const diagnostic& d, const pair_document& in) {
    editor_diagnostic e{in.text->field_range(d.line, d.column, d.end_column),
                        d.level,
                        d.number,
                        d.name,
                        windows1252_to_utf8(d.message),
                        {}};
    for (const diagnostic_note& n : d.notes) {
        if (const pair_document* at = place_of(pair, n.document.empty() ? d.document : n.document)) {
            e.related.push_back({at->uri, at->text->field_range(n.line, n.column, n.end_column),
                                 windows1252_to_utf8(n.message)});
        }
    }
    return e;
}

std::vector<document_diagnostics> diagnostics_of(const compiled_pair& pair) {
    document_diagnostics line{pair.line.uri, {}};
    document_diagnostics train{pair.train.uri, {}};
    for (const diagnostic& d : pair.compiled.state.diagnostics) {
        if (const pair_document* in = place_of(pair, d.document)) {
            (in == &pair.line ? line : train).diagnostics.push_back(editor_form(pair, d, *in));
        }
    }
    std::vector<document_diagnostics> out;
    for (auto [document, list] : {std::pair{&pair.line, &line}, std::pair{&pair.train, &train}}) {
        if (!document->text) {
            continue;
        }
        for (const text_fault& f : document->text->faults()) {
            list->diagnostics.push_back({document->text->field_range(f.line, f.column, f.column),
                                         severity::error,
                                         0,
                                         {},
                                         f.what + "; the compiler reads it as \"?\"",
                                         {}});
        }
        out.push_back(std::move(*list));
    }
    return out;
}

}  // namespace scenario::language
