#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <type_traits>

namespace scenario {

template <typename>
struct member_of;
template <typename R, typename T>
struct member_of<T R::*> {
    using record = R;
    using type = T;
};

// One field of a record as the files store it: its name and the member that holds it.
// The member's type gives the rest: an integer of 1, 2 or 4 bytes, signed or not, or
// a text of any length (std::string). The member is part of the type, so code that
// walks a field list compiles to the same loads and stores as code naming each member.
template <auto Member>
struct record_field {
    using record = typename member_of<decltype(Member)>::record;
    using type = typename member_of<decltype(Member)>::type;
    // An enumeration is stored as its underlying integer.
    using integer = typename std::conditional_t<std::is_enum_v<type>, std::underlying_type<type>,
                                                std::type_identity<type>>::type;
    static constexpr auto member = Member;
    static constexpr bool is_text = std::is_same_v<type, std::string>;
    static constexpr bool is_signed = std::is_signed_v<integer>;
    // The bytes of an integer field; a text's length is its own.
    static constexpr std::size_t width = is_text ? 0 : sizeof(type);

    static_assert(is_text || (std::is_integral_v<integer> && (width == 1 || width == 2 || width == 4)),
                  "a record field is an integer of 1, 2 or 4 bytes or a text");

    const char* name;

    // An integer field's value as the files hold it, and back.
    static constexpr integer stored(const record& r) { return static_cast<integer>(r.*member); }
    static constexpr void store(record& r, integer v) { r.*member = static_cast<type>(v); }
};

// Calls f on every field of a list (a tuple of record_field), in order.
template <typename Fields, typename F>
constexpr void for_each_field(const Fields& fields, F&& f) {
    std::apply([&](const auto&... field) { (f(field), ...); }, fields);
}

// The bytes of the integer fields of a list.
template <typename Fields>
constexpr std::size_t integer_bytes(const Fields& fields) {
    std::size_t bytes = 0;
    for_each_field(fields, [&](const auto& field) { bytes += field.width; });
    return bytes;
}

// Whether a field of a list is the given member.
template <typename Field, auto Member>
constexpr bool is_member() {
    if constexpr (std::is_same_v<std::remove_cv_t<decltype(Field::member)>, decltype(Member)>) {
        return Field::member == Member;
    } else {
        return false;
    }
}

// The number of members of an aggregate, so that a field list can be checked to name
// them all.
namespace detail {
struct any_member {
    template <typename T>
    constexpr operator T() const {
        return T{};
    }
};
template <typename R, typename... A>
constexpr std::size_t member_count() {
    if constexpr (requires { R{A{}..., any_member{}}; }) {
        return member_count<R, A..., any_member>();
    } else {
        return sizeof...(A);
    }
}
}  // namespace detail

template <typename R>
constexpr std::size_t member_count = detail::member_count<R>();

}  // namespace scenario
