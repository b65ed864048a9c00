#pragma once

#include <cstdint>
#include <string>

namespace scenario {

// One recorded scenario error, with where the reader was when it was recorded.
// Kept beside the model for the programs at the edge to show; nothing compiled
// depends on it.
struct diagnostic {
    std::int32_t numero = 0;     // the error number
    std::int32_t posizione = 0;  // posizione_errore right after recording
    bool ha_posizione = false;   // whether this error records a position of its own
    std::string documento;       // document name; empty for the block checks
    int riga = 0;                // 1-based line of the field, 0 when none
    int colonna = 0;             // 1-based column (characters) of the field, 0 when none
    std::string testo;           // the text of that document line
    std::string dettaglio;       // what failed, for the general failure path and block checks

    bool operator==(const diagnostic&) const = default;
};

}  // namespace scenario
