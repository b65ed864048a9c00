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

// A change to one document that mends what a diagnostic reports: the characters of a
// line from column to end_column (from 1, both included) become the replacement; an
// end_column of column - 1 inserts before column, and column 0 takes the whole line
// with its line break (a replacement of "" removes the line). The replacement is
// document text (Windows-1252, one byte a character), without a line break. A certain
// fix is the one change that does what the author meant; fixes that are not certain
// are choices, of which the author picks one or none.
struct diagnostic_fix {
    std::string document;
    int line = 0;
    int column = 0;
    int end_column = 0;
    std::string replacement;
    std::string title;  // one line: what the change does
    bool certain = false;

    bool operator==(const diagnostic_fix&) const = default;
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
    std::vector<diagnostic_fix> fixes;  // at most one certain, and then no other

    bool operator==(const diagnostic&) const = default;
};

}  // namespace scenario
