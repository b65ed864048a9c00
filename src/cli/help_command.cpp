#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/exit_status.hpp"
#include "grammar/grammar.hpp"
#include "text/windows1252.hpp"

namespace scenario::cli {

int run_help(const parsed_args& args, std::ostream& out, std::ostream& /*err*/) {
    if (args.positionals.empty()) {
        out << tool_help();
        return exit_status::ok;
    }
    const std::string& topic = args.positionals[0];
    if (topic != "documents") {
        throw usage_error("unknown topic \"" + topic + "\" (documents)");
    }
    out << reference_markdown(windows1252_to_utf8);
    return exit_status::ok;
}

}  // namespace scenario::cli
