#include "cli/args.hpp"

#include <algorithm>

namespace scenario::cli {

namespace {

const option_rule* find_option(const command_syntax& syntax, const std::string& name) {
    const auto it = std::find_if(syntax.options.begin(), syntax.options.end(),
                                 [&](const option_rule& o) { return !o.joined && o.name == name; });
    return it == syntax.options.end() ? nullptr : &*it;
}

// The joined option an argument begins with.
const option_rule* find_joined(const command_syntax& syntax, const std::string& arg) {
    const auto it =
        std::find_if(syntax.options.begin(), syntax.options.end(),
                     [&](const option_rule& o) { return o.joined && arg.rfind(o.name, 0) == 0; });
    return it == syntax.options.end() ? nullptr : &*it;
}

bool is_help(const std::string& a) {
    return a == "--help" || a == "-h";
}

void store_value(parsed_args& out, const std::string& name, const std::string& value) {
    if (value.empty()) {
        throw usage_error("option \"" + name + "\" needs a non-empty value");
    }
    if (!out.values.emplace(name, value).second) {
        throw usage_error("option \"" + name + "\" is given more than once");
    }
}

}  // namespace

std::vector<std::string> parsed_args::values_of(const std::string& name) const {
    const auto it = joined.find(name);
    return it == joined.end() ? std::vector<std::string>{} : it->second;
}

std::optional<std::string> parsed_args::value(const std::string& name) const {
    const auto it = values.find(name);
    if (it == values.end()) {
        return std::nullopt;
    }
    return it->second;
}

parsed_args parse_args(const command_syntax& syntax, const std::vector<std::string>& args) {
    parsed_args out;
    // "--help" wins over every other fault of the line, as long as it is an option.
    for (const std::string& a : args) {
        if (a == "--") {
            break;
        }
        if (is_help(a)) {
            out.help = true;
            return out;
        }
    }

    bool options_ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options_ended || a.size() < 2 || a[0] != '-') {
            out.positionals.push_back(a);
            continue;
        }
        if (a == "--") {
            options_ended = true;
            continue;
        }
        if (const option_rule* joined = find_joined(syntax, a)) {
            if (a.size() == joined->name.size()) {
                throw usage_error("option \"" + joined->name + "\" needs a value in the same word");
            }
            out.joined[joined->name].push_back(a.substr(joined->name.size()));
            continue;
        }
        std::string name = a;
        std::optional<std::string> inline_value;
        const auto equals = a.find('=');
        if (a.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = a.substr(0, equals);
            inline_value = a.substr(equals + 1);
        }
        const option_rule* option = find_option(syntax, name);
        if (option == nullptr) {
            throw usage_error("unknown option \"" + name + "\"");
        }
        if (!option->takes_value) {
            if (inline_value) {
                throw usage_error("option \"" + name + "\" takes no value");
            }
            if (!out.flags.insert(name).second) {
                throw usage_error("option \"" + name + "\" is given more than once");
            }
            continue;
        }
        if (inline_value) {
            store_value(out, name, *inline_value);
        } else if (i + 1 < args.size()) {
            store_value(out, name, args[++i]);
        } else {
            throw usage_error("option \"" + name + "\" needs a value");
        }
    }

    // A last positional named "[NAME]" may be left out.
    const bool optional = !syntax.positionals.empty() && syntax.positionals.back().starts_with('[');
    const std::size_t required = syntax.positionals.size() - (optional ? 1 : 0);
    if (out.positionals.size() < required) {
        throw usage_error("missing " + syntax.positionals[out.positionals.size()]);
    }
    // A last positional named "NAME..." takes any number of arguments, one at least.
    const bool any_number =
        !syntax.positionals.empty() && syntax.positionals.back().ends_with("...");
    if (out.positionals.size() > syntax.positionals.size() && !any_number) {
        throw usage_error("unexpected argument \"" + out.positionals[syntax.positionals.size()] +
                          "\"");
    }
    return out;
}

}  // namespace scenario::cli
