#pragma once

#include <gtest/gtest.h>

#include <string>

#include "cli/commands.hpp"
#include "live/session.hpp"
#include "support/temp_folder.hpp"

namespace scenario::testing {

// The built-in scenario's documents in a fresh folder, and a session on them.
struct example_documents : ::testing::Test {
    temp_folder dir;
    std::string line() const { return dir.file("Vessana_Pralbo_linea.txt"); }
    std::string train() const { return dir.file("Vessana_Pralbo_5 bis-.txt"); }

    void SetUp() override {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(cli::run_tool({"example", "-o", dir.str()}, out, err), 0) << err.str();
    }

    compile_request options() const {
        return {"Vessana_Pralbo", "5 bis", document_source{line(), std::nullopt},
                document_source{train(), std::nullopt}, true, text_encoding::windows_1252,
                timetable_options{}};
    }

    // The train document with one text replaced (it must be there).
    void replace_in_train(const std::string& from, const std::string& to,
                          const std::string& into = {}) {
        std::string text = read_bytes(train());
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        write_bytes(into.empty() ? train() : into, text);
    }
};

}  // namespace scenario::testing
