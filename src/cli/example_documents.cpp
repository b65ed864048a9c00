#include "cli/example_documents.hpp"

namespace scenario::cli {

// TODO(after the document writers land): call the function that writes the five
// built-in documents into a folder, and report true below.
std::vector<std::string> scrivi_documenti_esempio(const std::string& cartella, char separatore) {
    (void)cartella;
    (void)separatore;
    return {};
}

bool documenti_esempio_disponibili() {
    return false;
}

}  // namespace scenario::cli
