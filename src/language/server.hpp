#pragma once

#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "language/document_text.hpp"
#include "language/file_access.hpp"
#include "language/framing.hpp"
#include "compiled/compiled_scenario.hpp"
#include "model/reading_trace.hpp"
#include "text/windows1252.hpp"

namespace scenario::language {

struct server_options {
    text_encoding encoding = text_encoding::windows_1252;  // of the documents on disk
    framing_limits limits;
    std::string version;  // the program's, for the client
};

// The compile of a line document with its train document, and what the editor's
// requests ask of it afterwards.
struct compiled_pair {
    std::string line_uri;
    std::string train_uri;
    bool has_line = false;
    bool has_train = false;
    std::string line_name;   // the names the compiler knows them by
    std::string train_name;
    document_text line_text;
    document_text train_text;
    compiled_scenario compiled;
};

// The language server: reads requests and notifications from a stream, answers on
// another, and keeps the open documents. No I/O of its own but those streams and the
// file access it is given.
class server {
  public:
    server(const file_access& disk, server_options options);

    // Serves until "exit" or the end of the input; returns the exit status: 0 after
    // "shutdown", 1 without.
    int run(std::istream& in, std::ostream& out);

    // Acts on one message's content; false once "exit" came.
    bool handle(std::string_view content, std::ostream& out);

    int exit_status() const { return shutdown_ ? 0 : 1; }

  private:
    using json = nlohmann::json;

    void send(std::ostream& out, const json& message) const;
    void reply(std::ostream& out, const json& id, json result) const;
    void fail(std::ostream& out, const json& id, int code, const std::string& message) const;
    void notify(std::ostream& out, const char* method, json params) const;

    json request(const std::string& method, const json& params, std::ostream& out);
    void notification(const std::string& method, const json& params, std::ostream& out);

    // The text of a document: the editor's when it is open, else the file's.
    std::optional<document_text> text_of(const std::string& uri) const;
    bool available(const std::string& uri) const;
    // Compiles the pair a document belongs to and publishes both documents' diagnostics.
    void compile_and_publish(const std::string& uri, std::ostream& out);
    std::shared_ptr<const compiled_pair> compiled_for(const std::string& uri, std::ostream& out);
    void say_once(std::ostream& out, const std::string& key, const std::string& message);

    json hover(const json& params, std::ostream& out);
    json symbols(const json& params);
    json completion(const json& params);
    json formatting(const json& params);

    const file_access& disk_;
    server_options options_;
    bool initialized_ = false;
    bool shutdown_ = false;
    bool exited_ = false;
    std::map<std::string, document_text> open_;
    std::map<std::string, std::shared_ptr<const compiled_pair>> compiled_;
    std::set<std::string> said_;
};

}  // namespace scenario::language
