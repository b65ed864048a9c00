#pragma once

#include <string>
#include <string_view>

namespace scenario::language {

// The "file" URIs the editor names documents by: "file:///folder/name", with bytes
// outside the unreserved ones written %XX.

// The path a file URI stands for ("file:///C:/x" is "C:/x"); empty for another scheme.
std::string path_of_uri(std::string_view uri);
// The document's file name, decoded.
std::string name_of_uri(std::string_view uri);
// The URI of another file in the same folder.
std::string sibling_uri(std::string_view uri, std::string_view name);
// The folder's path.
std::string folder_of_uri(std::string_view uri);

}  // namespace scenario::language
