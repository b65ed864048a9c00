#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scenario::cli {

// A table printed line by line as its rows come, so that a table of any length takes
// no more memory than one row. Every column has a fixed width, known before the first
// row: numbers to the right, texts to the left, two blanks between columns, no blanks
// at the end of a line. A value wider than its column pushes the rest of its line to
// the right. A column marked `last` is printed after all the others whatever its place
// in the list (for a text of any length).
class text_table {
  public:
    struct column {
        std::string name;
        bool right = true;
        std::size_t width = 0;  // at least the name's width is taken
        bool last = false;
    };
    text_table(std::vector<column> columns, std::ostream& out);

    std::size_t columns() const { return columns_.size(); }
    // The line of column names.
    void print_head();
    // One line: the texts in the order of the columns (missing ones are blank).
    void print_row(const std::vector<std::string>& texts);

  private:
    void print_line(const std::vector<std::string>& texts);

    std::vector<column> columns_;
    std::vector<std::size_t> order_;  // the columns in the order they are printed
    std::ostream& out_;
    std::string line_;
};

// Appends the shortest decimal text that reads back as v ("nan", "inf" and "-inf" as
// such).
void append_double(std::string& out, double v);

}  // namespace scenario::cli
