// Feeds arbitrary line and train documents through the whole compile in memory:
// readers, recorders, zone ordering, code placement, markers, integrity codes and
// the encoders of the files the compile produces; the header and the grid file must
// decode back to what was encoded. Input layout: one byte whose lowest bit is the plan
// switch, then the line document, a NUL byte, and the train document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/compile.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/scenario_files.hpp"
#include "files/stores.hpp"
#include "model/file_names.hpp"
#include "support/whole_decoders.hpp"

namespace {

// Counts the bytes it is given: a plan can be far larger than its model in memory.
class counting_sink : public scenario::byte_sink {
  public:
    void write(std::string_view bytes) override { size_ += bytes.size(); }
    void write_at(std::uint64_t, std::string_view bytes) override { size_ += bytes.size(); }

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

    scenario::run_state stato;
    stato.nome_scenario = "Fuzz";
    stato.nome_treno = "1";
    scenario::memory_store store;
    store.put(scenario::nome_documento_linea(stato.nome_scenario), std::string(line));
    store.put(scenario::nome_documento_treno(stato.nome_scenario, stato.nome_treno),
              std::string(train));

    if (scenario::compile_scenario(stato, store, j) != 0) {
        return 0;  // a fatal marker error: nothing is written
    }
    for (const scenario::output_file& file : scenario::output_files(stato)) {
        if (file.format == scenario::file_format::plan) {
            // Encoded only: drawn points may be NaN, which never compare equal.
            counting_sink plan;
            scenario::encode_output(stato, file.format, plan);
            continue;
        }
        scenario::string_sink sink;
        scenario::encode_output(stato, file.format, sink);
        const bool same =
            file.format == scenario::file_format::header
                ? scenario::testing::decode_header(sink.bytes()) == stato.voci
                : sink.bytes().size() == scenario::grid_file_size(stato.celle.size()) &&
                      scenario::testing::decode_grid(sink.bytes()) == stato.celle;
        if (!same) {
            __builtin_trap();
        }
    }
    return 0;
}
