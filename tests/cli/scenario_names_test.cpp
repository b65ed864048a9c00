#include "cli/scenario_names.hpp"

#include <gtest/gtest.h>

#include "cli/args.hpp"

namespace scenario::cli {
namespace {

std::string refusal(const std::string& line, const std::string& train,
                    std::optional<std::string> s = std::nullopt,
                    std::optional<std::string> t = std::nullopt) {
    try {
        derive_names(line, train, s, t);
    } catch (const usage_error& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(DeriveNames, TakesBothNamesFromTheFileNames) {
    const auto names =
        derive_names("d/Vessana_Pralbo_linea.txt", "d/e/Vessana_Pralbo_5 bis-.txt", {}, {});
    EXPECT_EQ(names.scenario, "Vessana_Pralbo");
    EXPECT_EQ(names.train, "5 bis");
    // The train name may itself hold "_" and "-".
    const auto odd = derive_names("A_linea.txt", "A_x_-y-.txt", {}, {});
    EXPECT_EQ(odd.train, "x_-y");
}

TEST(DeriveNames, OptionsReplaceTheNamesAndTheTrainFollowsTheGivenScenario) {
    const auto names = derive_names("line.txt", "B_7-.txt", std::string("B"), {});
    EXPECT_EQ(names.scenario, "B");
    EXPECT_EQ(names.train, "7");
    const auto both = derive_names("line.txt", "train.txt", std::string("S"), std::string("T"));
    EXPECT_EQ(both.scenario, "S");
    EXPECT_EQ(both.train, "T");
}

TEST(DeriveNames, ANameThatCannotBeTakenIsAUsageErrorNamingTheOption) {
    EXPECT_NE(refusal("line.txt", "S_T-.txt").find("--scenario NAME"), std::string::npos);
    EXPECT_NE(refusal("_linea.txt", "S_T-.txt").find("--scenario"), std::string::npos);
    // Wrong scenario prefix, no train name, wrong ending.
    EXPECT_NE(refusal("S_linea.txt", "R_T-.txt").find("--train NAME"), std::string::npos);
    EXPECT_NE(refusal("S_linea.txt", "S_-.txt").find("--train"), std::string::npos);
    EXPECT_NE(refusal("S_linea.txt", "S_T.txt").find("--train"), std::string::npos);
    EXPECT_NE(refusal("S_linea.txt", "S_T_-.txt.bak").find("\"S_T_-.txt.bak\""), std::string::npos);
}

TEST(DeriveNames, AGivenNameMayNotLeadOutOfTheOutputFolder) {
    EXPECT_NE(refusal("a", "b", std::string("../S"), std::string("T")).find("path separator"),
              std::string::npos);
    EXPECT_NE(refusal("S_linea.txt", "b", {}, std::string("x\\y")).find("--train"),
              std::string::npos);
}

}  // namespace
}  // namespace scenario::cli
