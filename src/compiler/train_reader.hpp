#pragma once

#include "compiler/reading.hpp"

namespace scenario {

// The train part of memorizza_dati: reads the train document into voci and celle,
// deletes it, finishes the speed and adhesion profiles and checks the
// kilometre-reference zones.
void leggi_documento_treno(lettura& l);

// The train entries, one per keyword. Each reads its own fields after the keyword
// field held in l.parola.
esito leggi_massa_frenata(lettura& l);
esito leggi_vetture(lettura& l);
esito leggi_velocita(lettura& l);
esito leggi_aderenza(lettura& l);
esito leggi_orologio(lettura& l);
esito leggi_sabbia(lettura& l);
esito leggi_segnale(lettura& l);
esito leggi_rallentamento(lettura& l);
esito leggi_abbattimento(lettura& l);
esito leggi_stazione(lettura& l);

// After the train document: the last speed and adhesion fill the cells up to N - 3
// (at least one cell each).
void completa_velocita(lettura& l);
void completa_aderenza(lettura& l);
// Error 2 when a zone bound in entries 81 to 83 is not a multiple of 50.
void controlla_zone(lettura& l);

}  // namespace scenario
