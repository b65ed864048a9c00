#include "compiler/field_reader.hpp"

#include <string>

#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr bool blank(char c) {
    return c == ' ' || c == '\t';
}

constexpr bool digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::size_t field_reader::line_break() const {
    if (pos_ < text_.size() && text_[pos_] == '\n') {
        return 1;
    }
    if (pos_ + 1 < text_.size() && text_[pos_] == '\r' && text_[pos_ + 1] == '\n') {
        return 2;
    }
    return 0;
}

void field_reader::take_line_break(std::size_t length) {
    pos_ += length;
    ++line_;
    line_start_ = pos_;
}

void field_reader::skip_blanks() {
    while (pos_ < text_.size() && blank(text_[pos_])) {
        ++pos_;
    }
}

void field_reader::fail(std::string_view name, std::string_view why) {
    failed_ = true;
    throw reader_failure(std::string(name) + ": " + std::string(why));
}

void field_reader::begin(std::string_view name) {
    last_name_ = name;
    if (at_end()) {
        fail(name, "end of document");
    }
    skip_blanks();
    const int column = static_cast<int>(pos_ - line_start_) + 1;
    const bool new_line = line_ != last_.line;
    last_ = field_place{line_start_, pos_, line_, column, column};
    ++count_;
    if (new_line) {
        line_first_ = last_;
        line_first_name_ = name;
    }
    // An empty field that a comma ends right after the comma before it.
    if (pos_ < text_.size() && text_[pos_] == ',' && pos_ > 0 && text_[pos_ - 1] == ',') {
        double_comma_ = last_;
    }
}

void field_reader::extend(std::size_t end) {
    if (end > last_.offset) {
        last_.end_column = static_cast<int>(end - line_start_);
        if (line_first_.offset == last_.offset) {
            line_first_.end_column = last_.end_column;
        }
    }
}

std::string_view field_reader::text(std::string_view name) {
    begin(name);
    last_was_text_ = true;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && line_break() == 0) {
        ++pos_;
    }
    std::size_t end = pos_;
    while (end > start && blank(text_[end - 1])) {
        --end;
    }
    extend(end);
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
    } else if (const std::size_t n = line_break(); n != 0) {
        take_line_break(n);
    }
    return text_.substr(start, end - start);
}

std::int64_t field_reader::number_in(std::string_view name, std::int64_t lowest,
                                     std::int64_t highest) {
    begin(name);
    last_was_text_ = false;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !blank(text_[pos_]) && line_break() == 0) {
        ++pos_;
    }
    const std::string_view written = text_.substr(start, pos_ - start);
    extend(pos_);
    skip_blanks();
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
    } else if (const std::size_t n = line_break(); n != 0) {
        take_line_break(n);
    }

    if (written.empty()) {
        last_.empty = true;
        return 0;
    }
    const bool negative = written.front() == '-';
    const std::string_view digits = negative ? written.substr(1) : written;
    if (digits.empty()) {
        fail(name, std::string("\"").append(written).append("\" is not a number"));
    }
    // Twelve significant digits already exceed every destination; stop counting there
    // so that a long run of digits cannot overflow.
    constexpr std::int64_t limit = 1'000'000'000'000;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (!digit(c)) {
            fail(name, std::string("\"").append(written).append("\" is not a number"));
        }
        if (value < limit) {
            value = value * 10 + (c - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < lowest || value > highest) {
        fail(name, "value " + std::string(written) + " does not fit its field (" +
                       std::to_string(lowest) + " to " + std::to_string(highest) + ")");
    }
    return value;
}

std::string_view field_reader::line_of(const field_place& place) const {
    if (place.line == 0 || place.line_start > text_.size()) {
        return {};
    }
    std::string_view rest = text_.substr(place.line_start);
    rest = rest.substr(0, rest.find('\n'));
    if (!rest.empty() && rest.back() == '\r') {
        rest.remove_suffix(1);
    }
    return rest;
}

std::string_view field_reader::rest_of_line(field_place& place) const {
    std::size_t from = pos_;
    while (from < text_.size() && blank(text_[from])) {
        ++from;
    }
    std::size_t to = from;
    while (to < text_.size() && text_[to] != '\n' && text_[to] != '\r') {
        ++to;
    }
    while (to > from && blank(text_[to - 1])) {
        --to;
    }
    if (to == from) {
        place = field_place{};
        return {};
    }
    place = field_place{line_start_, from, line_, static_cast<int>(from - line_start_) + 1,
                        static_cast<int>(to - line_start_)};
    return text_.substr(from, to - from);
}

}  // namespace scenario
