#include "format/format.hpp"

namespace scenario {

std::string format_document(std::string_view text, source_document) {
    return std::string(text);
}

}  // namespace scenario
