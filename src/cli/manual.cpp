#include "cli/manual.hpp"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_table.hpp"
#include "compiler/messages.hpp"
#include "grammar/grammar.hpp"
#include "text/windows1252.hpp"

namespace scenario::cli {

namespace {

constexpr std::string_view manual_title = "Scenario authoring";

bool letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Appends the escape of the character at text[at] and moves `at` past it; the word it
// stands in (up to a blank) starts at word_start.
void append_escaped(std::string& out, std::string_view text, std::size_t& at,
                    std::size_t word_start) {
    const char c = text[at];
    if (static_cast<unsigned char>(c) >= 0x80) {
        std::size_t next = at;
        const std::optional<char32_t> code = read_utf8(text, next);
        char name[16];
        std::snprintf(name, sizeof name, "\\[u%04X]",
                      code ? static_cast<unsigned>(*code) : 0xFFFDu);
        out += name;
        at = code ? next : at + 1;
        return;
    }
    switch (c) {
        case '\\':
            out += "\\e";
            break;
        case '"':
            out += "\\(dq";
            break;
        case '\'':
            out += "\\(aq";
            break;
        case '-': {
            // A word that begins with hyphens (after an opening mark) is typed as it stands.
            std::size_t first = word_start;
            while (first < at &&
                   std::string_view("([\"'").find(text[first]) != std::string_view::npos) {
                ++first;
            }
            const bool typed_word = text[first] == '-';
            const bool between_letters =
                at > 0 && at + 1 < text.size() && letter(text[at - 1]) && letter(text[at + 1]);
            out += typed_word || !between_letters ? "\\-" : "-";
            break;
        }
        default:
            out += c;
    }
    ++at;
}

// Escapes a line of text; with `markdown`, `code`, **lead** and *term* change the font.
std::string escaped_line(std::string_view text, bool markdown) {
    std::string out;
    if (!text.empty() && (text[0] == '.' || text[0] == '\'')) {
        out += "\\&";
    }
    bool code = false;
    bool strong = false;
    bool term = false;
    std::size_t word_start = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == ' ') {
            word_start = at + 1;
        }
        if (markdown && c == '`') {
            code = !code;
            out += code ? "\\fB" : "\\fR";
            ++at;
            continue;
        }
        if (markdown && !code && text.substr(at, 2) == "**") {
            strong = !strong;
            out += strong ? "\\fB" : "\\fR";
            at += 2;
            continue;
        }
        if (markdown && !code && c == '*') {
            term = !term;
            out += term ? "\\fI" : "\\fR";
            ++at;
            continue;
        }
        append_escaped(out, text, at, word_start);
    }
    return out;
}

std::string escaped(std::string_view text, bool markdown) {
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        out += escaped_line(text.substr(start, end - start), markdown);
        if (end == text.size()) {
            break;
        }
        out += '\n';
        start = end + 1;
    }
    return out;
}

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return out;
}

std::string bold(std::string_view text) {
    return "\\fB" + roff_text(text) + "\\fR";
}
std::string italic(std::string_view text) {
    return "\\fI" + roff_text(text) + "\\fR";
}

// A page being written: the man macros, one call per part.
class page_writer {
  public:
    page_writer(std::string_view name, int section, std::string_view version,
                std::string_view summary) {
        out_ += ".\\\" Made by scenario_manual from the command table and the description of\n";
        out_ += ".\\\" the documents; edit those, not this page.\n";
        out_ += ".TH \"" + roff_text(upper(name)) + "\" " + std::to_string(section) + " \"\" \"" +
                roff_text(version) + "\" \"" + std::string(manual_title) + "\"\n";
        heading("Name");
        out_ += roff_text(name) + " \\- " + roff_text(summary) + "\n";
    }

    void heading(std::string_view title) { out_ += ".SH \"" + roff_text(upper(title)) + "\"\n"; }
    void subheading(std::string_view title) { out_ += ".SS \"" + roff_text(title) + "\"\n"; }
    void raw(std::string_view roff) { out_.append(roff).append("\n"); }

    // Plain text as the help writes it: lines filled into paragraphs (a blank line parts
    // them), and lines indented by two blanks or more kept as they stand.
    void help_text(std::string_view text) {
        bool kept = false;
        bool paragraph = true;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            const std::string_view line = text.substr(start, end - start);
            const bool indented = line.starts_with("  ");
            if (indented != kept) {
                out_ += indented ? ".PP\n.RS 2\n.nf\n" : ".fi\n.RE\n.PP\n";
                kept = indented;
                paragraph = false;
            }
            if (line.empty()) {
                paragraph = true;
            } else {
                if (paragraph && !kept) {
                    out_ += ".PP\n";
                }
                paragraph = false;
                out_ += roff_text(line) + "\n";
            }
            start = end + 1;
        }
        if (kept) {
            out_ += ".fi\n.RE\n";
        }
    }

    // Prose marked as in Markdown: paragraphs parted by blank lines, "- " items.
    void prose(std::string_view text) {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\n\n", start);
            end = end == std::string_view::npos ? text.size() : end;
            std::string_view block = text.substr(start, end - start);
            while (!block.empty() && block.back() == '\n') {
                block.remove_suffix(1);
            }
            if (!block.empty()) {
                prose_block(block);
            }
            start = end + 2;
        }
    }

    // A tagged paragraph: the tag on its own line, the text under it (both roff).
    void tagged(std::string_view tag, std::string_view text) {
        out_.append(".TP\n").append(tag).append("\n").append(text).append("\n");
    }

    void example(std::string_view command, std::string_view explanation) {
        out_ += ".PP\n" + roff_prose(explanation) + "\n";
        out_ += ".PP\n.RS 4\n.EX\n" + roff_text(command) + "\n.EE\n.RE\n";
    }

    // Lines shown as they stand.
    void literal(std::string_view text) {
        out_ += ".PP\n.RS 4\n.EX\n" + roff_text(text) + "\n.EE\n.RE\n";
    }

    std::string text() const { return out_; }

  private:
    void prose_block(std::string_view block) {
        // Lines of a "- " list are items; other lines join the paragraph.
        std::string paragraph;
        const auto flush = [&](bool item) {
            if (!paragraph.empty()) {
                out_ += item ? ".IP \\(bu 2\n" : ".PP\n";
                out_ += roff_prose(paragraph) + "\n";
                paragraph.clear();
            }
        };
        bool item = false;
        std::size_t start = 0;
        while (start < block.size()) {
            const std::size_t end = std::min(block.find('\n', start), block.size());
            const std::string_view line = block.substr(start, end - start);
            if (line.starts_with("- ")) {
                flush(item);
                item = true;
                paragraph = line.substr(2);
            } else {
                paragraph += paragraph.empty() ? "" : " ";
                paragraph += line;
            }
            start = end + 1;
        }
        flush(item);
    }

    std::string out_;
};

// "-o DIR", "-Wno-NAME", "--kind KIND" in bold and italic.
std::string option_tag(const option_spec& o) {
    std::string out = bold(o.name);
    if (o.value != nullptr) {
        out += (o.joined ? "" : " ") + italic(o.value);
    }
    return out;
}

// An option as the synopsis writes it, as the usage line of the help does.
std::string synopsis_word(const option_spec& o) {
    std::string out = bold(o.name);
    if (o.choices != nullptr) {
        std::string_view choices = o.choices;
        out += "\\ ";
        for (std::size_t bar = choices.find('|'); !choices.empty(); bar = choices.find('|')) {
            out += bold(choices.substr(0, bar));
            if (bar == std::string_view::npos) {
                break;
            }
            out += "|";
            choices.remove_prefix(bar + 1);
        }
    } else if (o.value != nullptr) {
        out += (o.joined ? "" : "\\ ") + italic(o.value);
    }
    if (o.joined) {
        return "[" + out + "]...";
    }
    return o.required != nullptr ? out : "[" + out + "]";
}

void synopsis(page_writer& page, const command_spec& c) {
    page.heading("Synopsis");
    page.raw(std::string(".SY \"scenario ") + c.name + "\"");
    // The arguments as the usage line writes them.
    std::string_view arguments = c.arguments;
    while (!arguments.empty()) {
        const std::size_t blank = std::min(arguments.find(' '), arguments.size());
        if (blank > 0) {
            page.raw(italic(arguments.substr(0, blank)));
        }
        arguments.remove_prefix(std::min(blank + 1, arguments.size()));
    }
    // Options that must be given come first, as in the usage line.
    std::vector<const option_spec*> order;
    for (const option_spec& o : c.options) {
        order.push_back(&o);
    }
    std::stable_partition(order.begin(), order.end(),
                          [](const option_spec* o) { return o->required != nullptr; });
    for (const option_spec* o : order) {
        page.raw(synopsis_word(*o));
    }
    page.raw(".YS");
}

// The statuses a command ends with, one tagged paragraph each (the table its help is
// made from).
void exit_statuses(page_writer& page, const command_spec& c) {
    page.heading("Exit status");
    for (const stated_status& s : exit_statuses_of(c)) {
        page.tagged(bold(std::to_string(s.status)), roff_text(s.meaning + "."));
    }
}

void warnings(page_writer& page) {
    page.heading("Warnings");
    page.prose(
        "What the compile accepts but an author should look at is reported as "
        "`FILE:LINE:COL: warning: ... [-WNAME]`. Warnings never change what is compiled. "
        "`-Wno-NAME` switches off the warning NAME, `-w` all of them, and `--werror` makes "
        "them errors. The warnings:");
    for (const warning_text& w : warning_texts()) {
        page.tagged(bold(w.name), roff_text(w.summary));
    }
}

void see_also(page_writer& page, std::string_view except) {
    page.heading("See also");
    std::string list;
    const auto add = [&](std::string_view name, int section) {
        if (name != except) {
            list += list.empty() ? "" : ",\n";
            list += ".BR \\%" + roff_text(name) + " (" + std::to_string(section) + ")";
        }
    };
    add("scenario", 1);
    for (const command_spec& c : commands()) {
        add(std::string("scenario-") + c.name, 1);
    }
    add("scenario-documents", 5);
    add("genera_scenario", 1);
    page.raw(list);
    page.prose(
        "The README and `docs/` in `share/doc/scenario/` (the package's documentation "
        "folder) describe the tool at length; `docs/editors.md` sets up an editor.");
}

manual_page command_page(const command_spec& c, std::string_view version) {
    const std::string name = std::string("scenario-") + c.name;
    page_writer page(name, 1, version, c.summary);
    synopsis(page, c);
    page.heading("Description");
    page.help_text(c.description);
    if (!c.options.empty()) {
        page.heading("Options");
        for (const option_spec& o : c.options) {
            page.tagged(option_tag(o), roff_text(o.help));
        }
        page.tagged(bold("--help") + ", " + bold("-h"),
                    roff_text("print the command's help and end"));
    }
    if (!c.notes.empty()) {
        page.heading("Notes");
        page.help_text(c.notes);
    }
    if (std::any_of(c.options.begin(), c.options.end(),
                    [](const option_spec& o) { return o.joined; })) {
        warnings(page);
    }
    exit_statuses(page, c);
    if (const command_manual* m = find_command_manual(c.name)) {
        page.heading("Files");
        page.prose(m->files);
        if (!m->examples.empty()) {
            page.heading("Examples");
            for (const manual_example& e : m->examples) {
                page.example(e.command, e.explanation);
            }
        }
    }
    see_also(page, name);
    return {name, 1, page.text()};
}

manual_page tool_page(std::string_view version) {
    page_writer page("scenario", 1, version, "the authoring tool for train-driving scenarios");
    page.heading("Synopsis");
    page.raw(".SY scenario\n" + italic("COMMAND") + "\n[" + italic("ARGUMENTS") + "]\n.YS");
    page.raw(".SY scenario\n" + bold("--help") + "|" + bold("--version") + "\n.YS");
    page.heading("Description");
    page.prose(
        "`scenario` compiles a scenario of a train-driving simulator, reports what is wrong "
        "in it and shows what was compiled. A scenario is written in two plain-text "
        "documents, the line document `NAME_linea.txt` and the train document "
        "`NAME_TRAIN-.txt` (see **scenario-documents**(5)); compiled, it is three binary "
        "files the simulator loads. The tool only reads the documents it is given (but "
        "`fmt`, which lays them out): it never deletes them.\n\n"
        "Errors are printed as `FILE:LINE:COL: error N: what is wrong (position P m)` with "
        "the document line and a mark under the field, followed by notes on the other "
        "places involved; warnings the same way as `FILE:LINE:COL: warning: ... [-WNAME]`. "
        "Document text is shown as UTF-8.");
    page.heading("Commands");
    for (const command_spec& c : commands()) {
        std::string tag = bold(c.name);
        if (*c.arguments != '\0') {
            tag.append(1, ' ').append(italic(c.arguments));
        }
        page.tagged(tag, roff_text(c.summary) + "; see \\fB\\%" +
                             roff_text(std::string("scenario-") + c.name) + "\\fR(1).");
    }
    page.heading("Options");
    page.tagged(bold("--help") + ", " + bold("-h"), "print the list of commands and end");
    page.tagged(bold("--version"), "print the version and end");
    page.prose("`scenario COMMAND --help` prints a command's help.");
    page.heading("Exit status");
    page.prose(
        "Each command's page lists the statuses it ends with. 2 is a usage error for "
        "every command, and 70 a fault of the tool itself.");
    page.heading("Examples");
    page.prose("Start from the built-in scenario, check and compile it, and look at it:");
    page.literal(
        "scenario example -o work\n"
        "scenario check work/Vessana_Pralbo_linea.txt \"work/Vessana_Pralbo_5 bis-.txt\"\n"
        "scenario compile work/Vessana_Pralbo_linea.txt \"work/Vessana_Pralbo_5 bis-.txt\" -o out\n"
        "scenario serve work/Vessana_Pralbo_linea.txt \"work/Vessana_Pralbo_5 bis-.txt\" --open");
    see_also(page, "scenario");
    return {"scenario", 1, page.text()};
}

manual_page generator_page(std::string_view version) {
    page_writer page("genera_scenario", 1, version,
                     "write and compile the built-in scenario into the program's folder");
    page.heading("Synopsis");
    page.raw(".SY genera_scenario\n.YS");
    page.heading("Description");
    page.prose(
        "`genera_scenario` takes no arguments and reads no configuration. It writes the "
        "documents of the built-in scenario \"Vessana_Pralbo\" (train \"5 bis\") into the "
        "folder the program itself is in, compiles the line and train documents and writes "
        "the three binary files the simulator loads, then ends by itself. Under a graphical "
        "session on Windows it shows a window while it works and a message box for a fatal "
        "error.\n\n"
        "Installed in a folder an author cannot write (such as `/usr/bin`), it cannot write "
        "its files: copy it into a folder of your own first, or use `scenario example` and "
        "`scenario compile`, which write where they are told.");
    page.heading("Files");
    page.prose(
        "Written into the program's folder, each replaced whole or not at all (written "
        "under a temporary name and renamed):\n\n"
        "- `Vessana_Pralbo_5 bis_note.txt`, `Vessana_Pralbo_5 bis_rallentamenti.txt`, "
        "`Vessana_Pralbo_5 bis_scheda_treno.txt`: the driver's notes, slow-order form and "
        "timetable sheet;\n"
        "- `Vessana_Pralbo_linea.dat` (line plan), `Vessana_Pralbo_5 bis.sim` (header "
        "records), `Vessana_Pralbo_5 bis.dat` (track cell grid).\n\n"
        "The line and train documents `Vessana_Pralbo_linea.txt` and "
        "`Vessana_Pralbo_5 bis-.txt` are written there too, and deleted once read.");
    page.heading("Exit status");
    page.prose(
        "0 when the files are written; not 0 when a file cannot be written, after a "
        "message naming the file and the reason.");
    see_also(page, "genera_scenario");
    return {"genera_scenario", 1, page.text()};
}

// One keyword of the documents' reference: its meaning, forms, test, example, layout and
// fields.
void keyword_entry(page_writer& page, const keyword_description& k) {
    page.subheading(windows1252_to_utf8(k.forms[0]));
    page.prose(k.meaning);
    std::string forms;
    for (const std::string_view f : k.forms) {
        forms += (forms.empty() ? "" : ", ") + bold(windows1252_to_utf8(f));
    }
    page.raw(".PP\nWritten as " + forms + ".\nRecognised when the keyword field contains " +
             roff_text(keyword_test_text(k.test)) + ".");
    if (k.outline != outline_kind::none) {
        page.raw("Outline: " + roff_text(outline_name(k.outline)) + ".");
    }
    page.raw("Layout: " + roff_text(keyword_layout_text(k)) + ". Example:");
    page.literal(windows1252_to_utf8(k.example));
    for (std::size_t i = 0; i < k.fields.size(); ++i) {
        const field_description& f = k.fields[i];
        std::string tag = bold(std::to_string(i + 1) + ".") + " " + italic(f.name) + " (" +
                          roff_text(width_name(f.width));
        if (!f.unit.empty()) {
            tag += ", " + roff_text(f.unit);
        }
        tag += ")";
        page.raw(".TP 4\n" + tag + "\n" + roff_text(f.meaning) +
                 ".\nRange: " + roff_text(range_text(f)) + ". Empty: " + roff_text(f.empty) +
                 ". Used by the simulator: " + roff_text(use_name(f.used)) + ".");
    }
}

manual_page documents_page(std::string_view version) {
    page_writer page("scenario-documents", 5, version,
                     "the line and train documents of a scenario");
    page.heading("Description");
    page.prose(reference_introduction());
    page.prose("`scenario help documents` prints this reference as Markdown.");
    page.heading("How a document is read");
    page.prose(reference_reading_rules());
    for (const reference_part& p : reference_parts()) {
        page.heading(p.title);
        page.prose(p.text);
        for (const keyword_description& k : keyword_descriptions(p.part)) {
            keyword_entry(page, k);
        }
    }
    see_also(page, "scenario-documents");
    return {"scenario-documents", 5, page.text()};
}

}  // namespace

std::string roff_text(std::string_view utf8) {
    return escaped(utf8, false);
}

std::string roff_prose(std::string_view utf8) {
    return escaped(utf8, true);
}

std::vector<manual_page> manual_pages(std::string_view version) {
    std::vector<manual_page> pages;
    pages.push_back(tool_page(version));
    for (const command_spec& c : commands()) {
        pages.push_back(command_page(c, version));
    }
    pages.push_back(generator_page(version));
    pages.push_back(documents_page(version));
    return pages;
}

}  // namespace scenario::cli
