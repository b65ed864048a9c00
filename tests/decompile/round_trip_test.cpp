// Decompile and compile again: the documents a decompile writes must compile to the
// files it read, byte for byte, for every set of files a compile with no stored error
// writes. The files come from the built-in scenario, the generated routes, the author
// mistakes and fuzz corpora, and documents changed at random from the built-in ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "compiled/compiled_scenario.hpp"
#include "decompile/decompile.hpp"
#include "documents/built_in_documents.hpp"
#include "files/scenario_files.hpp"
#include "format/format.hpp"
#include "generator/scenario_documents.hpp"
#include "generator/scenario_layout.hpp"
#include "support/mistake_corpus.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using scenario::testing::lines_of;
using scenario::testing::text_of;

compiled_scenario compiled_from(const std::string& line, const std::string& train, bool plan,
                                const std::string& name = "Vessana_Pralbo",
                                const std::string& train_name = "5 bis") {
    compile_request request;
    request.scenario = name;
    request.train = train_name;
    request.line = document_source{name + "_linea.txt", line};
    request.train_document = document_source{name + "_" + train_name + "-.txt", train};
    request.plan = plan;
    return compile(request);
}

// Whether a compile is one the round trip holds for: read, no stored error, files
// written.
bool clean(const compiled_scenario& c) {
    return c.read() && c.writes() && c.state.codice_errore == 0;
}

std::string report(const decompiled_scenario& d) {
    std::string out;
    for (const file_difference& f : d.differences) {
        out += std::string(file_title(f.file)) + " at " + std::to_string(f.offset) + ", " +
               f.what + ": " + value_text(f.stored) + " / " + value_text(f.given) + "\n";
        if (out.size() > 3000) {
            out += "...\n";
            break;
        }
    }
    if (d.first_unmatched_metre) {
        out += "first unmatched metre " + std::to_string(*d.first_unmatched_metre) + "\n";
    }
    for (const diagnostic& e : d.document_errors) {
        out += "the documents record error " + std::to_string(e.number) + ": " + e.message + "\n";
    }
    return out;
}

// The encoded files of a compile, in the order it writes them.
std::vector<std::string> encoded(const run_state& state) {
    std::vector<std::string> out;
    for (const output_file& f : output_files(state)) {
        string_sink sink;
        encode_output(state, f.format, sink);
        out.push_back(sink.bytes());
    }
    return out;
}

// Decompiles a clean compile's files and compiles the documents again: exact, the same
// bytes, and documents already laid out as fmt lays them out.
void expect_round_trip(const compiled_scenario& c, const std::string& label) {
    SCOPED_TRACE(label);
    std::string plan_bytes;
    const decompiled_scenario d = decompile(files_of(c.state, plan_bytes));
    ASSERT_TRUE(d.exact()) << report(d);
    ASSERT_TRUE(d.document_errors.empty()) << report(d);
    const compiled_scenario again =
        compiled_from(d.documents.line, d.documents.train, c.state.con_tracciato != 0,
                      c.state.nome_scenario, c.state.nome_treno);
    EXPECT_EQ(encoded(again.state), encoded(c.state));
    EXPECT_EQ(format_document(d.documents.line, source_document::line), d.documents.line);
    EXPECT_EQ(format_document(d.documents.train, source_document::train), d.documents.train);
}

std::string built_in_line() {
    return text_of(lines_of(line_document_lines()));
}
std::string built_in_train() {
    return text_of(lines_of(train_document_lines()));
}

TEST(RoundTrip, BuiltInScenarioWithAndWithoutPlan) {
    for (const bool plan : {true, false}) {
        const compiled_scenario c = compiled_from(built_in_line(), built_in_train(), plan);
        ASSERT_TRUE(clean(c));
        expect_round_trip(c, plan ? "plan" : "no plan");
    }
}

TEST(RoundTrip, BuiltInDocumentsComeBackRowForRow) {
    // Every row of the built-in documents comes back as fmt lays it out, in its place,
    // after the remark: the line document whole; in the train document all but the
    // clock (fmt keeps its blank-separated numbers) and the adhesion rows (the built-in
    // one aligns their values in a column, a layout fmt keeps).
    const compiled_scenario c = compiled_from(built_in_line(), built_in_train(), true);
    std::string plan_bytes;
    const decompiled_scenario d = decompile(files_of(c.state, plan_bytes));
    const auto body = [](const std::string& text) { return text.substr(text.find("[generale]")); };
    EXPECT_EQ(body(d.documents.line), format_document(built_in_line(), source_document::line));
    const auto rows = [](const std::string& text) {
        std::vector<std::string> kept;
        for (const std::string& row : scenario::testing::split(text, "\r\n")) {
            if (!row.starts_with("orologio") && !row.starts_with("aderenza")) {
                kept.push_back(row);
            }
        }
        return kept;
    };
    EXPECT_EQ(rows(body(d.documents.train)),
              rows(format_document(built_in_train(), source_document::train)));
    EXPECT_NE(d.documents.train.find("\r\norologio,    19,  8,  15\r\n"), std::string::npos);
}

TEST(RoundTrip, DecompiledDocumentsCompileWithoutAWarning) {
    // As documents an author wrote: the remark at the top, the rows and their layout
    // give no diagnostic at all (the tool, the language server and the live page compile
    // them alike).
    const bench::scenario_layout layout = bench::make_layout(100000);
    const compiled_scenario sources[] = {
        compiled_from(built_in_line(), built_in_train(), true),
        compiled_from(bench::line_document(layout), bench::train_document(layout), true,
                      layout.scenario_name, layout.train_name)};
    for (const compiled_scenario& c : sources) {
        std::string plan_bytes;
        compiled_files files = files_of(c.state, plan_bytes);
        files.file_names = {"A_1.sim", "A_1.dat", "A_linea.dat"};
        const decompiled_scenario d = decompile(files);
        const compiled_scenario again =
            compiled_from(d.documents.line, d.documents.train, true, c.state.nome_scenario,
                          c.state.nome_treno);
        EXPECT_TRUE(again.state.diagnostics.empty())
            << (again.state.diagnostics.empty() ? "" : again.state.diagnostics.front().message);
    }
}

TEST(RoundTrip, GeneratedRoutes) {
    for (const std::int32_t length : {10000, 100000, 1000000}) {
        const bench::scenario_layout layout = bench::make_layout(length);
        for (const bool plan : {true, false}) {
            const compiled_scenario c =
                compiled_from(bench::line_document(layout), bench::train_document(layout), plan,
                              layout.scenario_name, layout.train_name);
            ASSERT_TRUE(clean(c)) << length;
            expect_round_trip(c, std::to_string(length) + (plan ? " m" : " m, no plan"));
        }
    }
}

TEST(RoundTrip, AuthorMistakesThatCompileCleanly) {
    std::size_t tried = 0;
    for (const scenario::testing::mistake& m : scenario::testing::corpus()) {
        if (m.action == "swap" || m.action == "same") {
            continue;
        }
        std::vector<std::string> line = lines_of(line_document_lines());
        std::vector<std::string> train = lines_of(train_document_lines());
        ASSERT_TRUE(scenario::testing::apply(m, m.document == 'L' ? line : train)) << m.name;
        for (const bool plan : {true, false}) {
            const compiled_scenario c = compiled_from(text_of(line), text_of(train), plan);
            if (clean(c)) {
                ++tried;
                expect_round_trip(c, m.name);
            }
        }
    }
    EXPECT_GE(tried, 20u);
}

TEST(RoundTrip, FuzzCorpus) {
    // Each input: one byte whose lowest bit is the plan switch, the line document, a NUL
    // byte, the train document (fuzz/compile_fuzzer.cpp).
    const fs::path corpus = fs::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" /
                            "corpus";
    std::size_t tried = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        const std::string bytes = scenario::testing::read_bytes(entry.path().string());
        if (bytes.empty()) {
            continue;
        }
        const std::string rest = bytes.substr(1);
        const std::size_t split = rest.find('\0');
        const std::string line = rest.substr(0, split);
        const std::string train = split == std::string::npos ? std::string() : rest.substr(split + 1);
        const compiled_scenario c = compiled_from(line, train, (bytes[0] & 1) != 0, "Fuzz", "1");
        if (clean(c)) {
            ++tried;
            expect_round_trip(c, entry.path().filename().string());
        }
    }
    EXPECT_GE(tried, 2u);
}

// A random change to one row of a document: a number moved a little or a lot, a row
// doubled, dropped or moved. Seeded: every run tries the same documents.
class mutator {
  public:
    explicit mutator(unsigned seed) : random_(seed) {}

    void mutate(std::vector<std::string>& doc) {
        if (doc.size() < 3) {
            return;
        }
        // Not the first line ("[generale]") nor the last ("[fine]").
        const std::size_t at = pick(1, doc.size() - 2);
        switch (pick(0, 5)) {
            case 0:
            case 1:
            case 2:
                change_number(doc[at]);
                break;
            case 3:
                doc.insert(doc.begin() + static_cast<std::ptrdiff_t>(at), doc[at]);
                change_number(doc[at]);
                break;
            case 4:
                doc.erase(doc.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            default: {
                const std::size_t to = pick(1, doc.size() - 2);
                std::swap(doc[at], doc[to]);
                break;
            }
        }
    }

  private:
    std::size_t pick(std::size_t lo, std::size_t hi) {
        return std::uniform_int_distribution<std::size_t>(lo, hi)(random_);
    }

    void change_number(std::string& row) {
        std::vector<std::pair<std::size_t, std::size_t>> numbers;
        for (std::size_t i = 0; i < row.size();) {
            if ((row[i] >= '0' && row[i] <= '9') ||
                (row[i] == '-' && i + 1 < row.size() && row[i + 1] >= '0' && row[i + 1] <= '9')) {
                std::size_t j = i + 1;
                while (j < row.size() && row[j] >= '0' && row[j] <= '9') {
                    ++j;
                }
                numbers.push_back({i, j});
                i = j;
            } else {
                ++i;
            }
        }
        if (numbers.empty()) {
            return;
        }
        const auto [from, to] = numbers[pick(0, numbers.size() - 1)];
        const long long value = std::stoll(row.substr(from, to - from));
        static constexpr long long steps[] = {1, -1, 25, -25, 50, -50, 100, -100, 500, 3000};
        const long long changed = pick(0, 3) == 0 ? static_cast<long long>(pick(0, 300))
                                                  : value + steps[pick(0, 9)];
        row.replace(from, to - from, std::to_string(changed));
    }

    std::mt19937 random_;
};

TEST(RoundTrip, RandomChangesToTheBuiltInDocuments) {
    mutator m(20240611);
    std::size_t tried = 0;
    for (int round = 0; round < 600; ++round) {
        std::vector<std::string> line = lines_of(line_document_lines());
        std::vector<std::string> train = lines_of(train_document_lines());
        const int changes = 1 + round % 6;
        for (int i = 0; i < changes; ++i) {
            m.mutate(round % 3 == 0 ? line : train);
            m.mutate(round % 2 == 0 ? train : line);
        }
        const compiled_scenario c = compiled_from(text_of(line), text_of(train), round % 5 != 0);
        if (clean(c)) {
            ++tried;
            expect_round_trip(c, "round " + std::to_string(round));
            if (::testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << text_of(line) << text_of(train);
                return;
            }
        }
    }
    std::cout << "random documents that compile cleanly: " << tried << " of 600\n";
    EXPECT_GE(tried, 100u);
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

// Documents made up at random on a short route: few elements, anywhere and in any
// order, so that they often share cells, cover each other's markers or overlap,
// values at the ends of their ranges. Those that compile cleanly must round-trip.
class random_documents {
  public:
    explicit random_documents(unsigned seed) : random_(seed) {}

    std::pair<std::string, std::string> make() {
        const int length = 50 * range(10, 120);
        std::string line = "[generale]\r\nlunghezza percorso, " + std::to_string(length) + "\r\n";
        const char* zones[3] = {"uno", "due", "tre"};
        for (const char* z : zones) {
            if (chance(2)) {
                line += std::string("progressiva chilometrica ") + z + ", " + metres(length) + ", " +
                        metres(length) + ", " + std::to_string(range(0, 2)) + "\r\n";
            }
        }
        line += "sfondo uno, " + std::to_string(range(-5, 5)) + "\r\n";
        if (chance(2)) {
            line += std::string("ripetizione segnali ") + (chance(2) ? "4" : "9") + " codici, " +
                    std::to_string(50 * range(0, 20)) + ", " + std::to_string(50 * range(0, 40)) +
                    "\r\n";
        }
        std::vector<std::string> body;
        for (int i = range(0, 3); i > 0; --i) {
            body.push_back(std::string("curva") + (chance(2) ? "s" : "d") +
                           std::to_string(range(1, 6)) + ", " + metres(length) + ", " +
                           std::to_string(range(-10, 600)));
        }
        for (int i = range(0, 4); i > 0; --i) {
            body.push_back("pendenza, " + chainage(length) + ", " + std::to_string(range(-105, 160)));
        }
        for (int i = range(0, 4); i > 0; --i) {
            static constexpr int types[] = {0, 1, 2, 3, 11, 12, 13, 10, 266, -3, 300};
            body.push_back("montagna, " + chainage(length) + ", " + chainage(length + 400) + ", " +
                           std::to_string(types[range(0, 10)]));
        }
        for (int i = range(0, 3); i > 0; --i) {
            body.push_back("indicatori_vmax, " + chainage(length) + ", " + speed() + ", " + speed() +
                           ", " + speed() + ", " + std::to_string(range(0, 3)) + ", " +
                           (chance(2) ? ", , , " : speed() + ", " + speed() + ", " + speed() + ", ") +
                           std::to_string(range(0, 3)));
        }
        for (int i = range(0, 2); i > 0; --i) {
            body.push_back("cartello_indicatore, " + chainage(length) + ", (" +
                           std::string(static_cast<std::size_t>(range(0, 5)), 'X') + ")");
        }
        shuffle(body);
        line += "[curve]\r\n";
        for (const std::string& row : body) {
            line += row + "\r\n";
        }
        line += "[fine]\r\n";

        std::string train = "[generale]\r\nnumero vetture, " + std::to_string(range(0, 12)) +
                            "\r\norologio, " + std::to_string(range(0, 23)) + ", " +
                            std::to_string(range(0, 59)) + ", 0\r\n";
        std::vector<std::string> rows;
        for (int i = range(0, 3); i > 0; --i) {
            rows.push_back("aderenza, " + chainage(length) + ", " + std::to_string(range(-3, 260)));
        }
        for (int i = range(0, 3); i > 0; --i) {
            rows.push_back("velocita, " + chainage(length) + ", " + std::to_string(range(-2, 300)));
        }
        int last_station = -2000;
        for (int i = range(0, 3); i > 0; --i) {
            static constexpr int kinds[] = {2, 4, 5, 6, 7, 8, 11, 22, 25, 30};
            last_station += 50 * range(10, 60);
            rows.push_back("stazione, " + std::to_string(last_station) + ", " +
                           std::to_string(kinds[range(0, 9)]) + ", " +
                           std::to_string(100 * range(1, 9)) + ", " + std::to_string(range(0, 2)) +
                           ", " + std::to_string(range(0, 2)) + ", " + std::to_string(range(0, 2)) +
                           ", 4,1,1, 2,1,1, 1, " + std::to_string(range(-1, 23)) + ", " +
                           std::to_string(range(0, 59)) + ", " + std::to_string(range(0, 70)) +
                           ", S" + std::to_string(i));
        }
        for (int i = range(0, 2); i > 0; --i) {
            rows.push_back("rallentamento, " + chainage(length) + ", " + speed() + ", " +
                           std::to_string(range(-50, 700)) + ", " + std::to_string(range(0, 2)) +
                           ", " + std::to_string(range(0, 1)) + ", " + std::to_string(range(0, 3)));
        }
        for (int i = range(0, 5); i > 0; --i) {
            std::string row = "segnale, " + chainage(length);
            for (int k = 0; k < 9; ++k) {
                row += ", " + std::to_string(k == 0 || k == 5 ? range(0, 3) : range(-1, 12));
            }
            rows.push_back(row + ", " + std::to_string(chance(2) ? 0 : range(0, 300)));
        }
        for (int i = range(0, 3); i > 0; --i) {
            rows.push_back("abbattimento, " + chainage(length) + ", " + std::to_string(range(-3, 300)));
        }
        shuffle(rows);
        for (const std::string& row : rows) {
            train += row + "\r\n";
        }
        train += "[fine]\r\n";
        return {line, train};
    }

  private:
    int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    bool chance(int in) { return range(1, in) == 1; }
    std::string metres(int length) { return std::to_string(50 * range(0, length / 50)); }
    // Mostly on the 50 m grid, sometimes between.
    std::string chainage(int length) {
        return std::to_string(chance(4) ? range(-30, length) : 50 * range(0, length / 50));
    }
    std::string speed() { return std::to_string(chance(8) ? range(0, 300) : 5 * range(0, 40)); }
    void shuffle(std::vector<std::string>& v) { std::shuffle(v.begin(), v.end(), random_); }

    std::mt19937 random_;
};

TEST(RoundTrip, RandomDocumentsOnAShortRoute) {
    random_documents make(7);
    std::size_t clean_ones = 0;
    for (int round = 0; round < 3000; ++round) {
        const auto [line, train] = make.make();
        const compiled_scenario c = compiled_from(line, train, round % 4 != 0);
        if (!clean(c)) {
            continue;
        }
        ++clean_ones;
        expect_round_trip(c, "round " + std::to_string(round));
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << line << train;
            return;
        }
    }
    std::cout << "random documents that compile cleanly: " << clean_ones << " of 3000\n";
    EXPECT_GE(clean_ones, 300u);
}

}  // namespace
}  // namespace scenario
