// What every command works with: the database (a file, or a server's URI), the clock that says
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

namespace veltrane::cli {

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
  // db_path() as it may be printed: a server URI without its password.
  std::string db_shown() const;
  // Whether --db was given (the demo uses a temporary file otherwise).
  bool db_given() const { return db_given_; }
  const Clock& clock() const { return *clock_; }
  std::ostream& out() const { return *out_; }
  std::ostream& err() const { return *err_; }

  // The payroll database of an existing file, its layout checked and an
  // older one upgraded (saying so on err()). A household Fault when the file
  // is missing, busy, or not a payroll database this program can use.
  Database& db();
  // A new payroll database in the file, which may replace one that is there
  // (kept beside it, its name returned); kept open for the commands that
  // follow.
  std::string CreateDatabase(bool replace);
  // Closes the database now (for every copy of the session); a later db()
  // opens it again.
  void CloseDatabase() { db_->reset(); }

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

}  // namespace veltrane::cli
