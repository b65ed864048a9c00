#include "language/params.hpp"

#include <limits>

#include "language/request_error.hpp"

namespace scenario::language {

namespace {

using json = nlohmann::json;

[[noreturn]] void refuse(const std::string& where, const char* what) {
    throw request_error(error_code::invalid_params, where + " is not " + what);
}

const json& member(const json& object, const std::string& where, const char* name) {
    if (!object.is_object()) {
        refuse(where, "an object");
    }
    const auto it = object.find(name);
    if (it == object.end()) {
        throw request_error(error_code::invalid_params, where + "." + name + " is missing");
    }
    return *it;
}

std::string string_member(const json& object, const std::string& where, const char* name) {
    const json& value = member(object, where, name);
    if (!value.is_string()) {
        refuse(where + "." + name, "a string");
    }
    return value.get<std::string>();
}

int count_member(const json& object, const std::string& where, const char* name) {
    const json& value = member(object, where, name);
    if (!value.is_number_integer() || value.get<std::int64_t>() < 0 ||
        value.get<std::int64_t>() > std::numeric_limits<int>::max()) {
        refuse(where + "." + name, "a whole number from 0");
    }
    return static_cast<int>(value.get<std::int64_t>());
}

text_position position_at(const json& object, const std::string& where) {
    return {count_member(object, where, "line"), count_member(object, where, "character")};
}

text_range range_at(const json& object, const std::string& where) {
    return {position_at(member(object, where, "start"), where + ".start"),
            position_at(member(object, where, "end"), where + ".end")};
}

}  // namespace

std::string document_uri(const json& params) {
    return string_member(member(params, "params", "textDocument"), "params.textDocument", "uri");
}

std::string document_text_of(const json& params) {
    return string_member(member(params, "params", "textDocument"), "params.textDocument", "text");
}

text_position position_of(const json& params) {
    return position_at(member(params, "params", "position"), "params.position");
}

text_range range_of(const json& params) {
    return range_at(member(params, "params", "range"), "params.range");
}

std::optional<std::vector<std::string>> action_kinds(const json& params) {
    const json& context = member(params, "params", "context");
    if (!context.is_object()) {
        refuse("params.context", "an object");
    }
    if (!context.contains("only")) {
        return std::nullopt;
    }
    const json& only = context["only"];
    if (!only.is_array()) {
        refuse("params.context.only", "an array");
    }
    std::vector<std::string> kinds;
    for (std::size_t i = 0; i < only.size(); ++i) {
        if (!only[i].is_string()) {
            refuse("params.context.only[" + std::to_string(i) + "]", "a string");
        }
        kinds.push_back(only[i].get<std::string>());
    }
    return kinds;
}

std::vector<content_change> content_changes(const json& params) {
    const json& changes = member(params, "params", "contentChanges");
    if (!changes.is_array()) {
        refuse("params.contentChanges", "an array");
    }
    std::vector<content_change> out;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const std::string where = "params.contentChanges[" + std::to_string(i) + "]";
        content_change c{std::nullopt, string_member(changes[i], where, "text")};
        if (changes[i].contains("range")) {
            c.range = range_at(changes[i]["range"], where + ".range");
        }
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace scenario::language
