#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

namespace scenario {

// Where the readers find the scenario documents, by name. The generator's store is
// its own folder and deletes what it has read; the tool's and the tests' stores
// never delete a document they were given.
class document_store {
  public:
    virtual ~document_store() = default;
    // True only for a readable document (never for a folder or an empty name).
    virtual bool exists(const std::string& name) const = 0;
    // The whole document, or nothing when it cannot be opened.
    virtual std::optional<std::string> read(const std::string& name) const = 0;
    virtual void remove(const std::string& name) = 0;
};

// Documents in a folder on disk: path = folder + separator + name.
class folder_store : public document_store {
  public:
    folder_store(std::string folder, char separator, bool deletes)
        : folder_(std::move(folder)), separator_(separator), deletes_(deletes) {}

    bool exists(const std::string& name) const override;
    std::optional<std::string> read(const std::string& name) const override;
    void remove(const std::string& name) override;

    std::string path(const std::string& name) const { return folder_ + separator_ + name; }

  private:
    std::string folder_;
    char separator_;
    bool deletes_;
};

// Documents held in memory. remove() takes a document away, so tests can see which
// documents a compile consumed.
class memory_store : public document_store {
  public:
    void put(const std::string& name, std::string content) {
        documents_[name] = std::move(content);
    }

    bool exists(const std::string& name) const override;
    std::optional<std::string> read(const std::string& name) const override;
    void remove(const std::string& name) override;

    const std::set<std::string>& removed() const { return removed_; }

  private:
    std::map<std::string, std::string> documents_;
    std::set<std::string> removed_;
};

}  // namespace scenario
