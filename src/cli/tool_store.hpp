#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "cli/scenario_names.hpp"
#include "files/document_store.hpp"

namespace scenario::cli {

// The largest document the tool reads.
constexpr std::uint64_t largest_document = std::uint64_t{64} << 20;

// The tool's document store: the two names the compiler asks for (the line and the
// train document of the scenario) stand for two files the user named. The files are
// read whole when they are given, so the compile sees exactly what was checked, and
// nothing is ever deleted.
class tool_store : public document_store {
  public:
    // Reads the file at path and serves it under name. Returns an empty text, or what
    // went wrong, naming the file: missing, a folder, unreadable, over 64 MiB.
    std::string give(const std::string& name, const std::string& path);

    bool exists(const std::string& name) const override;
    std::optional<std::string> read(const std::string& name) const override;
    void remove(const std::string& name) override;  // never deletes

    // The path the user gave for a document name; the name itself when unknown.
    std::string path_of(const std::string& name) const;

  private:
    struct entry {
        std::string path;
        std::string content;
    };
    std::map<std::string, entry> documents_;
};

// Gives the store the line document LINE and the train document TRAIN under the names
// the compiler asks for; returns what went wrong with the first one that cannot be read.
std::optional<std::string> give_documents(tool_store& store, const scenario_names& names,
                                          const std::string& line, const std::string& train);

// Reads a whole file of at most `limit` bytes. Returns the content, or sets `why` to
// a sentence naming the file and the reason.
std::optional<std::string> read_whole_file(const std::string& path, std::uint64_t limit,
                                           std::string& why);

}  // namespace scenario::cli
