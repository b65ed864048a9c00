#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "language/compiled_pair.hpp"
#include "language/document_text.hpp"
#include "language/file_access.hpp"
#include "text/windows1252.hpp"

namespace scenario::language {

// A compile of the pair a document belongs to.
struct compile_outcome {
    std::shared_ptr<const compiled_pair> pair;  // nothing: not named as a scenario document
    std::vector<std::string> notices;           // what the author has not been told yet
};

// The documents the editor has open, and the pairs they compile in: a document's text is
// the editor's while it is open, else the file's on disk. Knows nothing of the protocol.
class workspace {
  public:
    workspace(const file_access& disk, text_encoding encoding);

    void open(const std::string& uri, std::string_view text);
    // Replaces a range of an open document's text, or the whole text when no range is
    // given; false when the document is not open.
    bool change(const std::string& uri, const std::optional<text_range>& range,
                std::string_view text);
    // Closes a document; gives the URI of its partner when that is open (its compile read
    // the closed one's text, which is now the file's).
    std::optional<std::string> close(const std::string& uri);

    // Compiles the pair a document belongs to, and keeps it for both documents.
    compile_outcome compile(const std::string& uri);
    // The last compile that read a document, or nothing.
    std::shared_ptr<const compiled_pair> last_compile(const std::string& uri) const;

  private:
    std::optional<document_text> text_of(const std::string& uri, std::vector<std::string>& notices);
    std::string uri_in_folder(const std::string& uri, const std::string& name,
                              const std::string& file) const;
    void say_once(const std::string& key, std::string message, std::vector<std::string>& notices);

    const file_access& disk_;
    text_encoding encoding_;
    std::map<std::string, document_text> open_;
    std::map<std::string, std::shared_ptr<const compiled_pair>> compiled_;
    std::set<std::string> said_;
};

}  // namespace scenario::language
