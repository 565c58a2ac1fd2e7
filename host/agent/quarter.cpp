#include "host/agent/quarter.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "common/amount_text.h"
#include "common/date.h"
#include "common/display.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"
#include "host/household/statements.h"
#include "host/household/year_end.h"

namespace veltrane::agent {
namespace {

// Runs `each` for every household, on `workers` connections of their own,
// each acting as the household in turn; the first failure is raised once
// all have stopped.
void ForEachHousehold(const std::string& uri, const std::vector<Household>& households, int workers,
                      const std::function<void(Database&, std::size_t)>& each) {
  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::exception_ptr failure;
  const auto work = [&] {
    try {
      const auto db = OpenAgentDatabase(uri);
      for (std::size_t i; (i = next++) < households.size();) {
        ActAsHousehold(*db, households[i]);
        each(*db, i);
      }
    } catch (...) {
      std::lock_guard lock(mutex);
      if (!failure) failure = std::current_exception();
      next = households.size();
    }
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < std::max(1, workers); ++i) threads.emplace_back(work);
  for (std::thread& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
}

std::vector<Household> AllHouseholds(const std::string& uri) {
  const auto agent = OpenAgentDatabase(uri);
  return ListHouseholds(*agent);
}

// The amount of the statement's row whose description starts with `line`.
Money LineAmount(const household::StatementResult& result, std::string_view line) {
  for (const StatementRow& row : result.rows) {
    if (row.description.starts_with(line)) return ParseCurrency(row.amount);
  }
  return Money();
}

}  // namespace

QuarterFigures AgentQuarter(const std::string& uri, std::string_view year, std::string_view quarter,
                            int workers) {
  const int y = household::ReadYear(year);
  const auto q = static_cast<unsigned>(household::ReadWholeNumber("quarter", quarter, 1, 4));
  QuarterFigures figures;
  figures.from = FormatShortDate(MakeDate(y, 3 * q - 2, 1));
  figures.to = FormatShortDate(MakeDate(y, 3 * q, q == 1 || q == 4 ? 31 : 30));
  const std::vector<Household> households = AllHouseholds(uri);
  figures.lines.resize(households.size());
  ForEachHousehold(uri, households, workers, [&](Database& db, std::size_t i) {
    household::StatementSession statements(db);
    const household::StatementResult form =
        statements.Run({"Form 941", "", figures.from, figures.to});
    figures.lines[i] = {households[i], LineAmount(form, "2. "), LineAmount(form, "11. "),
                        LineAmount(form, "12. ")};
  });
  for (const QuarterLine& line : figures.lines) {
    figures.wages += line.wages;
    figures.taxes += line.taxes;
    figures.advance_eic += line.advance_eic;
  }
  return figures;
}

std::int64_t AgentW2Count(const std::string& uri, std::string_view year, int workers) {
  const int y = household::ReadYear(year);
  const std::vector<Household> households = AllHouseholds(uri);
  std::atomic<std::int64_t> forms{0};
  ForEachHousehold(uri, households, workers, [&](Database& db, std::size_t) {
    household::StatementSession statements(db);
    const household::StatementResult w3 = statements.Run(
        {"Form W-3", "", FormatShortDate(MakeDate(y, 1, 1)), FormatShortDate(MakeDate(y, 12, 31))});
    for (const StatementRow& row : w3.rows) {
      if (row.description == "Number of Forms W-2") forms += std::stoll(row.amount);
    }
  });
  return forms;
}

}  // namespace veltrane::agent
