#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.hpp"

namespace scenario::testing {

struct tool_result {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the tool in-process with the arguments after the program name.
inline tool_result run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    tool_result r;
    r.status = scenario::cli::run_tool(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

}  // namespace scenario::testing
