#pragma once

#include "documents/document_target.hpp"
#include "documents/document_writer.hpp"

namespace scenario {

// The five documents of the built-in scenario. Each is a fixed list of lines; the
// writers compute nothing but the file name, from the target's folder and names.

// Line description document, read back by the compiler.
line_list line_document_lines();
void dati_linea(const document_target& t);

// Train description document, read back by the compiler.
line_list train_document_lines();
void dati_treno(const document_target& t);

// Notes for the driver; lines 1 to 4 hold Windows-1252 letters (bytes E8, F2, F9).
line_list notes_lines();
void dati_note(const document_target& t);

// Slow-order form.
line_list slow_order_lines();
void dati_rallentamenti(const document_target& t);

// Timetable sheet.
line_list timetable_lines();
void dati_scheda(const document_target& t);

// Writes all five in the order of a run: line, train, notes, slow-order form,
// timetable sheet. A failure stops there: the documents before it stay written.
void write_built_in_documents(const document_target& t);

}  // namespace scenario
