// What every command works with: the database file, the clock that says
// what day it is for the libraries, and the two output streams.
//
// Ownership: the streams and the clock are borrowed and must outlive the
// session; the database is opened on first use and shared by the copies a
// session makes of itself (WithOutput, WithClock).
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "common/clock.h"
#include "common/database.h"

namespace veltrane::host {

// "'FILE' is in use by another program; try again": what a command says
// when the database stays locked by another program.
std::string InUseMessage(const std::string& db_path);

class Session {
 public:
  Session(std::string db_path, bool db_given, const Clock& clock, std::ostream& out,
          std::ostream& err)
      : db_path_(std::move(db_path)),
        db_given_(db_given),
        clock_(&clock),
        out_(&out),
        err_(&err),
        db_(std::make_shared<std::unique_ptr<Database>>()) {}

  const std::string& db_path() const { return db_path_; }
  // Whether --db was given (the demo uses a temporary file otherwise).
  bool db_given() const { return db_given_; }
  const Clock& clock() const { return *clock_; }
  std::ostream& out() const { return *out_; }
  std::ostream& err() const { return *err_; }

  // The payroll database of an existing file, its layout checked and an
  // older one upgraded (saying so on err()). Raises UserError when the file
  // is missing, busy, or not a payroll database this program can use.
  Database& db();
  // Creates the file's payroll tables (the file must not hold other data)
  // and keeps the database open for the commands that follow.
  Database& CreateDatabase();

  Session WithOutput(std::ostream& out) const;
  Session WithClock(const Clock& clock) const;

 private:
  std::string db_path_;
  bool db_given_;
  const Clock* clock_;
  std::ostream* out_;
  std::ostream* err_;
  std::shared_ptr<std::unique_ptr<Database>> db_;  // shared with the copies
};

}  // namespace veltrane::host
