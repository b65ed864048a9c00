#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "language/document_text.hpp"

namespace scenario::language {

// The parameters of the methods this server takes, read with their shapes checked: a
// member that is missing or not what the protocol says it is throws request_error
// (invalid_params) naming it.

// params.textDocument.uri
std::string document_uri(const nlohmann::json& params);
// params.textDocument.text (didOpen)
std::string document_text_of(const nlohmann::json& params);
// params.position
text_position position_of(const nlohmann::json& params);
// params.range
text_range range_of(const nlohmann::json& params);

// params.context.only (codeAction): the kinds of action asked for, nothing when any kind
// is (params.context must be an object).
std::optional<std::vector<std::string>> action_kinds(const nlohmann::json& params);

// One change of params.contentChanges (didChange): a range replaced, or the whole text.
struct content_change {
    std::optional<text_range> range;
    std::string text;
};
std::vector<content_change> content_changes(const nlohmann::json& params);

}  // namespace scenario::language
