#pragma once

#include <memory>
#include <string>

namespace scenario {

// A document's whole text, shared between the store that holds it and whoever reads it:
// the compile keeps it (its trace points into it) without a copy.
using shared_document = std::shared_ptr<const std::string>;

// Where the readers find the scenario documents, by name. The stores are in
// files/stores.hpp: the generator's is its own folder and deletes what it has read;
// the tool's and the tests' never delete a document they were given.
class document_store {
  public:
    virtual ~document_store() = default;
    // True only for a readable document (never for a folder or an empty name).
    virtual bool exists(const std::string& name) const = 0;
    // The whole document, or null when the store holds no document of that name. One it
    // holds but cannot read throws file_error with the reason (the readers make it error
    // 25, the reason in its sentence).
    virtual shared_document read(const std::string& name) const = 0;
    virtual void remove(const std::string& name) = 0;
};

}  // namespace scenario
