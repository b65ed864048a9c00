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

// A status a command can end with and what it means for that command: the words of
// exit_status_meanings (exit_status.hpp) unless `when` says it in the command's own.
struct exit_case {
    int status;
    const char* when = nullptr;
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
    std::string notes;        // after the options; may be empty
    std::vector<exit_case> exits;  // every status but internal, which any command may end with
    int (*run)(const parsed_args& args, std::ostream& out, std::ostream& err);

    command_syntax syntax() const;
};

// A status a command can end with and what it means for that command.
struct stated_status {
    int status;
    std::string meaning;
};
// Every status a command can end with, in order, `internal` last.
std::vector<stated_status> exit_statuses_of(const command_spec& c);

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
// "Exit status: 0 ...; 2 usage error; ...; 70 a fault of the tool itself.", wrapped.
std::string exit_status_text(const command_spec& c);
// The tool's own usage line and help, listing every command.
std::string tool_usage_line();
std::string tool_help();

// Prints "scenario COMMAND: why", the usage line and where to find more; returns the
// usage exit status. An empty command stands for the tool itself.
int report_usage_error(const std::string& command, const std::string& why, std::ostream& err);

}  // namespace scenario::cli
