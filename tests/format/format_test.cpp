// The formatter: the built-in documents and the generated routes are already laid out;
// any document, laid out, compiles to the same files and the same stored error as
// before, and laying it out again changes nothing. Also for each document made messy
// (blanks and tabs wherever the field reader skips them, LF line ends). Beside what it
// compiles to: the laying out of right-aligned columns, and that nothing but blanks and
// line breaks ever changes (a number's leading zeros compile the same but must stay).
#include "format/format.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "compiler/compile.hpp"
#include "documents/built_in_documents.hpp"
#include "files/byte_sink.hpp"
#include "files/scenario_files.hpp"
#include "files/stores.hpp"
#include "generator/scenario_documents.hpp"
#include "generator/scenario_layout.hpp"
#include "model/file_names.hpp"
#include "support/mistake_corpus.hpp"
#include "support/temp_folder.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;

// What a compile leaves that counts: its result, the stored error and every file.
struct compiled {
    std::int32_t result = 0;
    std::int32_t codice_errore = 0;
    std::int32_t posizione_errore = 0;
    std::vector<std::string> files;  // name, then the bytes

    bool operator==(const compiled&) const = default;
};

compiled compile(const std::string& scenario, const std::string& train, const std::string& line_doc,
                 const std::string& train_doc) {
    memory_store store;
    store.put(nome_documento_linea(scenario), line_doc);
    store.put(nome_documento_treno(scenario, train), train_doc);
    run_state stato;
    stato.nome_scenario = scenario;
    stato.nome_treno = train;
    compiled c;
    c.result = compile_scenario(stato, store, 1);
    c.codice_errore = stato.codice_errore;
    c.posizione_errore = stato.posizione_errore;
    if (c.result == 0) {
        try {
            for (const output_file& f : output_files(stato)) {
                string_sink sink;
                encode_output(stato, f.format, sink);
                c.files.push_back(f.name);
                c.files.push_back(sink.bytes());
            }
        } catch (const file_error& e) {
            c.files.push_back(e.what());  // a text the header file cannot hold
        }
    }
    return c;
}

// The document with blanks and tabs added at each line's ends and around each comma,
// and LF for CR LF on every other line: nothing the field reader reads changes.
std::string messy(const std::string& text) {
    std::string out;
    bool lf = false;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find("\r\n", from);
        if (end == std::string::npos) {
            out += text.substr(from);
            break;
        }
        std::string row = text.substr(from, end - from);
        if (row.find_first_not_of(" \t") != std::string::npos) {
            std::string mangled = " \t";
            for (const char c : row) {
                mangled += c == ',' ? std::string(" \t,\t  ") : std::string(1, c);
            }
            row = mangled + "\t ";
        }
        out += row + (lf ? "\n" : "\r\n");
        lf = !lf;
        from = end + 2;
    }
    return out;
}

// Both documents laid out compile as they did; laid out again, they do not change.
void expect_same_compile(const std::string& scenario, const std::string& train,
                         const std::string& line_doc, const std::string& train_doc) {
    const std::string line_out = format_document(line_doc, source_document::line);
    const std::string train_out = format_document(train_doc, source_document::train);
    const compiled before = compile(scenario, train, line_doc, train_doc);
    EXPECT_TRUE(compile(scenario, train, line_out, train_out) == before)
        << "error " << before.codice_errore << " at " << before.posizione_errore;
    EXPECT_EQ(format_document(line_out, source_document::line), line_out);
    EXPECT_EQ(format_document(train_out, source_document::train), train_out);
}

const fs::path golden = fs::path(__FILE__).parent_path().parent_path() / "documents" / "golden";

TEST(Format, BuiltInDocumentsAreAlreadyLaidOut) {
    for (const auto& [name, kind] :
         {std::pair{"Vessana_Pralbo_linea.txt", source_document::line},
          std::pair{"Vessana_Pralbo_5 bis-.txt", source_document::train}}) {
        const std::string text = read_bytes((golden / name).string());
        ASSERT_GT(text.size(), 1000u) << name;
        EXPECT_EQ(format_document(text, kind), text) << name;
    }
}

// Made messy and laid out, the built-in documents come back as they were, but for two
// rows: the clock row, whose three values stand apart by blanks alone, keeps its extra
// blanks; the one adhesion row written in the second layout takes the first.
TEST(Format, MessyBuiltInDocumentsComeBackAsWritten) {
    for (const auto& [list, kind] : {std::pair{line_document_lines(), source_document::line},
                                     std::pair{train_document_lines(), source_document::train}}) {
        const std::vector<std::string> rows = testing::lines_of(list);
        const std::string laid_out = format_document(messy(testing::text_of(rows)), kind);
        std::vector<std::string> back = testing::split(laid_out, "\r\n");
        ASSERT_EQ(back.size(), rows.size() + 1);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].starts_with("orologio")) {
                EXPECT_EQ(back[i], " \torologio \t,\t      19              8             15 \t ");
            } else if (rows[i] == "aderenza,   14750,   100") {
                EXPECT_EQ(back[i], "aderenza,   14750,    100");
            } else {
                EXPECT_EQ(back[i], rows[i]) << "line " << i + 1;
            }
        }
    }
}

// A right-aligned column takes as many blanks as the value is narrower than it: one for a
// value one narrower, none for a value exactly as wide, none for a wider one. Worked out
// by hand from the columns of the built-in train document ("velocita": 8 and 6 wide,
// "abbattimento": 8 and 2, "rallentamento": 8, 6, 5, 2, 3, 3).
TEST(Format, RightAlignedColumnsPadOnlyNarrowerValues) {
    const std::pair<std::string, std::string> rows[] = {
        {"velocita,1234567,12345", "velocita, 1234567, 12345"},
        {"velocita,12345678,123456", "velocita,12345678,123456"},
        {"velocita, 123456789 , 1234567", "velocita,123456789,1234567"},
        {"velocita,-1234567,-12345", "velocita,-1234567,-12345"},
        {"velocita,-12345678,-123456", "velocita,-12345678,-123456"},
        {"abbattimento,1,1", "abbattimento,       1, 1"},
        {"abbattimento,1,12", "abbattimento,       1,12"},
        {"abbattimento,1,123", "abbattimento,       1,123"},
        {"rallentamento,1,12,123,1,12,123", "rallentamento,       1,    12,  123, 1, 12,123"},
        {"rallentamento,123456789,1234567,123456,123,1234,1234",
         "rallentamento,123456789,1234567,123456,123,1234,1234"},
    };
    for (const auto& [row, laid_out] : rows) {
        EXPECT_EQ(format_document(row + "\r\n", source_document::train), laid_out + "\r\n");
    }
}

// Blanks, tabs, CR and LF taken out: what is left is what the formatter may not change.
std::string without_blanks(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            out += c;
        }
    }
    return out;
}

// The formatter changes only blanks and line breaks: every other byte of a document
// stays, in its order (a number keeps its leading zeros, a text its letters).
TEST(Format, ChangesNothingButBlanksAndLineBreaks) {
    std::vector<std::string> documents;
    for (const line_list list : {line_document_lines(), train_document_lines(), notes_lines(),
                                 slow_order_lines(), timetable_lines()}) {
        documents.push_back(testing::text_of(testing::lines_of(list)));
        documents.push_back(messy(documents.back()));
    }
    for (const std::int32_t length : {10000, 1000000}) {
        const bench::scenario_layout l = bench::make_layout(length);
        documents.push_back(messy(bench::line_document(l)));
        documents.push_back(messy(bench::train_document(l)));
    }
    // Rows the documents do not hold: leading zeros, signs, blanks inside a field, the
    // keyword in both encodings, a last line without its line break.
    documents.push_back(
        "[generale]\r\n"
        "lunghezza percorso, 010000\r\n"
        "  [ curve ]  \r\n"
        "curva,0100,\t0200\n"
        "curvas1 ,  -0050 ,00\r\n"
        "pendenza, 00, -001\r\n"
        "montagna, 0100, 0200, 011\r\n"
        "indicatori_vmax,0,1,2,3,4,5,6,7,08\r\n"
        "cartello_indicatore, 0500,  testo con  blank  \r\n"
        "velocita,0600,080\r\n"
        "velocit\xe0, 0100, 090\r\n"
        "velocit\xc3\xa0 , 0100, 090\r\n"
        "orologio,    019              08             015\r\n"
        "aderenza,0,0100\r\n"
        "stazione, 0600,04,0900, 01,00,00,04,1,1,02,1,1,0001,019,09,00, VESSANA  VECCHIA \r\n"
        "segnale,   02000,   02, 4, 0,  0, 0,    0,  0,0,0, 00\r\n"
        "segnale,-0,+5, 007,0,0,0,0,0,0,0,0\r\n"
        "rallentamento,0001000,0030,00400,0,1,1\r\n"
        "abbattimento,00000100,00\r\n"
        "velocita, 0200, 070");
    for (const std::string& text : documents) {
        for (const source_document kind : {source_document::line, source_document::train}) {
            for (const text_encoding encoding :
                 {text_encoding::windows_1252, text_encoding::utf_8}) {
                const std::string laid_out = format_document(text, kind, encoding);
                ASSERT_TRUE(without_blanks(laid_out) == without_blanks(text))
                    << text.substr(0, 200);
            }
        }
    }
}

TEST(Format, EveryMistakeOfTheCorpusCompilesTheSameLaidOut) {
    const std::vector<testing::mistake> list = testing::corpus();
    ASSERT_GE(list.size(), 60u);
    for (const testing::mistake& m : list) {
        SCOPED_TRACE(m.name);
        std::vector<std::string> line = testing::lines_of(line_document_lines());
        std::vector<std::string> train = testing::lines_of(train_document_lines());
        ASSERT_TRUE(testing::apply(m, m.document == 'L' ? line : train));
        const std::string line_doc = testing::text_of(m.action == "swap" ? train : line);
        const std::string train_doc =
            testing::text_of(m.action == "swap" || m.action == "same" ? line : train);
        expect_same_compile("Vessana_Pralbo", "5 bis", line_doc, train_doc);
        // The messy documents read as the tidy ones, and laid out they still do.
        const std::string messy_line = messy(line_doc);
        const std::string messy_train = messy(train_doc);
        EXPECT_TRUE(compile("Vessana_Pralbo", "5 bis", messy_line, messy_train) ==
                    compile("Vessana_Pralbo", "5 bis", line_doc, train_doc));
        expect_same_compile("Vessana_Pralbo", "5 bis", messy_line, messy_train);
    }
}

TEST(Format, GeneratedRoutesAreLaidOutAndCompileTheSame) {
    for (const std::int32_t length : {10000, 100000, 1000000}) {
        SCOPED_TRACE(length);
        const bench::scenario_layout l = bench::make_layout(length);
        const std::string line_doc = bench::line_document(l);
        const std::string train_doc = bench::train_document(l);
        EXPECT_EQ(format_document(line_doc, source_document::line), line_doc);
        EXPECT_EQ(format_document(train_doc, source_document::train), train_doc);
        expect_same_compile(l.scenario_name, l.train_name, messy(line_doc), messy(train_doc));
    }
}

}  // namespace
}  // namespace scenario
