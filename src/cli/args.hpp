#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/failure.hpp"

namespace scenario::cli {

// A bad command line; the text names the argument at fault.
class usage_error : public failure {
  public:
    explicit usage_error(const std::string& why) : failure(why) {}
};

struct option_rule {
    std::string name;  // as typed: "-o", "--scenario", "--json"; a joined option's prefix
    bool takes_value = false;
    // The value is written in the same word, right after the name ("-Wno-" in
    // "-Wno-text-cut"); such an option may be given any number of times.
    bool joined = false;
};

// What one subcommand accepts: its positional arguments (named for messages; a last one
// named "[NAME]" may be left out, one named "NAME..." takes one or more) and its
// options. "--help" and "-h" are always accepted.
struct command_syntax {
    std::vector<std::string> positionals;
    std::vector<option_rule> options;
};

struct parsed_args {
    bool help = false;
    std::vector<std::string> positionals;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::map<std::string, std::vector<std::string>> joined;  // every value, in order

    bool flag(const std::string& name) const { return flags.count(name) != 0; }
    std::optional<std::string> value(const std::string& name) const;
    std::vector<std::string> values_of(const std::string& name) const;
};

// Parses the arguments after the subcommand name. Options may come before, between
// or after the positionals; "--name=value" is accepted for long options; a joined
// option takes the rest of its word; "--" ends the options. Throws usage_error naming the bad
// argument, unless "--help" is given.
parsed_args parse_args(const command_syntax& syntax, const std::vector<std::string>& args);

}  // namespace scenario::cli
