#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "generator/scenario_layout.hpp"
#include "model/run_state.hpp"
#include "files/byte_sink.hpp"

namespace scenario::bench {

// Inputs shared by the benchmarks, each built once per process and kept.
struct generated_documents {
    scenario_layout layout;
    std::string line;
    std::string train;
};
const generated_documents& documents_for(std::int32_t route_length);

// Draws a plan as the line reader does: two integer points, then stretches of a
// kilometre, straight and curved in turn, up to metre E - 2.
void draw_plan(tracciato_linea& plan);

// A model of the size a compile of the route builds: the plan drawn as the line reader
// draws it (two integer points, then stretches of a kilometre up to metre E - 2), the
// grid with its profile bytes, and a header table with stations and board texts.
const run_state& model_for(std::int32_t route_length);

// Counts the bytes it is given and keeps none: measures the encoders alone.
class counting_sink : public byte_sink {
  public:
    void write(std::string_view bytes) override { count_ += bytes.size(); }
    void write_at(std::uint64_t, std::string_view bytes) override { count_ += bytes.size(); }
    std::uint64_t count() const { return count_; }

  private:
    std::uint64_t count_ = 0;
};

// Copies what it is given into one buffer kept from run to run: the bytes an encoder
// hands over, moved once, as a write into the page cache would.
class copying_sink : public byte_sink {
  public:
    void write(std::string_view bytes) override {
        if (bytes_.size() < used_ + bytes.size()) {
            bytes_.resize(used_ + bytes.size());
        }
        std::memcpy(bytes_.data() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void write_at(std::uint64_t offset, std::string_view bytes) override {
        const auto at = static_cast<std::size_t>(offset);
        if (bytes_.size() < at + bytes.size()) {
            bytes_.resize(at + bytes.size());
        }
        std::memcpy(bytes_.data() + at, bytes.data(), bytes.size());
        used_ = std::max(used_, at + bytes.size());
    }
    void rewind() { used_ = 0; }
    std::size_t used() const { return used_; }

  private:
    std::string bytes_;
    std::size_t used_ = 0;
};

// A folder under the system's temporary folder for files the benchmarks write.
const std::string& bench_folder();

}  // namespace scenario::bench
