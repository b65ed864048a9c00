#include "model/file_names.hpp"

#include <algorithm>

namespace scenario {

namespace {

constexpr char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_case_free(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool ends_case_free(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && same_case_free(s.substr(s.size() - end.size()), end);
}

}  // namespace

std::optional<std::string> scenario_of_line_document(std::string_view file_name) {
    if (file_name.size() <= line_document_ending.size() ||
        !ends_case_free(file_name, line_document_ending)) {
        return std::nullopt;
    }
    return std::string(file_name.substr(0, file_name.size() - line_document_ending.size()));
}

bool looks_like_train_document(std::string_view file_name) {
    return file_name.size() > train_document_ending.size() &&
           ends_case_free(file_name, train_document_ending) && !scenario_of_line_document(file_name);
}

std::optional<std::string> train_of_train_document(std::string_view file_name,
                                                   std::string_view scenario) {
    const std::size_t start = scenario.size() + 1;
    if (file_name.size() <= start + train_document_ending.size() ||
        !same_case_free(file_name.substr(0, scenario.size()), scenario) ||
        file_name[scenario.size()] != '_' || !ends_case_free(file_name, train_document_ending)) {
        return std::nullopt;
    }
    return std::string(
        file_name.substr(start, file_name.size() - start - train_document_ending.size()));
}

}  // namespace scenario
