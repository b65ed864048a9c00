#pragma once

#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

// Writes one JSON value to a stream, compactly, placing the commas itself. Two kinds of
// text go in: the tool's own and the platform's (sentences, file names), which are UTF-8,
// and text from the documents, which is Windows-1252 and is decoded by
// windows1252_to_utf8 like everything else that shows it.
//
// The text is handed to the stream when a value outside any object or array is
// complete, and in pieces of about 64 KiB within a long one (and when the writer goes),
// so that writing a value costs an append, not a call on the stream.
class json_writer {
  public:
    explicit json_writer(std::ostream& out) : out_(out) {}
    ~json_writer();
    json_writer(const json_writer&) = delete;
    json_writer& operator=(const json_writer&) = delete;

    void begin_object();
    void end_object();
    void begin_array();
    void end_array();
    void key(std::string_view name);

    void string(std::string_view text);           // see json_quote
    void document_string(std::string_view text);  // Windows-1252 document text
    void integer(std::int64_t v);
    void number(double v);  // shortest text that reads back as v; null when not finite
    void null();
    void boolean(bool v);
    // A value already written as JSON text (by another writer), put in as it is.
    void raw_value(std::string_view json);

    // Shorthands for one member of an object.
    void member(std::string_view name, std::string_view text) { key(name), string(text); }
    void member(std::string_view name, const char* text) { key(name), string(text); }
    void member_document(std::string_view name, std::string_view text) {
        key(name), document_string(text);
    }
    void member(std::string_view name, std::int64_t v) { key(name), integer(v); }
    void member(std::string_view name, int v) { key(name), integer(v); }
    void member_null(std::string_view name) { key(name), null(); }

  private:
    static constexpr std::size_t handover_bytes = std::size_t{64} << 10;

    void before_value();
    void after_value();
    void flush();

    std::ostream& out_;
    std::string text_;  // written, not yet handed to the stream
    // One entry per open object or array: true once it holds a member.
    std::vector<bool> nonempty_;
    bool after_key_ = false;
};

// The JSON text of a UTF-8 string, quotes included. A byte that does not begin a
// well-formed UTF-8 character (a file name in another encoding) is read as one
// Windows-1252 character.
std::string json_quote(std::string_view text);

// The JSON text that `write` gives a writer, whole.
template <typename F>
std::string json_text(F&& write) {
    std::ostringstream text;
    {
        json_writer json(text);
        write(json);
    }
    return std::move(text).str();
}

}  // namespace scenario
