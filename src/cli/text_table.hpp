#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scenario::cli {

// A table printed with aligned columns: numbers to the right, texts to the left, two
// blanks between columns, no blanks at the end of a line.
class text_table {
  public:
    struct column {
        std::string name;
        bool right = true;
    };
    explicit text_table(std::vector<column> columns) : columns_(std::move(columns)) {}

    void add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
    std::size_t rows() const { return rows_.size(); }
    void print(std::ostream& out) const;

  private:
    std::vector<column> columns_;
    std::vector<std::vector<std::string>> rows_;
};

// The shortest decimal text that reads back as v ("nan", "inf" and "-inf" as such).
std::string format_double(double v);

}  // namespace scenario::cli
