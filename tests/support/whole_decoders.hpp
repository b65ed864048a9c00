#pragma once

// Decoding from memory, for the tests: the programs stream every file they decode from
// disk (files/*_file.hpp); a test decodes bytes it holds and compares what the stream
// hands over with a model as a whole.

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "files/byte_reader.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"

namespace scenario::testing {

class memory_source final : public byte_source {
  public:
    explicit memory_source(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    void read_at(std::uint64_t offset, char* to, std::size_t n) override {
        std::memcpy(to, bytes_.data() + offset, n);
    }

  private:
    std::string_view bytes_;
};

inline tabella_voci decode_header(std::string_view bytes) {
    struct table_visitor final : header_visitor {
        tabella_voci voci{};
        void entry(int k, const voce& v) override { voci[static_cast<std::size_t>(k)] = v; }
    } table;
    memory_source source(bytes);
    stream_header(source, table);
    return table.voci;
}

inline griglia decode_grid(std::string_view bytes) {
    struct grid_builder final : grid_visitor {
        griglia celle;
        std::size_t most = 0;  // the cells the bytes can hold
        void start(std::int32_t cells) override {
            celle.reserve(std::min(static_cast<std::size_t>(cells), most));
        }
        void cell(std::int32_t, const cella& c) override { celle.push_back(c); }
    } grid;
    grid.most = bytes.size() / cell_bytes;
    memory_source source(bytes);
    stream_grid(source, grid);
    return grid.celle;
}

inline tracciato_linea decode_plan(std::string_view bytes) {
    struct plan_builder final : plan_visitor {
        tracciato_linea plan;
        void start(std::int32_t metres) override { plan = tracciato_linea(metres - 1); }
        void point(std::int64_t metre, valore_piano x, valore_piano y) override {
            set(metre, 0, x);
            set(metre, 1, y);
        }
        void set(std::int64_t metre, int coordinate, valore_piano v) {
            if (v.tipo == tipo_valore::intero) {
                plan.set_integer(metre, coordinate, static_cast<std::int16_t>(v.numero));
            } else if (v.tipo == tipo_valore::doppio) {
                plan.set_double(metre, coordinate, v.numero);
            }
        }
    } builder;
    memory_source source(bytes);
    stream_plan(source, builder);
    return std::move(builder.plan);
}

}  // namespace scenario::testing
