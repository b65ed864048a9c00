#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "language/file_access.hpp"
#include "language/framing.hpp"
#include "language/protocol.hpp"
#include "language/workspace.hpp"
#include "text/windows1252.hpp"

namespace scenario::language {

struct server_options {
    text_encoding encoding = text_encoding::windows_1252;  // of the documents on disk
    framing_limits limits;
    std::string version;  // the program's, for the client
};

// The methods of the scenario language server: the documents' notifications go to the
// workspace, each request to its feature, and the answers are made for the client as it
// asked. After each compile both documents' diagnostics are published.
class scenario_methods : public method_handler {
  public:
    scenario_methods(const file_access& disk, const server_options& options);

    nlohmann::json initialize(const client_capabilities& client) override;
    nlohmann::json request(const std::string& method, const nlohmann::json& params,
                           notification_sink& out) override;
    void notification(const std::string& method, const nlohmann::json& params,
                      notification_sink& out) override;

  private:
    // Compiles the pair a document belongs to and publishes both documents' diagnostics.
    std::shared_ptr<const compiled_pair> compile_and_publish(const std::string& uri,
                                                             notification_sink& out);
    // The last compile of a document's pair (compiled now when there is none), and which
    // of the two the document is; nothing for a document of no pair.
    std::pair<std::shared_ptr<const compiled_pair>, source_document> pair_of(
        const std::string& uri, notification_sink& out);

    workspace documents_;
    client_capabilities client_;
    std::string version_;
};

// The language server: the protocol layer over the scenario methods. Reads requests and
// notifications from a stream, answers on another, writes what it cannot act on to the
// log; no I/O of its own but those streams and the file access it is given.
class server {
  public:
    server(const file_access& disk, server_options options, std::ostream& log);

    // Serves until "exit" or the end of the input; returns the exit status: 0 after
    // "shutdown", 1 without.
    int run(std::istream& in, std::ostream& out) { return protocol_.run(in, out); }
    // Acts on one message's content; false once "exit" came.
    bool handle(std::string_view content, std::ostream& out) { return protocol_.handle(content, out); }
    int exit_status() const { return protocol_.exit_status(); }

  private:
    scenario_methods methods_;
    protocol_server protocol_;
};

}  // namespace scenario::language
