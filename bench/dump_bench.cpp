// The line plan file as `scenario dump` reads it: streamed from a file to a visitor that
// only counts the points, and the whole dump command (table and JSON) into a stream
// that counts the text and keeps none.
#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "bench_inputs.hpp"
#include "cli/commands.hpp"
#include "files/atomic_file.hpp"
#include "files/file_ops.hpp"
#include "files/plan_file.hpp"

namespace scenario::bench {
namespace {

// The plan file of a route, written once into the bench folder.
const std::string& plan_file_for(std::int32_t route_length) {
    static std::map<std::int32_t, std::string> files;
    auto it = files.find(route_length);
    if (it == files.end()) {
        const std::string path =
            bench_folder() + "/dump_" + std::to_string(route_length) + "_linea.dat";
        string_sink bytes;
        encode_plan(model_for(route_length).tracciato, bytes);
        replace_file(path, bytes.bytes());
        it = files.emplace(route_length, path).first;
    }
    return it->second;
}

class counting_points final : public plan_visitor {
  public:
    void start(std::int32_t) override {}
    void point(std::int64_t, valore_piano x, valore_piano y) override {
        points += 1;
        sum += x.numero + y.numero;
    }
    std::int64_t points = 0;
    double sum = 0.0;
};

// Counts what is written and keeps none of it.
class counting_output final : public std::streambuf {
  public:
    std::uint64_t bytes = 0;

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        bytes += static_cast<std::uint64_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        bytes += 1;
        return c;
    }
};

void BM_StreamPlanFile(benchmark::State& state) {
    const std::string& path = plan_file_for(static_cast<std::int32_t>(state.range(0)));
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        file_source source(path);
        counting_points points;
        stream_plan(source, points);
        benchmark::DoNotOptimize(points.sum);
        bytes = source.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}
BENCHMARK(BM_StreamPlanFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void dump_plan(benchmark::State& state, bool json) {
    const std::string& path = plan_file_for(static_cast<std::int32_t>(state.range(0)));
    std::vector<std::string> args{"dump", path};
    if (json) {
        args.emplace_back("--json");
    }
    std::uint64_t text = 0;
    for (auto _ : state) {
        counting_output buffer;
        std::ostream out(&buffer);
        std::ostringstream err;
        if (cli::run_tool(args, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            return;
        }
        text = buffer.bytes;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(text) * state.iterations());
    state.counters["text_bytes"] = static_cast<double>(text);
}

void BM_DumpPlanTable(benchmark::State& state) {
    dump_plan(state, false);
}
BENCHMARK(BM_DumpPlanTable)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_DumpPlanJson(benchmark::State& state) {
    dump_plan(state, true);
}
BENCHMARK(BM_DumpPlanJson)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
