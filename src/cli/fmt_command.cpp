#include <string>

#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/exit_status.hpp"
#include "files/atomic_file.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "format/format.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#endif

namespace scenario::cli {

int run_fmt(const parsed_args& args, std::ostream& out, std::ostream& err) {
    const bool check = args.flag("--check");
    const bool to_stdout = args.flag("--stdout");
    if (check && to_stdout) {
        throw usage_error("--check and --stdout cannot be given together");
    }
    const text_encoding encoding = input_encoding(args);
#ifdef _WIN32
    // The document's own line breaks go out as they are.
    if (to_stdout && &out == &std::cout) {
        std::cout.flush();
        _setmode(_fileno(stdout), _O_BINARY);
    }
#endif
    int status = exit_status::ok;
    for (const std::string& path : args.positionals) {
        try {
            const std::string text = read_whole_file(path);
            const std::string laid_out =
                format_document(text, document_kind(file_name_of(path), text), encoding);
            if (to_stdout) {
                out << laid_out;
            } else if (laid_out == text) {
                continue;
            } else if (check) {
                err << "scenario: \"" << path << "\" is not formatted\n";
                if (status == exit_status::ok) {
                    status = exit_status::scenario_error;
                }
            } else {
                replace_file(path, laid_out);
                err << "scenario: formatted \"" << path << "\"\n";
            }
        } catch (const file_error& e) {
            err << failure_line(e) << '\n';
            status = exit_status::file;
        }
    }
    return status;
}

}  // namespace scenario::cli
