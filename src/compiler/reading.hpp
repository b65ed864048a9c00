#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "compiler/diagnostics.hpp"
#include "compiler/field_reader.hpp"
#include "compiler/tunnel_list.hpp"
#include "files/document_store.hpp"
#include "grammar/grammar.hpp"
#include "model/run_state.hpp"

namespace scenario {

// What an entry's reader tells the loop that called it.
enum class outcome {
    go_on,
    end_loop,     // a position beyond the grid (error 15): this document's loop ends,
                  // the steps after the loop still run
    end_reading,  // an error was recorded and the document deleted: the reader returns
};

// A section header: a field holding "[" and "]" that does not begin with "-".
bool section_header(std::string_view field);

struct reading;

// One keyword of a document part, as the readers act on it: its description (forms,
// test, fields) and the function that reads its entry after the keyword field.
struct keyword_entry {
    const keyword_description* description;
    outcome (*read)(reading&);
};

// A reader, named by the first form of the keyword it reads.
struct reader_binding {
    std::string_view form;
    outcome (*read)(reading&);
};

// The table of a part: every keyword the description gives it, in the description's
// order, with its reader. The readers must be listed in that order, one per keyword
// (else std::logic_error: a fault of the program).
std::vector<keyword_entry> bind_readers(document_part part,
                                        std::span<const reader_binding> readers);

// The part of a document being read; each has its own keywords.
using section = document_part;

// The width a destination type reads a number field at.
template <typename T>
constexpr field_width width_of() {
    if constexpr (std::is_same_v<T, std::int32_t>) {
        return field_width::int32;
    } else if constexpr (std::is_same_v<T, std::int16_t>) {
        return field_width::int16;
    } else {
        static_assert(std::is_same_v<T, std::uint8_t>, "no field is read at this width");
        return field_width::uint8;
    }
}

// A profile of the grid while it is read: the next cell to fill and the value of the
// last entry read (see profiles.hpp), and where that entry's chainage and value lie.
struct profile {
    std::int64_t cursor = 0;
    std::int64_t previous = 0;
    std::int64_t chainage = 0;
    field_place chainage_place;  // line 0 before the first entry
    field_place value_place;
    std::int32_t row = -1;       // the trace row of the last entry read, -1 before the first
    std::int64_t cursor_before = 0;  // the cursor before that entry's fill
};

// A kilometre-reference zone as its line gave it, before the ordering moved it.
struct zone_source {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t flag = 0;
    std::int32_t row = -1;  // its row in the trace
    error_place start_place;
    error_place end_place;
};

// Entries' chainages must lie this far inside the grid (stations: further, see there).
constexpr std::int64_t entry_margin = 100;

// The working values one call of memorizza_dati shares between the line part and the
// train part, and the document being read.
//
// Where the diagnostics point (line and column of a field of the document):
// - an error about an entry (6, 7, 8, 10, 15, 22, 24 and the recorders' 16 to 21)
//   points at the entry's chainage field, its first number;
// - an error about one field points at that field: 1 the route length, 3 the
//   repetition start, 4 the repetition end, 9 the station length, 5 and 103 (no
//   class digit) the keyword field; 103 for a plan past 1000000 m points at the
//   curve's start when the straight stretch before the curve passes the limit and at
//   its length when the curve itself does;
// - 102 points at the last field read; 101 at no field (the line document is named);
//   2 at the zone line's start or end, whichever is not a multiple of 50;
// - 25 points at the field that could not be read (after a read past the end: the last
//   field read), but when that field lies on a later line than its entry's keyword, at
//   the end of the entry's line, which lacks it, with a note where it was taken; a
//   speed step that does not fit points at the line that gave the speed; for any other
//   failure (an index outside the model, a value that does not fit a cell) at the
//   chainage field of the entry being acted on (a speed board's packing: at its first
//   speed), or else at the last field read. A train document that cannot be opened is
//   named with no field.
// - The cell conflicts (6, 7, 16 to 21) and the block errors (11 to 13, made after the
//   reading from the trace of which line wrote each cell) have notes on the elements
//   involved.
struct reading {
    reading(run_state& s, document_store& d);

    run_state& state;
    document_store& store;
    const std::string line_name;
    const std::string train_name;

    // The document being read.
    std::string document;  // its name
    source_document which = source_document::line;
    section part = section::before_general;
    shared_document held;   // its text, shared with the store and then the trace
    std::string_view text;
    field_reader fields;
    std::string_view keyword;                        // the keyword field being acted on
    field_place keyword_place;                       // where it is
    const keyword_description* described = nullptr;  // the keyword whose entry is read
    std::size_t fields_taken = 0;                    // and how many of its fields it read
    std::optional<field_place> entry_place;  // the chainage field of the entry being acted on
    std::int32_t entry_row = -1;             // its row in the trace, once it has one

    // What the warnings keep of the document being read.
    bool keyword_warnings = true;  // off for a document that seems to be the other one
    bool row_start = false;        // the keyword field begins its line (but for remarks)
    int quiet_line = 0;            // the lines up to this one have had their warning
    int fine_line = 0;             // the line of a "[fine]" read, 0 for none
    bool after_fine_warned = false;
    bool in_entry = false;                       // an entry's reader is reading its fields
    std::optional<std::size_t> outside_warning;  // body lines in the general part: the first
    int outside_lines = 0;                       // warning, and how many such lines
    shared_document line_held;  // the line document, kept to compare the train document with
    std::string_view line_text;
    bool line_looks_like_train = false;
    bool generale_found = false;
    int header_line = 0;             // the line document's first section header
    std::string_view early_keyword;  // a keyword before "[generale]", and where
    field_place early_place;
    std::string_view known_keyword;  // the last keyword field written as a keyword's form

    // The lines of keywords that set one value each (the general part's, the train's
    // values, the clock): the last clean line of each, to tell when a later line of the
    // same keyword replaces its value before anything reads it.
    struct single_row {
        const keyword_description* keyword;
        field_place place;
    };
    std::vector<single_row> single_rows;

    // A failure whose cause lies elsewhere than where the reader stands (a value read on
    // an earlier line): where to report it.
    struct blame {
        error_place place;
        std::vector<diagnostic_note> notes;
    };
    std::optional<blame> cause;

    // Line part.
    tunnel_list tunnels;
    std::int32_t board_entry = voce_primo_cartello;  // next free board text entry
    profile gradient;
    std::int64_t drawing_cursor = 2;  // the next plan point
    field_place curve_place;          // the last curve's start (line 0 before the first)
    std::int64_t curve_end = 0;       // and where it ends
    field_place tunnel_place;         // the last tunnel's start
    std::array<std::optional<zone_source>, 3> zones;  // entries 81 to 83 as read

    // The speed boards read, for the comparison with the train's speed limit.
    struct speed_board_seen {
        std::int32_t position;
        std::int32_t fastest;  // the highest speed it shows
        std::int32_t stripes;  // the more of its two stripe counts
        error_place place;
    };
    std::vector<speed_board_seen> speed_boards;

    // Where the reading of a document stopped before its end: the diagnostic that says
    // why (an error that ends the reading, error 15 that ends a loop, error 25), in order.
    struct stop {
        std::size_t diagnostic;
        int line;  // the last line the reader read from
    };
    std::vector<stop> stops;
    bool line_stopped = false;
    bool train_stopped = false;
    // Records that the last diagnostic stopped the reading of the document being read.
    void mark_stop();

    // Train part.
    // The train's values read, which a train document should not leave out.
    static constexpr std::uint8_t braked_mass_seen = 1;
    static constexpr std::uint8_t cars_seen = 2;
    static constexpr std::uint8_t sand_seen = 4;
    std::uint8_t train_values_seen = 0;
    // The last station read with a time of day (orario not 0): its time and place.
    std::int32_t timed_station = 0;
    std::optional<field_place> timed_station_place;
    profile speed;
    profile adhesion;
    std::int32_t station = 1;   // the next station's entry
    field_place station_place;  // the last station's chainage

    // The whole text of the document `name` (the "line" or the "train" document): one
    // the store does not hold, or cannot read, is a reader_failure (error 25) saying so,
    // with the store's reason when it gives one.
    shared_document whole_document(const std::string& name, std::string_view which);
    // Starts reading a document (the store gave its whole content), and makes the
    // warnings about the document as a whole.
    void open(const std::string& name, shared_document content, source_document document);
    // Closing is implicit; the store decides whether a document really goes away.
    void close_and_delete() { store.remove(document); }

    // Reads the next field as a keyword field (also into riga).
    void read_keyword();
    // The frame of the line body and the train document: the next keyword field to act
    // on, after up to two remarks; false when the document ends first.
    bool next_keyword(std::span<const keyword_entry> table);

    // Whether a keyword field passes an entry's test.
    bool passes(const keyword_test& t, std::string_view field) const {
        return t.matches(field, state.con_tracciato != 0);
    }
    // The tests of the last keyword field acted on, kept for the next one written alike.
    struct keyword_tests {
        std::span<const keyword_entry> table;
        std::string keyword;
        std::uint32_t passed = 0;
        bool valid = false;
    } last_tests;

    // Acts on the keyword field being read: calls, in table order, the reader of every
    // entry whose test the field passes, until one says anything but go on; returns
    // what that one said (go on when none did). Warns about the field and its line.
    outcome act_on_keyword(std::span<const keyword_entry> table);
    // The entries of the line body and of the train document: acts on every keyword
    // field next_keyword() gives, until the document ends or a reader says otherwise.
    // Returns end_reading when a reader did, else go_on.
    outcome read_entries(std::span<const keyword_entry> table);

    // The next field of the entry being read, named and read at the width its
    // description gives. Reading another width, or past the entry's last field, is a
    // fault of the program (std::logic_error).
    template <typename T>
    T number() {
        return fields.number<T>(next_field(width_of<T>()).name);
    }
    std::string_view text_field() { return fields.text(next_field(field_width::text).name); }
    // The entry's chainage, its next (32-bit) field: read, and its field remembered.
    std::int32_t chainage();

    // A cell of the grid and an entry of the header table; an index outside them (or
    // no grid yet) is a failure.
    cella& cell(std::int64_t i);
    voce& entry(std::int64_t i);

    // The range test: false when p + margin lies within the grid; otherwise records
    // error 15 with the position p and returns true.
    bool beyond_grid(std::int64_t p, std::int64_t margin);

    error_place place_of(const field_place& place) const;
    // Whether a field is empty but not because two commas stand in a row (which the
    // double-comma warning reports).
    bool left_empty(const field_place& place) const;
    void record(std::int32_t number, std::optional<std::int32_t> position, const field_place& place,
                std::vector<diagnostic_note> notes = {});
    // A warning at a field of the document being read, or about the whole document.
    void warn(warning w, const field_place& place, std::string message,
              std::vector<diagnostic_note> notes = {}, std::vector<diagnostic_fix> fixes = {});
    // A fix of the document being read: the field at `place` (or, with an end_column of
    // column - 1, the place before it) becomes `replacement`; and the removal of a whole
    // line.
    diagnostic_fix fix_at(const field_place& place, std::string replacement, std::string title,
                          bool certain) const;
    diagnostic_fix line_removal(int line, std::string title, bool certain) const;
    void warn_document(warning w, std::string message);
    diagnostic_note note_at(const field_place& place, std::string message) const;
    // Whether the warnings about keyword fields and their lines hold back for a line.
    bool quiet(int line) const { return !keyword_warnings || line <= quiet_line; }

    // The entry being acted on as a row of the trace, and the cell it writes; a row
    // that fills a header entry says which.
    std::int32_t trace_row();
    std::int32_t trace_row(std::int32_t entry);
    void stamp(std::int64_t cell);
    // An error that ends the reading: the document is deleted and the reader returns.
    outcome end_with(std::int32_t number, std::optional<std::int32_t> position,
                     const field_place& place, std::vector<diagnostic_note> notes = {});
    // The same with a sentence of its own.
    outcome end_with_message(std::int32_t number, std::optional<std::int32_t> position,
                             const field_place& place, std::string message,
                             std::vector<diagnostic_note> notes = {});
    // Records a failure of the general failure path (error 25) where it is reported:
    // at its cause when one was set; at the line that lacks a field when the reader
    // took it from a later line, with a note there; else as described above.
    void record_failure(const std::string& why);

    // Calls a recorder and stops the reading only on an error that this call reported:
    // an earlier code (15 left by the line part) is kept and does not stop anything.
    // cells_of(number) names the cells a conflict error may be about; the error gets a
    // note on the element in the first of them that is taken.
    template <typename F, typename Cells>
    outcome call_recorder(std::int32_t position, F&& call, Cells&& cells_of) {
        const std::int32_t before = state.codice_errore;
        state.codice_errore = 0;
        call();
        if (state.codice_errore > 0) {
            const std::int32_t number = state.codice_errore;
            return end_with(number, position, entry_place.value_or(keyword_place),
                            notes_on_cells(cells_of(number)));
        }
        state.codice_errore = before;
        return outcome::go_on;
    }
    // A note on the element in the first of these cells that holds one (none if none).
    std::vector<diagnostic_note> notes_on_cells(const std::vector<std::int64_t>& cells) const;

  private:
    const field_description& next_field(field_width width);
};

}  // namespace scenario
