#include "common/open_database.h"

#include "common/pg_database.h"
#include "common/sqlite_database.h"

namespace veltrane {

bool IsServerLocation(std::string_view location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

std::string ShownLocation(std::string_view location) {
  std::string shown(location);
  if (!IsServerLocation(location)) return shown;
  // The user information ends at the first "@" before the host's "/" or
  // "?"; a password follows its first ":".
  const std::size_t start = shown.find("://") + 3;
  const std::size_t host_end = shown.find_first_of("/?", start);
  const std::size_t at = shown.rfind('@', host_end == std::string::npos ? std::string::npos : host_end);
  if (at != std::string::npos && at >= start) {
    const std::size_t colon = shown.find(':', start);
    if (colon < at) shown.erase(colon, at - colon);
  }
  // A password among the parameters.
  const std::size_t query = shown.find('?');
  if (query == std::string::npos) return shown;
  std::string kept;
  std::size_t from = query + 1;
  while (from <= shown.size()) {
    std::size_t end = shown.find('&', from);
    if (end == std::string::npos) end = shown.size();
    const std::string_view parameter(shown.data() + from, end - from);
    if (parameter.rfind("password=", 0) != 0 && !parameter.empty())
      kept += (kept.empty() ? "" : "&") + std::string(parameter);
    from = end + 1;
  }
  shown.erase(query);
  if (!kept.empty()) shown += "?" + kept;
  return shown;
}

std::unique_ptr<Database> OpenDatabase(const std::string& location) {
  if (IsServerLocation(location)) return OpenPostgresDatabase(location);
  return OpenSqliteDatabase(location);
}

}  // namespace veltrane
