#include "cli/text_table.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace scenario::cli {

void text_table::print(std::ostream& out) const {
    std::vector<std::size_t> widths;
    for (const column& c : columns_) {
        widths.push_back(c.name.size());
    }
    for (const auto& row : rows_) {
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    const auto print_row = [&](const auto& cell_text) {
        std::string line;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const std::string text = cell_text(i);
            const std::string pad(widths[i] - text.size(), ' ');
            if (i > 0) {
                line += "  ";
            }
            line += columns_[i].right ? pad + text : text + pad;
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        out << line << '\n';
    };
    print_row([&](std::size_t i) { return columns_[i].name; });
    for (const auto& row : rows_) {
        print_row([&](std::size_t i) { return i < row.size() ? row[i] : std::string(); });
    }
}

std::string format_double(double v) {
    if (std::isnan(v)) {
        return "nan";
    }
    if (std::isinf(v)) {
        return v > 0 ? "inf" : "-inf";
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

}  // namespace scenario::cli
