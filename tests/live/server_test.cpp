#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/write.hpp>

#include "live/server.hpp"
#include "live_fixture.hpp"

namespace scenario::testing {
namespace {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;
using namespace std::chrono_literals;

// A server on a free port, serving on a thread of its own for one test.
struct running_server {
    live::compile_session session;
    live::live_server server;
    std::thread thread;

    running_server(const compile_request& o, live::server_options serving)
        : session(o), server((session.compile(), session), std::move(serving)) {
        thread = std::thread([this] { server.run(); });
    }
    running_server(const compile_request& o, live::watch_method method)
        : running_server(o, options(method)) {}
    ~running_server() {
        server.stop();
        thread.join();
    }
    static live::server_options options(live::watch_method method) {
        live::server_options s;
        s.watching = method;
        return s;
    }
};

// One connection to the server; raw bytes out, raw bytes back.
struct client {
    asio::io_context io;
    tcp::socket socket{io};

    explicit client(std::uint16_t port) {
        socket.connect({asio::ip::make_address_v4("127.0.0.1"), port});
    }
    void send(const std::string& bytes) { asio::write(socket, asio::buffer(bytes)); }
    // Everything until the server closes; "[still open]" added when it has not within
    // the limit.
    std::string all(std::chrono::milliseconds limit = 10s) {
        std::string in;
        bool done = false;
        asio::async_read(socket, asio::dynamic_buffer(in),
                         [&](const boost::system::error_code&, std::size_t) { done = true; });
        return finish(in, done, limit);
    }
    // Everything up to and including the first `end`, within two seconds.
    std::string until(const std::string& end) {
        std::string in;
        bool done = false;
        asio::async_read_until(socket, asio::dynamic_buffer(in), end,
                               [&](const boost::system::error_code&, std::size_t) { done = true; });
        return finish(in, done, 2s);
    }
    // What has come so far, waiting for some.
    std::string some() {
        std::array<char, 4096> buffer{};
        boost::system::error_code ec;
        const std::size_t n = socket.read_some(asio::buffer(buffer), ec);
        return std::string(buffer.data(), n);
    }

  private:
    std::string finish(std::string& in, const bool& done, std::chrono::milliseconds limit) {
        io.restart();
        io.run_for(limit);
        if (!done) {
            socket.close();
            io.run();
            return in + "[still open]";
        }
        return in;
    }
};

std::string get(std::uint16_t port, const std::string& path, const std::string& host) {
    client c(port);
    c.send("GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
    return c.all();
}

std::string status_line(const std::string& response) {
    return response.substr(0, response.find("\r\n"));
}

nlohmann::json result(std::uint16_t port, const std::string& path = "/result") {
    const std::string r = get(port, path, "127.0.0.1:" + std::to_string(port));
    return nlohmann::json::parse(r.substr(r.find("\r\n\r\n") + 4));
}

std::string first_station(const nlohmann::json& r) {
    return r["drawing"]["elements"]["station"]["name"].at(0);
}

std::string body(const std::string& response) {
    return response.substr(response.find("\r\n\r\n") + 4);
}

// Waits (up to two seconds) until the result's first station has this name.
bool shows_first_station(std::uint16_t port, const std::string& name) {
    for (int i = 0; i < 200; ++i) {
        if (first_station(result(port)) == name) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// AddressSanitizer keeps freed memory aside for a while: there, resident memory tells
// nothing about what the server keeps.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool memory_measured = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool memory_measured = false;
#else
constexpr bool memory_measured = true;
#endif
#else
constexpr bool memory_measured = true;
#endif

long resident_pages() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident;
}

struct LiveServer : example_documents, ::testing::WithParamInterface<live::watch_method> {};

TEST_P(LiveServer, AnswersOnlyItsOwnHostAndPaths) {
    running_server s(options(), GetParam());
    const std::uint16_t port = s.server.port();
    const std::string me = "127.0.0.1:" + std::to_string(port);
    EXPECT_EQ(status_line(get(port, "/", me)), "HTTP/1.1 200 OK");
    EXPECT_EQ(status_line(get(port, "/result", "localhost:" + std::to_string(port))),
              "HTTP/1.1 200 OK");
    for (const char* path : {"/nothing", "/../Vessana_Pralbo_linea.txt", "/index.html", "//"}) {
        EXPECT_EQ(status_line(get(port, path, me)), "HTTP/1.1 404 Not Found") << path;
    }
    EXPECT_EQ(status_line(get(port, "/detail?from=0&to=1000", "evil.example")),
              "HTTP/1.1 403 Forbidden");

    // A connection serves 100 requests, then the server closes it.
    client many(port);
    std::string requests;
    for (int i = 0; i < 101; ++i) {
        requests += "GET /nothing HTTP/1.1\r\nHost: " + me + "\r\n\r\n";
    }
    many.send(requests);
    const std::string answers = many.all();
    std::size_t count = 0;
    for (std::size_t at = answers.find("HTTP/1.1 404"); at != std::string::npos;
         at = answers.find("HTTP/1.1 404", at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 100u);
}

TEST_P(LiveServer, AHundredSavesInASecondEndWithTheLastAndPushEveryPage) {
    running_server s(options(), GetParam());
    const std::uint16_t port = s.server.port();
    client events(port);
    events.send("GET /events HTTP/1.1\r\nHost: localhost:" + std::to_string(port) + "\r\n\r\n");
    std::string stream = events.some();
    EXPECT_EQ(status_line(stream), "HTTP/1.1 200 OK");

    const std::string original = read_bytes(train());
    // Saved as editors save (a new file renamed over the document): no compile reads a
    // document half written, whose changes would be too large for an event.
    const auto save = [&](int i) {
        std::string text = original;
        text.replace(text.find("VESSANA\r\n"), 7, "STATION" + std::to_string(i));
        write_bytes(dir.file("save.tmp"), text);
        // Windows refuses to replace a file while the server has it open to read it: an
        // editor there tries again, and so does this save.
        std::error_code refused;
        for (int tries = 0; tries < 100; ++tries) {
            std::filesystem::rename(dir.file("save.tmp"), train(), refused);
            if (!refused) {
                break;
            }
            std::this_thread::sleep_for(5ms);
        }
        ASSERT_FALSE(refused) << refused.message();
    };
    for (int i = 0; i < 10; ++i) {  // the allocator's pools fill up first
        save(i);
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(shows_first_station(port, "STATION9"));
    const long before = resident_pages();
    for (int i = 0; i < 100; ++i) {
        save(100 + i);
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(shows_first_station(port, "STATION199"));
    const long grown_kib = (resident_pages() - before) * 4;
    if (memory_measured) {
        EXPECT_LT(grown_kib, 8 * 1024);
    }

    // The page was told of the newest generation, with its changes. A stream that was
    // behind sends only the newest it has, and a polling watcher may see the last save once
    // more after the result was read: a later generation with its changes does as well.
    const int newest = result(port)["generation"].get<int>();
    const auto latest_with_changes = [](const std::string& events_text) {
        int latest = 0;
        static const std::string event = "data: {\"generation\": ";
        for (std::size_t at = events_text.find(event); at != std::string::npos;
             at = events_text.find(event, at + 1)) {
            const char* digits = events_text.data() + at + event.size();
            int generation = 0;
            const auto [after, error] =
                std::from_chars(digits, events_text.data() + events_text.size(), generation);
            if (error == std::errc{} &&
                std::string_view(after, events_text.data() + events_text.size() - after)
                    .starts_with(", \"changes\": ")) {
                latest = std::max(latest, generation);
            }
        }
        return latest;
    };
    while (latest_with_changes(stream) < newest) {
        const std::string more = events.until("\n\n");
        ASSERT_EQ(more.find("[still open]"), std::string::npos)
            << "generation " << newest << " not told; the stream ends:\n"
            << stream.substr(stream.size() - std::min<std::size_t>(stream.size(), 2000));
        stream += more;
    }
}

// The compiles the watcher causes, and when the last of them came.
struct compile_count {
    std::atomic<int> count{0};
    std::atomic<std::chrono::steady_clock::rep> last{0};

    void add() {
        last = std::chrono::steady_clock::now().time_since_epoch().count();
        ++count;
    }
    std::chrono::steady_clock::time_point last_at() const {
        return std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(last));
    }
    // Waits (up to thirty seconds) until there have been at least n.
    bool reaches(int n) const {
        for (int i = 0; i < 3000 && count < n; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        return count >= n;
    }
};

// Saves inside the settle window make one compile, a window after the last of them;
// saves further apart than the window make one each. The window is wide, so that a
// loaded machine stays well inside it between the saves of a burst.
TEST_P(LiveServer, SavesInsideTheSettleWindowCompileOnceAndSavesApartOnceEach) {
    constexpr auto settle = 2000ms;
    compile_count compiles;
    live::server_options o = running_server::options(GetParam());
    o.settle = settle;
    o.compiled = [&compiles](const live::compile_session&) { compiles.add(); };
    running_server s(options(), o);

    const std::string original = read_bytes(train());
    int saves = 0;
    const auto save = [&] {
        std::string text = original;
        text.replace(text.find("VESSANA\r\n"), 7, "STATION" + std::to_string(++saves));
        write_bytes(train(), text);
    };
    std::chrono::steady_clock::time_point last_save;
    for (int i = 0; i < 5; ++i) {
        std::this_thread::sleep_for(50ms);
        last_save = std::chrono::steady_clock::now();
        save();
    }
    ASSERT_TRUE(compiles.reaches(1));
    EXPECT_GE(compiles.last_at() - last_save, settle);
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(compiles.count, 1) << "one compile for the burst";
    EXPECT_EQ(first_station(result(s.server.port())), "STATION5");

    // Each save now comes after the window of the one before it has closed.
    save();
    ASSERT_TRUE(compiles.reaches(2));
    save();
    ASSERT_TRUE(compiles.reaches(3));
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(compiles.count, 3);
    EXPECT_EQ(first_station(result(s.server.port())), "STATION7");
}

TEST_P(LiveServer, FollowsADocumentRenamedOverAndOneRemovedAndMadeAgain) {
    running_server s(options(), GetParam());
    const std::uint16_t port = s.server.port();

    // An editor's atomic save: a new file renamed over the document.
    replace_in_train("VESSANA\r\n", "RENAMED\r\n", dir.file("save.tmp"));
    std::filesystem::rename(dir.file("save.tmp"), train());
    ASSERT_TRUE(shows_first_station(port, "RENAMED"));

    // Gone for a moment: the last result stays, and the document is read again when back.
    const std::string text = read_bytes(train());
    const auto generation = result(port)["generation"];
    std::filesystem::remove(train());
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(result(port)["generation"], generation);
    EXPECT_EQ(first_station(result(port)), "RENAMED");
    write_bytes(train(), text.substr(0, text.find("RENAMED")) + "REMADE" +
                             text.substr(text.find("RENAMED") + 7));
    ASSERT_TRUE(shows_first_station(port, "REMADE"));
}

// The page comes with the latest result in it; /result answers with the changes since the
// generation the page has when it can; /detail gives a window of the route.
TEST_P(LiveServer, ServesThePageWithItsResultTheChangesSinceAndTheDetailOfAWindow) {
    // A name that would end the script element the result is in, were it written as it is.
    replace_in_train("VESSANA\r\n", "</script><b>\r\n");
    running_server s(options(), GetParam());
    const std::uint16_t port = s.server.port();
    const std::string me = "127.0.0.1:" + std::to_string(port);
    const std::string page = body(get(port, "/", me));
    const std::string open = "<script id=\"result\" type=\"application/json\">";
    const std::size_t start = page.find(open);
    ASSERT_NE(start, std::string::npos);
    const std::size_t end = page.find("</script>", start);
    ASSERT_NE(end, std::string::npos);
    const nlohmann::json embedded =
        nlohmann::json::parse(page.substr(start + open.size(), end - start - open.size()));
    EXPECT_EQ(embedded, result(port));
    EXPECT_EQ(first_station(embedded), "</script><b>");

    replace_in_train("</script><b>\r\n", "RENAMED\r\n");
    ASSERT_TRUE(shows_first_station(port, "RENAMED"));
    const int newest = result(port)["generation"];
    const nlohmann::json changes =
        result(port, "/result?since=" + std::to_string(newest - 1));
    EXPECT_EQ(changes["since"], newest - 1);
    EXPECT_EQ(changes["drawing_changes"]["elements"]["station"]["name"],
              nlohmann::json::parse("[\"RENAMED\"]"));
    for (const std::string& since : {std::string("0"), std::to_string(newest), std::string("x"),
                                     std::string()}) {
        EXPECT_FALSE(result(port, "/result?since=" + since).contains("since")) << since;
    }

    // Windows of whole metres, from before to, at most 2097152 apart.
    const nlohmann::json window = result(port, "/detail?to=2000&from=1900");
    EXPECT_EQ(window["from"], 1900);
    EXPECT_EQ(window["generation"], newest);
    EXPECT_FALSE(window["elements"].empty());
    EXPECT_EQ(status_line(get(port, "/detail?from=0&to=2097152", me)), "HTTP/1.1 200 OK");
    // Or a list of them, answered as the list of their answers; 64 at most.
    const nlohmann::json listed = result(port, "/detail?windows=1900-2000,0-1025");
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0], window);
    EXPECT_EQ(listed[1], result(port, "/detail?from=0&to=1025"));
    std::string many = "/detail?windows=0-1";
    for (int i = 1; i < 64; ++i) {
        many.append(",").append(std::to_string(i)).append("-").append(std::to_string(i + 1));
    }
    EXPECT_EQ(result(port, many).size(), 64u);
    EXPECT_EQ(status_line(get(port, many + ",64-65", me)), "HTTP/1.1 400 Bad Request");
    for (const char* bad : {"/detail?from=0&to=2097153", "/detail?from=5&to=5",
                            "/detail?from=6&to=5",
                            "/detail?from=-1&to=5", "/detail?from=1e3&to=5000", "/detail?from=0",
                            "/detail?to=5", "/detail", "/detail?from=0&to=1000000000",
                            "/detail?from=&to=5", "/detail?windows=", "/detail?windows=0-5,",
                            "/detail?windows=0-5,7-6", "/detail?windows=0-5;6-7",
                            "/detail?windows=05"}) {
        EXPECT_EQ(status_line(get(port, bad, me)), "HTTP/1.1 400 Bad Request") << bad;
    }
}

// What the server answers on a request's header alone; the watcher plays no part.
struct LiveServerHttp : example_documents {
    std::optional<running_server> s;
    std::uint16_t port = 0;
    std::string me;

    void SetUp() override {
        example_documents::SetUp();
        s.emplace(options(), live::watch_method::polling);
        port = s->server.port();
        me = "127.0.0.1:" + std::to_string(port);
    }

    // The status line of the answer to these bytes, the server closing after it.
    std::string answer(const std::string& request) {
        client c(port);
        c.send(request);
        return status_line(c.all(2s));
    }
};

TEST_F(LiveServerHttp, TakesExactlyOneHostThatIsItsOwnAddressAndPort) {
    const std::string p = std::to_string(port);
    const std::pair<std::string, std::string> cases[] = {
        {"Host: 127.0.0.1:" + p + "\r\n", "200 OK"},
        {"Host: localhost:" + p + "\r\n", "200 OK"},
        {"Host: localhost:" + p + "\r\nHost: localhost:" + p + "\r\n", "400 Bad Request"},
        {"Host: 127.0.0.1:" + p + "\r\nhost: evil.example\r\n", "400 Bad Request"},
        {"Host: evil.example\r\nHost: 127.0.0.1:" + p + "\r\n", "400 Bad Request"},
        {"Host: 127.0.0.1:1\r\n", "403 Forbidden"},
        {"Host: localhost:80\r\n", "403 Forbidden"},
        {"Host: localhost\r\n", "403 Forbidden"},
        {"Host: 127.0.0.1\r\n", "403 Forbidden"},
        {"Host: 127.0.0.1:" + p + "0\r\n", "403 Forbidden"},
        {"Host: evil.example:" + p + "\r\n", "403 Forbidden"},
        {"", "403 Forbidden"},
    };
    for (const auto& [hosts, status] : cases) {
        EXPECT_EQ(answer("GET / HTTP/1.1\r\n" + hosts + "Connection: close\r\n\r\n"),
                  "HTTP/1.1 " + status)
            << hosts;
    }
}

TEST_F(LiveServerHttp, DecidesOnMethodAndBodyFromTheHeaderAlone) {
    // No body is sent: the answer must not wait for one.
    for (const std::string method : {"POST", "PUT", "DELETE", "OPTIONS"}) {
        client c(port);
        c.send(method + " /result HTTP/1.1\r\nHost: " + me +
               "\r\nContent-Length: 1000000\r\n\r\n");
        const std::string r = c.all(2s);
        EXPECT_EQ(status_line(r), "HTTP/1.1 405 Method Not Allowed") << method;
        EXPECT_NE(r.find("\r\nAllow: GET, HEAD\r\n"), std::string::npos) << r;
    }
    const std::string get_body = "GET / HTTP/1.1\r\nHost: " + me + "\r\nConnection: close\r\n";
    EXPECT_EQ(answer(get_body + "Content-Length: 5\r\n\r\nhello"),
              "HTTP/1.1 413 Payload Too Large");
    EXPECT_EQ(answer(get_body + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"),
              "HTTP/1.1 413 Payload Too Large");
    EXPECT_EQ(answer(get_body + "Content-Length: 0\r\n\r\n"), "HTTP/1.1 200 OK");

    // HEAD: the header GET has, no body, and the connection goes on.
    client head(port);
    const std::string on = "HTTP/1.1\r\nHost: " + me + "\r\n";
    head.send("HEAD / " + on + "\r\nGET / " + on + "\r\nGET /nothing " + on +
              "Connection: close\r\n\r\n");
    const std::string answers = head.all(2s);
    const std::string header = answers.substr(0, answers.find("\r\n\r\n") + 4);
    EXPECT_EQ(status_line(header), "HTTP/1.1 200 OK");
    EXPECT_EQ(answers.substr(header.size(), header.size()), header);
    EXPECT_NE(answers.find("HTTP/1.1 404 Not Found\r\n", 2 * header.size()), std::string::npos);
    // Of the event stream, its header, and the server closes.
    client events(port);
    events.send("HEAD /events HTTP/1.1\r\nHost: " + me + "\r\n\r\n");
    const std::string stream = events.all(2s);
    EXPECT_EQ(status_line(stream), "HTTP/1.1 200 OK");
    EXPECT_NE(stream.find("\r\nContent-Type: text/event-stream\r\n"), std::string::npos);
    EXPECT_EQ(stream.find("event:"), std::string::npos) << stream;
}

TEST_F(LiveServerHttp, TakesAHeaderOfEightKibAllToldAndNotOneByteMore) {
    // The header, request line to blank line, padded in a field or in the target.
    const auto padded_field = [&](std::size_t size) {
        const std::string head =
            "GET / HTTP/1.1\r\nHost: " + me + "\r\nConnection: close\r\nX-Pad: ";
        return head + std::string(size - head.size() - 4, 'a') + "\r\n\r\n";
    };
    const auto padded_target = [&](std::size_t size) {
        const std::string tail = " HTTP/1.1\r\nHost: " + me + "\r\nConnection: close\r\n\r\n";
        return "GET /" + std::string(size - tail.size() - 5, 'x') + tail;
    };
    for (const std::size_t size : {8192u, 8193u}) {
        const std::string field = padded_field(size);
        const std::string target = padded_target(size);
        ASSERT_EQ(field.size(), size);
        ASSERT_EQ(target.size(), size);
        const std::string too_large = "HTTP/1.1 431 Request Header Fields Too Large";
        EXPECT_EQ(answer(field), size == 8192 ? "HTTP/1.1 200 OK" : too_large) << size;
        EXPECT_EQ(answer(target), size == 8192 ? "HTTP/1.1 404 Not Found" : too_large) << size;
    }
}

struct LiveServerDeadline : example_documents {};

TEST_F(LiveServerDeadline, ClosesAConnectionWhoseHeaderIsLateNotOneIdleBetweenRequests) {
    live::server_options serving = running_server::options(live::watch_method::polling);
    serving.header_deadline = 200ms;
    running_server s(options(), serving);
    const std::uint16_t port = s.server.port();
    const std::string me = "127.0.0.1:" + std::to_string(port);
    const std::string nothing = "GET /nothing HTTP/1.1\r\nHost: " + me + "\r\n\r\n";

    // More silent connections than the server keeps open, some with half a header: past
    // the deadline they are closed, and the page is served at once.
    std::vector<std::unique_ptr<client>> silent;
    for (int i = 0; i < 80; ++i) {
        silent.push_back(std::make_unique<client>(port));
    }
    ASSERT_EQ(silent.size(), 80u);
    for (int i = 0; i < 32; i += 2) {  // among the first 64, which the server took
        silent[i]->send("GET / HTTP/1.1\r\nHost: ");
    }
    std::this_thread::sleep_for(1s);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(status_line(get(port, "/", me)), "HTTP/1.1 200 OK");
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_EQ(silent[0]->all(1s), "");
    EXPECT_EQ(silent[1]->all(1s), "");

    // Between requests of a connection the idle limit counts, not the deadline; the
    // next header has the deadline from its first byte.
    client idle(port);
    client stalled(port);
    for (client* c : {&idle, &stalled}) {
        c->send(nothing);
        EXPECT_EQ(status_line(c->until("Not found.\n")), "HTTP/1.1 404 Not Found");
    }
    stalled.send("GET / HT");
    std::this_thread::sleep_for(600ms);
    idle.send("GET / HTTP/1.1\r\nHost: " + me + "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(status_line(idle.all(2s)), "HTTP/1.1 200 OK");
    EXPECT_EQ(stalled.all(1s), "");
}

INSTANTIATE_TEST_SUITE_P(Watching, LiveServer,
                         ::testing::Values(live::watch_method::native,
                                           live::watch_method::polling),
                         [](const auto& info) {
                             return info.param == live::watch_method::native ? "native"
                                                                             : "polling";
                         });

}  // namespace
}  // namespace scenario::testing
