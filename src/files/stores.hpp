#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "files/document_store.hpp"
#include "files/file_ops.hpp"
#include "text/windows1252.hpp"

namespace scenario {

// Documents in a folder on disk (path_in(folder, name)).
class folder_store : public document_store {
  public:
    folder_store(std::string folder, bool deletes)
        : folder_(std::move(folder)), deletes_(deletes) {}

    bool exists(const std::string& name) const override;
    shared_document read(const std::string& name) const override;
    void remove(const std::string& name) override;

    std::string path(const std::string& name) const { return path_in(folder_, name); }

  private:
    std::string folder_;
    bool deletes_;
};

// Documents held in memory. remove() takes a document away, so tests can see which
// documents a compile consumed.
class memory_store : public document_store {
  public:
    void put(const std::string& name, std::string content) {
        documents_[name] = std::make_shared<const std::string>(std::move(content));
    }

    bool exists(const std::string& name) const override;
    shared_document read(const std::string& name) const override;
    void remove(const std::string& name) override;

    const std::set<std::string>& removed() const { return removed_; }

  private:
    std::map<std::string, shared_document> documents_;
    std::set<std::string> removed_;
};

// The tool's store: the names the compiler asks for (the line and the train document
// of the scenario) stand for files the user named. The files are read whole when they
// are given, so the compile sees exactly what was checked, and nothing is ever deleted.
class tool_store : public document_store {
  public:
    // Reads the file at path and serves it under name, as Windows-1252 text: a UTF-8
    // file is converted first. A file that cannot be read (missing, a folder,
    // unreadable, over largest_document) throws file_error naming it; a UTF-8 file with
    // a character the code page cannot hold, or with bytes that are not UTF-8, throws
    // document_text_error at the first one.
    void give(const std::string& name, const std::string& path,
              text_encoding encoding = text_encoding::windows_1252);
    // Serves a text already in memory (Windows-1252) under name, shown by path.
    void put(const std::string& name, const std::string& path, std::string content) {
        documents_[name] = entry{path, std::make_shared<const std::string>(std::move(content))};
    }

    bool exists(const std::string& name) const override;
    shared_document read(const std::string& name) const override;
    void remove(const std::string& name) override;  // never deletes

    // The path the user gave for a document name; the name itself when unknown.
    std::string path_of(const std::string& name) const;

  private:
    struct entry {
        std::string path;
        shared_document content;
    };
    std::map<std::string, entry> documents_;
};

}  // namespace scenario
