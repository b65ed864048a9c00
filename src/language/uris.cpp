#include "language/uris.hpp"

#include <cctype>

namespace scenario::language {

namespace {

constexpr std::string_view scheme = "file://";

int hex_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string decoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() + 0 && hex_value(s[i + 1]) >= 0 &&
            hex_value(s[i + 2]) >= 0) {
            out += static_cast<char>(hex_value(s[i + 1]) * 16 + hex_value(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string encoded(std::string_view s) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (std::isalnum(b) != 0 || c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += digits[b >> 4];
            out += digits[b & 15];
        }
    }
    return out;
}

}  // namespace

std::string path_of_uri(std::string_view uri) {
    if (!uri.starts_with(scheme)) {
        return {};
    }
    uri.remove_prefix(scheme.size());
    const auto slash = uri.find('/');  // after the host, empty for local files
    if (slash == std::string_view::npos) {
        return {};
    }
    std::string path = decoded(uri.substr(slash));
    if (path.size() >= 3 && path[0] == '/' && std::isalpha(static_cast<unsigned char>(path[1])) != 0 &&
        path[2] == ':') {
        path.erase(0, 1);  // a drive letter
    }
    return path;
}

std::string name_of_uri(std::string_view uri) {
    const auto slash = uri.rfind('/');
    return decoded(slash == std::string_view::npos ? uri : uri.substr(slash + 1));
}

std::string sibling_uri(std::string_view uri, std::string_view name) {
    const auto slash = uri.rfind('/');
    return std::string(uri.substr(0, slash == std::string_view::npos ? 0 : slash + 1)) +
           encoded(name);
}

std::string folder_of_uri(std::string_view uri) {
    const std::string path = path_of_uri(uri);
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace scenario::language
