#pragma once

namespace scenario::cli {

// Exit statuses of the `scenario` tool; other tools depend on these values.
namespace exit_status {
constexpr int ok = 0;              // compiled (or decoded) with no recorded error
constexpr int scenario_error = 1;  // compiled, but the scenario records an error; or a file
                                   // given to dump could not be decoded
constexpr int usage = 2;           // bad command line
constexpr int fatal = 3;           // fatal marker error 1250 or 1251: nothing written
constexpr int file = 4;            // a file could not be read or written
constexpr int not_reproduced = 5;  // decompile: the documents written do not give back every
                                   // value of the files read
constexpr int internal = 70;       // a fault of the tool itself
}  // namespace exit_status

}  // namespace scenario::cli
