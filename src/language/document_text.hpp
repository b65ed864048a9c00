#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::language {

// A place in the editor's text as the protocol counts it: a line from 0 and a column
// in UTF-16 code units from 0.
struct text_position {
    int line = 0;
    int character = 0;

    auto operator<=>(const text_position&) const = default;
};

// A range of the editor's text, from start to end (excluded).
struct text_range {
    text_position start;
    text_position end;
};

// A character of the editor's text that a scenario document cannot hold, where it is
// (line and column from 1, counting characters) and what it is.
struct text_fault {
    int line = 0;
    int column = 0;
    std::string what;
};

// One document as the editor sees it (Unicode, UTF-8 here) and as the compiler reads
// it (Windows-1252, one byte per character). The two have the same characters, one
// for one: a character Windows-1252 cannot hold is "?" for the compiler and a fault,
// and a byte that is not UTF-8 (in a document read as UTF-8) is U+FFFD for the editor
// and "?" for the compiler. Lines end with LF (CR LF counts as one line break, as the
// compiler reads it; a lone CR stays inside its line).
class document_text {
  public:
    document_text() = default;
    // From the editor's text, or a document read as UTF-8.
    static document_text from_unicode(std::string_view utf8);
    // From a document read as Windows-1252.
    static document_text from_windows1252(std::string_view bytes);

    const std::string& unicode() const { return unicode_; }
    const std::string& bytes() const { return bytes_; }
    const std::vector<text_fault>& faults() const { return faults_; }

    int line_count() const { return static_cast<int>(starts_.size()); }
    // A line without its line break (CR LF or LF), in each form.
    std::string_view unicode_line(int line) const;
    std::string_view byte_line(int line) const;
    // The line break that ends a line as the text has it: "\r\n", "\n", or "" for the
    // last line.
    std::string_view line_end(int line) const;

    // The UTF-16 column of character column `column` (from 1, as the diagnostics count)
    // of line `line` (from 1); past the end of the line, the line's end.
    text_position position_of(int line, int column) const;
    // The end of the text.
    text_position end() const;
    // The range of a field (line from 1, columns from 1, both ends included); the whole
    // line for column 0, the text's start for line 0.
    text_range field_range(int line, int column, int end_column) const;
    // The character column (from 1) at an editor position; past the line's end, one
    // after its last character.
    int column_at(const text_position& p) const;
    // The byte offset in unicode() of an editor position (clamped to the text).
    std::size_t offset_of(const text_position& p) const;

    // Replaces a range of the editor's text (from start to end, both editor
    // positions) with new text.
    void replace(const text_position& start, const text_position& end, std::string_view text);

  private:
    void index();

    std::string unicode_;
    std::string bytes_;
    std::vector<text_fault> faults_;
    std::vector<std::size_t> starts_;       // offset in unicode_ of each line
    std::vector<std::size_t> byte_starts_;  // offset in bytes_ of each line
};

}  // namespace scenario::language
