// Feeds arbitrary line and train documents through the whole compile in memory, as every
// front end compiles: readers, recorders, zone ordering, code placement, markers,
// integrity codes, the element index and the encoders of the files the compile says it
// would write. Each file must have the size the compile counted for it, and the header
// and the grid file must decode back to what was encoded. Input layout: one byte whose
// lowest bit is the plan switch, then the line document, a NUL byte, and the train
// document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiled/compiled_scenario.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/scenario_files.hpp"
#include "support/whole_decoders.hpp"

namespace {

// Counts the bytes it is given: a plan can be far larger than its model in memory.
class counting_sink : public scenario::byte_sink {
  public:
    void write(std::string_view bytes) override { size_ += bytes.size(); }
    void write_at(std::uint64_t, std::string_view bytes) override { size_ += bytes.size(); }
    std::size_t size() const { return size_; }

  private:
    std::size_t size_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::int32_t j = data[0] & 1;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto split = rest.find('\0');
    const std::string_view line = rest.substr(0, split);
    const std::string_view train =
        split == std::string_view::npos ? std::string_view{} : rest.substr(split + 1);

    scenario::compile_request request;
    request.scenario = "Fuzz";
    request.train = "1";
    request.line = scenario::document_source{"Fuzz_linea.txt", std::string(line)};
    request.train_document = scenario::document_source{"Fuzz_1-.txt", std::string(train)};
    request.plan = j != 0;
    const scenario::compiled_scenario compiled = scenario::compile(request);
    const scenario::run_state& state = compiled.state;
    if (compiled.elements().all().size() < compiled.elements().of(scenario::element_kind::station).size()) {
        __builtin_trap();
    }
    for (const scenario::planned_file& file : compiled.files) {
        if (file.format == scenario::file_format::plan) {
            // Encoded only: drawn points may be NaN, which never compare equal.
            counting_sink plan;
            scenario::encode_output(state, file.format, plan);
            if (plan.size() != file.size) {
                __builtin_trap();
            }
            continue;
        }
        scenario::string_sink sink;
        scenario::encode_output(state, file.format, sink);
        const bool same =
            sink.bytes().size() == file.size &&
            (file.format == scenario::file_format::header
                 ? scenario::testing::decode_header(sink.bytes()) == state.voci
                 : scenario::testing::decode_grid(sink.bytes()) == state.celle);
        if (!same) {
            __builtin_trap();
        }
    }
    return 0;
}
