#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "live/session.hpp"
#include "live/watcher.hpp"

namespace scenario::live {

struct server_options {
    std::uint16_t port = 0;  // 0: a free port
    // How a burst of saves settles before the documents are compiled again.
    std::chrono::milliseconds settle{5};
    watch_method watching = watch_method::native;
    // SIGINT and SIGTERM end run() (the tool's; an embedding test ends it with stop()).
    bool handle_signals = false;
    // A request's header must have come whole this long after the connection opened (on
    // a kept-alive connection: after the header's first byte), or the connection closes.
    std::chrono::milliseconds header_deadline{5000};
    // Told after each compile the watcher caused, with the session (on the server's thread).
    std::function<void(const compile_session&)> compiled;
};

// The live page's HTTP server on the loopback address: the page's own files, the
// latest result at /result and its generation pushed at /events (server-sent events),
// nothing else. It answers only GET and HEAD requests addressed to 127.0.0.1:PORT or
// localhost:PORT, takes no request body, bounds a request's header in size and time and
// the requests of a connection, and compiles the session's documents again whenever
// they are saved.
class live_server {
  public:
    // Listens at once (throws failure when it cannot); the session has compiled once.
    live_server(compile_session& session, server_options options);
    ~live_server();
    live_server(const live_server&) = delete;
    live_server& operator=(const live_server&) = delete;

    std::uint16_t port() const;
    // Serves until stop() or a signal; on the calling thread.
    void run();
    // Ends run(); may be called from any thread.
    void stop();

  private:
    class impl;
    std::unique_ptr<impl> impl_;
};

}  // namespace scenario::live
