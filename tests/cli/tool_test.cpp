#include <gtest/gtest.h>

#include <algorithm>

#include "cli/command_table.hpp"
#include "cli/exit_status.hpp"
#include "grammar/grammar.hpp"
#include "text/windows1252.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::run;

TEST(Tool, VersionAndHelpGoToStandardOutput) {
    const auto version = run({"--version"});
    EXPECT_EQ(version.status, exit_status::ok);
    EXPECT_EQ(version.out.rfind("scenario ", 0), 0u);
    ASSERT_GT(version.out.size(), std::string("scenario \n").size());
    EXPECT_EQ(version.out.back(), '\n');

    const auto help = run({"--help"});
    EXPECT_EQ(help.status, exit_status::ok);
    for (const char* command : {"compile", "check", "example", "dump", "render"}) {
        EXPECT_NE(help.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
        const auto own = run({command, "--help"});
        EXPECT_EQ(own.status, exit_status::ok) << command;
        EXPECT_EQ(own.out.rfind(std::string("Usage: scenario ") + command, 0), 0u) << command;
        EXPECT_EQ(own.err, "");
    }
}

// Each help ends with the statuses its command can end with, in order, 70 last; the
// statuses every command shares are said in the same words everywhere.
TEST(Tool, EveryHelpEndsWithItsExitStatusesInTheSameWords) {
    EXPECT_EQ(exit_status_text(*find_command("help")),
              "Exit status: 0 printed; 2 usage error; 70 a fault of the tool itself.\n");
    EXPECT_EQ(exit_status_text(*find_command("lsp")),
              "Exit status: 0 the editor asked to shut down before it ended the session; 1 the\n"
              "session ended without that; 2 usage error; 70 a fault of the tool itself.\n");
    for (const command_spec& c : commands()) {
        SCOPED_TRACE(c.name);
        const std::string help = run({c.name, "--help"}).out;
        const std::string statuses = exit_status_text(c);
        ASSERT_GE(help.size(), statuses.size());
        EXPECT_EQ(help.substr(help.size() - statuses.size()), statuses);
        std::string flat = statuses;
        std::replace(flat.begin(), flat.end(), '\n', ' ');
        EXPECT_NE(flat.find("; 2 usage error;"), std::string::npos) << flat;
        EXPECT_NE(flat.find("; 70 a fault of the tool itself. "), std::string::npos) << flat;
        int last = -1;
        for (std::size_t at = flat.find(": ") + 2; at < flat.size();) {
            const int status = std::stoi(flat.substr(at));
            EXPECT_GT(status, last) << flat;
            last = status;
            const std::size_t next = flat.find("; ", at);
            at = next == std::string::npos ? flat.size() : next + 2;
        }
        EXPECT_EQ(last, exit_status::internal);
    }
}

TEST(Tool, HelpAndUsageLinesShowEveryOptionACommandAccepts) {
    for (const command_spec& c : commands()) {
        SCOPED_TRACE(c.name);
        const auto help = run({c.name, "--help"}).out;
        const auto bad = run({c.name, "--no-such-option"});
        EXPECT_EQ(bad.status, exit_status::usage);
        for (const option_spec& o : c.options) {
            EXPECT_NE(help.find(std::string("\n  ") + o.name), std::string::npos) << o.name;
            EXPECT_NE(bad.err.find(std::string(o.required ? " " : "[") + o.name),
                      std::string::npos)
                << o.name;
        }
    }
}

TEST(Tool, HelpPrintsTheToolsHelpOrTheReferenceOfTheDocuments) {
    const auto tool = run({"help"});
    EXPECT_EQ(tool.status, exit_status::ok);
    EXPECT_EQ(tool.out, run({"--help"}).out);
    EXPECT_NE(tool.out.find("\n  help [TOPIC] "), std::string::npos) << tool.out;
    const auto documents = run({"help", "documents"});
    EXPECT_EQ(documents.status, exit_status::ok);
    EXPECT_EQ(documents.out, reference_markdown(windows1252_to_utf8));
    EXPECT_EQ(documents.err, "");
    const auto unknown = run({"help", "keywords"});
    EXPECT_EQ(unknown.status, exit_status::usage);
    EXPECT_EQ(unknown.err.rfind("scenario help: unknown topic \"keywords\"", 0), 0u) << unknown.err;
    EXPECT_EQ(run({"help", "documents", "more"}).status, exit_status::usage);
}

TEST(Tool, UnknownCommandsAndOptionsAreUsageErrors) {
    const auto none = run({});
    EXPECT_EQ(none.status, exit_status::usage);
    EXPECT_NE(none.err.find("no command given"), std::string::npos);
    const auto unknown = run({"compiel", "a", "b"});
    EXPECT_EQ(unknown.status, exit_status::usage);
    EXPECT_EQ(unknown.err.rfind("scenario: unknown command \"compiel\"\n", 0), 0u) << unknown.err;
    const auto option = run({"--verbose"});
    EXPECT_EQ(option.status, exit_status::usage);
    EXPECT_NE(option.err.find("unknown option \"--verbose\""), std::string::npos);
    EXPECT_EQ(run({"example", "extra"}).status, exit_status::usage);
    EXPECT_EQ(run({"dump"}).status, exit_status::usage);
}

}  // namespace
}  // namespace scenario::cli
