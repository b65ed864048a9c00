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
constexpr std::size_t event_changes_limit = 16 * 1024;  // changes sent in an event
constexpr std::size_t detail_windows_limit = 64;         // windows of one /detail request

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
    const compile_session* session = nullptr;  // outlives the server, used on its thread only
    std::uint64_t generation = 0;
    // The page with the latest result in it, made when first asked for, and its generation.
    std::shared_ptr<const std::string> page;
    std::uint64_t page_generation = 0;
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

// The value of a parameter of a query string ("a=1&b=2"); none when it is not there.
std::optional<std::string_view> parameter(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const std::size_t eq = pair.find('=');
        if (eq != std::string_view::npos && pair.substr(0, eq) == name) {
            return pair.substr(eq + 1);
        }
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    }
    return std::nullopt;
}

// A whole number of at most nine digits, no sign (a metre of the route, a generation).
std::optional<std::int64_t> whole_number(std::optional<std::string_view> text) {
    if (!text || text->empty() || text->size() > 9) {
        return std::nullopt;
    }
    std::int64_t v = 0;
    for (const char c : *text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        v = v * 10 + (c - '0');
    }
    return v;
}

// The window of a /detail request: from and to whole metres, from < to, and at most
// detail_window_limit apart.
std::optional<metre_range> window_of(std::optional<std::int64_t> from,
                                     std::optional<std::int64_t> to) {
    if (!from || !to || *from >= *to || *to - *from > detail_window_limit) {
        return std::nullopt;
    }
    return metre_range{*from, *to};
}

// The windows of a /detail request: from=M&to=M, or windows=A-B,C-D,... (one to
// detail_windows_limit of them); none when any is not a window.
std::optional<std::vector<metre_range>> detail_windows(std::string_view query) {
    std::vector<metre_range> windows;
    std::optional<std::string_view> list = parameter(query, "windows");
    if (!list) {
        const std::optional<metre_range> w = window_of(whole_number(parameter(query, "from")),
                                                       whole_number(parameter(query, "to")));
        if (!w) {
            return std::nullopt;
        }
        windows.push_back(*w);
        return windows;
    }
    while (true) {
        const std::string_view item = list->substr(0, list->find(','));
        const std::size_t dash = item.find('-');
        const std::optional<metre_range> w =
            dash == std::string_view::npos
                ? std::nullopt
                : window_of(whole_number(item.substr(0, dash)),
                            whole_number(item.substr(dash + 1)));
        if (!w || windows.size() == detail_windows_limit) {
            return std::nullopt;
        }
        windows.push_back(*w);
        if (item.size() == list->size()) {
            return windows;
        }
        list = list->substr(item.size() + 1);
    }
}

// index.html with a result in it, where it says "<!-- result -->": the page is drawn
// from it at once, before it asks the server anything. Every "<" in the JSON is written
// as its JSON escape (backslash, u003c), so that no text in it can end the script element
// it is in.
std::string page_with(std::string_view index, std::string_view result) {
    constexpr std::string_view marker = "<!-- result -->";
    const std::size_t at = index.find(marker);
    if (at == std::string_view::npos) {
        return std::string(index);
    }
    std::string out(index.substr(0, at));
    out.reserve(index.size() + result.size() + result.size() / 64);
    for (const char c : result) {
        if (c == '<') {
            out += "\\u003c";
        } else {
            out += c;
        }
    }
    out += index.substr(at + marker.size());
    return out;
}

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
        const std::size_t mark = target.find('?');
        const std::string_view query =
            mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
        target = target.substr(0, mark);
        const compile_session& session = *state_->session;
        if (target == "/result") {
            // The changes since the generation the page has, when they are kept; else whole.
            const std::optional<std::int64_t> since = whole_number(parameter(query, "since"));
            held_ = since ? session.changes_since(static_cast<std::uint64_t>(*since)) : nullptr;
            if (!held_) {
                held_ = session.result();
            }
            reply(http::status::ok, version, "application/json", *held_, keep);
            return;
        }
        if (target == "/detail") {
            const std::optional<std::vector<metre_range>> windows = detail_windows(query);
            if (!windows) {
                reply(http::status::bad_request, version, "text/plain; charset=utf-8",
                      "A detail window is from=M&to=M (or windows=A-B,C-D,... up to 64 of "
                      "them), whole metres, from < to, at most 2097152 apart.\n",
                      keep);
                return;
            }
            // One window: its detail; a list: the list of theirs.
            const bool listed = parameter(query, "windows").has_value();
            std::string list = "[";
            for (const metre_range& w : *windows) {
                held_ = session.detail(w);
                if (!held_) {
                    break;
                }
                if (listed) {
                    list += list.size() > 1 ? "," : "";
                    list += *held_;
                }
            }
            if (!held_) {
                reply(http::status::not_found, version, "text/plain; charset=utf-8",
                      "No drawing.\n", keep);
                return;
            }
            if (listed) {
                held_ = std::make_shared<const std::string>(list + "]");
            }
            reply(http::status::ok, version, "application/json", *held_, keep);
            return;
        }
        if (target == "/events") {
            start_events();
            return;
        }
        if (target == "/") {
            if (!state_->page || state_->page_generation != state_->generation) {
                for (const page_asset& a : page_assets()) {
                    if (a.path == "/") {
                        state_->page = std::make_shared<const std::string>(
                            page_with(a.body, *session.result()));
                        state_->page_generation = state_->generation;
                    }
                }
            }
            held_ = state_->page;
            reply(http::status::ok, version, "text/html; charset=utf-8", *held_, keep);
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

    // The event of the newest generation; when the changes since the one before are small,
    // they come in it, and a page that has that one needs ask for nothing.
    void append_event() {
        out_ += "event: result\ndata: {\"generation\": " + std::to_string(wanted_);
        const std::shared_ptr<const std::string> changes =
            wanted_ == 0 ? nullptr : state_->session->changes_since(wanted_ - 1);
        if (changes && changes->size() <= event_changes_limit) {
            out_ += ", \"changes\": ";
            out_ += *changes;
        }
        out_ += "}\n\n";
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
        state_->session = &session_;
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
