#pragma once

#include <functional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "cli/args.hpp"
#include "files/file_error.hpp"
#include "model/diagnostic.hpp"
#include "compiled/compiled_scenario.hpp"
#include "model/run_state.hpp"
#include "report/diagnostic_json.hpp"

namespace scenario::cli {

// The line that reports a failure (a file that could not be read or written, a port
// that could not be opened): "scenario: " and the sentence, or the sentence alone when
// it begins with its place in a document ("PATH:LINE:COLUMN: error: ...", as the
// compiler's errors do).
std::string failure_line(const failure& e);
// The same line for a document a compile could not read.
std::string read_failure_line(const read_failure& failure);

// Which warnings a run shows, and whether they count as errors: -w, -Wno-NAME, --werror;
// and which warnings that are off unless asked for it asks for: -WNAME.
struct warning_options {
    bool none = false;
    std::set<std::string> off;
    std::set<std::string> on;
    bool as_errors = false;

    // A warning off unless asked for is asked for, and not switched off.
    bool asked(const std::string& name) const {
        return !none && on.count(name) != 0 && off.count(name) == 0;
    }
};

// The options as the command line gave them. A -Wno- or -W naming no warning is a usage
// error.
warning_options warning_options_of(const parsed_args& args);

// The diagnostics to show, in order: the warnings switched off are left out; under
// --werror the others are shown as errors (keeping their names).
std::vector<diagnostic> shown_diagnostics(const run_state& state, const warning_options& options);

// How many errors (not warnings or notes) there are among the diagnostics shown (a
// warning shown as an error counts as one).
std::size_t error_count(std::span<const diagnostic> diagnostics);
std::size_t warning_count(std::span<const diagnostic> diagnostics);

// "PATH:LINE:COL", "PATH:LINE", "PATH", or "scenario" for a diagnostic of no document.
std::string error_location(const diagnostic& d, const document_paths& paths);

// The line under a document line that marks the field from column `column` to
// `end_column`: blanks (tabs kept, so the mark lines up), then "^" under the first
// column and "~" under the rest.
std::string caret_line(const std::string& text, int column, int end_column);

// The line under the caret line that shows a diagnostic's certain fix on its own line,
// as compilers do: the replacement under the first column it replaces, or a "-" under
// each character it removes; empty when there is no such fix.
std::string fix_line(const diagnostic& d, const std::string& text);

// The human report of one diagnostic: "LOCATION: error N: sentence (position)",
// "LOCATION: error: sentence" for an error of the tool, "LOCATION: warning: sentence
// [-WNAME]" (shown as an error under --werror: "[-Werror=NAME]"), then the document line
// and the caret line when it has a line (and the fix line), then its notes, "LOCATION:
// note: ...", then its fixes, "LOCATION: fix-it: TITLE" for a certain fix and
// "LOCATION: fix-it, a choice: TITLE" for each of several choices.
void render_error(const diagnostic& d, const document_paths& paths, std::ostream& err);

// Every diagnostic given, then a note on the error the compiler stores.
void render_errors(std::span<const diagnostic> shown, const run_state& state,
                   const document_paths& paths, std::ostream& err);

}  // namespace scenario::cli
