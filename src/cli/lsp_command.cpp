#include <iostream>

#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/version.hpp"
#include "language/server.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#endif

namespace scenario::cli {

int run_lsp(const parsed_args& args, std::ostream& out, std::ostream& err) {
#ifdef _WIN32
    // The protocol counts bytes: no CR LF translation on either stream.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const language::disk_files disk;
    language::server_options options;
    options.encoding = input_encoding(args);
    options.version = tool_version();
    language::server server(disk, options, err);
    return server.run(std::cin, out);
}

}  // namespace scenario::cli
