#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::cli {

// What a command's manual page says beyond its help: the files it reads and writes and a
// few examples. The text is plain prose with `code` and *term* marked as in Markdown.
struct manual_example {
    const char* command;      // as typed in a shell
    const char* explanation;  // what it does
};
struct command_manual {
    const char* command;  // the command's name in the command table
    const char* files;
    std::vector<manual_example> examples;
};

// One entry per command of the command table, in its order.
std::span<const command_manual> command_manuals();
const command_manual* find_command_manual(std::string_view command);

// One manual page in the man macros: scenario(1), scenario-COMMAND(1) for each command,
// genera_scenario(1) and scenario-documents(5).
struct manual_page {
    std::string name;  // "scenario-check"
    int section;       // 1 or 5
    std::string text;  // roff
};

// Every manual page, made from the command table (usage, options, help, exit statuses),
// the warning table, the manual entries above and the description of the documents;
// `version` goes into each page's footer. The tool's page comes first.
std::vector<manual_page> manual_pages(std::string_view version);

// The bash completion of `scenario`, made from the command table: commands, options, the
// values of options with a fixed set of them, warning names after -Wno-, line and train
// documents for LINE and TRAIN, folders for DIR. Uses bash-completion's functions.
std::string bash_completion();

// UTF-8 text made safe for a roff text line: backslashes and quotes escaped, characters
// beyond ASCII as \[uXXXX], a hyphen as a minus sign (\-) wherever it may be typed (in
// a word that begins with one, such as an option, or beside anything but letters, as in
// a file name or a number), and a line starting with a control character guarded.
std::string roff_text(std::string_view utf8);
// The same for prose marked as in Markdown: `code` and **lead** become bold, *term*
// italic.
std::string roff_prose(std::string_view utf8);

}  // namespace scenario::cli
