#include "cli/args.hpp"

#include <gtest/gtest.h>

namespace scenario::cli {
namespace {

command_syntax compile_like() {
    command_syntax syntax;
    syntax.positionals = {"LINE", "TRAIN"};
    syntax.options = {{"-o", true}, {"--scenario", true}, {"--json", false}, {"-Wno-", true, true}};
    return syntax;
}

std::string usage_text(const std::vector<std::string>& args) {
    try {
        parse_args(compile_like(), args);
    } catch (const usage_error& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(ParseArgs, OptionsMayStandAnywhereAndTakeTheirValues) {
    const parsed_args p =
        parse_args(compile_like(), {"--json", "a.txt", "-o", "out", "b.txt", "--scenario=S x"});
    EXPECT_FALSE(p.help);
    EXPECT_EQ(p.positionals, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(p.value("-o"), "out");
    EXPECT_EQ(p.value("--scenario"), "S x");
    EXPECT_TRUE(p.flag("--json"));
    EXPECT_EQ(p.value("--train"), std::nullopt);
}

TEST(ParseArgs, DoubleDashLetsAFileNameStartWithAMinus) {
    const parsed_args p = parse_args(compile_like(), {"--", "-a.txt", "--json"});
    EXPECT_EQ(p.positionals, (std::vector<std::string>{"-a.txt", "--json"}));
    EXPECT_FALSE(p.flag("--json"));
    // A lone "-" is an argument, not an option.
    EXPECT_EQ(parse_args(compile_like(), {"-", "b"}).positionals.front(), "-");
}

TEST(ParseArgs, EveryFaultNamesTheArgumentAtFault) {
    EXPECT_EQ(usage_text({"a", "b", "--bogus"}), "unknown option \"--bogus\"");
    EXPECT_EQ(usage_text({"a", "b", "--bogus=1"}), "unknown option \"--bogus\"");
    EXPECT_EQ(usage_text({"a", "b", "-o"}), "option \"-o\" needs a value");
    EXPECT_EQ(usage_text({"a", "b", "--scenario="}),
              "option \"--scenario\" needs a non-empty value");
    EXPECT_EQ(usage_text({"a", "b", "--json=yes"}), "option \"--json\" takes no value");
    EXPECT_EQ(usage_text({"a", "b", "-o", "x", "-o", "y"}),
              "option \"-o\" is given more than once");
    EXPECT_EQ(usage_text({"a", "b", "--json", "--json"}),
              "option \"--json\" is given more than once");
    EXPECT_EQ(usage_text({}), "missing LINE");
    EXPECT_EQ(usage_text({"a"}), "missing TRAIN");
    EXPECT_EQ(usage_text({"a", "b", "c"}), "unexpected argument \"c\"");
}

TEST(ParseArgs, HelpWinsOverOtherFaultsButNotAfterDoubleDash) {
    EXPECT_TRUE(parse_args(compile_like(), {"--bogus", "--help"}).help);
    EXPECT_TRUE(parse_args(compile_like(), {"-h"}).help);
    EXPECT_EQ(usage_text({"a", "b", "--", "--help"}), "unexpected argument \"--help\"");
}

TEST(ParseArgs, AJoinedOptionTakesTheRestOfItsWordAndMayRepeat) {
    const parsed_args p = parse_args(compile_like(), {"-Wno-a-b", "a", "-Wno-c", "b"});
    EXPECT_EQ(p.values_of("-Wno-"), (std::vector<std::string>{"a-b", "c"}));
    EXPECT_EQ(p.positionals, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(parse_args(compile_like(), {"a", "b"}).values_of("-Wno-").empty());
    EXPECT_EQ(usage_text({"a", "b", "-Wno-"}), "option \"-Wno-\" needs a value in the same word");
}

}  // namespace
}  // namespace scenario::cli
