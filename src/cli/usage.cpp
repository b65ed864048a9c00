#include "cli/usage.hpp"

#include "cli/exit_status.hpp"

namespace scenario::cli {

const char* command_usage(const std::string& command) {
    if (command == "compile") {
        return "scenario compile LINE TRAIN [-o DIR] [--scenario NAME] [--train NAME] "
               "[--no-plan] [--json]";
    }
    if (command == "check") {
        return "scenario check LINE TRAIN [--scenario NAME] [--train NAME] [--no-plan] [--json]";
    }
    if (command == "example") {
        return "scenario example [-o DIR]";
    }
    if (command == "dump") {
        return "scenario dump FILE [--kind header|grid|plan] [--all] [--json]";
    }
    if (command == "render") {
        return "scenario render LINE TRAIN -o FILE.svg [--scenario NAME] [--train NAME] "
               "[--no-plan]";
    }
    return "scenario COMMAND [ARGUMENTS] (COMMAND: compile, check, example, dump, render)";
}

const char* command_help(const std::string& command) {
    if (command == "compile") {
        return "Usage: scenario compile LINE TRAIN [-o DIR] [--scenario NAME] [--train NAME]\n"
               "                        [--no-plan] [--json]\n"
               "\n"
               "Compiles the line document LINE and the train document TRAIN as the generator\n"
               "does and writes the binary files (line plan, header, grid) into DIR. The\n"
               "documents are only read, never changed or deleted.\n"
               "\n"
               "  -o DIR           folder for the binary files (default: the current folder)\n"
               "  --scenario NAME  scenario name (default: LINE's file name without\n"
               "                   \"_linea.txt\")\n"
               "  --train NAME     train name (default: TRAIN's file name without the scenario\n"
               "                   name and \"_\" before it and \"-.txt\" after it)\n"
               "  --no-plan        compile without the line plan: curves are not processed and\n"
               "                   no line plan file is written\n"
               "  --json           print one JSON object with the result on standard output\n"
               "\n"
               "Errors go to standard error as FILE:LINE:COL: error N: what is wrong, followed by\n"
               "the document line and a mark under the field.\n"
               "\n"
               "Exit status: 0 no error; 1 files written but the scenario records an error;\n"
               "2 usage error; 3 fatal error 1250 or 1251 (nothing written); 4 a file could\n"
               "not be read or written.\n";
    }
    if (command == "check") {
        return "Usage: scenario check LINE TRAIN [--scenario NAME] [--train NAME] [--no-plan]\n"
               "                      [--json]\n"
               "\n"
               "Compiles LINE and TRAIN exactly as \"scenario compile\" does and reports the same\n"
               "errors with the same exit status, but writes no file.\n"
               "\n"
               "  --scenario NAME  scenario name (default: taken from LINE's file name)\n"
               "  --train NAME     train name (default: taken from TRAIN's file name)\n"
               "  --no-plan        compile without the line plan\n"
               "  --json           print one JSON object with the result on standard output\n"
               "\n"
               "Exit status: 0 no error; 1 the scenario records an error; 2 usage error;\n"
               "3 fatal error 1250 or 1251; 4 a document could not be read.\n";
    }
    if (command == "example") {
        return "Usage: scenario example [-o DIR]\n"
               "\n"
               "Writes the five documents of the built-in scenario into DIR (default: the\n"
               "current folder), byte for byte as the generator writes them, to start from.\n"
               "\n"
               "Exit status: 0 written; 2 usage error; 4 a file could not be written.\n";
    }
    if (command == "dump") {
        return "Usage: scenario dump FILE [--kind header|grid|plan] [--all] [--json]\n"
               "\n"
               "Decodes a header file (.sim), a grid file (.dat) or a line plan file\n"
               "(_linea.dat) and prints it as a table, one row per record, cell or point.\n"
               "\n"
               "  --kind KIND  read FILE as a header, grid or plan file whatever its name\n"
               "  --all        also list the grid cells without an element or marker and the\n"
               "               empty points of the plan\n"
               "  --json       print one JSON object instead of the table\n"
               "\n"
               "Exit status: 0 decoded; 1 the file is truncated or malformed (the byte offset\n"
               "is reported); 2 usage error; 4 the file could not be read.\n";
    }
    if (command == "render") {
        return "Usage: scenario render LINE TRAIN -o FILE.svg [--scenario NAME] [--train NAME]\n"
               "                       [--no-plan]\n"
               "\n"
               "Compiles LINE and TRAIN as \"scenario compile\" does, writes no binary file, and\n"
               "draws the compiled scenario as one SVG picture: the plan of the line with its\n"
               "stations, signals, slowdowns, tunnels and boards, and under it the speed limit,\n"
               "gradient and adhesion along the route. Recorded errors are drawn in red.\n"
               "\n"
               "  -o FILE.svg      the picture to write\n"
               "  --scenario NAME  scenario name (default: taken from LINE's file name)\n"
               "  --train NAME     train name (default: taken from TRAIN's file name)\n"
               "  --no-plan        compile without the line plan and draw only the profiles\n"
               "\n"
               "Exit status: 0 no error; 1 the scenario records an error; 2 usage error;\n"
               "3 fatal error 1250 or 1251; 4 a file could not be read or written.\n";
    }
    return "Usage: scenario COMMAND [ARGUMENTS]\n"
           "       scenario --help | --version\n"
           "\n"
           "The authoring tool for train-driving scenarios.\n"
           "\n"
           "Commands:\n"
           "  compile LINE TRAIN  compile the two documents into the binary files\n"
           "  check LINE TRAIN    compile and report errors, writing nothing\n"
           "  example             write the built-in scenario's documents to start from\n"
           "  dump FILE           decode and print a header, grid or line plan file\n"
           "  render LINE TRAIN   draw the compiled scenario as an SVG picture\n"
           "\n"
           "\"scenario COMMAND --help\" describes each command.\n";
}

const char* tool_help() {
    return command_help("");
}

int report_usage_error(const std::string& command, const std::string& why, std::ostream& err) {
    const std::string who = command.empty() ? "scenario" : "scenario " + command;
    err << who << ": " << why << '\n';
    err << "usage: " << command_usage(command) << '\n';
    err << "Try \"" << who << " --help\" for more.\n";
    return exit_status::usage;
}

}  // namespace scenario::cli
