#include "host/agent/pay_run.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "common/errors.h"
#include "host/agent/households.h"
#include "host/household/hours.h"
#include "host/household/input_text.h"
#include "host/household/paycheck.h"

namespace veltrane::agent {
namespace {

using household::Fault;

// A refusal's words: its text, each input it names by its household name.
std::string Reason(const Fault& fault) {
  const std::string text =
      fault.TextNaming([](std::string_view name) { return std::string(name); });
  return fault.NamesFields() || fault.field().empty() ? text : fault.field() + ": " + text;
}

struct Shared {
  const Clock& clock;
  const PayRunRequest& request;
  const std::vector<Household>& households;
  const std::function<void(const PayRunProgress&)>& progress;
  std::atomic<std::size_t> next{0};
  std::mutex mutex;  // guards what follows
  PayRunSummary summary;
  std::int64_t done = 0;
};

// Pays one household's assistants; returns nothing, adding to `s`.
void PayHousehold(Database& db, const Household& h, Shared& s) {
  household::HoursFilter unpaid;
  unpaid.from = s.request.from;
  unpaid.to = s.request.to;
  unpaid.unpaid_only = true;
  PayRunSummary mine;
  try {
    ActAsHousehold(db, h);
    std::set<std::string> names;
    for (const household::HoursEntry& e : household::ListHours(db, unpaid)) names.insert(e.name);
    for (const std::string& name : names) {
      try {
        const household::PaycheckRequest request =
            household::CheckPaycheckRequest(db, {name, s.request.from, s.request.to});
        const household::PaycheckOutcome outcome = household::PayPaycheck(db, s.clock, request);
        if (outcome.paid) {
          ++mine.checks;
          mine.gross += outcome.shown.gross_pay.value_or(Money());
          mine.net += outcome.shown.net_pay.value_or(Money());
        } else if (outcome.refusal) {
          ++mine.refusals[Reason(*outcome.refusal)];
        }
      } catch (const Fault& fault) {
        ++mine.refusals[Reason(fault)];
      }
    }
  } catch (const std::exception& e) {
    ++mine.refusals[h.name + ": " + e.what()];
  }
  std::lock_guard lock(s.mutex);
  s.summary.checks += mine.checks;
  s.summary.gross += mine.gross;
  s.summary.net += mine.net;
  for (const auto& [reason, n] : mine.refusals) s.summary.refusals[reason] += n;
  ++s.done;
  if (s.progress)
    s.progress({s.done, static_cast<std::int64_t>(s.households.size()), s.summary.checks});
}

void Work(const std::string& uri, Shared& s) {
  std::unique_ptr<Database> db;
  for (std::size_t i; (i = s.next++) < s.households.size();) {
    const Household& h = s.households[i];
    try {
      if (!db) db = OpenAgentDatabase(uri);
    } catch (const std::exception& e) {
      std::lock_guard lock(s.mutex);
      ++s.summary.refusals[h.name + ": " + e.what()];
      ++s.done;
      continue;
    }
    PayHousehold(*db, h, s);
  }
}

}  // namespace

PayRunSummary RunPayRun(const std::string& uri, const Clock& clock, const PayRunRequest& request,
                        const std::function<void(const PayRunProgress&)>& progress) {
  const Date from = household::ReadDate("from", request.from);
  const Date to = household::ReadDate("to", request.to);
  household::RequireOrder(from, to);
  if (request.workers < 1 || request.workers > 64) throw Fault("workers", "give 1 to 64 workers");
  std::vector<Household> households;
  {
    const auto agent = OpenAgentDatabase(uri);
    households = ListHouseholds(*agent);
  }
  Shared s{clock, request, households, progress};
  s.summary.households = static_cast<std::int64_t>(households.size());
  std::vector<std::thread> workers;
  const int n =
      std::min<int>(request.workers, std::max<int>(1, static_cast<int>(households.size())));
  for (int i = 0; i < n; ++i) workers.emplace_back(Work, std::cref(uri), std::ref(s));
  for (std::thread& t : workers) t.join();
  return s.summary;
}

}  // namespace veltrane::agent
