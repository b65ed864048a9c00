#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
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

    running_server(const live::session_options& o, live::watch_method method)
        : running_server(o, options(method)) {}
    running_server(const live::session_options& o, const live::server_options& s)
        : session(o), server((session.compile(), session), s) {
        thread = std::thread([this] { server.run(); });
    }
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
    // Everything until the server closes.
    std::string all() {
        std::string in;
        boost::system::error_code ec;
        asio::read(socket, asio::dynamic_buffer(in), ec);
        return in;
    }
    // What has come so far, waiting for some.
    std::string some() {
        std::array<char, 4096> buffer{};
        boost::system::error_code ec;
        const std::size_t n = socket.read_some(asio::buffer(buffer), ec);
        return std::string(buffer.data(), n);
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

nlohmann::json result(std::uint16_t port) {
    const std::string r = get(port, "/result", "127.0.0.1:" + std::to_string(port));
    return nlohmann::json::parse(r.substr(r.find("\r\n\r\n") + 4));
}

std::string first_station(const nlohmann::json& r) {
    return r["drawing"]["elements"].at(0)["name"];
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
    EXPECT_EQ(status_line(get(port, "/", "evil.example:" + std::to_string(port))),
              "HTTP/1.1 403 Forbidden");
    EXPECT_EQ(status_line(get(port, "/", "127.0.0.1")), "HTTP/1.1 403 Forbidden");
    for (const char* path : {"/nothing", "/../Vessana_Pralbo_linea.txt", "/index.html", "//"}) {
        EXPECT_EQ(status_line(get(port, path, me)), "HTTP/1.1 404 Not Found") << path;
    }

    client big(port);
    big.send("GET / HTTP/1.1\r\nHost: " + me + "\r\nX-Pad: " + std::string(9000, 'a') +
             "\r\n\r\n");
    EXPECT_EQ(status_line(big.all()), "HTTP/1.1 431 Request Header Fields Too Large");
    client body(port);
    body.send("POST /result HTTP/1.1\r\nHost: " + me + "\r\nContent-Length: 5\r\n\r\nhello");
    EXPECT_EQ(status_line(body.all()), "HTTP/1.1 413 Payload Too Large");

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
    const auto save = [&](int i) {
        std::string text = original;
        text.replace(text.find("VESSANA\r\n"), 7, "STATION" + std::to_string(i));
        write_bytes(train(), text);
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

    // The page was told of the newest generation.
    const std::string newest = std::to_string(result(port)["generation"].get<int>());
    while (stream.find("data: {\"generation\": " + newest + "}") == std::string::npos) {
        const std::string more = events.some();
        ASSERT_FALSE(more.empty()) << stream;
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

INSTANTIATE_TEST_SUITE_P(Watching, LiveServer,
                         ::testing::Values(live::watch_method::native,
                                           live::watch_method::polling),
                         [](const auto& info) {
                             return info.param == live::watch_method::native ? "native"
                                                                             : "polling";
                         });

}  // namespace
}  // namespace scenario::testing
