#include "cli/text_table.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace scenario::cli {

text_table::text_table(std::vector<column> columns, std::ostream& out)
    : columns_(std::move(columns)), out_(out) {
    for (column& c : columns_) {
        c.width = std::max(c.width, c.name.size());
    }
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (!columns_[i].last) {
            order_.push_back(i);
        }
    }
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].last) {
            order_.push_back(i);
        }
    }
}

void text_table::print_head() {
    std::vector<std::string> names;
    for (const column& c : columns_) {
        names.push_back(c.name);
    }
    print_line(names);
}

void text_table::print_row(const std::vector<std::string>& texts) {
    print_line(texts);
}

void text_table::print_line(const std::vector<std::string>& texts) {
    static const std::string blank;
    line_.clear();
    for (std::size_t k = 0; k < order_.size(); ++k) {
        const std::size_t i = order_[k];
        const std::string& text = i < texts.size() ? texts[i] : blank;
        const std::size_t pad = columns_[i].width > text.size() ? columns_[i].width - text.size() : 0;
        if (k > 0) {
            line_.append(2, ' ');
        }
        if (columns_[i].right) {
            line_.append(pad, ' ');
            line_ += text;
        } else {
            line_ += text;
            line_.append(pad, ' ');
        }
    }
    while (!line_.empty() && line_.back() == ' ') {
        line_.pop_back();
    }
    line_ += '\n';
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

void append_double(std::string& out, double v) {
    if (std::isnan(v)) {
        out += "nan";
    } else if (std::isinf(v)) {
        out += v > 0 ? "inf" : "-inf";
    } else {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
        out.append(buffer, result.ptr);
    }
}

}  // namespace scenario::cli
