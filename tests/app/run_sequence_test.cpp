#include "app/run_sequence.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/fake_platform.hpp"
#include "files/grid_file.hpp"
#include "files/plan_file.hpp"
#include "files/stores.hpp"
#include "model/file_names.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

using testing::fake_platform;
using testing::read_bytes;
using testing::temp_folder;
using testing::write_bytes;
namespace fs = std::filesystem;

constexpr const char* empty_train = "[generale]\r\n[fine]\r\n";

std::string line_document(const std::string& body) {
    return "[generale]\r\nlunghezza percorso,    1000\r\n[curve]\r\n" + body + "[fine]\r\n";
}

struct small_run {
    temp_folder dir;
    fake_platform sistema{dir.str()};
    memory_store documents;
    compile_request request{"S", "t", {}, {}, true, text_encoding::windows_1252,
                            timetable_options{}};
    compiled_scenario compiled;
    run_context context{sistema, dir.str(), documents};

    small_run(const std::string& line, const std::string& train) {
        documents.put(nome_documento_linea("S"), line);
        documents.put(nome_documento_treno("S", "t"), train);
    }
    int run(bool plan) {
        request.plan = plan;
        return memorizza_percorso(request, context, compiled);
    }
    std::string file(const std::string& name) const { return dir.file(name); }
    std::string plan() const { return file(nome_file_tracciato("S")); }
    std::string header() const { return file(nome_file_intestazione("S", "t")); }
    std::string grid() const { return file(nome_file_griglia("S", "t")); }
    void leave_old_files() {
        write_bytes(plan(), "old plan");
        write_bytes(header(), "old header");
        write_bytes(grid(), std::string(100000, 'g'));
    }
};

TEST(RunSequence, ABoardAtPositionZeroEndsTheRunWith1250BeforeAnyBinaryFile) {
    small_run run(line_document("cartello_indicatore,  0,   (X)\r\n"), empty_train);
    run.leave_old_files();
    EXPECT_EQ(run.run(true), 1);
    EXPECT_EQ(run.sistema.messages, std::vector<std::string>{" Errore n. 1250"});
    EXPECT_EQ(read_bytes(run.plan()), "old plan");
    EXPECT_EQ(read_bytes(run.header()), "old header");
    EXPECT_EQ(read_bytes(run.grid()).size(), 100000u);
}

TEST(RunSequence, AnElementSettingOnlyTheSecondValueOfCellOneEndsTheRunWith1251) {
    small_run run(line_document(""),
                  "[generale]\r\nrallentamento,   0,    0,  400, 0,  0,  5\r\n[fine]\r\n");
    run.leave_old_files();
    EXPECT_EQ(run.run(true), 1);
    EXPECT_EQ(run.sistema.messages, std::vector<std::string>{" Errore n. 1251"});
    EXPECT_EQ(read_bytes(run.header()), "old header");
    EXPECT_EQ(read_bytes(run.grid()).size(), 100000u);
}

TEST(RunSequence, OlderLongerFilesAreReplacedWhole) {
    small_run run(line_document(""), empty_train);
    run.leave_old_files();
    EXPECT_EQ(run.run(true), 0);
    EXPECT_TRUE(run.sistema.messages.empty());
    EXPECT_EQ(fs::file_size(run.grid()), grid_file_size(161));  // N = 160
    EXPECT_EQ(fs::file_size(run.header()), 87u * 34u + 1u + 1u);
    EXPECT_EQ(fs::file_size(run.plan()), plan_file_size(8000));
}

TEST(RunSequence, WithThePlanSwitchOffAnOldPlanFileIsLeftUntouched) {
    small_run run(line_document(""), empty_train);
    run.leave_old_files();
    EXPECT_EQ(run.run(false), 0);
    EXPECT_EQ(read_bytes(run.plan()), "old plan");
    EXPECT_EQ(fs::file_size(run.grid()), grid_file_size(161));
    EXPECT_FALSE(run.compiled.state.tracciato.exists());
}

TEST(RunSequence, ARecordedScenarioErrorStillWritesTheFiles) {
    // A station whose position is not a multiple of 50 stops the train document.
    small_run run(line_document(""),
                  "[generale]\r\nstazione,  10, 4, 900, 1,0,0, 4,1,1, 2,1,1, 1, 19,9,0, A\r\n"
                  "[fine]\r\n");
    EXPECT_EQ(run.run(true), 0);
    EXPECT_EQ(run.compiled.state.codice_errore, 8);
    EXPECT_TRUE(fs::exists(run.grid()));
    EXPECT_TRUE(fs::exists(run.header()));
}

TEST(RunSequence, AReadOnlyOutputFileEndsTheRunNamingItAndLaterFilesAreNotWritten) {
    temp_folder dir;
    fake_platform sistema(dir.str());
    const std::string header = dir.file(nome_file_intestazione("Vessana_Pralbo", "5 bis"));
    write_bytes(header, "mine");
    fs::permissions(header, fs::perms::owner_read);
    const int status = Form_Load(sistema);
    fs::permissions(header, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_NE(status, 0);
    ASSERT_EQ(sistema.failures.size(), 1u);
    EXPECT_NE(sistema.failures[0].find(header), std::string::npos);
    EXPECT_EQ(read_bytes(header), "mine");
    EXPECT_FALSE(fs::exists(dir.file(nome_file_griglia("Vessana_Pralbo", "5 bis"))));
}

TEST(RunSequence, TheGeneratorRunsEndToEndAndLeavesTheKeptFiles) {
    temp_folder dir;
    fake_platform sistema(dir.str());
    EXPECT_EQ(Form_Load(sistema), 0);
    EXPECT_EQ(sistema.shown, std::vector<std::string>{"Attendere"});
    EXPECT_TRUE(sistema.messages.empty());
    EXPECT_TRUE(sistema.failures.empty());
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.str())) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Vessana_Pralbo_5 bis.dat", "Vessana_Pralbo_5 bis.sim",
                         "Vessana_Pralbo_5 bis_note.txt", "Vessana_Pralbo_5 bis_rallentamenti.txt",
                         "Vessana_Pralbo_5 bis_scheda_treno.txt", "Vessana_Pralbo_linea.dat"}));
    EXPECT_EQ(fs::file_size(dir.file("Vessana_Pralbo_5 bis.dat")), 21175u);
    EXPECT_EQ(fs::file_size(dir.file("Vessana_Pralbo_linea.dat")), 1409982u);
}

}  // namespace
}  // namespace scenario
