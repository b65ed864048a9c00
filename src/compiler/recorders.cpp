#include "compiler/recorders.hpp"

namespace scenario {

// Recorders come here.
void memo_montagna(run_state&, lista_gallerie&, std::int32_t&, std::int32_t&, std::int32_t&) {}
void memo_indicatori_v_max(run_state&, std::int32_t, std::int32_t&, std::int32_t&, std::int32_t&,
                           std::int32_t&, std::int32_t&, std::int32_t&, std::int32_t&,
                           std::int32_t&) {}
void memo_segnale(run_state&, std::int32_t, std::int32_t&, std::int32_t&, std::int32_t&,
                  std::int32_t&, std::int32_t&, std::int32_t&, std::int32_t&, std::int32_t&,
                  std::int32_t&, std::int32_t&) {}
void memo_rallentamento(run_state&, std::int32_t, std::int32_t&, std::int32_t&, std::int32_t&,
                        std::int32_t, std::int32_t&) {}
void progressive_ordina(tabella_voci&) {}

}  // namespace scenario
