#include "files/header_file.hpp"

#include <algorithm>
#include <limits>
#include <string>

#include "files/block_buffer.hpp"
#include "files/byte_reader.hpp"
#include "files/file_error.hpp"

namespace scenario {

std::uint64_t header_record_size(const voce& v) {
    std::uint64_t bytes = header_record_fixed_bytes;
    for_each_field(voce_fields, [&](auto field) {
        if constexpr (field.is_text) {
            bytes += (v.*field.member).size();
        }
    });
    return bytes;
}

static_assert(longest_text == std::numeric_limits<header_text_length>::max());

std::optional<std::size_t> first_unencodable_record(const tabella_voci& voci) {
    for (std::size_t k = 0; k < voci.size(); ++k) {
        bool fits = true;
        for_each_field(voce_fields, [&](auto field) {
            if constexpr (field.is_text) {
                fits = fits && (voci[k].*field.member).size() <= longest_text;
            }
        });
        if (!fits) {
            return k;
        }
    }
    return std::nullopt;
}

void encode_header(const tabella_voci& voci, byte_sink& out) {
    if (first_unencodable_record(voci)) {
        const std::string reason =
            "a header record's nome is longer than " + std::to_string(longest_text) + " bytes";
        throw file_error(std::string(), reason, reason);
    }
    block_buffer buffer(out);
    for (const voce& v : voci) {
        char* p = buffer.room(static_cast<std::size_t>(header_record_size(v)));
        for_each_field(voce_fields, [&](auto field) {
            const auto& value = v.*field.member;
            if constexpr (field.is_text) {
                p = put_le(p, static_cast<header_text_length>(value.size()));
                p = std::copy(value.begin(), value.end(), p);
            } else {
                p = put_le(p, value);
            }
        });
        buffer.commit(p);
    }
    buffer.flush();
}

void stream_header(byte_source& bytes, header_visitor& visitor) {
    byte_reader in(bytes, 0, bytes.size());
    voce v;
    for (int k = 0; k < numero_voci; ++k) {
        in.record("entry " + std::to_string(k));
        for_each_field(voce_fields, [&](auto field) {
            using type = typename decltype(field)::type;
            if constexpr (field.is_text) {
                v.*field.member = in.counted_text<header_text_length>(field.name);
            } else {
                v.*field.member = in.integer<type>(field.name);
            }
        });
        visitor.entry(k, v);
    }
    in.record("");
    in.expect_end("the 87 header records");
}

}  // namespace scenario
