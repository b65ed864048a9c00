// Prints what the formatter makes of a document: "format_file line|train FILE".
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "format/format.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: format_file line|train FILE\n";
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto kind = std::string(argv[1]) == "line" ? scenario::source_document::line
                                                      : scenario::source_document::train;
    std::cout << scenario::format_document(text, kind);
    return in ? 0 : 1;
}
