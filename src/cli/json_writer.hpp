#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::cli {

// Writes one JSON value to a stream, compactly, placing the commas itself. Two kinds of
// text go in: the tool's own and the platform's (sentences, file names), which are UTF-8,
// and text from the documents, which is Windows-1252 and is decoded by
// windows1252_to_utf8 like everything else that shows it.
class json_writer {
  public:
    explicit json_writer(std::ostream& out) : out_(out) {}

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
    void before_value();

    std::ostream& out_;
    // One entry per open object or array: true once it holds a member.
    std::vector<bool> nonempty_;
    bool after_key_ = false;
};

// The JSON text of a UTF-8 string, quotes included. A byte that does not begin a
// well-formed UTF-8 character (a file name in another encoding) is read as one
// Windows-1252 character.
std::string json_quote(std::string_view text);

}  // namespace scenario::cli
