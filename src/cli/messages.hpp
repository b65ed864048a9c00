#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace scenario::cli {

// The plain sentence for one error number: what is wrong, and what to change.
struct error_text {
    std::int32_t numero;
    const char* problema;
    const char* rimedio;
    // The compiler's detail states in full what is wrong (which cell, which element):
    // with a detail the sentence is the detail, then what to change.
    bool dettaglio_completo = false;
};

// Every error number the compiler can record or raise, in ascending order.
std::span<const error_text> error_texts();

// The entry for an error number, or nullptr for a number the compiler never records.
const error_text* find_error_text(std::int32_t numero);

// The whole sentence: what is wrong, with the detail the compiler gave (which field,
// which cell and element) when there is one, then what to change.
std::string error_message(std::int32_t numero, const std::string& dettaglio);

}  // namespace scenario::cli
