#include "cli/command_table.hpp"

#include <algorithm>
#include <array>
#include <charconv>

#include "cli/commands.hpp"
#include "cli/exit_status.hpp"
#include "compiler/messages.hpp"
#include "model/cella.hpp"
#include "model/voce.hpp"
#include "timetable/timetable.hpp"

namespace scenario::cli {

namespace {

constexpr std::size_t page_width = 80;

// Options several commands share, declared once.
const option_spec scenario_option{
    "--scenario", "NAME",
    "scenario name (default: LINE's file name without \"_linea.txt\")"};
const option_spec train_option{
    "--train", "NAME",
    "train name (default: TRAIN's file name without the scenario name and \"_\" before it "
    "and \"-.txt\" after it)"};
const option_spec no_plan_option{
    "--no-plan", nullptr,
    "compile without the line plan: curves are not processed and no line plan file is "
    "written"};
const option_spec json_option{"--json", nullptr,
                              "print one JSON object with the result on standard output"};
const option_spec input_encoding_option{
    "--input-encoding", "ENCODING",
    "the documents' text encoding: windows-1252 (the simulator's, the default) or utf-8, "
    "converted to windows-1252 before it is read",
    nullptr, "windows-1252|utf-8"};
const option_spec no_warning_option{
    "-Wno-", "NAME",
    "switch off the warning NAME (listed below); may be given more than once",
    nullptr, nullptr, true};
const option_spec warning_on_option{
    "-W", "NAME",
    "switch on the warning NAME, one that is off unless asked for (timetable-tight); may be "
    "given more than once",
    nullptr, nullptr, true};
const option_spec acceleration_option{
    "--acceleration", "M/S2",
    "the train's acceleration on the level for the timetable's estimate, in m/s² (default "
    "0.5; more than 0, at most 5)"};
const option_spec werror_option{
    "--werror", nullptr, "treat warnings as errors: they are shown as errors and give exit status 1"};
const option_spec no_warnings_option{"-w", nullptr, "show no warning"};

// A help text with the model's values put in for {cell} (the metres one grid cell spans)
// and {longest_text} (the longest text the header file holds).
std::string with_model_values(std::string text) {
    const std::pair<std::string_view, std::string> values[] = {
        {"{cell}", std::to_string(metres_per_cell)},
        {"{longest_text}", std::to_string(longest_text)},
    };
    for (const auto& [name, value] : values) {
        for (std::size_t at = text.find(name); at != std::string::npos;
             at = text.find(name, at + value.size())) {
            text.replace(at, name.size(), value);
        }
    }
    return text;
}

const std::array<command_spec, 13> table{{
    {"compile",
     "compile the two documents into the binary files",
     "LINE TRAIN",
     {"LINE", "TRAIN"},
     {{"-o", "DIR",
       "folder for the binary files, made when missing (default: the current folder)"},
      scenario_option,
      train_option,
      no_plan_option,
      input_encoding_option,
      json_option,
      acceleration_option,
      no_warning_option,
      warning_on_option,
      werror_option,
      no_warnings_option},
     "Compiles the line document LINE and the train document TRAIN as the generator\n"
     "does and writes the binary files (line plan, header, grid) into DIR. The\n"
     "documents are only read, never changed or deleted.\n",
     with_model_values(
         "Errors go to standard error as FILE:LINE:COL: error N: what is wrong, warnings as\n"
         "FILE:LINE:COL: warning: what to look at [-WNAME], each followed by the document\n"
         "line and a mark under the field, and by notes on the places involved. A text the\n"
         "header file cannot hold (longer than {longest_text} bytes) is an error of the tool: "
         "it has\n"
         "no number, is not stored in the scenario, and no file is written.\n"),
     {{exit_status::ok, "no error"},
      {exit_status::scenario_error,
       "the scenario records an error, or --werror and a warning (files written), or the "
       "header file cannot hold a text (nothing written)"},
      {exit_status::usage},
      {exit_status::fatal},
      {exit_status::file}},
     run_compile},
    {"check",
     "compile and report errors, writing nothing",
     "LINE TRAIN",
     {"LINE", "TRAIN"},
     {scenario_option, train_option, no_plan_option, input_encoding_option, json_option,
      acceleration_option, no_warning_option, warning_on_option, werror_option,
      no_warnings_option},
     "Compiles LINE and TRAIN exactly as \"scenario compile\" does and reports the same\n"
     "errors and warnings with the same exit status, but writes no file.\n",
     "The timetable is checked as \"scenario timetable\" describes: -Wtimetable at a\n"
     "station time no train can keep at the speeds allowed; -Wtimetable-tight, off\n"
     "unless asked for, at one shorter than the estimate with acceleration and\n"
     "braking.\n",
     {{exit_status::ok, "no error"},
      {exit_status::scenario_error},
      {exit_status::usage},
      {exit_status::fatal},
      {exit_status::file, "a document could not be read"}},
     run_check},
    {"example",
     "write the built-in scenario's documents to start from",
     "",
     {},
     {{"-o", "DIR", "folder for the documents, made when missing (default: the current folder)"},
      {"--force", nullptr, "replace documents that already exist in DIR"}},
     "Writes the five documents of the built-in scenario into DIR (default: the\n"
     "current folder), byte for byte as the generator writes them, to start from.\n"
     "A document that already exists is never replaced unless --force is given:\n"
     "without it, each one is named and nothing is written.\n",
     "",
     {{exit_status::ok, "written"},
      {exit_status::usage},
      {exit_status::file,
       "a document already exists (without --force) or a file could not be written"}},
     run_example},
    {"dump",
     "decode and print a header, grid or line plan file",
     "FILE",
     {"FILE"},
     {{"--kind", "KIND", "read FILE as a header, grid or plan file whatever its name", nullptr,
       "header|grid|plan"},
      {"--all", nullptr,
       "also list the grid cells without an element or marker and the empty points of the "
       "plan"},
      {"--json", nullptr, "print one JSON object instead of the table"}},
     "Decodes a header file (.sim), a grid file (.dat) or a line plan file\n"
     "(_linea.dat) and prints it as a table, one row per record, cell or point, each\n"
     "row as soon as it is decoded: a file of any size takes little memory, and\n"
     "\"scenario dump FILE | head\" ends at once.\n",
     with_model_values(
         "The columns are the fields of the model, named and ordered as in the file (a\n"
         "header record's nome ends its line). Beside a stored value, a column of its own\n"
         "shows it as the author wrote it:\n"
         "  grid    from_m     where cell i begins: it covers {cell} i to {cell} i + {cell} m (an\n"
         "                     element written at chainage p is in cell near(p/{cell} + 1))\n"
         "          tipo       the name of tipo_cella (\"unknown kind N\" when it has none)\n"
         "          speed_kmh  vel_limite x 5\n"
         "          gradient   pendenza - 100\n"
         "  header  clock      orario as hh:mm:ss in entries 1 to 80 where it is not 0;\n"
         "                     in entry 86 the train's clock numero_c:numero_d:numero_e\n"
         "  plan    tipo_x     the tag of each coordinate: vuoto, intero or doppio (and\n"
         "          tipo_y     in JSON its number too: tag_x, tag_y 0, 2 or 5)\n"
         "\"-\" stands for no value (null in JSON). The JSON rows carry the same columns.\n"
         "In a damaged file, the rows decoded before the damaged byte are printed, then\n"
         "its offset and what is wrong (in JSON, an \"error\" object after the rows).\n"),
     {{exit_status::ok, "decoded"},
      {exit_status::scenario_error, "the file is truncated or malformed"},
      {exit_status::usage},
      {exit_status::file, "the file could not be read or the output could not be written"}},
     run_dump},
    {"render",
     "draw the compiled scenario as an SVG picture",
     "LINE TRAIN",
     {"LINE", "TRAIN"},
     {{"-o", "FILE.svg", "the picture to write", "the picture needs a file name: -o FILE.svg"},
      scenario_option,
      train_option,
      {"--no-plan", nullptr, "compile without the line plan and draw only the profiles"},
      input_encoding_option,
      no_warning_option,
      werror_option,
      no_warnings_option},
     "Compiles LINE and TRAIN as \"scenario compile\" does, writes no binary file, and\n"
     "draws the compiled scenario as one SVG picture: the plan of the line with its\n"
     "stations, signals, slowdowns, tunnels and boards, and under it the speed limit,\n"
     "gradient and adhesion along the route. Recorded errors are drawn in red.\n",
     "",
     {{exit_status::ok, "no error"},
      {exit_status::scenario_error},
      {exit_status::usage},
      {exit_status::fatal},
      {exit_status::file}},
     run_render},
    {"timetable",
     "print the timetable against what the train needs",
     "LINE TRAIN",
     {"LINE", "TRAIN"},
     {scenario_option, train_option, input_encoding_option, json_option, acceleration_option,
      no_warning_option, werror_option, no_warnings_option},
     "Compiles LINE and TRAIN as \"scenario check\" does, reports the same errors and\n"
     "warnings (-Wtimetable-tight included), and prints every station of the train\n"
     "document: its position (m) and time, and for a timed station after the first:\n"
     "  least        the least running time from the timed station before it at the\n"
     "               speeds allowed (the speed limit profile, and each slowdown at its\n"
     "               speed from its start to its end), needing nothing of the train\n"
     "  estimate     the running time from rest to rest, accelerating at the given\n"
     "               acceleration less the gradient's pull and braking as the Minden\n"
     "               formula gives for the braked-mass percentage (docs/timetable.md)\n"
     "  margin       the time given less the estimate (less the least running time\n"
     "               without a braking figure)\n"
     "  fastest run  when a run at the estimate's pace reaches the station: it leaves\n"
     "               the first timed station at its time (or when the clock starts, if\n"
     "               later) and waits at each timed station until its time (\"A - D\")\n"
     "Durations are minutes:seconds (hours:minutes:seconds from an hour), rounded up.\n",
     "A station whose time is 0 (00:00:00) is not timed. A time earlier than the one\n"
     "before it by more than 12 hours is taken for the next day's. \"blocked\": a\n"
     "stretch of the way allows 0 km/h. --json prints one object: error, position,\n"
     "fatal, diagnostics (as check's) and timetable (docs/live.md).\n",
     {{exit_status::ok, "no error"},
      {exit_status::scenario_error},
      {exit_status::usage},
      {exit_status::fatal},
      {exit_status::file, "a document could not be read"}},
     run_timetable},
    {"lsp",
     "serve an editor: a language server on stdin and stdout",
     "",
     {},
     {input_encoding_option},
     "Serves the language server protocol (JSON-RPC with Content-Length headers) on\n"
     "standard input and output for an editor: the line document and its train\n"
     "document in the same folder are compiled together as they are edited, with\n"
     "their errors and warnings, hovers on rows and keywords, an outline, completion of\n"
     "keywords and formatting. The open editor's text takes the place of the file on\n"
     "disk; --input-encoding names the encoding of the files it reads from disk.\n",
     "",
     {{exit_status::ok, "the editor asked to shut down before it ended the session"},
      {exit_status::scenario_error, "the session ended without that"},
      {exit_status::usage}},
     run_lsp},
    {"fmt",
     "lay out documents as the built-in ones are written",
     "FILE...",
     {"FILE..."},
     {{"--check", nullptr, "change nothing; name the files that are not laid out so"},
      {"--stdout", nullptr, "print the laid-out text instead of replacing the file"},
      input_encoding_option},
     "Lays out each line or train document FILE in the canonical layout, the one the\n"
     "built-in documents are written in, and replaces it whole (never half-written).\n"
     "A file ending in \"_linea.txt\" is a line document, one ending in \"-.txt\" a\n"
     "train document; any other is taken for the kind its keywords show.\n",
     "Only blanks at the start and end of a row and around its commas change, and\n"
     "line breaks become CR LF: what the documents compile to stays byte for byte the\n"
     "same. Rows the layout does not know (remarks, unknown keywords, a wrong number\n"
     "of fields, two commas in a row) and a last line without a line break are left\n"
     "as they are.\n",
     {{exit_status::ok, "laid out (or, with --check, already so)"},
      {exit_status::scenario_error, "with --check, a file is not laid out"},
      {exit_status::usage},
      {exit_status::file}},
     run_fmt},
    {"fix",
     "apply every certain fix to both documents",
     "LINE TRAIN",
     {"LINE", "TRAIN"},
     {{"--dry-run", nullptr, "change nothing; print the changes as a unified diff"},
      scenario_option,
      train_option,
      no_plan_option,
      input_encoding_option,
      no_warning_option},
     "Compiles LINE and TRAIN as \"scenario check\" does and makes every fix its\n"
     "warnings are certain of (\"fix-it:\" in check's report): a misspelt keyword, a\n"
     "keyword's case, a decimal comma, two commas in a row, a comment mark written\n"
     "another way, a line whose value nothing reads, a value written as something\n"
     "other than what is stored. It compiles again and goes on while that finds more.\n"
     "Each document is replaced whole, keeping its line ends and its encoding; the\n"
     "changes are listed as FILE:LINE: what was done.\n",
     "A fix that is one of several choices (\"fix-it, a choice:\") is never made: the\n"
     "language server offers it as a quick fix. A fix that removes a hidden line or\n"
     "writes the value that is stored leaves the compiled files as they were; one that\n"
     "corrects a keyword makes the line count as the author meant it to.\n",
     {{exit_status::ok, "fixed, or nothing to fix"},
      {exit_status::usage},
      {exit_status::file, "a document could not be read, or could not be written (then "
                          "neither is changed)"}},
     run_fix},
    {"serve",
     "show the scenario on a live page that follows every save",
     "LINE TRAIN",
     {"LINE", "TRAIN"},
     {{"--port", "N", "the port to listen on (default: a free one)"},
      scenario_option,
      train_option,
      {"--no-plan", nullptr, "compile without the line plan and draw only the profiles"},
      input_encoding_option,
      acceleration_option,
      {"--open", nullptr, "open the page in the system's browser"}},
     "Compiles LINE and TRAIN as \"scenario compile\" does, writes no file, and serves a\n"
     "page at http://127.0.0.1:PORT/ (the URL is the first line on standard output)\n"
     "showing the drawing of \"scenario render\", the errors and warnings, and what\n"
     "compile would write. Both documents are watched: each save compiles them again\n"
     "and every open page shows the new result at once; a failed compile keeps the\n"
     "last good drawing, marked out of date. Only this computer can reach the page.\n",
     "",
     {{exit_status::ok, "ended by Ctrl-C or SIGTERM"},
      {exit_status::usage},
      {exit_status::file,
       "a document could not be read at the start, the port could not be opened or the "
       "documents could not be watched"}},
     run_serve},
    {"decompile",
     "write the documents of compiled files, to edit them",
     "FILES...",
     {"FILES..."},
     {{"-o", "DIR", "folder for the documents, made when missing (default: the current folder)"},
      {"--force", nullptr, "replace documents that already exist in DIR"},
      json_option},
     "Reads the files of a compiled scenario, the header file (NAME_TRAIN.sim), the grid\n"
     "file (NAME_TRAIN.dat) and, when there is one, the line plan file (NAME_linea.dat),\n"
     "or a folder holding them, and writes the line and train documents that compile\n"
     "to them: NAME_linea.txt and NAME_TRAIN-.txt, named by the names the header file\n"
     "holds, laid out as \"scenario fmt\" lays them out, rows in chainage order in the\n"
     "sections of the built-in documents, a remark at the top naming the files read.\n"
     "Without a plan file the documents compile with --no-plan.\n",
     "Before it writes, decompile compiles the documents in memory and compares every\n"
     "value with the files read. The curves come from the plan's points, one step per\n"
     "metre; an automatic code point of the compiler does not come back as a row.\n"
     "Values no document can give (a file written by another program, or damaged) are\n"
     "named one per line, FILE: offset N: what: stored S, the documents give G, and\n"
     "the closest documents are written. A file that is not a scenario file, or is cut\n"
     "short, is named with the byte offset where it goes wrong, and nothing is written.\n"
     "A document that already exists is never replaced unless --force is given.\n",
     {{exit_status::ok, "the documents give back every file byte for byte"},
      {exit_status::scenario_error,
       "a file is not a scenario file or is cut short (nothing written)"},
      {exit_status::usage},
      {exit_status::file,
       "a file could not be read or written, or a document exists (without --force)"},
      {exit_status::not_reproduced}},
     run_decompile},
    {"diff",
     "say what changed between two scenarios, by element",
     "OLD NEW",
     {"OLD", "NEW..."},
     {json_option},
     "Compares two scenarios and prints what changed, one element per line in chainage\n"
     "order, in the documents' units: \"signal at 6,450 m: added\", \"speed limit from\n"
     "15,000 m: 130 -> 120 km/h\", \"station PRALBO P.P. (60,300 m): time 19:53:00 ->\n"
     "19:55:00\", \"plan: first difference at 901 m\". Each side is a line and a train\n"
     "document (LINE TRAIN, compiled in memory with the line plan) or a folder of\n"
     "compiled files (or, with no header file, of one line and one train document):\n"
     "\"scenario diff L1 T1 L2 T2\", \"scenario diff DIR1 DIR2\", \"scenario diff DIR L T\"\n"
     "or \"scenario diff L T DIR\". Documents that compile to the same files are the\n"
     "same scenario, however their text differs.\n",
     "",
     {{exit_status::ok, "the scenarios are the same"},
      {exit_status::scenario_error, "they differ"},
      {exit_status::usage},
      {exit_status::file,
       "a file could not be read, is not a scenario file, or a side's documents do not "
       "compile (a fatal error, or a text too long for the header file)"}},
     run_diff},
    {"help",
     "describe the tool, or a topic: documents",
     "[TOPIC]",
     {"[TOPIC]"},
     {},
     "Without TOPIC, prints the tool's help, as \"scenario --help\" does. The topic\n"
     "\"documents\" prints the reference of the line and train documents in Markdown:\n"
     "every keyword, in the order the compiler tests it, with its forms, an example row\n"
     "and its fields (name, width, meaning, unit, range, what an empty field reads as,\n"
     "whether the simulator uses it). docs/documents.md is this page.\n",
     "",
     {{exit_status::ok, "printed"}, {exit_status::usage}},
     run_help},
}};

// How an option is written with its value: "-o DIR", "-Wno-NAME".
std::string with_value(const option_spec& o, const char* value) {
    std::string text = o.name;
    if (value != nullptr) {
        text += std::string(o.joined ? "" : " ") + value;
    }
    return text;
}

std::string option_usage(const option_spec& o) {
    const std::string text = with_value(o, o.choices != nullptr ? o.choices : o.value);
    if (o.joined) {
        return "[" + text + "]...";
    }
    return o.required != nullptr ? text : "[" + text + "]";
}


// Words after `first` on one line, then on lines that start with `indent` blanks, none
// longer than the page.
std::string wrap(const std::string& first, const std::vector<std::string>& words,
                 std::size_t indent) {
    std::string out = first;
    std::size_t column = first.size();
    bool line_has_word = false;
    for (const std::string& w : words) {
        if (line_has_word && column + 1 + w.size() > page_width) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            line_has_word = false;
        }
        if (line_has_word) {
            out += ' ';
            ++column;
        }
        out += w;
        column += w.size();
        line_has_word = true;
    }
    return out;
}

std::vector<std::string> words_of(const std::string& text) {
    std::vector<std::string> words;
    std::string w;
    for (const char c : text) {
        if (c == ' ') {
            if (!w.empty()) {
                words.push_back(w);
            }
            w.clear();
        } else {
            w += c;
        }
    }
    if (!w.empty()) {
        words.push_back(w);
    }
    return words;
}

// The warnings a -Wno- option names, for the help.
std::string warning_list() {
    std::size_t width = 0;
    for (const warning_text& w : warning_texts()) {
        width = std::max(width, std::string(w.name).size());
    }
    std::string out = "Warnings (each switched off by -Wno-NAME):\n";
    for (const warning_text& w : warning_texts()) {
        const std::string name = w.name;
        const std::string first = "  " + name + std::string(width - name.size() + 2, ' ');
        out += wrap(first, words_of(w.summary), first.size()) + "\n";
    }
    return out;
}

std::vector<std::string> usage_words(const command_spec& c) {
    std::vector<std::string> words = words_of(c.arguments);
    std::vector<const option_spec*> order;
    for (const option_spec& o : c.options) {
        order.push_back(&o);
    }
    // Options that must be given come first, right after the arguments.
    std::stable_partition(order.begin(), order.end(),
                          [](const option_spec* o) { return o->required != nullptr; });
    for (const option_spec* o : order) {
        words.push_back(option_usage(*o));
    }
    return words;
}

}  // namespace

double acceleration(const parsed_args& args) {
    const std::optional<std::string> text = args.value(acceleration_option.name);
    if (!text) {
        return default_acceleration;
    }
    double v = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), v);
    if (error != std::errc{} || end != text->data() + text->size() || !(v > 0) ||
        v > highest_acceleration) {
        throw usage_error("--acceleration takes a number of m/s² above 0 and at most 5, not \"" +
                          *text + "\"");
    }
    return v;
}

text_encoding input_encoding(const parsed_args& args) {
    const std::optional<std::string> name = args.value(input_encoding_option.name);
    if (!name || *name == "windows-1252") {
        return text_encoding::windows_1252;
    }
    if (*name == "utf-8") {
        return text_encoding::utf_8;
    }
    throw usage_error("unknown encoding \"" + *name + "\" for --input-encoding (" +
                      input_encoding_option.choices + ")");
}

command_syntax command_spec::syntax() const {
    command_syntax s;
    s.positionals.assign(positionals.begin(), positionals.end());
    for (const option_spec& o : options) {
        s.options.push_back({o.name, o.value != nullptr, o.joined});
    }
    return s;
}

std::span<const command_spec> commands() {
    return table;
}

const command_spec* find_command(const std::string& name) {
    const auto it = std::find_if(table.begin(), table.end(),
                                 [&](const command_spec& c) { return name == c.name; });
    return it == table.end() ? nullptr : &*it;
}

std::string usage_line(const command_spec& c) {
    std::string out = std::string("scenario ") + c.name;
    for (const std::string& w : usage_words(c)) {
        out += " " + w;
    }
    return out;
}

std::string help_text(const command_spec& c) {
    const std::string head = std::string("Usage: scenario ") + c.name + " ";
    std::string out = wrap(head, usage_words(c), head.size()) + "\n\n" + c.description;
    if (!c.options.empty()) {
        std::size_t width = 0;
        for (const option_spec& o : c.options) {
            width = std::max(width, with_value(o, o.value).size());
        }
        out += "\n";
        for (const option_spec& o : c.options) {
            const std::string name = with_value(o, o.value);
            const std::string first = "  " + name + std::string(width - name.size() + 2, ' ');
            out += wrap(first, words_of(o.help), first.size()) + "\n";
        }
    }
    if (!c.notes.empty()) {
        out += "\n" + c.notes;
    }
    if (std::any_of(c.options.begin(), c.options.end(),
                    [](const option_spec& o) { return o.joined; })) {
        out.append("\n").append(warning_list());
    }
    return out + "\n" + exit_status_text(c);
}

std::vector<stated_status> exit_statuses_of(const command_spec& c) {
    std::vector<exit_case> cases = c.exits;
    cases.push_back({exit_status::internal});
    std::vector<stated_status> out;
    for (const exit_case& e : cases) {
        const auto meaning =
            std::find_if(exit_status_meanings.begin(), exit_status_meanings.end(),
                         [&](const exit_status_meaning& m) { return m.status == e.status; });
        out.push_back({e.status, e.when != nullptr                      ? std::string(e.when)
                                 : meaning != exit_status_meanings.end() ? std::string(meaning->meaning)
                                                                         : std::string()});
    }
    return out;
}

std::string exit_status_text(const command_spec& c) {
    const std::vector<stated_status> cases = exit_statuses_of(c);
    std::vector<std::string> words;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        std::string said = std::to_string(cases[i].status) + " " + cases[i].meaning;
        said += i + 1 < cases.size() ? ";" : ".";
        std::vector<std::string> more = words_of(said);
        // The number and the first word of its meaning stay on one line.
        more[1] = more[0] + " " + more[1];
        words.insert(words.end(), more.begin() + 1, more.end());
    }
    return wrap("Exit status: ", words, 0) + "\n";
}

std::string tool_usage_line() {
    std::string names;
    for (const command_spec& c : table) {
        names += std::string(names.empty() ? "" : ", ") + c.name;
    }
    return "scenario COMMAND [ARGUMENTS] (COMMAND: " + names + ")";
}

std::string tool_help() {
    std::string out =
        "Usage: scenario COMMAND [ARGUMENTS]\n"
        "       scenario --help | --version\n"
        "\n"
        "The authoring tool for train-driving scenarios.\n"
        "\n"
        "Commands:\n";
    std::size_t width = 0;
    for (const command_spec& c : table) {
        width = std::max(width, std::string(c.name).size() + 1 + std::string(c.arguments).size());
    }
    for (const command_spec& c : table) {
        std::string name = c.name;
        if (*c.arguments != '\0') {
            name += std::string(" ") + c.arguments;
        }
        out += "  " + name + std::string(width - name.size() + 2, ' ') + c.summary + "\n";
    }
    return out + "\n\"scenario COMMAND --help\" describes each command.\n";
}

int report_usage_error(const std::string& command, const std::string& why, std::ostream& err) {
    const command_spec* c = find_command(command);
    const std::string who = c == nullptr ? "scenario" : "scenario " + command;
    err << who << ": " << why << '\n';
    err << "usage: " << (c == nullptr ? tool_usage_line() : usage_line(*c)) << '\n';
    err << "Try \"" << who << " --help\" for more.\n";
    return exit_status::usage;
}

}  // namespace scenario::cli
