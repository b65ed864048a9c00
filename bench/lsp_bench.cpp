// The language server: the time from a change to a document to its diagnostics being
// published (the server compiles the pair and publishes before it reads on), for the
// built-in scenario (0) and a generated route of 1,000,000 m.
#include <benchmark/benchmark.h>

#include <sstream>

#include "bench_inputs.hpp"
#include "documents/built_in_documents.hpp"
#include "documents/document_writer.hpp"
#include "language/server.hpp"
#include "model/file_names.hpp"
#include "text/windows1252.hpp"

namespace scenario::bench {
namespace {

class one_file : public language::file_access {
  public:
    one_file(std::string path, std::string bytes) : path_(std::move(path)), bytes_(std::move(bytes)) {}
    std::optional<std::string> read(const std::string& path) const override {
        return path == path_ ? std::optional(bytes_) : std::nullopt;
    }
    std::vector<std::string> list(const std::string&) const override {
        return {path_.substr(path_.rfind('/') + 1)};
    }

  private:
    std::string path_;
    std::string bytes_;
};

nlohmann::json change(const std::string& uri, int version, int end, const char* text) {
    return {{"jsonrpc", "2.0"},
            {"method", "textDocument/didChange"},
            {"params",
             {{"textDocument", {{"uri", uri}, {"version", version}}},
              {"contentChanges",
               nlohmann::json::array({{{"range",
                                        {{"start", {{"line", 0}, {"character", 10}}},
                                         {"end", {{"line", 0}, {"character", end}}}}},
                                       {"text", text}}})}}}};
}

// One character typed at the end of the first line, then taken away, in turn.
void lsp_diagnostics_after_change(benchmark::State& state) {
    std::string scenario_name = "Vessana_Pralbo";
    std::string train_name = "5 bis";
    std::string line;
    std::string train;
    if (state.range(0) == 0) {
        line = document_bytes(line_document_lines());
        train = document_bytes(train_document_lines());
    } else {
        const generated_documents& d = documents_for(static_cast<std::int32_t>(state.range(0)));
        scenario_name = d.layout.scenario_name;
        train_name = d.layout.train_name;
        line = d.line;
        train = d.train;
    }
    const one_file disk("/w/" + nome_documento_treno(scenario_name, train_name), train);
    std::ostream discarded(nullptr);  // the server's log: nothing is kept
    language::server server(disk, {}, discarded);
    std::ostringstream out;
    const std::string uri = "file:///w/" + nome_documento_linea(scenario_name);
    server.handle(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})", out);
    const nlohmann::json open = {
        {"jsonrpc", "2.0"},
        {"method", "textDocument/didOpen"},
        {"params",
         {{"textDocument",
           {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", windows1252_to_utf8(line)}}}}}};
    server.handle(open.dump(), out);
    const std::string add = change(uri, 2, 10, " ").dump();
    const std::string remove = change(uri, 3, 11, "").dump();
    bool added = false;
    std::size_t published = 0;
    for (auto _ : state) {
        out.str("");
        server.handle(added ? remove : add, out);
        added = !added;
        published += out.str().size();
    }
    benchmark::DoNotOptimize(published);
}
BENCHMARK(lsp_diagnostics_after_change)->Arg(0)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
