#pragma once

#include <initializer_list>
#include <string>

#include "files/stores.hpp"
#include "compiler/memorizza_dati.hpp"
#include "model/file_names.hpp"
#include "model/run_state.hpp"

namespace scenario::testing {

inline const std::string linea = "S_linea.txt";
inline const std::string treno = "S_T-.txt";

// A document: every line followed by CR LF.
inline std::string documento(std::initializer_list<std::string> righe) {
    std::string testo;
    for (const std::string& r : righe) {
        testo += r + "\r\n";
    }
    return testo;
}

// A line document with the given route length and body lines after "[curve]".
inline std::string documento_linea(int lunghezza, std::initializer_list<std::string> corpo) {
    std::string testo =
        documento({"[generale]", "lunghezza percorso,    " + std::to_string(lunghezza), "[curve]"});
    for (const std::string& r : corpo) {
        testo += r + "\r\n";
    }
    return testo + "[fine]\r\n";
}

// A train document with the given lines after "[generale]".
inline std::string documento_treno(std::initializer_list<std::string> righe) {
    std::string testo = "[generale]\r\n";
    for (const std::string& r : righe) {
        testo += r + "\r\n";
    }
    return testo + "[fine]\r\n";
}

// One compile of documents held in memory, as the run does it: a fresh state with the
// plan switch, then memorizza_dati.
struct compilato {
    run_state stato;
    memory_store store;

    compilato(const std::string* testo_linea, const std::string* testo_treno,
              std::int32_t con_tracciato = 1) {
        // Appended, not assigned: g++ 12 at -O3 warns (-Wrestrict) on assigning a literal.
        stato.nome_scenario.append("S");
        stato.nome_treno.append("T");
        stato.con_tracciato = con_tracciato;
        if (testo_linea != nullptr) {
            store.put(linea, *testo_linea);
        }
        if (testo_treno != nullptr) {
            store.put(treno, *testo_treno);
        }
        memorizza_dati(stato, store);
    }
    compilato(const std::string& testo_linea, const std::string& testo_treno,
              std::int32_t con_tracciato = 1)
        : compilato(&testo_linea, &testo_treno, con_tracciato) {}

    bool eliminato(const std::string& nome) const { return store.removed().count(nome) != 0; }
    std::int64_t n() const { return static_cast<std::int64_t>(stato.celle.size()) - 1; }
    const cella& c(std::int64_t i) const { return stato.celle.at(static_cast<std::size_t>(i)); }
};

// Route length -6000 gives a small grid: E = 1000, N = 20.
constexpr int lunghezza_piccola = -6000;

}  // namespace scenario::testing
