#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/args.hpp"
#include "text/windows1252.hpp"

namespace scenario::cli {

// One option of a command, declared once: the parser, the usage line and the help
// text are all made from it.
struct option_spec {
    const char* name;   // as typed: "-o", "--json"
    const char* value;  // the value's name in the help ("DIR"), or nullptr for a flag
    const char* help;   // one sentence, wrapped by the help text
    const char* required = nullptr;  // for an option that must be given: why, when missing
    const char* choices = nullptr;   // the values it takes, shown in the usage line
    bool joined = false;  // the value follows the name in the same word ("-Wno-NAME"),
                          // and the option may be given more than once
};

// One command of the tool: what it takes, what it says about itself, and its code,
// which receives the parsed arguments and returns the exit status.
struct command_spec {
    const char* name;
    const char* summary;  // one line, for the tool's help
    const char* arguments;  // the positionals as written in the usage ("LINE TRAIN")
    std::vector<const char*> positionals;
    std::vector<option_spec> options;
    const char* description;  // what the command does, before the options
    const char* notes;        // after the options; may be empty
    const char* exit_statuses;
    int (*run)(const parsed_args& args, std::ostream& out, std::ostream& err);

    command_syntax syntax() const;
};

// The encoding the shared option --input-encoding names: windows-1252 when it is not
// given. Any other value throws usage_error.
text_encoding input_encoding(const parsed_args& args);
// The acceleration the shared option --acceleration gives (default_acceleration when it is
// not given). A value that is not a number above 0 and at most highest_acceleration throws
// usage_error.
double acceleration(const parsed_args& args);

// Every command, in the order of the tool's help.
std::span<const command_spec> commands();
const command_spec* find_command(const std::string& name);

// "scenario compile LINE TRAIN [-o DIR] [--scenario NAME] ..."
std::string usage_line(const command_spec& c);
// The command's whole help: usage, description, options, notes, exit statuses.
std::string help_text(const command_spec& c);
// The tool's own usage line and help, listing every command.
std::string tool_usage_line();
std::string tool_help();

// Prints "scenario COMMAND: why", the usage line and where to find more; returns the
// usage exit status. An empty command stands for the tool itself.
int report_usage_error(const std::string& command, const std::string& why, std::ostream& err);

}  // namespace scenario::cli
