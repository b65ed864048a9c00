#include <exception>

#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/exit_status.hpp"
#include "cli/version.hpp"

namespace scenario::cli {

int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        return report_usage_error("", "no command given", err);
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h") {
        out << tool_help();
        return exit_status::ok;
    }
    if (name == "--version") {
        out << "scenario " << tool_version() << '\n';
        return exit_status::ok;
    }
    const command_spec* command = find_command(name);
    if (command == nullptr) {
        const bool option = !name.empty() && name[0] == '-';
        return report_usage_error(
            "", std::string(option ? "unknown option" : "unknown command") + " \"" + name + "\"",
            err);
    }
    try {
        const parsed_args parsed =
            parse_args(command->syntax(), std::vector<std::string>(args.begin() + 1, args.end()));
        if (parsed.help) {
            out << help_text(*command);
            return exit_status::ok;
        }
        for (const option_spec& o : command->options) {
            if (o.required != nullptr && !parsed.value(o.name)) {
                throw usage_error(o.required);
            }
        }
        return command->run(parsed, out, err);
    } catch (const usage_error& e) {
        return report_usage_error(name, e.what(), err);
    } catch (const std::exception& e) {
        err << "scenario: internal error: " << e.what() << '\n';
        return exit_status::internal;
    }
}

}  // namespace scenario::cli
