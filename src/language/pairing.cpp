#include "language/pairing.hpp"

#include "model/file_names.hpp"

namespace scenario::language {

namespace {

std::optional<pair_names> pair_of_line(std::string_view name, const std::string& scenario,
                                       std::span<const std::string> open,
                                       std::span<const std::string> on_disk) {
    pair_names pair{scenario, {}, std::string(name), std::nullopt};
    const auto take = [&](const std::string& file) {
        if (const std::optional<std::string> train = train_of_train_document(file, scenario)) {
            if (!pair.train_file || file < *pair.train_file) {
                pair.train = *train;
                pair.train_file = file;
            }
        }
    };
    for (const std::string& file : open) {
        if (!pair.train_file) {
            take(file);
        }
    }
    if (!pair.train_file) {
        for (const std::string& file : on_disk) {
            take(file);
        }
    }
    return pair;
}

std::optional<pair_names> pair_of_train(std::string_view name, std::span<const std::string> open,
                                        std::span<const std::string> on_disk) {
    pair_names pair;
    for (const std::span<const std::string> files : {open, on_disk}) {
        for (const std::string& file : files) {
            const std::optional<std::string> scenario = scenario_of_line_document(file);
            if (scenario && scenario->size() > pair.scenario.size() &&
                train_of_train_document(name, *scenario)) {
                pair.scenario = *scenario;
                pair.line_file = file;
            }
        }
    }
    if (!pair.line_file) {
        const std::size_t cut = name.find('_');
        if (cut == std::string_view::npos || cut == 0) {
            return std::nullopt;
        }
        pair.scenario = std::string(name.substr(0, cut));
    }
    const std::optional<std::string> train = train_of_train_document(name, pair.scenario);
    if (!train) {
        return std::nullopt;
    }
    pair.train = *train;
    pair.train_file = std::string(name);
    return pair;
}

}  // namespace

std::optional<pair_names> pair_of(std::string_view name, std::span<const std::string> open,
                                  std::span<const std::string> on_disk) {
    if (const std::optional<std::string> scenario = scenario_of_line_document(name)) {
        return pair_of_line(name, *scenario, open, on_disk);
    }
    if (looks_like_train_document(name)) {
        return pair_of_train(name, open, on_disk);
    }
    return std::nullopt;
}

}  // namespace scenario::language
