#include "files/scenario_files.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.hpp"

namespace scenario {
namespace {

using testing::read_bytes;
using testing::temp_folder;
using testing::write_bytes;
namespace fs = std::filesystem;

std::vector<std::string> names(const std::vector<output_file>& files) {
    std::vector<std::string> out;
    for (const output_file& f : files) {
        out.push_back(f.name);
    }
    return out;
}

run_state small_state() {
    run_state stato;
    // Appended, not assigned: g++ 12 at -O3 warns (-Wrestrict) on assigning a literal.
    stato.nome_scenario.append("S");
    stato.nome_treno.append("t");
    return stato;
}

TEST(ScenarioFiles, ThePlanNeedsTheSwitchAndAPlanAndTheGridNeedsAGrid) {
    run_state stato = small_state();
    EXPECT_EQ(names(output_files(stato)), std::vector<std::string>{"S_t.sim"});
    stato.celle.resize(3);
    stato.tracciato = tracciato_linea(10);
    EXPECT_EQ(names(output_files(stato)), (std::vector<std::string>{"S_t.sim", "S_t.dat"}));
    stato.con_tracciato = 1;
    EXPECT_EQ(names(output_files(stato)),
              (std::vector<std::string>{"S_linea.dat", "S_t.sim", "S_t.dat"}));
    stato.tracciato = tracciato_linea();
    EXPECT_EQ(names(output_files(stato)), (std::vector<std::string>{"S_t.sim", "S_t.dat"}));
}

TEST(ScenarioFiles, AFailureNamesTheFileAndReplacesNoFile) {
    temp_folder dir;
    run_state stato = small_state();
    stato.con_tracciato = 1;
    stato.tracciato = tracciato_linea(10);
    stato.celle.resize(3);
    const std::string header = dir.file("S_t.sim");
    write_bytes(header, "mine");
    fs::permissions(header, fs::perms::owner_read);
    try {
        write_scenario_files(stato, dir.str());
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const file_error& e) {
        EXPECT_EQ(e.path(), header);
    }
    fs::permissions(header, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(read_bytes(header), "mine");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.str()), {}), 1);
}

TEST(ScenarioFiles, ANameTheHeaderCannotHoldFailsNamingTheHeaderFile) {
    temp_folder dir;
    run_state stato = small_state();
    stato.voci[3].nome = std::string(65536, 'x');
    try {
        write_scenario_files(stato, dir.str());
        ADD_FAILURE() << "the header was written";
    } catch (const file_error& e) {
        EXPECT_EQ(std::string(e.what()), "cannot write \"" + dir.file("S_t.sim") +
                                             "\": a header record's nome is longer "
                                             "than 65535 bytes");
    }
    EXPECT_TRUE(fs::is_empty(dir.str()));
}

}  // namespace
}  // namespace scenario
