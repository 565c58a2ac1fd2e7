#include "host/cli/session.h"

#include "common/open_database.h"
#include "host/household/database_file.h"

namespace veltrane::cli {

Database& Session::db() {
  if (*db_) return **db_;
  household::OpenedHousehold opened = household::OpenHousehold(db_path_);
  if (opened.upgrade_note) err() << "paystead: note: " << *opened.upgrade_note << "\n";
  *db_ = std::move(opened.db);
  return **db_;
}

std::string Session::CreateDatabase(bool replace) {
  db_->reset();
  household::CreatedHousehold created = household::CreateHousehold(db_path_, replace);
  *db_ = std::move(created.db);
  return created.kept;
}

std::string Session::db_shown() const { return ShownLocation(db_path_); }

Session Session::WithOutput(std::ostream& out) const {
  Session copy = *this;
  copy.out_ = &out;
  return copy;
}

Session Session::WithClock(const Clock& clock) const {
  Session copy = *this;
  copy.clock_ = &clock;
  return copy;
}

}  // namespace veltrane::cli
