#pragma once

#include <array>
#include <string_view>

namespace scenario::cli {

// Exit statuses of the `scenario` tool; other tools depend on these values.
namespace exit_status {
constexpr int ok = 0;              // the command did what it was asked
constexpr int scenario_error = 1;  // compiled, but the scenario records an error; or a file
                                   // given to dump could not be decoded
constexpr int usage = 2;           // bad command line
constexpr int fatal = 3;           // fatal marker error 1250 or 1251: nothing written
constexpr int file = 4;            // a file could not be read or written
constexpr int internal = 70;       // a fault of the tool itself
}  // namespace exit_status

// What each status means, in the words every command's help gives it unless the command
// says what the status means for it (command_table.cpp). The help lists every status a
// command can end with; any command can end with `internal`.
struct exit_status_meaning {
    int status;
    std::string_view meaning;
};
inline constexpr std::array<exit_status_meaning, 6> exit_status_meanings{{
    {exit_status::ok, "success"},
    {exit_status::scenario_error,
     "the scenario records an error, or --werror and a warning, or the header file cannot "
     "hold a text"},
    {exit_status::usage, "usage error"},
    {exit_status::fatal, "fatal error 1250 or 1251 (no binary file written)"},
    {exit_status::file, "a file could not be read or written"},
    {exit_status::internal, "a fault of the tool itself"},
}};

}  // namespace scenario::cli
