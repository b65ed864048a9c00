#include "model/clock.hpp"

namespace scenario {

namespace {

std::string two_digits(std::int64_t v) {
    std::string text = v >= 0 && v < 10 ? "0" : "";
    return text.append(std::to_string(v));
}

}  // namespace

std::string clock_text(std::int64_t seconds) {
    const std::uint64_t s =
        seconds < 0 ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
    const auto part = [](std::uint64_t v) { return two_digits(static_cast<std::int64_t>(v)); };
    std::string text = seconds < 0 ? "-" : "";
    return text.append(part(s / 3600))
        .append(":")
        .append(part(s / 60 % 60))
        .append(":")
        .append(part(s % 60));
}

std::string clock_text(std::int64_t hours, std::int64_t minutes, std::int64_t seconds) {
    return two_digits(hours) + ":" + two_digits(minutes) + ":" + two_digits(seconds);
}

}  // namespace scenario
