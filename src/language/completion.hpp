#pragma once

#include <string>
#include <vector>

#include "language/compiled_pair.hpp"

namespace scenario::language {

// A keyword the author may write at a place, with the names of the fields after it (the
// edge makes them placeholders of a snippet for a client that takes snippets).
struct completion_item {
    std::string form;                 // UTF-8
    std::vector<std::string> fields;  // in order
};

// The keywords of the part of the document a position lies in, each form of each; before
// "[generale]", "[generale]" alone.
std::vector<completion_item> completions_at(const compiled_pair& pair, source_document which,
                                            text_position at);

}  // namespace scenario::language
