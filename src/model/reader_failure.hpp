#pragma once

#include <string>

#include "model/failure.hpp"

namespace scenario {

// A failure the document readers do not test for themselves: a number that does
// not fit its field, a read past the end of a document, an index outside the
// model. The compiler catches it once and records error 25.
class reader_failure : public failure {
  public:
    explicit reader_failure(const std::string& why) : failure(why) {}
};

}  // namespace scenario
