#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "language/server.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#endif

namespace scenario::cli {

namespace {

// The documents of a pair that the editor has not opened, read from disk.
class disk_files : public language::file_access {
  public:
    std::optional<std::string> read(const std::string& path) const override {
        try {
            return read_whole_file(path);
        } catch (const file_error&) {
            return std::nullopt;
        }
    }

    std::vector<std::string> list(const std::string& folder) const override {
        std::vector<std::string> names;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            names.push_back(it->path().filename().string());
        }
        return names;
    }
};

}  // namespace

int run_lsp(const parsed_args& args, std::ostream& out, std::ostream& /*err*/) {
#ifdef _WIN32
    // The protocol counts bytes: no CR LF translation on either stream.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const disk_files disk;
    language::server_options options;
    options.encoding = input_encoding(args);
    options.version = SCENARIO_VERSION;
    language::server server(disk, options);
    return server.run(std::cin, out);
}

}  // namespace scenario::cli
