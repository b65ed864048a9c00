#include "cli/diagnostics_render.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/json_check.hpp"
#include "cli/messages.hpp"

namespace scenario::cli {
namespace {

using scenario::testing::json_parser;

const document_paths shown = [](const std::string& name) { return "docs/" + name; };

diagnostic station_length_error() {
    diagnostic d;
    d.numero = 9;
    d.posizione = 3000;
    d.ha_posizione = true;
    d.documento = "S_T-.txt";
    d.riga = 3;
    d.colonna = 25;
    d.testo = "stazione,    3000,  4,  650,  1, 0, 0,  4,1,1,  2,1,1,    1,  19, 9, 0, A\r\n";
    return d;
}

diagnostic block_error() {
    diagnostic d;
    d.numero = 12;
    d.posizione = 30150;
    d.ha_posizione = true;
    d.dettaglio =
        "no free cell for the code point 250 to 350 m before the slowdown start in cell 603";
    return d;
}

TEST(CaretLine, MarksTheNumberTheColumnPointsAt) {
    const std::string line = "stazione,    3000,  4,  650,  1";
    // Column 25 is the "6" of 650; a column on the blanks before it marks the same.
    EXPECT_EQ(caret_line(line, 25), "                        ^~~");
    EXPECT_EQ(caret_line(line, 23), "                        ^~~");
    // A number ends at a blank: only 19 is marked in a clock line.
    EXPECT_EQ(caret_line("orologio,    19              8", 14), "             ^~");
}

TEST(CaretLine, KeepsTabsSoTheMarkLinesUp) {
    EXPECT_EQ(caret_line("\tsegnale,\t6450", 11), "\t        \t^~~~");
}

TEST(CaretLine, MarksEmptyFieldsTextsAndColumnsPastTheEnd) {
    // An empty field between two commas: the mark stands where the field is.
    EXPECT_EQ(caret_line("a,  ,b", 3), "  ^");
    // A text field runs to the comma, its blanks included, trailing blanks excluded.
    EXPECT_EQ(caret_line("x, cinque bis  ,y", 3), "   ^~~~~~~~~~");
    // Past the end of the line (end of document): the mark follows the last character.
    EXPECT_EQ(caret_line("abc", 9), "   ^");
    EXPECT_EQ(caret_line("", 1), "^");
    EXPECT_EQ(caret_line("abc", 0), "^~~");
}

TEST(RenderError, DocumentErrorShowsLocationSentencePositionLineAndCaret) {
    std::ostringstream err;
    render_error(station_length_error(), shown, err);
    EXPECT_EQ(err.str(),
              "docs/S_T-.txt:3:25: error 9: " + error_message(9, "") +
                  " (position 3000 m)\n"
                  "stazione,    3000,  4,  650,  1, 0, 0,  4,1,1,  2,1,1,    1,  19, 9, 0, A\n"
                  "                        ^~~\n");
}

TEST(RenderError, BlockErrorHasNoDocumentLineButNamesCellAndElement) {
    std::ostringstream err;
    render_error(block_error(), shown, err);
    EXPECT_EQ(err.str(), "scenario: error 12: " + error_message(12, block_error().dettaglio) +
                             " (position 30150 m)\n");
}

TEST(RenderError, ErrorWithoutPositionOrColumnLeavesThemOut) {
    diagnostic d;
    d.numero = 25;
    d.posizione = 700;  // an earlier position, not this error's own
    d.documento = "S_linea.txt";
    d.riga = 7;
    d.testo = "pendenza, 99999999999";
    d.dettaglio = "the gradient does not fit 32 bits";
    std::ostringstream err;
    render_error(d, shown, err);
    EXPECT_EQ(err.str(), "docs/S_linea.txt:7: error 25: " + error_message(25, d.dettaglio) +
                             "\npendenza, 99999999999\n");
}

TEST(RenderErrors, PrintsEveryErrorInOrderAndMarksTheStoredOne) {
    run_state stato;
    stato.diagnostics = {station_length_error(), block_error()};
    stato.codice_errore = 12;
    stato.posizione_errore = 30150;
    std::ostringstream err;
    render_errors(stato, shown, err);
    const std::string text = err.str();
    const auto first = text.find("error 9:");
    const auto second = text.find("error 12:");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_NE(text.find("scenario: note: this is the error the compiler stores (codice_errore "
                        "12, posizione_errore 30150)\n"),
              std::string::npos);
    EXPECT_EQ(text.find("note"), text.rfind("note")) << "only the last error is marked";
}

TEST(RecordedErrors, AStoredErrorWithoutARecordIsStillReported) {
    run_state stato;
    EXPECT_TRUE(recorded_errors(stato).empty());
    stato.codice_errore = 2;
    stato.posizione_errore = 0;
    const auto errors = recorded_errors(stato);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].numero, 2);
    EXPECT_FALSE(errors[0].ha_posizione);
    std::ostringstream err;
    render_errors(stato, shown, err);
    EXPECT_EQ(err.str().rfind("scenario: error 2: ", 0), 0u);
}

TEST(ErrorJson, CarriesEveryFieldAndNullsWhatTheErrorLacks) {
    std::ostringstream out;
    json_writer json(out);
    json.begin_array();
    write_error_json(station_length_error(), shown, json);
    write_error_json(block_error(), shown, json);
    json.end_array();
    const auto parsed = json_parser::parse(out.str());
    ASSERT_EQ(parsed.items.size(), 2u);
    const auto& a = parsed[0];
    EXPECT_EQ(a.keys(), (std::vector<std::string>{"error", "position", "document", "line", "column",
                                                  "text", "message"}));
    EXPECT_EQ(a["error"].number, 9);
    EXPECT_EQ(a["position"].number, 3000);
    EXPECT_EQ(a["document"].text, "docs/S_T-.txt");
    EXPECT_EQ(a["line"].number, 3);
    EXPECT_EQ(a["column"].number, 25);
    EXPECT_EQ(a["text"].text.substr(0, 17), "stazione,    3000");
    EXPECT_EQ(a["text"].text.back(), 'A') << "the line end is not part of the text";
    EXPECT_EQ(a["message"].text, error_message(9, ""));
    const auto& b = parsed[1];
    EXPECT_TRUE(b["document"].is_null());
    EXPECT_TRUE(b["line"].is_null());
    EXPECT_TRUE(b["column"].is_null());
    EXPECT_TRUE(b["text"].is_null());
    EXPECT_EQ(b["message"].text, error_message(12, block_error().dettaglio));
}

}  // namespace
}  // namespace scenario::cli
