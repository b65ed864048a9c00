// Feeds arbitrary bytes to the language server: once as its input stream (the message
// framing, then the dispatch of whatever messages come through), and once as the
// content of one message to a server that is initialized with a small line document
// open and its train document on disk (the dispatch and the requests' handlers).
#include <cstddef>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "language/server.hpp"

namespace {

class memory_files : public scenario::language::file_access {
  public:
    std::optional<std::string> read(const std::string& path) const override {
        if (path == "/w/T_A-.txt") {
            return std::string(
                "[generale]\r\nnumero vetture, 5\r\n[stazioni]\r\n"
                "stazione, 0, 4, 900, 1, 0, 0, 4,1,1, 2,1,1, 1, 19, 9, 0, A\xd2\r\n[fine]\r\n");
        }
        return std::nullopt;
    }
    std::vector<std::string> list(const std::string& folder) const override {
        return folder == "/w" ? std::vector<std::string>{"T_A-.txt"} : std::vector<std::string>{};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const memory_files disk;
    scenario::language::server_options options;
    options.limits.content_bytes = 1 << 20;
    std::ostream discarded(nullptr);  // the server's log: nothing is kept
    {
        scenario::language::server server(disk, options, discarded);
        std::istringstream in{std::string(bytes)};
        std::ostringstream out;
        server.run(in, out);
    }
    {
        scenario::language::server server(disk, options, discarded);
        std::ostringstream out;
        server.handle(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})", out);
        server.handle(
            R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":)"
            R"({"uri":"file:///w/T_linea.txt","languageId":"scenario","version":1,"text":)"
            R"("[generale]\r\nlunghezza percorso, 5000\r\n[pendenze]\r\npendenza, 0, 0\r\n)"
            R"(montagna, 1000, 1200, 1\r\n[fine]\r\n"}}})",
            out);
        server.handle(bytes, out);
    }
    return 0;
}
