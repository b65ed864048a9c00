#pragma once

#include "compiler/reading.hpp"

namespace scenario {

// The line part of memorizza_dati: finds the line document, reads its general part
// and its body into voci, celle and tracciato, deletes it and finishes the gradient
// profile and the plan. Returns true when the train document is to be read next
// (also after error 15), false after any other recorded error.
bool leggi_documento_linea(lettura& l);

// The general-part entries, one per keyword.
esito leggi_lunghezza(lettura& l);
esito leggi_zona(lettura& l, int indice);
esito leggi_sfondo(lettura& l, std::int32_t voce::*campo, const char* nome);
esito leggi_ripetizione(lettura& l);

}  // namespace scenario
