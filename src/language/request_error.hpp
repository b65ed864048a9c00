#pragma once

#include <string>

#include "model/failure.hpp"

namespace scenario::language {

// The protocol's error codes this server answers with.
enum class error_code : int {
    parse_error = -32700,
    invalid_request = -32600,
    method_not_found = -32601,
    invalid_params = -32602,
    internal_error = -32603,
    server_not_initialized = -32002,
    request_failed = -32803,
};

// A request that cannot be answered as asked: the code and the message the client gets
// as its error. Whoever finds it throws it (the reading of parameters, a feature); the
// protocol layer turns it into the error response, or logs it for a notification.
class request_error : public failure {
  public:
    request_error(error_code code, const std::string& message) : failure(message), code_(code) {}
    error_code code() const { return code_; }

  private:
    error_code code_;
};

}  // namespace scenario::language
