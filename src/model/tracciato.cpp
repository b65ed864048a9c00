#include "model/tracciato.hpp"

#include "model/reader_failure.hpp"

namespace scenario {

tracciato_linea::tracciato_linea(std::int64_t ultimo_metro) {
    if (ultimo_metro < 0) {
        throw reader_failure("plan length " + std::to_string(ultimo_metro) + " is negative");
    }
    metres_ = static_cast<std::size_t>(ultimo_metro) + 1;
    kinds_.assign(2 * metres_, static_cast<std::uint8_t>(tipo_valore::vuoto));
    values_.assign(2 * metres_, 0.0);
}

}  // namespace scenario
