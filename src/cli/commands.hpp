#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/args.hpp"

namespace scenario::cli {

// The commands. Each takes its parsed arguments (the command table declares what they
// may be), writes its results to out and its human messages to err, and returns the
// exit status. A fault of the arguments that only the command can see throws
// usage_error.
int run_compile(const parsed_args& args, std::ostream& out, std::ostream& err);
int run_check(const parsed_args& args, std::ostream& out, std::ostream& err);
int run_example(const parsed_args& args, std::ostream& out, std::ostream& err);
int run_dump(const parsed_args& args, std::ostream& out, std::ostream& err);
int run_render(const parsed_args& args, std::ostream& out, std::ostream& err);
int run_timetable(const parsed_args& args, std::ostream& out, std::ostream& err);
// Serves the language server protocol on standard input and output.
int run_lsp(const parsed_args& args, std::ostream& out, std::ostream& err);
int run_fmt(const parsed_args& args, std::ostream& out, std::ostream& err);
int run_serve(const parsed_args& args, std::ostream& out, std::ostream& err);
// Applies the certain fixes of a compile's warnings to both documents.
int run_fix(const parsed_args& args, std::ostream& out, std::ostream& err);
// Prints the tool's help, or a topic: the reference of the documents.
int run_help(const parsed_args& args, std::ostream& out, std::ostream& err);

// The whole tool: args are the arguments after the program name.
int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scenario::cli
