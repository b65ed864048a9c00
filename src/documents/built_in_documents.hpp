#pragma once

#include "documents/document_target.hpp"
#include "documents/document_writer.hpp"

namespace scenario {

// The five documents of the built-in scenario. Each is a fixed list of lines; the
// writers compute nothing but the file name, from the target's folder and names.

// Line description document, read back by the compiler.
line_list righe_linea();
void dati_linea(const document_target& t);

// Train description document, read back by the compiler.
line_list righe_treno();
void dati_treno(const document_target& t);

// Notes for the driver; lines 1 to 4 hold Windows-1252 letters (bytes E8, F2, F9).
line_list righe_note();
void dati_note(const document_target& t);

// Slow-order form.
line_list righe_rallentamenti();
void dati_rallentamenti(const document_target& t);

// Timetable sheet.
line_list righe_scheda();
void dati_scheda(const document_target& t);

// Writes all five in the order of a run: line, train, notes, slow-order form,
// timetable sheet. A failure stops there: the documents before it stay written.
void scrivi_documenti_incorporati(const document_target& t);

}  // namespace scenario
