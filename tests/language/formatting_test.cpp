// Formatting never changes what the documents compile to. Through the server, over the
// built-in documents and every mistake of the corpus (tests/cli/mistakes.txt): the edits
// it answers, applied to the editor's text, compile to the same files byte for byte and
// the same fatal error. And a layout that would change them is refused, never sent.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "documents/built_in_documents.hpp"
#include "files/byte_sink.hpp"
#include "files/file_error.hpp"
#include "files/scenario_files.hpp"
#include "language/formatting.hpp"
#include "language/request_error.hpp"
#include "language/server.hpp"
#include "language/workspace.hpp"
#include "memory_files.hpp"
#include "support/mistake_corpus.hpp"
#include "text/windows1252.hpp"

namespace scenario::language {
namespace {

using nlohmann::json;

// What a compile writes: each file's name and bytes (or why it cannot be encoded), then
// the fatal error.
std::vector<std::string> written(const std::string& line, const std::string& train) {
    compile_request request;
    request.scenario = "Vessana_Pralbo";
    request.train = "5 bis";
    request.line = document_source{"line", line};
    request.train_document = document_source{"train", train};
    const compiled_scenario c = compile(request);
    std::vector<std::string> out;
    for (const output_file& f : output_files(c.state)) {
        string_sink bytes;
        try {
            encode_output(c.state, f.format, bytes);
            out.push_back(f.name + ":" + bytes.bytes());
        } catch (const file_error& e) {  // a text the file cannot hold
            out.push_back(f.name + " " + e.what());
        }
    }
    out.push_back("fatal " + std::to_string(c.fatal));
    return out;
}

// The documents as the server lays them out, asked for each in turn; "" for a refusal.
std::pair<std::string, std::string> formatted_by_server(const std::string& line,
                                                        const std::string& train) {
    testing::memory_files disk;
    std::ostringstream log;
    server s(disk, {}, log);
    std::ostringstream out;
    const auto send = [&](const json& m) {
        out.str("");
        s.handle(m.dump(), out);
        std::string reply = out.str();  // the last message: the answer
        return json::parse(reply.substr(reply.rfind("\r\n\r\n") + 4));
    };
    send({{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"}, {"params", json::object()}});
    std::pair<std::string, std::string> result;
    int id = 0;
    for (auto [name, text, into] : {std::tuple{"Vessana_Pralbo_linea.txt", &line, &result.first},
                                    std::tuple{"Vessana_Pralbo_5%20bis-.txt", &train, &result.second}}) {
        const std::string uri = std::string("file:///w/") + name;
        send({{"jsonrpc", "2.0"}, {"method", "textDocument/didOpen"},
              {"params", {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", 1},
                                            {"text", windows1252_to_utf8(*text)}}}}}});
        const json answer = send({{"jsonrpc", "2.0"}, {"id", ++id}, {"method", "textDocument/formatting"},
                                  {"params", {{"textDocument", {{"uri", uri}}}, {"options", json::object()}}}});
        EXPECT_TRUE(answer.contains("result")) << name << ": " << answer.dump();
        document_text edited = document_text::from_unicode(windows1252_to_utf8(*text));
        for (const json& e : answer.value("result", json::array())) {
            edited.replace({e["range"]["start"]["line"], e["range"]["start"]["character"]},
                           {e["range"]["end"]["line"], e["range"]["end"]["character"]},
                           e["newText"].get<std::string>());
        }
        *into = edited.bytes();
    }
    EXPECT_EQ(log.str(), "");
    return result;
}

TEST(Formatting, NeverChangesWhatTheDocumentsCompileTo) {
    using namespace scenario::testing;
    std::size_t changed = 0;
    std::size_t run = 0;
    std::vector<mistake> cases = corpus();
    cases.insert(cases.begin(), mistake{"built-in", 'L', 0, "same", "", ""});
    for (const mistake& m : cases) {
        if (m.action == "swap" || (m.action == "same" && m.name != "built-in")) {
            continue;
        }
        SCOPED_TRACE(m.name);
        ++run;
        std::vector<std::string> line = lines_of(line_document_lines());
        std::vector<std::string> train = lines_of(train_document_lines());
        ASSERT_TRUE(apply(m, m.document == 'L' ? line : train));
        // Each row written loosely, as an author might: blanks dropped after every comma.
        for (std::vector<std::string>* doc : {&line, &train}) {
            for (std::string& row : *doc) {
                for (std::size_t at = row.find(",  "); at != std::string::npos; at = row.find(",  ", at)) {
                    row.erase(at + 1, 1);
                }
            }
        }
        const std::string line_text = text_of(line);
        const std::string train_text = text_of(train);
        const auto [line_after, train_after] = formatted_by_server(line_text, train_text);
        changed += line_after != line_text ? 1 : 0;
        changed += train_after != train_text ? 1 : 0;
        EXPECT_EQ(written(line_after, train_after), written(line_text, train_text));
    }
    // Every document written loosely is laid out, but the corpus's one empty document.
    EXPECT_GE(changed, 2 * run - 1);
}

// Replaces "5000" by "5050": a layout that changes a value.
std::string faulty_layout(std::string_view text, source_document) {
    std::string s(text);
    if (const std::size_t at = s.find("5000"); at != std::string::npos) {
        s.replace(at, 4, "5050");
    }
    return s;
}

TEST(Formatting, ALayoutThatWouldChangeTheCompileIsRefused) {
    testing::memory_files disk;
    workspace documents(disk, text_encoding::windows_1252);
    const std::string uri = "file:///w/S_linea.txt";
    documents.open(uri, "[generale]\r\nlunghezza percorso,5000\r\n[fine]\r\n");
    const compile_outcome compiled = documents.compile(uri);
    ASSERT_TRUE(compiled.pair);
    for (const bool whole : {true, false}) {
        try {
            if (whole) {
                format_edits(*compiled.pair, source_document::line, faulty_layout);
            } else {
                format_range_edits(*compiled.pair, source_document::line, {{1, 0}, {1, 3}}, faulty_layout);
            }
            ADD_FAILURE() << "a layout that changes the route length was answered";
        } catch (const request_error& e) {
            EXPECT_EQ(e.code(), error_code::request_failed);
        }
    }
    // The same text laid out as it should be is answered.
    EXPECT_EQ(format_edits(*compiled.pair, source_document::line).size(), 1U);
}

}  // namespace
}  // namespace scenario::language
