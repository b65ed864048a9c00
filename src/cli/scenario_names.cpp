#include "cli/scenario_names.hpp"

#include "cli/command_table.hpp"
#include "files/file_ops.hpp"
#include "model/file_names.hpp"

namespace scenario::cli {

namespace {

// A name given as an option becomes part of the output file names: it must not lead
// them into another folder.
void check_option_name(const std::string& name, const char* option) {
    if (name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
        throw usage_error(std::string("the name given with ") + option + " (\"" + name +
                          "\") holds a path separator; give a plain name");
    }
}

usage_error no_scenario_name(std::string_view line) {
    return usage_error("cannot take the scenario name from \"" + std::string(line) +
                       "\": the name does not end in \"_linea.txt\" after a scenario "
                       "name; give it with --scenario NAME");
}

usage_error no_train_name(std::string_view train, const std::string& scenario) {
    return usage_error("cannot take the train name from \"" + std::string(train) +
                       "\": the name is not \"" + scenario +
                       "_\", a train name and \"-.txt\"; give it with --train NAME");
}

}  // namespace

scenario_names derive_names(const std::string& line_path, const std::string& train_path,
                            const std::optional<std::string>& scenario_option,
                            const std::optional<std::string>& train_option) {
    const std::string_view line = file_name_of(line_path);
    const std::string_view train = file_name_of(train_path);
    scenario_names names;
    if (scenario_option) {
        check_option_name(*scenario_option, "--scenario");
        names.scenario = *scenario_option;
    } else if (const auto s = scenario_of_line_document(line)) {
        names.scenario = *s;
    } else if (const auto swapped = scenario_of_line_document(train);
               swapped && !train_option && train_of_train_document(line, *swapped)) {
        return {*swapped, *train_of_train_document(line, *swapped)};
    } else {
        throw no_scenario_name(line);
    }
    if (train_option) {
        check_option_name(*train_option, "--train");
        names.train = *train_option;
    } else if (const auto t = train_of_train_document(train, names.scenario)) {
        names.train = *t;
    } else {
        throw no_train_name(train, names.scenario);
    }
    return names;
}

compile_request request_of(const parsed_args& args) {
    const std::string& line = args.positionals[0];
    const std::string& train = args.positionals[1];
    const scenario_names names =
        derive_names(line, train, args.value("--scenario"), args.value("--train"));
    compile_request request;
    request.scenario = names.scenario;
    request.train = names.train;
    request.line = document_source{line, std::nullopt};
    request.train_document = document_source{train, std::nullopt};
    request.plan = !args.flag("--no-plan");
    request.encoding = input_encoding(args);
    request.timetable.acceleration = acceleration(args);
    return request;
}

}  // namespace scenario::cli
