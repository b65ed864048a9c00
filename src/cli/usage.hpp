#pragma once

#include <ostream>
#include <string>

namespace scenario::cli {

// The one-line usage of a subcommand ("compile", "check", "example", "dump").
const char* command_usage(const std::string& command);
// The full help of a subcommand.
const char* command_help(const std::string& command);
// The help of the tool as a whole.
const char* tool_help();

// Reports a usage error on err and returns the usage exit status. `command` is empty
// for an error before the subcommand.
int report_usage_error(const std::string& command, const std::string& why, std::ostream& err);

}  // namespace scenario::cli
