#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorrel {

// What went wrong, in the terms the load action and the table writer can report. The set is closed:
// callers may switch on it and scripts rely on the names that failureKindName gives.
enum class FailureKind {
    OpenRefused,
    ReadError,
    Overflow,
    BadReadPosition,
    BufferBounds,
    OutOfMemory,
    InvalidListIndex,
    ListOperation,
    WriteError,
    BadInput,
};

// The stable lower-case name of a kind, for instance "open-refused".
std::string_view failureKindName(FailureKind kind);

// A failure of a file, buffer, arithmetic or list operation, or input that cannot become a table.
// Always thrown, never returned; the description is a full sentence fit to show a user.
class Failure : public std::runtime_error {
  public:
    Failure(FailureKind kind, const std::string& description);

    FailureKind kind() const noexcept { return kind_; }
    std::string description() const { return what(); }

    // The same failure with "context: " put in front of its description.
    Failure within(std::string_view context) const;

    // The same failure with where it happened said after its description, in one parenthesis
    // that gathers every place said so, innermost first: "cannot read "a.mul": Input/output
    // error (offset 5, record 3 of "b.idx")". A message then leads with what is wrong.
    Failure at(std::string_view place) const;

  private:
    FailureKind kind_;
    bool placed_ = false;  // the description ends in the parenthesis that at() writes
};

}  // namespace quorrel
