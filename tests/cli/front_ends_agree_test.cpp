// The front ends say the same of the same two documents: `scenario check --json`, the
// diagnostics the language server publishes and the live page's result carry the same
// diagnostics (severity, number or warning name, document, line, first and last
// column, notes) and the same fixes (check's and the page's, the server's quick fixes:
// title, certain or not, range, replacement), over the corpus of author mistakes, every golden case that checks two
// documents, and a station name longer than the header file can hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "compiled/compiled_scenario.hpp"
#include "documents/built_in_documents.hpp"
#include "language/server.hpp"
#include "cli/scenario_names.hpp"
#include "live/drawing.hpp"
#include "live/session.hpp"
#include "model/file_names.hpp"
#include "support/golden_case.hpp"
#include "support/mistake_corpus.hpp"
#include "support/temp_folder.hpp"
#include "text/windows1252.hpp"
#include "tool_runner.hpp"

namespace scenario::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using scenario::testing::temp_folder;
using scenario::testing::write_bytes;

struct document {
    std::string name;
    std::string bytes;
};

// The lines of a document without their ends, as the editor counts them.
std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::string line;
    for (const char c : bytes) {
        if (c == '\n') {
            out.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    out.push_back(line);
    return out;
}

// One diagnostic as the editor sees it: a range of (line, character) from 0.
std::string place(const std::string& doc, int l0, int c0, int l1, int c1) {
    return doc + "@" + std::to_string(l0) + ":" + std::to_string(c0) + "-" + std::to_string(l1) +
           ":" + std::to_string(c1);
}

// A place of check's JSON (line and columns from 1, null for none) in the editor's terms:
// no line is the document's start, no column the whole line.
std::string place_of(const json& at, const std::map<std::string, std::vector<std::string>>& texts,
                     const std::string& fallback) {
    const std::string doc = at["document"].is_string()
                                ? fs::path(at["document"].get<std::string>()).filename().string()
                                : fallback;
    if (!at["line"].is_number()) {
        return place(doc, 0, 0, 0, 0);
    }
    const int l = at["line"].get<int>() - 1;
    const std::vector<std::string>& text = texts.at(doc);
    const int length = static_cast<std::size_t>(l) < text.size()
                           ? static_cast<int>(text[static_cast<std::size_t>(l)].size())
                           : 0;
    if (!at["column"].is_number()) {
        return place(doc, l, 0, l, length);
    }
    // An editor's range ends with its line: a place just after the line's end is there.
    const int c = at["column"].get<int>();
    return place(doc, l, std::min(c - 1, length), l,
                 std::min(std::max(at["end_column"].get<int>(), c), length));
}

using said = std::vector<std::string>;

// check's and the live page's diagnostics (one writer's objects), in a sorted list.
said from_report(const json& diagnostics, const std::map<std::string, std::vector<std::string>>& texts,
                 const std::string& line_name) {
    said out;
    for (const json& d : diagnostics) {
        std::string s = d["severity"].get<std::string>() + " " +
                        (d["error"].is_number() ? std::to_string(d["error"].get<int>())
                         : d["name"].is_string() ? d["name"].get<std::string>()
                                                 : std::string("-")) +
                        " " + place_of(d, texts, line_name);
        for (const json& n : d["notes"]) {
            s += " | " + place_of(n, texts, d["document"].is_string()
                                                ? fs::path(d["document"].get<std::string>()).filename().string()
                                                : line_name);
        }
        out.push_back(s);
        // Each fix as a quick fix: its title, whether it is certain, the range it replaces
        // (a whole line with its line end) and the text.
        for (const json& f : d["fixes"]) {
            const std::string doc = fs::path(f["document"].get<std::string>()).filename().string();
            const int l = f["line"].get<int>() - 1;
            const std::string range =
                f["column"].is_null()
                    ? place(doc, l, 0, l + 1, 0)
                    : place(doc, l, f["column"].get<int>() - 1, l, f["end_column"].get<int>());
            out.push_back("fix " + f["title"].get<std::string>() +
                          (f["certain"].get<bool>() ? " (certain) " : " ") + range + " " +
                          f["replacement"].dump());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string uri_of(const std::string& name) {
    std::string uri = "file:///agree/";
    for (const char c : name) {
        uri += c == ' ' ? std::string("%20") : std::string(1, c);
    }
    return uri;
}

std::string name_of(const std::string& uri) {
    const std::string tail = uri.substr(uri.rfind('/') + 1);
    std::string name;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (tail.compare(i, 3, "%20") == 0) {
            name.push_back(' ');
            i += 2;
        } else {
            name.push_back(tail[i]);
        }
    }
    return name;
}

class memory_files : public language::file_access {
  public:
    std::map<std::string, std::string> files;
    std::optional<std::string> read(const std::string& path) const override {
        const auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional(it->second);
    }
    std::vector<std::string> list(const std::string&) const override {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files) {
            names.push_back(fs::path(path).filename().string());
        }
        return names;
    }
};

// The language server's last diagnostics of each document, once both are open.
said from_language_server(const document& line, const document& train) {
    memory_files disk;
    disk.files["/agree/" + line.name] = line.bytes;
    disk.files["/agree/" + train.name] = train.bytes;
    std::ostringstream log;
    language::server server(disk, {}, log);
    std::ostringstream out;
    const auto send = [&](const json& m) { server.handle(m.dump(), out); };
    send({{"jsonrpc", "2.0"},
          {"id", 1},
          {"method", "initialize"},
          {"params",
           {{"capabilities",
             {{"textDocument", {{"codeAction", {{"codeActionLiteralSupport", json::object()}}}}}}}}}});
    for (const document* d : {&line, &train}) {
        send({{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params",
               {{"textDocument",
                 {{"uri", uri_of(d->name)}, {"languageId", "scenario"}, {"version", 1},
                  {"text", windows1252_to_utf8(d->bytes)}}}}}});
    }
    // The quick fixes over each whole document.
    for (const document* d : {&line, &train}) {
        send({{"jsonrpc", "2.0"},
              {"id", 2},
              {"method", "textDocument/codeAction"},
              {"params",
               {{"textDocument", {{"uri", uri_of(d->name)}}},
                {"range", {{"start", {{"line", 0}, {"character", 0}}},
                           {"end", {{"line", 1000000}, {"character", 0}}}}},
                {"context", {{"diagnostics", json::array()}}}}}});
    }
    std::map<std::string, json> last;
    std::set<std::string> fixes;
    std::string stream = out.str();
    while (!stream.empty()) {
        const auto end = stream.find("\r\n\r\n");
        const std::size_t length = std::stoul(stream.substr(stream.find(':') + 1, end));
        const json m = json::parse(stream.substr(end + 4, length));
        stream.erase(0, end + 4 + length);
        if (m.value("method", "") == "textDocument/publishDiagnostics") {
            last[m["params"]["uri"]] = m["params"]["diagnostics"];
        }
        if (m.value("id", 0) == 2) {
            for (const json& a : m["result"]) {
                for (const auto& [uri, edits] : a["edit"]["changes"].items()) {
                    for (const json& e : edits) {
                        const json& r = e["range"];
                        fixes.insert("fix " + a["title"].get<std::string>() +
                                     (a.value("isPreferred", false) ? " (certain) " : " ") +
                                     place(name_of(uri), r["start"]["line"], r["start"]["character"],
                                           r["end"]["line"], r["end"]["character"]) +
                                     " " + json(e["newText"]).dump());
                    }
                }
            }
        }
    }
    said result;
    const char* severities[] = {"", "error", "warning", "note"};
    for (const auto& [uri, list] : last) {
        for (const json& d : list) {
            const json& r = d["range"];
            std::string s = std::string(severities[d["severity"].get<int>()]) + " " +
                            (d.contains("code") ? (d["code"].is_number()
                                                       ? std::to_string(d["code"].get<int>())
                                                       : d["code"].get<std::string>())
                                                : std::string("-")) +
                            " " +
                            place(name_of(uri), r["start"]["line"], r["start"]["character"],
                                  r["end"]["line"], r["end"]["character"]);
            for (const json& n : d.value("relatedInformation", json::array())) {
                const json& nr = n["location"]["range"];
                s += " | " + place(name_of(n["location"]["uri"]), nr["start"]["line"],
                                   nr["start"]["character"], nr["end"]["line"], nr["end"]["character"]);
            }
            result.push_back(s);
        }
    }
    result.insert(result.end(), fixes.begin(), fixes.end());
    std::sort(result.begin(), result.end());
    return result;
}

// Checks two documents with every front end and compares what they say.
void expect_agreement(const document& line, const document& train) {
    temp_folder folder;
    const std::string line_path = folder.file(line.name);
    const std::string train_path = folder.file(train.name);
    write_bytes(line_path, line.bytes);
    write_bytes(train_path, train.bytes);
    const std::map<std::string, std::vector<std::string>> texts = {
        {line.name, lines(line.bytes)}, {train.name, lines(train.bytes)}};

    const auto checked = scenario::testing::run({"check", "--json", line_path, train_path});
    ASSERT_FALSE(checked.out.empty()) << checked.err;
    const said by_check = from_report(json::parse(checked.out)["diagnostics"], texts, line.name);

    const scenario_names names = derive_names(line_path, train_path, {}, {});
    live::compile_session session({names.scenario, names.train, document_source{line_path, {}},
                                   document_source{train_path, {}}, true,
                                   text_encoding::windows_1252, timetable_options{}});
    ASSERT_TRUE(session.compile());
    const said by_page = from_report(json::parse(*session.result())["diagnostics"], texts, line.name);

    EXPECT_EQ(by_page, by_check) << "the live page and check";
    EXPECT_EQ(from_language_server(line, train), by_check) << "the language server and check";
}

TEST(FrontEnds, AgreeOverEveryMistakeOfTheCorpus) {
    using namespace scenario::testing;
    for (const mistake& m : corpus()) {
        if (m.action == "swap" || m.action == "same") {
            continue;  // an argument order: the editor pairs documents by their names
        }
        SCOPED_TRACE(m.name);
        std::vector<std::string> line = lines_of(line_document_lines());
        std::vector<std::string> train = lines_of(train_document_lines());
        ASSERT_TRUE(apply(m, m.document == 'L' ? line : train));
        expect_agreement({"Vessana_Pralbo_linea.txt", text_of(line)},
                         {"Vessana_Pralbo_5 bis-.txt", text_of(train)});
    }
}

TEST(FrontEnds, AgreeOverEveryGoldenCaseThatChecksTwoDocuments) {
    std::size_t cases = 0;
    for (const fs::path& path : scenario::testing::golden_cases()) {
        const auto c = scenario::testing::parse_case(scenario::testing::read_bytes(path.string()));
        if (c.commands.size() != 1 || c.commands[0].size() < 3 || c.commands[0][0] != "check") {
            continue;
        }
        std::vector<std::string> args(c.commands[0].begin() + 1, c.commands[0].end());
        std::erase(args, "--json");
        if (args.size() != 2) {
            continue;  // options the editor has none of
        }
        const auto find = [&](const std::string& name) -> const scenario::testing::golden_document* {
            for (const auto& d : c.documents) {
                if (d.name == name) {
                    return &d;
                }
            }
            return nullptr;
        };
        const auto* line = find(args[0]);
        const auto* train = find(args[1]);
        if (line == nullptr || train == nullptr ||
            !scenario_of_line_document(line->name)) {
            continue;
        }
        SCOPED_TRACE(path.filename().string());
        expect_agreement({line->name, line->bytes}, {train->name, train->bytes});
        ++cases;
    }
    EXPECT_GE(cases, 10u);
}

TEST(FrontEnds, AgreeOnANameTheHeaderFileCannotHold) {
    std::vector<std::string> train = scenario::testing::lines_of(train_document_lines());
    const auto station = std::find_if(train.begin(), train.end(),
                                      [](const std::string& l) { return l.starts_with("stazione"); });
    ASSERT_NE(station, train.end());
    *station = station->substr(0, station->rfind(',') + 2) + std::string(70000, 'N');
    expect_agreement({"Vessana_Pralbo_linea.txt",
                      scenario::testing::text_of(scenario::testing::lines_of(line_document_lines()))},
                     {"Vessana_Pralbo_5 bis-.txt", scenario::testing::text_of(train)});
}

// Hover and the live page's element records number the same elements alike: over the
// built-in scenario, every element the page shows with a row is in the hover of that row,
// by its number, at the page's position, end and cell.
TEST(FrontEnds, HoverShowsEachElementAsTheLivePageListsIt) {
    const document line{"Vessana_Pralbo_linea.txt",
                        scenario::testing::text_of(scenario::testing::lines_of(line_document_lines()))};
    const document train{"Vessana_Pralbo_5 bis-.txt",
                         scenario::testing::text_of(scenario::testing::lines_of(train_document_lines()))};
    temp_folder folder;
    write_bytes(folder.file(line.name), line.bytes);
    write_bytes(folder.file(train.name), train.bytes);
    live::compile_session session({"Vessana_Pralbo", "5 bis", document_source{folder.file(line.name), {}},
                                   document_source{folder.file(train.name), {}}, true,
                                   text_encoding::windows_1252, {}});
    ASSERT_TRUE(session.compile());
    // The records the page reads from /detail, window by window along the route.
    std::map<int, json> records;
    for (std::int64_t from = 0;; from += live::detail_records_limit) {
        const auto detail = session.detail({from, from + live::detail_records_limit});
        ASSERT_NE(detail, nullptr);
        const json window = json::parse(*detail);
        for (const json& e : window["elements"]) {
            records[e["id"].get<int>()] = e;
        }
        if (window["to"].get<std::int64_t>() < from + live::detail_records_limit) {
            break;
        }
    }
    std::vector<json> elements;
    for (const auto& [id, e] : records) {
        elements.push_back(e);
    }
    ASSERT_GT(elements.size(), 100u);

    memory_files disk;
    disk.files["/agree/" + line.name] = line.bytes;
    disk.files["/agree/" + train.name] = train.bytes;
    std::ostringstream log;
    language::server server(disk, {}, log);
    const auto ask = [&](const json& m) {
        std::ostringstream out;
        server.handle(m.dump(), out);
        const std::string s = out.str();
        return s.empty() ? json() : json::parse(s.substr(s.rfind("\r\n\r\n") + 4));
    };
    ask({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", json::object()}});
    std::map<std::pair<std::string, int>, std::string> hovers;  // by document and line
    std::size_t checked = 0;
    for (const json& e : elements) {
        if (e["line"].is_null()) {
            continue;
        }
        const std::string name = fs::path(e["document"].get<std::string>()).filename().string();
        const int l = e["line"].get<int>();
        std::string& text = hovers[{name, l}];
        if (text.empty()) {
            const json answer = ask({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "textDocument/hover"},
                                     {"params", {{"textDocument", {{"uri", uri_of(name)}}},
                                                 {"position", {{"line", l - 1}, {"character", 0}}}}}});
            ASSERT_TRUE(answer["result"].is_object()) << name << ":" << l << " " << answer.dump();
            text = answer["result"]["contents"]["value"].get<std::string>();
        }
        // As the page gives it: "element ID: KIND at POSITION m[ to END m][, cell CELL]".
        std::string shown = "- element " + std::to_string(e["id"].get<int>()) + ": ";
        const std::size_t at = text.find(shown);
        ASSERT_NE(at, std::string::npos) << name << ":" << l << " lacks element " << e["id"] << "\n" << text;
        const std::string item = text.substr(at, text.find('\n', at) - at);
        std::string place = " at " + std::to_string(e["position"].get<int>()) + " m";
        if (!e["end"].is_null()) {
            place += " to " + std::to_string(e["end"].get<int>()) + " m";
        }
        if (!e["cell"].is_null()) {
            place += ", cell " + std::to_string(e["cell"].get<int>());
        }
        EXPECT_NE(item.find(place), std::string::npos) << item << " (the page: " << e.dump() << ")";
        ++checked;
    }
    EXPECT_GT(checked, 100u);
    EXPECT_EQ(log.str(), "");
}

}  // namespace
}  // namespace scenario::cli

namespace scenario::cli {
namespace {

// A document no front end may end on: each says what is wrong, and the long-running ones
// go on (the live session compiles again after a good compile, the language server
// answers the next request).
struct bad_input {
    const char* what;
    std::string train;       // the train document's bytes, or "" for a folder in its place
    bool utf8 = false;       // read as UTF-8
    int status = 1;          // check's exit status; 0: only warnings
};

TEST(FrontEnds, NoDocumentEndsALongRunningProgram) {
    const std::string line = scenario::testing::text_of(scenario::testing::lines_of(line_document_lines()));
    const std::string good = scenario::testing::text_of(scenario::testing::lines_of(train_document_lines()));
    std::string long_name = good;
    long_name.insert(long_name.find("\r\n", long_name.find("stazione")), std::string(70000, 'N'));
    const bad_input inputs[] = {
        {"a 70,000-byte station name", long_name},
        {"a folder in place of the document", "", false, 4},
        {"bytes that are not UTF-8", good + "\xff\xfe\r\n", true, 4},
        {"60 MB of commas", std::string(60'000'000, ','), false, 0},
    };
    for (const bad_input& input : inputs) {
        SCOPED_TRACE(input.what);
        temp_folder folder;
        const std::string line_path = folder.file("Vessana_Pralbo_linea.txt");
        const std::string train_path = folder.file("Vessana_Pralbo_5 bis-.txt");
        write_bytes(line_path, line);
        write_bytes(train_path, good);
        std::vector<std::string> args = {"check", line_path, train_path};
        if (input.utf8) {
            args.insert(args.end(), {"--input-encoding", "utf-8"});
        }
        live::compile_session session({"Vessana_Pralbo", "5 bis", document_source{line_path, {}},
                                       document_source{train_path, {}}, true,
                                       input.utf8 ? text_encoding::utf_8 : text_encoding::windows_1252,
                                       timetable_options{}});
        ASSERT_TRUE(session.compile());
        EXPECT_TRUE(session.ok());
        // The bad save, then the good one again.
        if (input.train.empty()) {
            fs::remove(train_path);
            fs::create_directory(train_path);
        } else {
            write_bytes(train_path, input.train);
        }
        EXPECT_EQ(scenario::testing::run(args).status, input.status);
        ASSERT_TRUE(session.compile());
        EXPECT_EQ(session.ok(), input.status == 0);
        EXPECT_GE(session.errors() + session.warnings(), 1u);
        const json result = json::parse(*session.result());
        EXPECT_EQ(result["drawing"]["stale"].get<bool>(), input.status != 0);

        if (!input.train.empty()) {
            memory_files disk;
            disk.files["/agree/Vessana_Pralbo_5 bis-.txt"] = input.train;
            language::server_options options;
            options.encoding = input.utf8 ? text_encoding::utf_8 : text_encoding::windows_1252;
            std::ostringstream log;
            language::server server(disk, options, log);
            std::ostringstream out;
            const auto send = [&](const json& m) { return server.handle(m.dump(), out); };
            send({{"jsonrpc", "2.0"},
          {"id", 1},
          {"method", "initialize"},
          {"params",
           {{"capabilities",
             {{"textDocument", {{"codeAction", {{"codeActionLiteralSupport", json::object()}}}}}}}}}});
            send({{"jsonrpc", "2.0"},
                  {"method", "textDocument/didOpen"},
                  {"params", {{"textDocument", {{"uri", uri_of("Vessana_Pralbo_linea.txt")},
                                                {"languageId", "scenario"}, {"version", 1},
                                                {"text", line}}}}}});
            EXPECT_NE(out.str().find(input.status == 0 ? "\"severity\":2" : "\"severity\":1"),
                      std::string::npos)
                << "what check says is published";
            EXPECT_TRUE(send({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "shutdown"}}));
            EXPECT_NE(out.str().find("\"id\":2"), std::string::npos);
        }
        fs::remove_all(train_path);
        write_bytes(train_path, good);
        ASSERT_TRUE(session.compile());
        EXPECT_TRUE(session.ok());
    }
}

}  // namespace
}  // namespace scenario::cli
