// Error types raised inside the components. Public operations catch them at
// their boundary (see step.h); none escapes to a host.
#pragma once

#include <stdexcept>
#include <string>

namespace veltrane {

// A value could not be turned into the type asked for (Null, malformed text,
// out of range, overflow of a money sum).
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A well-formed number that lies outside what the type or range asked for
// can hold (an amount beyond the range of money, a count beyond its limits).
class OutOfRangeError : public ConversionError {
 public:
  using ConversionError::ConversionError;
};

// The database or a record set refused an operation.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A host object was asked for a member it does not have.
class MissingMemberError : public std::runtime_error {
 public:
  explicit MissingMemberError(const std::string& member)
      : std::runtime_error("missing member: " + member) {}
};

}  // namespace veltrane
