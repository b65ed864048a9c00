#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scenario {

enum class severity : std::uint8_t { error, warning, note };

// A place related to a diagnostic, with what happened there.
struct diagnostic_note {
    std::string document;
    int line = 0;
    int column = 0;
    int end_column = 0;
    std::string message;

    bool operator==(const diagnostic_note&) const = default;
};

// One diagnostic of a compile, with where the reader was when it was made. Kept beside
// the model for the programs at the edge to show; nothing compiled depends on it.
// Columns count characters (single bytes) from 1; the extent is that of the field the
// diagnostic points at, both ends included.
struct diagnostic {
    severity level = severity::error;
    std::int32_t number = 0;   // the error number (0 for a warning)
    std::string name;          // the warning's name; empty for an error
    std::string document;      // document name; empty for the block checks
    int line = 0;              // 0 when none
    int column = 0;            // first column of the field, 0 when none
    int end_column = 0;        // last column of the field
    std::string text;          // the text of that document line
    std::int32_t position = 0; // posizione_errore right after recording
    bool has_position = false; // whether this error records a position of its own
    std::string message;       // the whole sentence: what is wrong, then what to change
    std::vector<diagnostic_note> notes;

    bool operator==(const diagnostic&) const = default;
};

}  // namespace scenario
