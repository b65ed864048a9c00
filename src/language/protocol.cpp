#include "language/protocol.hpp"

#include "language/request_error.hpp"

namespace scenario::language {

namespace {

using json = nlohmann::json;

// The member of an object, or nothing when the value is not an object or lacks it.
const json* member(const json* value, const char* name) {
    if (value == nullptr || !value->is_object()) {
        return nullptr;
    }
    const auto it = value->find(name);
    return it == value->end() ? nullptr : &*it;
}

int code_of(error_code code) {
    return static_cast<int>(code);
}

}  // namespace

client_capabilities read_client_capabilities(const json& initialize_params) {
    client_capabilities client;
    const json* text = member(member(&initialize_params, "capabilities"), "textDocument");
    const json* snippets = member(member(member(text, "completion"), "completionItem"), "snippetSupport");
    client.snippets = snippets != nullptr && snippets->is_boolean() && snippets->get<bool>();
    const json* formats = member(member(text, "hover"), "contentFormat");
    if (formats != nullptr && formats->is_array()) {
        for (const json& f : *formats) {
            client.markdown_hover = client.markdown_hover || f == "markdown";
        }
    }
    const json* literals = member(member(text, "codeAction"), "codeActionLiteralSupport");
    client.code_action_literals = literals != nullptr && literals->is_object();
    return client;
}

class protocol_server::stream_sink : public notification_sink {
  public:
    stream_sink(const protocol_server& server, std::ostream& out) : server_(server), out_(out) {}
    void notify(std::string_view method, json params) override {
        server_.send(out_, {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
    }

  private:
    const protocol_server& server_;
    std::ostream& out_;
};

protocol_server::protocol_server(method_handler& handler, framing_limits limits, std::ostream& log)
    : handler_(handler), limits_(limits), log_(log) {}

void protocol_server::send(std::ostream& out, const json& message) const {
    write_message(out, message.dump(-1, ' ', false, json::error_handler_t::replace));
}

void protocol_server::fail(std::ostream& out, const json& id, int code,
                           const std::string& message) const {
    send(out, {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

int protocol_server::run(std::istream& in, std::ostream& out) {
    while (true) {
        const framed_message m = read_message(in, limits_);
        switch (m.what) {
            case framed_message::kind::end:
                return exit_status();
            case framed_message::kind::bad_header:
                fail(out, nullptr, code_of(error_code::parse_error), m.why);
                break;
            case framed_message::kind::too_large:
                fail(out, nullptr, code_of(error_code::invalid_request), m.why);
                break;
            case framed_message::kind::message:
                if (!handle(m.content, out)) {
                    return exit_status();
                }
                break;
        }
    }
}

bool protocol_server::handle(std::string_view content, std::ostream& out) {
    const json message = json::parse(content, nullptr, false);
    if (message.is_discarded()) {
        fail(out, nullptr, code_of(error_code::parse_error), "the message is not JSON");
        return true;
    }
    const bool has_id = message.is_object() && message.contains("id");
    const json id = has_id ? message["id"] : json(nullptr);
    if (has_id && !id.is_number_integer() && !id.is_string() && !id.is_null()) {
        fail(out, nullptr, code_of(error_code::invalid_request),
             "the id is neither a number nor a string");
        return true;
    }
    if (!message.is_object() || message.value("jsonrpc", json()) != "2.0") {
        fail(out, id, code_of(error_code::invalid_request), "not a JSON-RPC 2.0 message");
        return true;
    }
    if (!message.contains("method")) {
        return true;  // a response to a request of ours: we send none
    }
    if (!message["method"].is_string()) {
        fail(out, id, code_of(error_code::invalid_request), "the method is not a string");
        return true;
    }
    const std::string method = message["method"].get<std::string>();
    // No params, or null (some clients send it for "shutdown"), is none.
    const json params = message.contains("params") && !message["params"].is_null() ? message["params"]
                                                                                   : json::object();
    if (has_id) {
        answer(id, method, params, out);
    } else {
        notification(method, params, out);
    }
    return !exited_;
}

void protocol_server::answer(const json& id, const std::string& method, const json& params,
                             std::ostream& out) {
    if (!initialized_ && method != "initialize") {
        fail(out, id, code_of(error_code::server_not_initialized), "the server is not initialized");
        return;
    }
    if (shut_down_) {
        fail(out, id, code_of(error_code::invalid_request), "the server has shut down");
        return;
    }
    try {
        json result = lifecycle_or_request(method, params, out);
        send(out, {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
    } catch (const request_error& e) {
        fail(out, id, code_of(e.code()), e.what());
    } catch (const std::exception& e) {
        fail(out, id, code_of(error_code::internal_error), e.what());
    }
}

nlohmann::json protocol_server::lifecycle_or_request(const std::string& method, const json& params,
                                                     std::ostream& out) {
    if (!params.is_object() && !params.is_array()) {
        throw request_error(error_code::invalid_params, "the params are neither an object nor an array");
    }
    if (method == "initialize") {
        if (initialized_) {
            throw request_error(error_code::invalid_request, "initialize came twice");
        }
        json result = handler_.initialize(read_client_capabilities(params));
        initialized_ = true;
        return result;
    }
    if (method == "shutdown") {
        shut_down_ = true;
        return nullptr;
    }
    stream_sink sink(*this, out);
    return handler_.request(method, params, sink);
}

void protocol_server::notification(const std::string& method, const json& params,
                                   std::ostream& out) {
    if (method == "exit") {
        exited_ = true;
        return;
    }
    if (!initialized_ || shut_down_ || method == "initialized") {
        return;  // nothing to do, or dropped as the protocol says
    }
    try {
        if (!params.is_object() && !params.is_array()) {
            throw request_error(error_code::invalid_params,
                                "the params are neither an object nor an array");
        }
        stream_sink sink(*this, out);
        handler_.notification(method, params, sink);
    } catch (const std::exception& e) {
        log_ << "scenario lsp: " << method << ": " << e.what() << '\n' << std::flush;
    }
}

}  // namespace scenario::language
