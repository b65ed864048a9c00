#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "cli/args.hpp"
#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/diagnostics_render.hpp"
#include "cli/document_fixes.hpp"
#include "cli/exit_status.hpp"
#include "cli/scenario_names.hpp"
#include "compiled/compiled_scenario.hpp"
#include "files/atomic_file.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"

namespace scenario::cli {

namespace {

// A certain fix made cannot make the next compile offer it again forever: the fixes run
// in rounds, each on the compile of the last one's text, until a round finds none.
constexpr int most_rounds = 8;

// One document of the pair as the command reads and writes it.
struct fixed_document {
    std::string path;
    document_bytes original;
    document_bytes current;
};

// The text the compiler reads: the bytes, or the UTF-8 document converted.
std::string compiler_text(const fixed_document& d) {
    if (d.current.encoding == text_encoding::windows_1252) {
        return d.current.bytes;
    }
    windows1252_text converted = utf8_to_windows1252(d.current.bytes);
    if (converted.fault) {
        throw document_text_error(d.path, converted.fault->line, converted.fault->column,
                                  converted.fault->what);
    }
    return std::move(converted.text);
}

struct applied {
    std::string path;
    int line;
    std::string title;
};

}  // namespace

int run_fix(const parsed_args& args, std::ostream& out, std::ostream& err) {
    compile_request request = request_of(args);
    const bool dry_run = args.flag("--dry-run");
    const warning_options warnings = warning_options_of(args);
    std::array<fixed_document, 2> documents;
    try {
        for (std::size_t i = 0; i < 2; ++i) {
            fixed_document& d = documents[i];
            d.path = i == 0 ? request.line->path : request.train_document->path;
            d.original = {read_whole_file(d.path), request.encoding};
            d.current = d.original;
        }
    } catch (const file_error& e) {
        err << failure_line(e) << '\n';
        return exit_status::file;
    }

    std::vector<applied> made;
    for (int round = 0; round < most_rounds; ++round) {
        try {
            request.line->text = compiler_text(documents[0]);
            request.train_document->text = compiler_text(documents[1]);
        } catch (const file_error& e) {
            err << failure_line(e) << '\n';
            return exit_status::file;
        }
        const compiled_scenario compiled = compile(request);
        if (compiled.unread) {
            err << read_failure_line(*compiled.unread) << '\n';
            return exit_status::file;
        }
        bool changed = false;
        const std::vector<diagnostic> shown = shown_diagnostics(compiled.state, warnings);
        for (fixed_document& d : documents) {
            if (&d != &documents[0] && d.path == documents[0].path) {
                continue;  // one file given as both: fixed once
            }
            std::vector<const diagnostic_fix*> certain;
            for (const diagnostic& diag : shown) {
                for (const diagnostic_fix& f : diag.fixes) {
                    if (f.certain && compiled.path_of(f.document) == d.path) {
                        certain.push_back(&f);
                    }
                }
            }
            const std::string before = d.current.bytes;
            for (const diagnostic_fix* f : apply_fixes(d.current, certain)) {
                made.push_back({d.path, f->line, f->title});
            }
            changed = changed || d.current.bytes != before;
        }
        if (!changed) {
            break;
        }
    }

    if (dry_run) {
        for (const fixed_document& d : documents) {
            out << unified_diff(d.original, d.current, d.path);
        }
    } else {
        for (const applied& a : made) {
            out << a.path << ':' << a.line << ": " << windows1252_to_utf8(a.title) << '\n';
        }
        try {
            std::vector<std::unique_ptr<atomic_file>> files;
            std::vector<atomic_file*> all;
            for (const fixed_document& d : documents) {
                if (d.current.bytes != d.original.bytes) {
                    files.push_back(std::make_unique<atomic_file>(d.path));
                    files.back()->write(d.current.bytes);
                    all.push_back(files.back().get());
                }
            }
            commit_all(all);
        } catch (const file_error& e) {
            err << failure_line(e) << '\n';
            return exit_status::file;
        }
    }
    std::size_t count = 0;
    for (const fixed_document& d : documents) {
        const auto n = static_cast<std::size_t>(std::count_if(
            made.begin(), made.end(), [&](const applied& a) { return a.path == d.path; }));
        count += n;
        if (n > 0) {
            err << "scenario: " << (dry_run ? "would fix " : "fixed ") << n
                << (n == 1 ? " mistake" : " mistakes") << " in \"" << d.path << '"'
                << (dry_run ? " (nothing written)" : "") << '\n';
        }
    }
    if (count == 0) {
        err << "scenario: nothing to fix with certainty\n";
    }
    return exit_status::ok;
}

}  // namespace scenario::cli
