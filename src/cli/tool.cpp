#include <exception>

#include "cli/commands.hpp"
#include "cli/exit_status.hpp"
#include "cli/usage.hpp"

#ifndef SCENARIO_VERSION
#define SCENARIO_VERSION "unknown"
#endif

namespace scenario::cli {

int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        return report_usage_error("", "no command given", err);
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        out << tool_help();
        return exit_status::ok;
    }
    if (command == "--version") {
        out << "scenario " << SCENARIO_VERSION << '\n';
        return exit_status::ok;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (command == "compile") {
            return run_compile(rest, out, err);
        }
        if (command == "check") {
            return run_check(rest, out, err);
        }
        if (command == "example") {
            return run_example(rest, out, err);
        }
        if (command == "dump") {
            return run_dump(rest, out, err);
        }
        if (command == "render") {
            return run_render(rest, out, err);
        }
    } catch (const std::exception& e) {
        err << "scenario: internal error: " << e.what() << '\n';
        return exit_status::internal;
    }
    if (!command.empty() && command[0] == '-') {
        return report_usage_error("", "unknown option \"" + command + "\"", err);
    }
    return report_usage_error("", "unknown command \"" + command + "\"", err);
}

}  // namespace scenario::cli
