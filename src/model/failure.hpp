#pragma once

#include <stdexcept>
#include <string>

namespace scenario {

// The one exception type of the project's failures, and the base of all the others:
// something asked of the program that could not be done (a file that cannot be read or
// written, bytes that are not the format they claim, a bad command line, a document the
// readers cannot take). It carries the reason alone ("the file is read-only"); what()
// is the whole sentence a person reads ("cannot write "x.dat": the file is read-only").
// Programs catch it at their edge and turn it into a message and an exit status.
//
// A fault of the program itself (a drawing that closes an element it never opened, a
// reader table out of step with its description) is not a failure: it is a
// std::logic_error, which no one below main catches. Scenario faults are neither: they
// are diagnostics.
class failure : public std::runtime_error {
  public:
    explicit failure(const std::string& reason) : failure(reason, reason) {}
    failure(std::string reason, const std::string& sentence)
        : std::runtime_error(sentence), reason_(std::move(reason)) {}

    const std::string& reason() const { return reason_; }

  private:
    std::string reason_;
};

}  // namespace scenario
