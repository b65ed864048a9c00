#pragma once

#include "compiler/reading.hpp"

namespace scenario {

// The body entries of the line document, one per keyword. Each reads its own fields
// after the keyword field held in l.parola.
esito leggi_pendenza(lettura& l);
esito leggi_curva(lettura& l);
esito leggi_montagna(lettura& l);
esito leggi_indicatori(lettura& l);
esito leggi_cartello(lettura& l);

// After the body: the last gradient fills the cells up to N - 3 (at least one cell),
// and straight points continue the plan up to E - 2.
void completa_pendenze(lettura& l);
void completa_tracciato(lettura& l);

}  // namespace scenario
