#include "cli/diagnostics_render.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace scenario::cli {
namespace {

const document_paths shown = [](const std::string& name) { return "docs/" + name; };

diagnostic station_length_error() {
    diagnostic d;
    d.number = 9;
    d.position = 3000;
    d.has_position = true;
    d.document = "S_T-.txt";
    d.line = 3;
    d.column = 25;
    d.end_column = 27;
    d.text = "stazione,    3000,  4,  650,  1, 0, 0,  4,1,1,  2,1,1,    1,  19, 9, 0, A\r\n";
    d.message = "the station length is not a multiple of 100 m; change it";
    return d;
}

diagnostic block_error() {
    diagnostic d;
    d.number = 12;
    d.position = 30150;
    d.has_position = true;
    d.message = "no free cell in cell 603; free one";
    return d;
}

TEST(CaretLine, MarksTheExtentAndKeepsTabsSoTheMarkLinesUp) {
    EXPECT_EQ(caret_line("stazione,    3000,  4,  650,  1", 25, 27), "                        ^~~");
    EXPECT_EQ(caret_line("\tsegnale,\t6450", 11, 14), "\t        \t^~~~");
    // An empty field, and a column past the end of the line (end of document).
    EXPECT_EQ(caret_line("a,  ,b", 3, 3), "  ^");
    EXPECT_EQ(caret_line("abc", 9, 9), "   ^");
}

TEST(RenderErrors, DocumentErrorsShowLineAndCaretBlockErrorsNameTheScenario) {
    run_state stato;
    diagnostic no_position = station_length_error();
    no_position.has_position = false;
    no_position.column = 0;
    stato.diagnostics = {station_length_error(), block_error(), no_position};
    stato.codice_errore = 9;
    stato.posizione_errore = 3000;
    std::ostringstream err;
    render_errors(stato.diagnostics, stato, shown, err);
    EXPECT_EQ(err.str(),
              "docs/S_T-.txt:3:25: error 9: the station length is not a multiple of 100 m; change "
              "it (position 3000 m)\n"
              "stazione,    3000,  4,  650,  1, 0, 0,  4,1,1,  2,1,1,    1,  19, 9, 0, A\n"
              "                        ^~~\n"
              "scenario: error 12: no free cell in cell 603; free one (position 30150 m)\n"
              "docs/S_T-.txt:3: error 9: the station length is not a multiple of 100 m; change it\n"
              "stazione,    3000,  4,  650,  1, 0, 0,  4,1,1,  2,1,1,    1,  19, 9, 0, A\n"
              "docs/S_T-.txt:3: note: this is the error the compiler stores (codice_errore 9, "
              "posizione_errore 3000)\n");
}

TEST(RenderErrors, ALaterErrorOfAnotherNumberIsNotTheStoredOne) {
    run_state stato;
    stato.diagnostics = {block_error()};
    stato.codice_errore = 25;
    stato.posizione_errore = 30150;
    std::ostringstream err;
    render_errors(stato.diagnostics, stato, shown, err);
    EXPECT_NE(err.str().find("scenario: note: the compiler stores error 25 (posizione_errore "
                             "30150)\n"),
              std::string::npos);
}

diagnostic warning_with_note() {
    diagnostic d;
    d.level = severity::warning;
    d.name = "out-of-order";
    d.document = "S_linea.txt";
    d.line = 5;
    d.column = 12;
    d.end_column = 14;
    d.text = "pendenza,  500,   2";
    d.message = "goes back";
    d.notes = {{"S_linea.txt", 4, 12, 15, "the line before"},
               {{}, 0, 0, 0, "cell 3 holds a signal"}};
    d.fixes = {{"S_linea.txt", 5, 12, 14, "1500", "write 1500", true}};
    return d;
}

// A warning whose fixes are choices, one of them a whole line.
diagnostic warning_with_choices() {
    diagnostic d;
    d.level = severity::warning;
    d.name = "hidden-row";
    d.document = "S_T-.txt";
    d.line = 2;
    d.column = 1;
    d.end_column = 6;
    d.text = "sabbia, 300";
    d.message = "replaced";
    d.fixes = {{"S_T-.txt", 2, 0, 0, "", "remove the line", false},
               {"S_T-.txt", 2, 9, 8, "0", "insert 0", false}};
    return d;
}

TEST(RenderErrors, WarningsCarryTheirNameAndNotesFollowWhatTheyExplain) {
    run_state stato;
    std::ostringstream err;
    render_error(warning_with_note(), shown, err);
    EXPECT_EQ(err.str(),
              "docs/S_linea.txt:5:12: warning: goes back [-Wout-of-order]\n"
              "pendenza,  500,   2\n"
              "           ^~~\n"
              "           1500\n"
              "docs/S_linea.txt:4:12: note: the line before\n"
              "scenario: note: cell 3 holds a signal\n"
              "docs/S_linea.txt:5:12: fix-it: write 1500\n");
    // Choices are listed, and none is shown under the caret.
    std::ostringstream choices;
    render_error(warning_with_choices(), shown, choices);
    EXPECT_EQ(choices.str(),
              "docs/S_T-.txt:2:1: warning: replaced [-Whidden-row]\n"
              "sabbia, 300\n"
              "^~~~~~\n"
              "docs/S_T-.txt:2: fix-it, a choice: remove the line\n"
              "docs/S_T-.txt:2:9: fix-it, a choice: insert 0\n");
}

TEST(ErrorJson, CarriesEveryFieldAndNullsWhatTheErrorLacks) {
    std::ostringstream out;
    json_writer json(out);
    json.begin_array();
    write_error_json(station_length_error(), shown, json);
    write_error_json(block_error(), shown, json);
    write_error_json(warning_with_note(), shown, json);
    write_error_json(warning_with_choices(), shown, json);
    json.end_array();
    const auto parsed = nlohmann::ordered_json::parse(out.str());
    ASSERT_EQ(parsed.size(), 4u);
    EXPECT_EQ(parsed[0], nlohmann::ordered_json::parse(R"({"error":9,"position":3000,
        "document":"docs/S_T-.txt","line":3,"column":25,
        "text":"stazione,    3000,  4,  650,  1, 0, 0,  4,1,1,  2,1,1,    1,  19, 9, 0, A",
        "message":"the station length is not a multiple of 100 m; change it",
        "severity":"error","name":null,"end_column":27,"notes":[],"fixes":[]})"));
    EXPECT_EQ(parsed[1], nlohmann::ordered_json::parse(R"({"error":12,"position":30150,
        "document":null,"line":null,"column":null,"text":null,
        "message":"no free cell in cell 603; free one",
        "severity":"error","name":null,"end_column":null,"notes":[],"fixes":[]})"));
    EXPECT_EQ(parsed[2], nlohmann::ordered_json::parse(R"({"error":null,"position":null,
        "document":"docs/S_linea.txt","line":5,"column":12,"text":"pendenza,  500,   2",
        "message":"goes back","severity":"warning","name":"out-of-order","end_column":14,
        "notes":[{"document":"docs/S_linea.txt","line":4,"column":12,"end_column":15,
                  "message":"the line before"},
                 {"document":null,"line":null,"column":null,"end_column":null,
                  "message":"cell 3 holds a signal"}],
        "fixes":[{"document":"docs/S_linea.txt","line":5,"column":12,"end_column":14,
                  "replacement":"1500","title":"write 1500","certain":true}]})"));
    // A whole line has no columns; an insertion ends before it begins.
    EXPECT_EQ(parsed[3]["fixes"], nlohmann::ordered_json::parse(R"([
        {"document":"docs/S_T-.txt","line":2,"column":null,"end_column":null,
         "replacement":"","title":"remove the line","certain":false},
        {"document":"docs/S_T-.txt","line":2,"column":9,"end_column":8,
         "replacement":"0","title":"insert 0","certain":false}])"));
}

}  // namespace
}  // namespace scenario::cli
