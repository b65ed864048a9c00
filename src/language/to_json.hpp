#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "language/code_actions.hpp"
#include "language/completion.hpp"
#include "language/diagnostics.hpp"
#include "language/formatting.hpp"
#include "language/hover.hpp"
#include "language/outline.hpp"
#include "language/protocol.hpp"

namespace scenario::language {

// The features' answers as the protocol carries them, made for the client as it asked
// (snippets, Markdown). The only place that writes them as JSON, Markdown or plain text.

nlohmann::json to_json(const text_range& range);
nlohmann::json to_json(const document_diagnostics& published);  // publishDiagnostics' params
nlohmann::json to_json(const std::optional<hover_info>& hover, const client_capabilities& client);
nlohmann::json to_json(const std::vector<outline_symbol>& outline);
nlohmann::json to_json(const std::vector<completion_item>& items, const client_capabilities& client);
nlohmann::json to_json(const std::vector<text_edit>& edits);
// Code actions of kind "quickfix", each with its diagnostic and its edit ready; none for
// a client that takes no literal code actions.
nlohmann::json to_json(const std::vector<quick_fix>& fixes, const client_capabilities& client);

// A hover's text: Markdown, or plain text.
std::string hover_markdown(const hover_info& hover);
std::string hover_plain_text(const hover_info& hover);

}  // namespace scenario::language
