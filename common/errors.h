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

// The database or a record set refused an operation. what() is for a
// programmer and may quote the query; kind() says what became of the
// database as far as it tells, for a host to word for a person.
class DatabaseError : public std::runtime_error {
 public:
  enum class Kind {
    kOther,        // the operation failed (a query, a constraint)
    kDamaged,      // the file is not a database, or part of it cannot be read as one
    kNotWritable,  // the file or its folder cannot be written
    kFull,         // the disk is full
    kDiskFailure,  // reading or writing the file failed
    kCannotOpen,   // the file cannot be opened
    kMoved,        // the file was removed, renamed or replaced while it was open
    kLost,         // the connection to the database server was lost
  };
  explicit DatabaseError(const std::string& what, Kind kind = Kind::kOther)
      : std::runtime_error(what), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// Another connection (usually another program) held the database locked
// for longer than the wait allows; the same operation may succeed later.
class DatabaseBusyError : public DatabaseError {
 public:
  DatabaseBusyError() : DatabaseError("the database is in use by another program; try again") {}
};

// A host object was asked for a member it does not have.
class MissingMemberError : public std::runtime_error {
 public:
  explicit MissingMemberError(const std::string& member)
      : std::runtime_error("missing member: " + member) {}
};

}  // namespace veltrane
