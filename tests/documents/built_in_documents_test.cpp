#include "documents/built_in_documents.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "document_lines.hpp"
#include "model/file_names.hpp"
#include "files/file_error.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::columns_of;
using testing::line_at;
using testing::read_bytes;
using testing::split_crlf;
using testing::temp_folder;

struct expected_document {
    const char* file;
    line_list (*righe)();
    std::size_t lines;
    std::uintmax_t bytes;  // checked once against the lines as they stand on paper
};

const expected_document documenti[] = {
    {"Vessana_Pralbo_linea.txt", righe_linea, 179, 5270},
    {"Vessana_Pralbo_5 bis-.txt", righe_treno, 84, 3850},
    {"Vessana_Pralbo_5 bis_note.txt", righe_note, 8, 712},
    {"Vessana_Pralbo_5 bis_rallentamenti.txt", righe_rallentamenti, 46, 3285},
    {"Vessana_Pralbo_5 bis_scheda_treno.txt", righe_scheda, 44, 3308},
};

document_target target_in(const fs::path& folder) {
    return {folder.string(), static_cast<char>(fs::path::preferred_separator), "Vessana_Pralbo",
            "5 bis"};
}

TEST(BuiltInDocuments, WritesFiveFilesWithTheirLinesSizesAndCrLf) {
    temp_folder dir;
    const fs::path folder = dir.str();
    scrivi_documenti_incorporati(target_in(folder));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 5);

    for (const expected_document& d : documenti) {
        SCOPED_TRACE(d.file);
        ASSERT_TRUE(fs::is_regular_file(folder / d.file));
        const std::string bytes = read_bytes((folder / d.file).string());
        const line_list righe = d.righe();
        ASSERT_EQ(righe.size(), d.lines);
        const std::size_t lengths =
            std::accumulate(righe.begin(), righe.end(), std::size_t{0},
                            [](std::size_t sum, std::string_view r) { return sum + r.size(); });
        EXPECT_EQ(bytes.size(), lengths + 2 * d.lines);
        EXPECT_EQ(bytes.size(), d.bytes);

        bool well_formed = false;
        const auto lines = split_crlf(bytes, well_formed);
        EXPECT_TRUE(well_formed);
        EXPECT_EQ(lines.size(), d.lines);
        EXPECT_EQ(bytes.find(fine_del_file), std::string::npos);
        EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    }
}

TEST(BuiltInDocuments, FileNamesComeFromTheTargetNames) {
    temp_folder dir;
    const fs::path folder = dir.str();
    document_target t = target_in(folder);
    t.nome_scenario = "Altro";
    t.nome_treno = "7";
    scrivi_documenti_incorporati(t);
    for (const std::string& name :
         {nome_documento_linea("Altro"), nome_documento_treno("Altro", "7"),
          nome_note("Altro", "7"), nome_rallentamenti("Altro", "7"), nome_scheda("Altro", "7")}) {
        EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
    }
    EXPECT_TRUE(fs::is_regular_file(folder / "Altro_7-.txt"));
}

TEST(BuiltInDocuments, AFailureStopsTheSequenceAfterTheDocumentsBeforeIt) {
    temp_folder dir;
    const fs::path folder = dir.str();
    // A folder under the notes' name: the third document cannot be put in place.
    fs::create_directory(folder / documenti[2].file);
    EXPECT_THROW(scrivi_documenti_incorporati(target_in(folder)), file_error);
    EXPECT_TRUE(fs::is_regular_file(folder / documenti[0].file));
    EXPECT_TRUE(fs::is_regular_file(folder / documenti[1].file));
    EXPECT_FALSE(fs::exists(folder / documenti[3].file));
    EXPECT_FALSE(fs::exists(folder / documenti[4].file));
}

TEST(BuiltInDocuments, OnlyTheNotesLeaveAscii) {
    for (const expected_document& d : documenti) {
        const line_list righe = d.righe();
        for (std::size_t i = 0; i < righe.size(); ++i) {
            for (const char c : righe[i]) {
                const auto byte = static_cast<unsigned char>(c);
                const bool accented_note = d.righe == righe_note && i < 4 &&
                                           (byte == 0xE8 || byte == 0xF2 || byte == 0xF9);
                EXPECT_TRUE((byte >= 0x20 && byte < 0x7F) || accented_note)
                    << d.file << " line " << i + 1 << " byte " << int{byte};
            }
        }
    }
}

TEST(Notes, AccentedLettersAreSingleBytesAndLineFourIsWhole) {
    const line_list note = righe_note();
    EXPECT_EQ(note[3].size(), 164U);
    EXPECT_EQ(line_at(note, 1), "Treno impostato in rango B - la locomotiva \xE8 un E444.");
    EXPECT_NE(note[2].find("un p\xF2 impegnativo"), std::string_view::npos);
    EXPECT_NE(note[3].find("pi\xF9 cippi"), std::string_view::npos);
    EXPECT_TRUE(note[5].empty());
    for (std::size_t i : {4U, 6U, 7U}) {
        EXPECT_FALSE(note[i].empty()) << "line " << i + 1;
    }
}

TEST(TimetableSheet, RunTableKeepsItsColumnsAndBlanks) {
    const line_list scheda = righe_scheda();
    for (std::size_t n = 14; n <= 43; ++n) {
        const std::string line = line_at(scheda, n);
        EXPECT_EQ(line.size(), 83U) << "line " << n;
        EXPECT_EQ(columns_of(line, '|'), (std::vector<std::size_t>{2, 8, 14, 25, 31, 60, 77, 83}))
            << "line " << n;
    }
    for (std::size_t n : {1U, 2U, 12U, 44U}) {
        EXPECT_TRUE(scheda[n - 1].empty()) << "line " << n;
    }
    EXPECT_EQ(scheda[42], scheda[15]);
    EXPECT_EQ(line_at(scheda, 13), "  " + std::string(80, '_'));
    const std::size_t uneven[] = {82, 83, 83, 83, 83, 56, 64, 57, 57};
    for (std::size_t n = 3; n <= 11; ++n) {
        EXPECT_EQ(scheda[n - 1].size(), uneven[n - 3]) << "line " << n;
    }
    EXPECT_TRUE(line_at(scheda, 9).ends_with("|       "));
}

TEST(SlowOrderForm, TableKeepsItsColumns) {
    const line_list modulo = righe_rallentamenti();
    for (std::size_t n = 9; n <= 39; ++n) {
        const std::string line = line_at(modulo, n);
        EXPECT_EQ(line.size(), 82U) << "line " << n;
        EXPECT_EQ(columns_of(line, '|'), (std::vector<std::size_t>{2, 6, 35, 48, 59, 69, 82}))
            << "line " << n;
    }
    for (std::size_t n = 16; n <= 38; ++n) {
        EXPECT_EQ(modulo[n - 1], modulo[14]) << "line " << n;
    }
    EXPECT_EQ(modulo[38], modulo[11]);
    EXPECT_EQ(line_at(modulo, 4), " " + std::string(80, '_'));
    EXPECT_EQ(line_at(modulo, 8), "  " + std::string(79, '_'));
    EXPECT_TRUE(modulo[0].empty());
    std::string legend;
    for (std::size_t n = 42; n <= 45; ++n) {
        legend += modulo[n - 1].substr(0, 3);
    }
    EXPECT_EQ(legend, " A  B  D  C ");
}

}  // namespace
}  // namespace scenario
