// The same documents read from memory and from a folder give the same model; only the
// generator's folder store deletes what it has read. The tool's store serves the files
// the user named, read whole through the one whole-file reader.
#include "files/stores.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "compiler/reader_test_support.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "support/temp_folder.hpp"

namespace scenario::testing {
namespace {

const std::string testo_linea =
    documento({"[generale]", "lunghezza percorso,    20000",
               "progressiva chilometrica tre,    15500,    16300,    0", "sfondo uno,    70000",
               "ripetizione segnali 4 codici,    0,    10750", "[curve]", "curvas4,  900,  1100",
               "curvad1,  2700,  2000", "[pendenze]", "pendenza,  0,   0", "pendenza,  600,   -2",
               "[indicazioni]", "cartello_indicatore,  650,   (CAVALCAVIA)( Km 0.661 )", "[fine]"});
const std::string testo_treno = documento(
    {"[generale]", "numero vetture,    12", "percentuale massa frenata,    125", "sabbia,    300",
     "orologio,    19              8             15 ",
     "aderenza,   0,    100", "velocita,       0,    80", "velocita,     650,   140",
     "stazione,       0,  4,  900,  1, 0, 0,  4,1,1,  2,1,1,    1,  19, 9, 0, VESSANA",
     "stazione,    4700, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, MELISCANO L.",
     "abbattimento,  9000,  3", "[fine]"});

void attendi_uguali(const run_state& a, const run_state& b) {
    EXPECT_EQ(a.voci, b.voci);
    EXPECT_EQ(a.celle, b.celle);
    EXPECT_EQ(a.tracciato, b.tracciato);
    EXPECT_EQ(a.codice_errore, b.codice_errore);
    EXPECT_EQ(a.diagnostics, b.diagnostics);
}

TEST(ReaderStore, FolderAndMemoryGiveTheSameModel) {
    compilato memoria(testo_linea, testo_treno);
    ASSERT_EQ(memoria.stato.codice_errore, 0);
    ASSERT_EQ(memoria.stato.voci[2].nome, "MELISCANO L.");

    for (const bool elimina : {false, true}) {
        temp_folder cartella;
        write_bytes(cartella.file(linea), testo_linea);
        write_bytes(cartella.file(treno), testo_treno);
        folder_store store(cartella.str(), elimina);
        run_state stato;
        // Appended, not assigned: g++ 12 at -O3 warns (-Wrestrict) on assigning a literal.
        stato.nome_scenario.append("S");
        stato.nome_treno.append("T");
        stato.con_tracciato = 1;
        memorizza_dati(stato, store);
        attendi_uguali(memoria.stato, stato);
        EXPECT_EQ(store.exists(linea), !elimina);
        EXPECT_EQ(store.exists(treno), !elimina);
    }
}

// A document the folder holds but cannot read (here one over the largest size, made
// sparse) is error 25 with the reason in its sentence; one it does not hold, error 25
// alone.
TEST(ReaderStore, AFolderDocumentThatCannotBeReadIsError25WithTheReason) {
    temp_folder cartella;
    write_bytes(cartella.file(linea), testo_linea);
    write_bytes(cartella.file(treno), "");
    std::filesystem::resize_file(cartella.file(treno), largest_document + 1);
    const auto sentence = [&] {
        folder_store store(cartella.str(), false);
        run_state stato;
        stato.nome_scenario.append("S");
        stato.nome_treno.append("T");
        memorizza_dati(stato, store);
        EXPECT_EQ(stato.codice_errore, 25);
        for (const diagnostic& d : stato.diagnostics) {
            if (d.number == 25) {
                return d.message;
            }
        }
        return std::string("no error 25");
    };
    const std::string unread = sentence();
    EXPECT_NE(unread.find("the train document cannot be opened: it is 67108865 bytes long, "
                          "more than the 64 MiB a file may have"),
              std::string::npos)
        << unread;
    std::filesystem::remove(cartella.file(treno));
    const std::string missing = sentence();
    EXPECT_NE(missing.find("the train document cannot be opened"), std::string::npos) << missing;
    EXPECT_EQ(missing.find("cannot be opened:"), std::string::npos) << missing;
}

// What give() throws, or "" when the file is given.
std::string give_failure(tool_store& store, const std::string& name, const std::string& path) {
    try {
        store.give(name, path);
    } catch (const file_error& e) {
        EXPECT_EQ(e.path(), path);
        return e.what();
    }
    return "";
}

TEST(ToolStore, ServesTheGivenFileUnderTheExpectedNameAndNeverDeletes) {
    temp_folder dir;
    const std::string path = dir.file("my line.txt");
    write_bytes(path, "[generale]\r\n");
    tool_store store;
    EXPECT_EQ(give_failure(store, "S_linea.txt", path), "");
    EXPECT_TRUE(store.exists("S_linea.txt"));
    EXPECT_FALSE(store.exists("my line.txt"));
    EXPECT_FALSE(store.exists(""));
    ASSERT_TRUE(store.read("S_linea.txt"));
    EXPECT_EQ(*store.read("S_linea.txt"), "[generale]\r\n");
    EXPECT_EQ(store.read("S_T-.txt"), nullptr);
    EXPECT_EQ(store.path_of("S_linea.txt"), path);
    EXPECT_EQ(store.path_of("other"), "other");
    store.remove("S_linea.txt");
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(store.exists("S_linea.txt")) << "the compile may ask again";
}

TEST(ToolStore, RefusesMissingFilesFoldersAndHugeFilesNamingThem) {
    temp_folder dir;
    tool_store store;
    EXPECT_EQ(give_failure(store, "a", ""), "cannot read a file with an empty name");
    const std::string missing = dir.file("none.txt");
    EXPECT_EQ(give_failure(store, "a", missing),
              "cannot read \"" + missing + "\": No such file or directory");
    EXPECT_EQ(give_failure(store, "a", dir.str()),
              "cannot read \"" + dir.str() + "\": it is a folder, not a file");

    const std::string huge = dir.file("huge.txt");
    write_bytes(huge, "");
    std::filesystem::resize_file(huge, largest_document + 1);  // sparse: costs no disk
    EXPECT_EQ(give_failure(store, "a", huge),
              "cannot read \"" + huge +
                  "\": it is 67108865 bytes long, more than the 64 MiB a file may have");
    EXPECT_FALSE(store.exists("a"));

    const std::string just = dir.file("just.txt");
    write_bytes(just, "");
    std::filesystem::resize_file(just, largest_document);
    EXPECT_EQ(give_failure(store, "b", just), "");
    ASSERT_TRUE(store.read("b"));
    EXPECT_EQ(store.read("b")->size(), largest_document);
}

}  // namespace
}  // namespace scenario::testing
