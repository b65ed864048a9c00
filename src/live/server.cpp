#include "live/server.hpp"

#include <algorithm>
#include <csignal>
#include <limits>
#include <list>
#include <optional>
#include <string_view>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http.hpp>

#include "files/file_error.hpp"
#include "live/page_assets.hpp"

namespace scenario::live {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using error_code = boost::system::error_code;

constexpr std::size_t header_limit = 8 * 1024;     // bytes of a request's header, all told
constexpr unsigned requests_per_connection = 100;  // then the server closes it
constexpr std::size_t connection_limit = 64;       // open at once, event streams included
constexpr std::chrono::seconds idle_limit{30};     // between requests of a connection

constexpr std::string_view events_header =
    "HTTP/1.1 200 OK\r\n"
    "Content-Type: text/event-stream\r\n"
    "Cache-Control: no-store\r\n"
    "X-Content-Type-Options: nosniff\r\n"
    "\r\n";

class connection;

// What every connection shares with the server. Connections hold it by shared_ptr, so
// it outlives the last of them whatever order things end in.
struct shared_state {
    std::uint16_t port = 0;
    std::chrono::milliseconds header_deadline{0};
    std::shared_ptr<const std::string> result;
    std::uint64_t generation = 0;
    std::size_t connections = 0;
    // The open event streams, told of every new generation.
    std::list<std::weak_ptr<connection>> streams;
};

using response = http::response<http::span_body<const char>>;
using request_parser = http::request_parser<http::empty_body>;

struct refusal {
    http::status status;
    std::string_view text;
};

bool host_allowed(std::string_view host, std::uint16_t port) {
    const std::string suffix = ":" + std::to_string(port);
    return host == "127.0.0.1" + suffix || host == "localhost" + suffix;
}

// Why a request is refused on its header alone, if it is; the header has been read
// (size: its bytes, request line to blank line), the body, if any, not.
std::optional<refusal> refused(const error_code& ec, std::size_t size,
                               const request_parser& parser, std::uint16_t port) {
    if (size > header_limit || ec == http::error::header_limit ||
        ec == http::error::buffer_overflow) {
        return refusal{http::status::request_header_fields_too_large,
                       "Request header too large.\n"};
    }
    const refusal bad{http::status::bad_request, "Bad request.\n"};
    if (ec) {
        return bad;  // bytes that are not HTTP
    }
    const auto& request = parser.get();
    if (request.count(http::field::host) > 1) {
        return bad;
    }
    if (!host_allowed(request[http::field::host], port)) {
        return refusal{http::status::forbidden,
                       "This server answers only 127.0.0.1 and localhost.\n"};
    }
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
        return refusal{http::status::method_not_allowed, "Only GET and HEAD.\n"};
    }
    if (!parser.is_done()) {
        return refusal{http::status::payload_too_large, "No request body is taken.\n"};
    }
    return std::nullopt;
}

class connection : public std::enable_shared_from_this<connection> {
  public:
    connection(tcp::socket socket, std::shared_ptr<shared_state> state)
        : stream_(std::move(socket)), state_(std::move(state)) {
        ++state_->connections;
    }
    ~connection() { --state_->connections; }

    void start() { read_header(); }

    // A new generation for an event stream: sent when the one before has gone out.
    void tell(std::uint64_t generation) {
        wanted_ = generation;
        if (!writing_) {
            send_event();
        }
    }

    void close() {
        error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
        stream_.close();
    }

  private:
    // Between requests: the next one may be idle_limit in coming, and once its first
    // byte is here its header has the header deadline, as on a new connection.
    void await_request() {
        if (buffer_.size() != 0) {
            read_header();  // the client sent it along with the one before
            return;
        }
        stream_.expires_after(idle_limit);
        stream_.async_read_some(buffer_.prepare(header_limit),
                                [self = shared_from_this()](const error_code& ec, std::size_t n) {
                                    self->buffer_.commit(n);
                                    if (ec) {
                                        self->close();
                                        return;
                                    }
                                    self->read_header();
                                });
    }

    // The header only: what to answer is decided on it, before any body is read.
    void read_header() {
        parser_.emplace();
        parser_->header_limit(header_limit);
        // Never read (a body is refused on its header), so no length is refused before that.
        parser_->body_limit(std::numeric_limits<std::uint64_t>::max());
        stream_.expires_after(state_->header_deadline);
        http::async_read_header(stream_, buffer_, *parser_,
                                [self = shared_from_this()](const error_code& ec,
                                                            std::size_t size) {
                                    self->on_header(ec, size);
                                });
    }

    void on_header(const error_code& ec, std::size_t size) {
        if (ec == http::error::end_of_stream || ec == beast::error::timeout ||
            ec == asio::error::operation_aborted || ec == asio::error::connection_reset) {
            close();
            return;
        }
        head_ = !ec && parser_->get().method() == http::verb::head;
        if (const std::optional<refusal> r = refused(ec, size, *parser_, state_->port)) {
            reply(r->status, ec ? 11 : parser_->get().version(), "text/plain; charset=utf-8",
                  r->text, false);
            return;
        }
        const auto& request = parser_->get();
        ++served_;
        const bool keep = request.keep_alive() && served_ < requests_per_connection;
        const unsigned version = request.version();
        std::string_view target = request.target();
        target = target.substr(0, target.find('?'));
        if (target == "/result") {
            held_ = state_->result;
            reply(http::status::ok, version, "application/json", *held_, keep);
            return;
        }
        if (target == "/events") {
            start_events();
            return;
        }
        for (const page_asset& a : page_assets()) {
            if (a.path == target) {
                reply(http::status::ok, version, a.content_type, a.body, keep);
                return;
            }
        }
        reply(http::status::not_found, version, "text/plain; charset=utf-8", "Not found.\n", keep);
    }

    // A HEAD request is answered as the GET would be, without the body.
    void reply(http::status status, unsigned version, std::string_view type,
               std::string_view body, bool keep) {
        response_.emplace(status, version);
        response_->set(http::field::content_type, type);
        response_->set(http::field::cache_control, "no-store");
        response_->set("X-Content-Type-Options", "nosniff");
        if (status == http::status::method_not_allowed) {
            response_->set(http::field::allow, "GET, HEAD");
        }
        response_->body() = beast::span<const char>(body.data(), body.size());
        response_->keep_alive(keep);
        response_->prepare_payload();
        if (head_) {
            response_->body() = {};
        }
        http::async_write(stream_, *response_,
                          [self = shared_from_this(), keep](const error_code& ec, std::size_t) {
                              self->response_.reset();
                              self->held_.reset();
                              if (ec || !keep) {
                                  self->close();
                                  return;
                              }
                              self->await_request();
                          });
    }

    // The event stream: a header, then an event for each generation, until the page
    // goes. The page sends nothing more; a read notices when it closes. HEAD gets the
    // stream's header alone, and the connection closes.
    void start_events() {
        out_ = events_header;
        if (head_) {
            out_.insert(out_.size() - 2, "Connection: close\r\n");
            asio::async_write(stream_, asio::buffer(out_),
                              [self = shared_from_this()](const error_code&, std::size_t) {
                                  self->close();
                              });
            return;
        }
        stream_.expires_never();
        state_->streams.push_back(weak_from_this());
        writing_ = true;
        wanted_ = state_->generation;
        append_event();
        write_out();
        stream_.async_read_some(asio::buffer(ignored_),
                                [self = shared_from_this()](const error_code&, std::size_t) {
                                    self->close();
                                });
    }

    void append_event() {
        out_ += "event: result\ndata: {\"generation\": " + std::to_string(wanted_) + "}\n\n";
        sent_ = wanted_;
    }

    void send_event() {
        if (sent_ == wanted_) {
            return;
        }
        writing_ = true;
        out_.clear();
        append_event();
        write_out();
    }

    void write_out() {
        asio::async_write(stream_, asio::buffer(out_),
                          [self = shared_from_this()](const error_code& ec, std::size_t) {
                              self->writing_ = false;
                              if (ec) {
                                  self->close();
                                  return;
                              }
                              self->send_event();
                          });
    }

    beast::tcp_stream stream_;
    std::shared_ptr<shared_state> state_;
    beast::flat_buffer buffer_{header_limit + 1024};
    std::optional<request_parser> parser_;
    bool head_ = false;  // the request being answered is HEAD
    std::optional<response> response_;
    std::shared_ptr<const std::string> held_;  // the result a response is sending
    unsigned served_ = 0;
    // Event stream.
    std::string out_;
    std::array<char, 64> ignored_{};
    bool writing_ = false;
    std::uint64_t wanted_ = 0;
    std::uint64_t sent_ = 0;
};

}  // namespace

class live_server::impl {
  public:
    impl(compile_session& session, server_options options)
        : session_(session),
          options_(std::move(options)),
          acceptor_(io_),
          signals_(io_),
          state_(std::make_shared<shared_state>()) {
        const tcp::endpoint at(asio::ip::make_address_v4("127.0.0.1"), options_.port);
        error_code ec;
        acceptor_.open(at.protocol(), ec);
        if (!ec) {
            acceptor_.set_option(tcp::acceptor::reuse_address(true), ec);
            acceptor_.bind(at, ec);
        }
        if (!ec) {
            acceptor_.listen(asio::socket_base::max_listen_connections, ec);
        }
        const std::string where = "127.0.0.1:" + std::to_string(options_.port);
        if (ec) {
            throw failure(ec.message(), "cannot listen on " + where + ": " + ec.message());
        }
        state_->port = acceptor_.local_endpoint().port();
        state_->header_deadline = options_.header_deadline;
        take_result();
        watcher_ = watch_documents(
            io_, {session_.request().line->path, session_.request().train_document->path},
            [this] { recompile(); }, options_.settle, options_.watching);
        if (options_.handle_signals) {
            signals_.add(SIGINT);
            signals_.add(SIGTERM);
            signals_.async_wait([this](const error_code& e, int) {
                if (!e) {
                    shut_down();
                }
            });
        }
        accept();
    }

    ~impl() {
        shut_down();
    }

    std::uint16_t port() const { return state_->port; }

    void run() { io_.run(); }

    void stop() {
        asio::post(io_, [this] { shut_down(); });
    }

  private:
    void take_result() {
        state_->result = session_.result();
        state_->generation = session_.generation();
    }

    void recompile() {
        if (!session_.compile()) {
            return;  // a document is missing for now: its return is another change
        }
        take_result();
        for (auto it = state_->streams.begin(); it != state_->streams.end();) {
            if (const std::shared_ptr<connection> c = it->lock()) {
                c->tell(state_->generation);
                ++it;
            } else {
                it = state_->streams.erase(it);
            }
        }
        if (options_.compiled) {
            options_.compiled(session_);
        }
    }

    void accept() {
        acceptor_.async_accept([this](const error_code& ec, tcp::socket socket) {
            if (ec == asio::error::operation_aborted || !acceptor_.is_open()) {
                return;
            }
            if (!ec) {
                if (state_->connections >= connection_limit) {
                    error_code ignored;
                    socket.close(ignored);
                } else {
                    std::make_shared<connection>(std::move(socket), state_)->start();
                }
            }
            accept();
        });
    }

    void shut_down() {
        error_code ignored;
        acceptor_.close(ignored);
        signals_.cancel(ignored);
        watcher_.reset();
        for (const std::weak_ptr<connection>& w : state_->streams) {
            if (const std::shared_ptr<connection> c = w.lock()) {
                c->close();
            }
        }
        state_->streams.clear();
        io_.stop();
    }

    compile_session& session_;
    server_options options_;
    asio::io_context io_;
    tcp::acceptor acceptor_;
    asio::signal_set signals_;
    std::shared_ptr<shared_state> state_;
    std::unique_ptr<document_watcher> watcher_;
};

live_server::live_server(compile_session& session, server_options options)
    : impl_(std::make_unique<impl>(session, std::move(options))) {}

live_server::~live_server() = default;

std::uint16_t live_server::port() const {
    return impl_->port();
}

void live_server::run() {
    impl_->run();
}

void live_server::stop() {
    impl_->stop();
}

}  // namespace scenario::live
