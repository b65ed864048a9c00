#pragma once

#include <optional>
#include <string>

#include "compiled/compiled_scenario.hpp"
#include "grammar/grammar.hpp"
#include "language/document_text.hpp"

namespace scenario::language {

// One document of a pair.
struct pair_document {
    std::string uri;   // empty: no such document beside the other
    std::string name;  // the name the compiler gives it in its diagnostics
    std::optional<document_text> text;  // nothing: not there, or not readable
};

// The compile of a line document with its train document, as the features take it:
// both documents as they were compiled, the request that compiled them (to compile again
// with another text) and what it compiled to.
struct compiled_pair {
    pair_document line;
    pair_document train;
    compile_request request;
    compiled_scenario compiled;

    const pair_document& document(source_document which) const {
        return which == source_document::line ? line : train;
    }
    // Which of the two a URI names.
    std::optional<source_document> which(const std::string& uri) const {
        if (!line.uri.empty() && uri == line.uri) {
            return source_document::line;
        }
        if (!train.uri.empty() && uri == train.uri) {
            return source_document::train;
        }
        return std::nullopt;
    }
};

}  // namespace scenario::language
