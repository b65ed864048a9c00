#include "cli/compile_summary.hpp"

namespace scenario::cli {

compile_counts count_compiled(const run_state& stato) {
    compile_counts counts;
    counts.cells = static_cast<std::int64_t>(stato.celle.size());
    std::int64_t boards = 0;
    for (const cella& c : stato.celle) {
        counts.signals += c.tipo_cella == tipo::segnale ? 1 : 0;
        boards += c.tipo_cella == tipo::cartello ? 1 : 0;
    }
    const voce empty{};
    for (std::int64_t k = 1; k <= voce_primo_cartello - boards; ++k) {
        if (stato.voci[static_cast<std::size_t>(k)] == empty) {
            break;
        }
        ++counts.stations;
    }
    return counts;
}

}  // namespace scenario::cli
