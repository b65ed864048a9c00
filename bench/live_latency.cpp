// From a save to the live page's new result: connects to a running `scenario serve`,
// listens to its events, rewrites a document (the same bytes) ROUNDS times and measures,
// for each save, the time until the event for the new compile arrives and until the
// new /result has been read whole. Prints the minimum, median and maximum of both.
//
//   live_latency PORT DOCUMENT [ROUNDS]
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>

namespace asio = boost::asio;
using tcp = asio::ip::tcp;
using clock_type = std::chrono::steady_clock;

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string request(const std::string& path, std::uint16_t port, bool close) {
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n" +
           (close ? "Connection: close\r\n" : "") + "\r\n";
}

// The whole response to GET /result.
std::size_t fetch_result(asio::io_context& io, std::uint16_t port) {
    tcp::socket s(io);
    s.connect({asio::ip::make_address_v4("127.0.0.1"), port});
    asio::write(s, asio::buffer(request("/result", port, true)));
    std::string in;
    boost::system::error_code ec;
    asio::read(s, asio::dynamic_buffer(in), ec);
    return in.size();
}

void print(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-22s min %8.2f ms   median %8.2f ms   max %8.2f ms\n", what, ms.front(),
                ms[ms.size() / 2], ms.back());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: live_latency PORT DOCUMENT [ROUNDS]\n");
        return 2;
    }
    const auto port = static_cast<std::uint16_t>(std::stoi(argv[1]));
    const std::string document = argv[2];
    const int rounds = argc > 3 ? std::stoi(argv[3]) : 20;
    const std::string bytes = read_file(document);

    asio::io_context io;
    tcp::socket events(io);
    events.connect({asio::ip::make_address_v4("127.0.0.1"), port});
    asio::write(events, asio::buffer(request("/events", port, false)));
    std::string stream;
    std::array<char, 4096> buffer{};
    // Waits for the next event and returns its generation.
    const auto next_event = [&]() -> long {
        for (;;) {
            const std::size_t end = stream.find("\n\n", stream.find("data: "));
            if (stream.find("data: ") != std::string::npos && end != std::string::npos) {
                const std::size_t at = stream.find("\"generation\": ") + 14;
                const long g = std::stol(stream.substr(at));
                stream.erase(0, end + 2);
                return g;
            }
            stream.append(buffer.data(), events.read_some(asio::buffer(buffer)));
        }
    };
    long generation = next_event();

    std::vector<double> pushed;
    std::vector<double> fetched;
    std::size_t size = 0;
    for (int i = 0; i < rounds; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // each save on its own
        const auto start = clock_type::now();
        std::ofstream(document, std::ios::binary | std::ios::trunc) << bytes;
        const long seen = next_event();
        const auto told = clock_type::now();
        size = fetch_result(io, port);
        const auto read = clock_type::now();
        if (seen <= generation) {
            std::fprintf(stderr, "live_latency: no new generation after a save\n");
            return 1;
        }
        generation = seen;
        pushed.push_back(std::chrono::duration<double, std::milli>(told - start).count());
        fetched.push_back(std::chrono::duration<double, std::milli>(read - start).count());
    }
    std::printf("%d saves of %s; result %zu bytes\n", rounds, document.c_str(), size);
    print("save to event", pushed);
    print("save to result read", fetched);
    return 0;
}
