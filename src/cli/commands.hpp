#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scenario::cli {

// The subcommands. Each takes the arguments after its own name, writes its results
// to out and its human messages to err, and returns the exit status.
int run_compile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_example(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int run_render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The whole tool: args are the arguments after the program name.
int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scenario::cli
