#include <algorithm>
#include <vector>

#include "cli/manual.hpp"

namespace scenario::cli {

namespace {

// The documents the examples use: those "scenario example" writes.
#define LINE_DOC "work/Vessana_Pralbo_linea.txt"
#define TRAIN_DOC "\"work/Vessana_Pralbo_5 bis-.txt\""

// What the compile reads, shared by the commands that compile.
#define READS_DOCUMENTS                                                                    \
    "Reads the line document LINE and the train document TRAIN, Windows-1252 text (UTF-8 " \
    "with `--input-encoding utf-8`, converted first). The scenario name SCENARIO is "      \
    "LINE's file name without `_linea.txt` (or `--scenario`), the train name TRAIN that "  \
    "of TRAIN without SCENARIO, the `_` after it and the ending `-.txt` (or `--train`)."

const std::vector<command_manual> manuals = {
    {"compile",
     READS_DOCUMENTS
     "\n\nWrites into DIR, each file replaced whole or not at all (written under a "
     "temporary name in DIR and renamed):\n\n"
     "- `SCENARIO_linea.dat`, the line plan (not with `--no-plan`);\n"
     "- `SCENARIO_TRAIN.sim`, the header records;\n"
     "- `SCENARIO_TRAIN.dat`, the grid of track cells.\n\n"
     "Nothing is written after a fatal error or when the header file cannot hold a text.",
     {{"scenario compile " LINE_DOC " " TRAIN_DOC " -o out",
       "Compile the built-in scenario's documents into the folder `out`:"},
      {"scenario compile " LINE_DOC " " TRAIN_DOC " --werror -Wno-value-rounded",
       "Fail on any warning but those about values stored in steps:"}}},
    {"check",
     READS_DOCUMENTS "\n\nWrites no file.",
     {{"scenario check " LINE_DOC " " TRAIN_DOC, "Report what is wrong in the two documents:"},
      {"scenario check --json " LINE_DOC " " TRAIN_DOC,
       "The same as one JSON object, for another program:"}}},
    {"example",
     "Reads nothing. Writes into DIR (made when missing) the five documents of the built-in "
     "scenario \"Vessana_Pralbo\", train \"5 bis\":\n\n"
     "- `Vessana_Pralbo_linea.txt`, the line document;\n"
     "- `Vessana_Pralbo_5 bis-.txt`, the train document;\n"
     "- `Vessana_Pralbo_5 bis_note.txt`, `Vessana_Pralbo_5 bis_rallentamenti.txt` and "
     "`Vessana_Pralbo_5 bis_scheda_treno.txt`, the driver's notes, slow-order form and "
     "timetable sheet.",
     {{"scenario example -o work",
       "Start a scenario from the built-in one in the folder `work`:"}}},
    {"dump",
     "Reads FILE piece by piece: a header file `.sim`, a grid file `.dat` or a line plan "
     "file `_linea.dat` (by its name, or as `--kind` says). Writes no file.",
     {{"scenario dump \"out/Vessana_Pralbo_5 bis.sim\"",
       "Print the header records of a compiled scenario:"},
      {"scenario dump --json out/Vessana_Pralbo_linea.dat | head",
       "The first points of its line plan, as JSON:"}}},
    {"render",
     READS_DOCUMENTS "\n\nWrites the picture FILE.svg, replaced whole or not at all, and no "
                     "binary file.",
     {{"scenario render " LINE_DOC " " TRAIN_DOC " -o line.svg",
       "Draw the built-in scenario into `line.svg`:"}}},
    {"lsp",
     "Reads a line document `S_linea.txt` and its train document `S_T-.txt` from the same "
     "folder: the editor's text of an open one, the file on disk for the other "
     "(Windows-1252, or UTF-8 with `--input-encoding utf-8`). Writes no file: formatting "
     "is sent to the editor, which saves the document. `docs/editors.md` sets up Neovim and "
     "Emacs.",
     {{"scenario lsp", "The command an editor's language client starts:"}}},
    {"fmt",
     "Reads each FILE and replaces it whole, never half-written (written under a temporary "
     "name beside it and renamed), unless it is laid out already or `--check` or `--stdout` "
     "is given.",
     {{"scenario fmt " LINE_DOC " " TRAIN_DOC, "Lay out both documents of a scenario:"},
      {"scenario fmt --check work/*_linea.txt work/*-.txt",
       "Name the documents of a folder that are not laid out, changing nothing:"}}},
    {"fix",
     READS_DOCUMENTS
     "\n\nReplaces LINE and TRAIN, each whole or not at all (written under a temporary name "
     "beside it and renamed), when a certain fix changes them; with `--dry-run` writes no "
     "file.",
     {{"scenario fix --dry-run " LINE_DOC " " TRAIN_DOC,
       "See what would be mended, as a unified diff:"},
      {"scenario fix -Wno-value-rounded " LINE_DOC " " TRAIN_DOC,
       "Mend the documents, leaving values stored in steps as they are written:"}}},
    {"serve",
     READS_DOCUMENTS
     " Reads both again after every save. Writes no file; the page is served to this "
     "computer only.",
     {{"scenario serve " LINE_DOC " " TRAIN_DOC " --open",
       "Show the built-in scenario in the system's browser while it is edited:"}}},
    {"timetable",
     READS_DOCUMENTS "\n\nWrites no file.",
     {{"scenario timetable " LINE_DOC " " TRAIN_DOC,
       "The built-in scenario's stations, the times written and the times the train needs:"},
      {"scenario timetable --acceleration 0.3 " LINE_DOC " " TRAIN_DOC,
       "The same for a train that gathers speed more slowly:"}}},
    {"help",
     "Reads and writes no file.",
     {{"scenario help documents > documents.md",
       "Keep the reference of the documents beside a scenario:"}}},
};

#undef READS_DOCUMENTS
#undef TRAIN_DOC
#undef LINE_DOC

}  // namespace

std::span<const command_manual> command_manuals() {
    return manuals;
}

const command_manual* find_command_manual(std::string_view command) {
    const auto it = std::find_if(manuals.begin(), manuals.end(),
                                 [&](const command_manual& m) { return command == m.command; });
    return it == manuals.end() ? nullptr : &*it;
}

}  // namespace scenario::cli
