#pragma once

#include <cstdint>
#include <vector>

#include "model/run_state.hpp"

namespace scenario::testing {

// A run state whose grid has cells 0 to ultima, all empty.
inline run_state con_griglia(std::int64_t ultima) {
    run_state stato;
    stato.celle.resize(static_cast<std::size_t>(ultima + 1));
    return stato;
}

inline cella& in(run_state& stato, std::int64_t i) {
    return stato.celle.at(static_cast<std::size_t>(i));
}

// Puts an element of kind t (with valore1) into cell i.
inline void metti(run_state& stato, std::int64_t i, tipo t, std::int16_t valore1 = 0) {
    in(stato, i).tipo_cella = t;
    in(stato, i).valore1 = valore1;
}

// The indexes of the cells of kind t, in ascending order.
inline std::vector<std::int64_t> celle_di(const run_state& stato, tipo t) {
    std::vector<std::int64_t> trovate;
    for (std::size_t i = 0; i < stato.celle.size(); ++i) {
        if (stato.celle[i].tipo_cella == t) {
            trovate.push_back(static_cast<std::int64_t>(i));
        }
    }
    return trovate;
}

}  // namespace scenario::testing
