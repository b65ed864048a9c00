#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace scenario {

// Where a field of a document lies: byte offset, 1-based line, first and last column
// (columns count characters, which are single bytes; an empty field has its last
// column on its first). riga 0 means no field.
struct campo {
    std::size_t inizio_riga = 0;  // offset of the first byte of the field's line
    std::size_t offset = 0;
    int riga = 0;
    int colonna = 0;
    int ultima_colonna = 0;
};

// A cursor over one scenario document held in memory, cutting it into fields.
//
// - Blanks are spaces and tabs. A line ends with CR LF or with a lone LF.
// - Text field: leading blanks dropped; runs to the next comma or the end of the
//   line; the comma, or the line break, is consumed. Trailing blanks are dropped.
// - Number field: leading blanks dropped; an optional "-" and decimal digits, ending
//   at a comma, a blank or the end of the line. The blanks after it are consumed,
//   then either one comma or one line break. An empty field reads as 0.
// - End of document: nothing at all is left to read.
//
// Any field that cannot be read (the document has ended, the text is not a number,
// the value does not fit its destination) throws reader_failure, naming the field.
class field_reader {
  public:
    field_reader() = default;
    explicit field_reader(std::string_view testo) : testo_(testo) {}

    // A text field; the view points into the document.
    std::string_view testo(const char* nome);

    // A number field stored at the width of T (uint8_t, int16_t or int32_t).
    template <typename T>
    T numero(const char* nome) {
        return static_cast<T>(
            numero_in(nome, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
    }

    bool fine() const { return pos_ >= testo_.size(); }

    // The field last read or attempted. After a read past the end of the document
    // this stays the last field that was read.
    const campo& ultimo() const { return ultimo_; }
    // Whether a read has failed (then ultimo() is the field that failed).
    bool fallito() const { return fallito_; }

    // The text of the line that holds a field, without its line break.
    std::string_view riga_di(const campo& c) const;

  private:
    std::int64_t numero_in(const char* nome, std::int64_t minimo, std::int64_t massimo);
    void inizia(const char* nome);
    // Sets the last column of the field just read, which ends before byte `fine`.
    void estendi(std::size_t fine);
    std::size_t a_capo() const;
    void consuma_a_capo(std::size_t lunghezza);
    void salta_spazi();
    [[noreturn]] void fallisci(const char* nome, std::string_view perche);

    std::string_view testo_;
    std::size_t pos_ = 0;
    std::size_t inizio_riga_ = 0;
    int riga_ = 1;
    campo ultimo_;
    bool fallito_ = false;
};

}  // namespace scenario
