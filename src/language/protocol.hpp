#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "language/framing.hpp"

namespace scenario::language {

// The protocol layer of the language server: the framing, JSON-RPC 2.0, the lifecycle
// ("initialize", "shutdown", "exit") and what the client declared it can take. It knows
// nothing of scenarios: every other method goes to the handler it is given.

// What the client declared in "initialize" that changes how it is answered.
struct client_capabilities {
    bool snippets = false;        // textDocument.completion.completionItem.snippetSupport
    bool markdown_hover = false;  // textDocument.hover.contentFormat lists "markdown"
    // textDocument.codeAction.codeActionLiteralSupport: code actions may be answered as
    // literals (with their edits) rather than as commands
    bool code_action_literals = false;
};
// Read leniently: a capability not given, or not of the shape the protocol gives it, is
// not declared.
client_capabilities read_client_capabilities(const nlohmann::json& initialize_params);

// Where the handler sends its notifications to the client.
class notification_sink {
  public:
    virtual ~notification_sink() = default;
    virtual void notify(std::string_view method, nlohmann::json params) = 0;
};

// The server behind the protocol layer.
class method_handler {
  public:
    virtual ~method_handler() = default;
    // The server's capabilities and information ("capabilities", "serverInfo") for a client
    // that declared its own.
    virtual nlohmann::json initialize(const client_capabilities& client) = 0;
    // Answers a request, or throws request_error (method_not_found for a method it does
    // not know). Any other exception is answered as an internal error.
    virtual nlohmann::json request(const std::string& method, const nlohmann::json& params,
                                   notification_sink& out) = 0;
    // Acts on a notification. Whatever it throws is written to the log.
    virtual void notification(const std::string& method, const nlohmann::json& params,
                              notification_sink& out) = 0;
};

// Reads messages from a stream and answers on another until "exit" or the end of the
// input; nothing a message holds ends it otherwise.
class protocol_server {
  public:
    protocol_server(method_handler& handler, framing_limits limits, std::ostream& log);

    // Serves until "exit" or the end of the input; returns the exit status.
    int run(std::istream& in, std::ostream& out);
    // Acts on one message's content; false once "exit" came.
    bool handle(std::string_view content, std::ostream& out);
    // 0 after "shutdown", 1 without.
    int exit_status() const { return shut_down_ ? 0 : 1; }

  private:
    using json = nlohmann::json;
    class stream_sink;

    void send(std::ostream& out, const json& message) const;
    void fail(std::ostream& out, const json& id, int code, const std::string& message) const;
    void answer(const json& id, const std::string& method, const json& params, std::ostream& out);
    json lifecycle_or_request(const std::string& method, const json& params, std::ostream& out);
    void notification(const std::string& method, const json& params, std::ostream& out);

    method_handler& handler_;
    framing_limits limits_;
    std::ostream& log_;
    bool initialized_ = false;
    bool shut_down_ = false;
    bool exited_ = false;
};

}  // namespace scenario::language
