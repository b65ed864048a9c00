#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiled/element_index.hpp"
#include "files/document_store.hpp"
#include "files/scenario_files.hpp"
#include "model/diagnostic.hpp"
#include "model/run_state.hpp"
#include "text/windows1252.hpp"
#include "timetable/timetable.hpp"

namespace scenario {

// Where one of the two documents comes from: a file read when the compile starts, or a
// text already in memory (an editor's), in Windows-1252 as the compiler reads it. The
// path is the one diagnostics name the document by either way.
struct document_source {
    std::string path;
    std::optional<std::string> text;
};

// What one compile is asked to do: the names the compiler asks for, the documents
// (a document not given is missing, as a file that is not there), whether the line
// plan is made, the encoding of the files read, and how the timetable is checked.
struct compile_request {
    std::string scenario;
    std::string train;
    std::optional<document_source> line;
    std::optional<document_source> train_document;
    bool plan = true;
    text_encoding encoding = text_encoding::windows_1252;
    timetable_options timetable;
};

// A document that could not be read: the compile did not run. `diagnostic` says it as a
// diagnostic of no number (the document's path, and its line and column when the text is
// at fault); `sentence` is the file error's own ("cannot read "PATH": reason", or
// "PATH:LINE:COLUMN: error: reason" when `located`).
struct read_failure {
    diagnostic as_diagnostic;
    std::string sentence;
    bool located = false;
};

// How the diagnostics of a compile divide. Every front end counts and marks by these.
enum class diagnostic_class : std::uint8_t {
    stored,   // an error the compiler stores in codice_errore
    fatal,    // fatal marker error 1250 or 1251: nothing may be written
    tool,     // an error of no number: a text the files cannot hold, a document unread
    warning,
    note,
};
diagnostic_class class_of(const diagnostic& d);

struct diagnostic_counts {
    std::size_t errors = 0;  // stored, fatal and tool errors
    std::size_t stored = 0;
    std::size_t tool = 0;
    std::size_t warnings = 0;
    std::size_t notes = 0;
};
diagnostic_counts count_diagnostics(std::span<const diagnostic> diagnostics);

// A file "scenario compile" writes for this compile, with its size in bytes.
struct planned_file {
    file_format format;
    std::string name;
    std::uint64_t size = 0;
};

// One compile of a scenario and everything a front end asks of it: the run state with
// its diagnostics (a document that could not be read adds its diagnostic), the fatal
// error, the files compile would write (none when it may write none), the counts of the
// diagnostics by class, and the element index. The only place that decides what a
// compile means; the tool's commands, the generator, the live server and the language
// server all take it.
struct compiled_scenario {
    run_state state;
    std::int32_t fatal = 0;
    std::optional<read_failure> unread;  // set: the compile did not run
    std::vector<planned_file> files;
    diagnostic_counts counts;
    std::string line_path;  // the paths the request named the documents by
    std::string train_path;

    // The element index of the state as the compile left it, made the first time it is
    // asked for (a check or a compile never asks: on the longest route its memory is a
    // good part of a check's time) and kept; a copy shares it.
    const element_index& elements() const;

    bool read() const { return !unread; }
    // The files may be written: documents read, no fatal error, nothing they cannot hold.
    bool writes() const { return read() && fatal == 0 && counts.tool == 0; }
    // The path a diagnostic's document is shown by: the one the request gave for it.
    std::string path_of(const std::string& document) const;

  private:
    mutable std::shared_ptr<const element_index> elements_;
};

// Compiles the request's documents. Never throws for anything a document holds.
compiled_scenario compile(const compile_request& request);
// Compiles the documents a store holds under the request's names (its sources unused):
// the generator's own folder, which deletes what it has read.
compiled_scenario compile(const compile_request& request, document_store& store);

// Writes the files of a compile that writes() into a folder, all together or not at
// all; returns their names. A failure throws file_error naming the file.
std::vector<std::string> write_files(const compiled_scenario& compiled, const std::string& folder);

}  // namespace scenario
