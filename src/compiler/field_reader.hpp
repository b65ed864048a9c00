#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace scenario {

// Where a field of a document lies: byte offset, 1-based line, first and last column
// (columns count characters, which are single bytes; an empty field has its last
// column on its first). Line 0 means no field.
struct field_place {
    std::size_t line_start = 0;  // offset of the first byte of the field's line
    std::size_t offset = 0;
    int line = 0;
    int column = 0;
    int end_column = 0;
    bool empty = false;  // a number field with nothing in it, read as 0
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
// The names are kept as given: they must outlive the reader (literals, or the
// description of the documents).
class field_reader {
  public:
    field_reader() = default;
    explicit field_reader(std::string_view document) : text_(document) {}

    // A text field; the view points into the document.
    std::string_view text(std::string_view name);

    // A number field stored at the width of T (uint8_t, int16_t or int32_t).
    template <typename T>
    T number(std::string_view name) {
        return static_cast<T>(
            number_in(name, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
    }

    bool at_end() const { return pos_ >= text_.size(); }

    // The field last read or attempted. After a read past the end of the document
    // this stays the last field that was read.
    const field_place& last() const { return last_; }
    // Whether a read has failed (then last() is the field that failed).
    bool failed() const { return failed_; }

    // The text of the line that holds a field, without its line break.
    std::string_view line_of(const field_place& place) const;

    // Whether the cursor stands at the start of a line: the field read next begins a line.
    bool at_line_start() const { return pos_ == line_start_; }
    // What is left of the current line after the cursor, without the blanks around it,
    // and where it lies (line 0 when nothing but blanks is left).
    std::string_view rest_of_line(field_place& place) const;
    // The first field read (or attempted) on the latest line a field was read from, and
    // its name.
    const field_place& line_first() const { return line_first_; }
    std::string_view line_first_name() const { return line_first_name_; }
    // How many fields have been read or attempted.
    std::size_t count() const { return count_; }

    // The name of the field last read or attempted, and whether it was a text field.
    std::string_view last_name() const { return last_name_; }
    bool last_was_text() const { return last_was_text_; }

    // The last empty field read that two commas in a row made (line 0 for none), until
    // forgotten.
    const field_place& double_comma() const { return double_comma_; }
    void forget_double_comma() { double_comma_ = field_place{}; }

  private:
    std::int64_t number_in(std::string_view name, std::int64_t lowest, std::int64_t highest);
    void begin(std::string_view name);
    // Sets the last column of the field just read, which ends before byte `end`.
    void extend(std::size_t end);
    // The length of the line break at the cursor (0 when there is none).
    std::size_t line_break() const;
    void take_line_break(std::size_t length);
    void skip_blanks();
    [[noreturn]] void fail(std::string_view name, std::string_view why);

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_start_ = 0;
    int line_ = 1;
    field_place last_;
    bool failed_ = false;
    std::string_view last_name_;
    bool last_was_text_ = false;
    field_place double_comma_;
    field_place line_first_;
    std::string_view line_first_name_;
    std::size_t count_ = 0;
};

}  // namespace scenario
