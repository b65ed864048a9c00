#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "files/byte_reader.hpp"
#include "files/byte_sink.hpp"
#include "model/voce.hpp"

namespace scenario {

// The header file (.sim): the 87 records, entry 0 first, no array header. A record is
// its fields (voce_fields) in order, little-endian; the text nome is preceded by its
// length in 16 bits.
using header_text_length = std::uint16_t;
constexpr std::size_t header_record_fixed_bytes =
    integer_bytes(voce_fields) + sizeof(header_text_length);

// The bytes of one record.
std::uint64_t header_record_size(const voce& v);

// The first record whose text the file cannot hold (longer than 65535 bytes), if any.
std::optional<std::size_t> first_unencodable_record(const tabella_voci& voci);

// A name longer than 65535 bytes throws file_error (without a path) before anything
// is written.
void encode_header(const tabella_voci& voci, byte_sink& out);

// Receives the records of a header file as they are decoded.
class header_visitor {
  public:
    virtual void entry(int k, const voce& v) = 0;

  protected:
    ~header_visitor() = default;
};

// Decodes a header file through a bounded buffer, handing each record to the visitor
// as soon as it is read: exactly 87 records and nothing after them; anything else
// throws decode_error after the records before the fault have been handed over.
void stream_header(byte_source& bytes, header_visitor& visitor);

}  // namespace scenario
