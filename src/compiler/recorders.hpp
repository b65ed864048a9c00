#pragma once

#include <cstdint>

#include "model/run_state.hpp"

namespace scenario {

struct tunnel_list;

// The element recorders. Each writes one document entry into stato.celle; a cell
// conflict is reported by setting stato.codice_errore (the caller records the
// position). A missing grid, or an index the grid cannot hold, throws reader_failure.
void memo_montagna(run_state& stato, tunnel_list& tunnels, std::int32_t& inizio, std::int32_t& fine,
                   std::int32_t& tipo);
void memo_indicatori_v_max(run_state& stato, std::int32_t posizione, std::int32_t& vas,
                           std::int32_t& vbs, std::int32_t& vcs, std::int32_t& strisces,
                           std::int32_t& vad, std::int32_t& vbd, std::int32_t& vcd,
                           std::int32_t& strisced);
void memo_segnale(run_state& stato, std::int32_t posizione, std::int32_t& sx, std::int32_t& s1,
                  std::int32_t& s2, std::int32_t& s3, std::int32_t& rapp, std::int32_t& dx,
                  std::int32_t& d1, std::int32_t& d2, std::int32_t& d3, std::int32_t& tempo);
void memo_rallentamento(run_state& stato, std::int32_t x, std::int32_t& v, std::int32_t& l,
                        std::int32_t& f_tt, std::int32_t f_ta, std::int32_t& d_v);

}  // namespace scenario
