#include <string>
#include <string_view>

#include "cli/command_table.hpp"
#include "cli/manual.hpp"
#include "compiler/messages.hpp"
#include "model/file_names.hpp"

namespace scenario::cli {

namespace {

// A shell glob matching a file name ending, compared case-free as the compiler does:
// "_linea.txt" -> "*_[lL][iI][nN][eE][aA].[tT][xX][tT]".
std::string ending_glob(std::string_view ending) {
    std::string out = "*";
    for (const char c : ending) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            const char lower = static_cast<char>(c | 0x20);
            out += std::string("[") + lower + static_cast<char>(lower - 'a' + 'A') + "]";
        } else {
            out += c;
        }
    }
    return out;
}

// What completes an option's value by the name the command table gives it: folders for
// DIR, SVG pictures for FILE.svg, any file for FILE; nothing for a name or a number.
std::string value_action(std::string_view name) {
    if (name == "DIR") {
        return "_filedir -d";
    }
    if (name == "FILE.svg") {
        return "_filedir svg";
    }
    if (name == "FILE") {
        return "_filedir";
    }
    return ":";
}

// What completes a positional: the documents for LINE and TRAIN, the topics of help,
// files and folders for any other (FILE, FILE..., a compiled scenario's files).
std::string positional_action(std::string_view name) {
    if (name == "LINE") {
        return "_scenario_files '" + ending_glob(line_document_ending) + "'";
    }
    if (name == "TRAIN") {
        return "_scenario_files '" + ending_glob(train_document_ending) + "'";
    }
    if (name == "[TOPIC]") {
        return "_scenario_words 'documents'";
    }
    return "_filedir";
}

std::string choice_words(std::string_view choices) {
    std::string out(choices);
    for (char& c : out) {
        if (c == '|') {
            c = ' ';
        }
    }
    return out;
}

// The case branch of one command: its options, which of them take a value, how each
// value and each positional is completed.
std::string command_branch(const command_spec& c) {
    std::string options;
    std::string valued;
    std::string values;
    bool warnings = false;
    for (const option_spec& o : c.options) {
        options += std::string(options.empty() ? "" : " ") + o.name;
        if (o.joined) {
            warnings = true;
            continue;
        }
        if (o.value == nullptr) {
            continue;
        }
        valued += std::string(" ") + o.name;
        const std::string action = o.choices != nullptr
                                       ? "_scenario_words '" + choice_words(o.choices) + "'"
                                       : value_action(o.value);
        values += std::string(values.empty() ? "" : " ") + o.name + " \"" + action + "\"";
    }
    std::string positionals;
    for (const char* p : c.positionals) {
        positionals +=
            std::string(positionals.empty() ? "" : " ") + "\"" + positional_action(p) + "\"";
    }
    const bool repeats =
        !c.positionals.empty() && std::string_view(c.positionals.back()).ends_with("...");
    std::string out = std::string("        ") + c.name + ")\n";
    out += "            options='" + options + " --help'\n";
    out += "            valued='" + valued + " '\n";
    out += "            values=(" + values + ")\n";
    out += "            positionals=(" + positionals + ")\n";
    out += std::string("            repeats=") + (repeats ? "1" : "") + "\n";
    out += std::string("            warnings=") + (warnings ? "1" : "") + "\n";
    out += "            ;;\n";
    return out;
}

constexpr std::string_view head =
    R"(# bash completion for scenario(1), made by scenario_manual from the tool's command
# table: commands, options, option values, warning names after -Wno-, line documents for
# LINE, train documents for TRAIN. It uses bash-completion's functions.

# Folders, and the files whose names match the glob $1.
_scenario_files()
{
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X "!$1" -- "$cur"))
}

# The words of $1 that begin as the word being completed.
_scenario_words()
{
    COMPREPLY=($(compgen -W "$1" -- "$cur"))
}

_scenario()
{
    local cur prev words cword split
    _init_completion -s || return

    if ((cword == 1)); then
        _scenario_words '%COMMANDS% --help -h --version'
        return
    fi

    local options valued values positionals repeats warnings
    case ${words[1]} in
)";

constexpr std::string_view tail =
    R"(        *)
            return
            ;;
    esac

    # The value of an option: the word after it, or after "=" (--kind=plan).
    local i
    if [[ $split == true || ($prev == -* && " $valued " == *" $prev "*) ]]; then
        for ((i = 0; i < ${#values[@]}; i += 2)); do
            [[ ${values[i]} == "$prev" ]] && eval "${values[i + 1]}"
        done
        return
    fi

    # Which positional the word is: the words before it that are neither options nor
    # their values; after "--" every word is one.
    local n=0 ended=
    for ((i = 2; i < cword; i++)); do
        if [[ $ended ]]; then
            ((n++))
        elif [[ ${words[i]} == -- ]]; then
            ended=1
        elif [[ ${words[i]} == -?* ]]; then
            [[ ${words[i]} != *=* && " $valued " == *" ${words[i]} "* ]] && ((i++))
        else
            ((n++))
        fi
    done

    if [[ ! $ended && $cur == -* ]]; then
        if [[ $warnings && $cur == -W* ]]; then
            _scenario_words '%WARNINGS%'
        else
            _scenario_words "$options"
        fi
        return
    fi
    if ((n >= ${#positionals[@]})); then
        [[ $repeats ]] || return
        n=$((${#positionals[@]} - 1))
    fi
    eval "${positionals[n]}"
} &&
    complete -F _scenario scenario
)";

void replace(std::string& text, std::string_view mark, const std::string& with) {
    const std::size_t at = text.find(mark);
    if (at != std::string::npos) {
        text.replace(at, mark.size(), with);
    }
}

}  // namespace

std::string bash_completion() {
    std::string commands;
    std::string branches;
    for (const command_spec& c : cli::commands()) {
        commands += std::string(commands.empty() ? "" : " ") + c.name;
        branches += command_branch(c);
    }
    std::string warnings;
    for (const warning_text& w : warning_texts()) {
        warnings += std::string(warnings.empty() ? "" : " ") + "-Wno-" + w.name;
    }
    std::string out(head);
    replace(out, "%COMMANDS%", commands);
    out += branches;
    out += tail;
    replace(out, "%WARNINGS%", warnings);
    return out;
}

}  // namespace scenario::cli
