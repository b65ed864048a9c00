#include "cli/scenario_names.hpp"

#include "cli/args.hpp"

namespace scenario::cli {

namespace {

constexpr std::string_view line_ending = "_linea.txt";
constexpr std::string_view train_ending = "-.txt";

bool ends_with(const std::string& s, std::string_view end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// A name given as an option becomes part of the output file names: it must not lead
// them into another folder.
void check_option_name(const std::string& name, const char* option) {
    if (name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
        throw usage_error(std::string("the name given with ") + option + " (\"" + name +
                          "\") holds a path separator; give a plain name");
    }
}

}  // namespace

std::string file_name_of(const std::string& path) {
#ifdef _WIN32
    const auto cut = path.find_last_of("/\\");
#else
    const auto cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

scenario_names derive_names(const std::string& line_path, const std::string& train_path,
                            const std::optional<std::string>& scenario_option,
                            const std::optional<std::string>& train_option) {
    scenario_names names;
    if (scenario_option) {
        check_option_name(*scenario_option, "--scenario");
        names.scenario = *scenario_option;
    } else {
        const std::string line = file_name_of(line_path);
        if (!ends_with(line, line_ending) || line.size() == line_ending.size()) {
            throw usage_error("cannot take the scenario name from \"" + line +
                              "\": the name does not end in \"_linea.txt\" after a scenario "
                              "name; give it with --scenario NAME");
        }
        names.scenario = line.substr(0, line.size() - line_ending.size());
    }
    if (train_option) {
        check_option_name(*train_option, "--train");
        names.train = *train_option;
    } else {
        const std::string train = file_name_of(train_path);
        const std::string start = names.scenario + "_";
        if (train.size() <= start.size() + train_ending.size() || train.rfind(start, 0) != 0 ||
            !ends_with(train, train_ending)) {
            throw usage_error("cannot take the train name from \"" + train +
                              "\": the name is not \"" + names.scenario +
                              "_\", a train name and \"-.txt\"; give it with --train NAME");
        }
        names.train = train.substr(start.size(), train.size() - start.size() - train_ending.size());
    }
    return names;
}

}  // namespace scenario::cli
