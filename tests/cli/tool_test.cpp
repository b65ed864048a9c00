#include <gtest/gtest.h>

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
