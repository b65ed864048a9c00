#include "documents/built_in_documents.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/file_error.hpp"
#include "model/file_names.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::temp_folder;

// The five documents as they must be written, byte for byte (Windows-1252, CR LF after
// every line): golden files written line by line from the documents' fixed content,
// independently of our writers.
const fs::path golden = fs::path(__FILE__).parent_path() / "golden";
const char* const documents[] = {
    "Vessana_Pralbo_linea.txt",
    "Vessana_Pralbo_5 bis-.txt",
    "Vessana_Pralbo_5 bis_note.txt",
    "Vessana_Pralbo_5 bis_rallentamenti.txt",
    "Vessana_Pralbo_5 bis_scheda_treno.txt",
};

document_target target_in(const fs::path& folder) {
    return {folder.string(), "Vessana_Pralbo", "5 bis"};
}

TEST(BuiltInDocuments, AreWrittenExactlyAsListed) {
    temp_folder dir;
    const fs::path folder = dir.str();
    write_built_in_documents(target_in(folder));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 5);
    for (const char* name : documents) {
        SCOPED_TRACE(name);
        const std::string expected = read_bytes((golden / name).string());
        ASSERT_FALSE(expected.empty()) << "missing golden file";
        EXPECT_EQ(read_bytes((folder / name).string()), expected);
    }
}

TEST(BuiltInDocuments, FileNamesComeFromTheTargetNames) {
    temp_folder dir;
    const fs::path folder = dir.str();
    document_target t = target_in(folder);
    t.nome_scenario = "Altro";
    t.nome_treno = "7";
    write_built_in_documents(t);
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
    fs::create_directory(folder / documents[2]);
    EXPECT_THROW(write_built_in_documents(target_in(folder)), file_error);
    EXPECT_TRUE(fs::is_regular_file(folder / documents[0]));
    EXPECT_TRUE(fs::is_regular_file(folder / documents[1]));
    EXPECT_FALSE(fs::exists(folder / documents[3]));
    EXPECT_FALSE(fs::exists(folder / documents[4]));
}

}  // namespace
}  // namespace scenario
