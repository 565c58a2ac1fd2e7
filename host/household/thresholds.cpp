#include "host/household/thresholds.h"

#include <array>
#include <map>
#include <optional>

#include "common/date.h"
#include "common/display.h"
#include "common/money.h"
#include "common/tax_names.h"
#include "common/text.h"

namespace veltrane::household {
namespace {

const Money kEmployeeThreshold = Money::Dollars(1400);
const Money kQuarterThreshold = Money::Dollars(1000);
constexpr const char* kQuarterNames[] = {"first", "second", "third", "fourth"};

struct Payee {
  std::string name;
  Money wages;
  std::optional<Date> reached;
};

}  // namespace

std::vector<std::string> HouseholdThresholdNotes(Database& db, int year,
                                                 const std::string& assistant) {
  const std::string y = std::to_string(year);
  auto rs = db.OpenRecordset(
      "SELECT [Date], payee, gross_pay, eic_pay FROM [Payment Journal] WHERE Void=False AND "
      "[Date] >=#" +
          FormatSqlDate(MakeDate(year, 1, 1)) + "# AND [Date] <=#" +
          FormatSqlDate(MakeDate(year, 12, 31)) + "# ORDER BY [Date], ID",
      RecordsetType::kForwardOnly);
  std::vector<Payee> payees;  // in the order of their first check
  std::map<std::string, std::size_t> index;
  std::array<Money, 4> quarters{};
  std::optional<Date> quarter_reached;
  int quarter = 0;
  for (; !rs->IsEOF(); rs->MoveNext()) {
    const Date day = rs->Field("Date").ToDate();
    const std::string name = rs->Field("payee").ToText();
    const Value eic = rs->Field("eic_pay");
    const Money cash = rs->Field("gross_pay").ToMoney() - (eic.IsNull() ? Money() : eic.ToMoney());
    const auto [at, added] = index.try_emplace(ToLower(name), payees.size());
    if (added) payees.push_back({name, Money(), std::nullopt});
    Payee& p = payees[at->second];
    p.wages += cash;
    if (!p.reached && p.wages >= kEmployeeThreshold) p.reached = day;
    const int q = static_cast<int>((static_cast<unsigned>(day.month()) - 1) / 3);
    quarters[q] += cash;
    if (!quarter_reached && quarters[q] >= kQuarterThreshold) {
      quarter_reached = day;
      quarter = q;
    }
  }
  rs->Close();

  const bool everyone = assistant.empty() || IEquals(assistant, kAllAssistants);
  std::vector<std::string> notes;
  for (const Payee& p : payees) {
    if (!everyone && !IEquals(p.name, assistant)) continue;
    if (p.reached) {
      notes.push_back(p.name + ": cash wages of " + y + " reached " +
                      FormatCurrency(kEmployeeThreshold) + " on " + FormatShortDate(*p.reached) +
                      " (" + FormatCurrency(p.wages) +
                      " in the year). Social Security and Medicare are due on a household "
                      "employee's wages once they reach $1,400 in the year.");
    } else {
      notes.push_back(p.name + ": cash wages of " + y + " were " + FormatCurrency(p.wages) +
                      ", under $1,400: Social Security and Medicare are not due on them, even "
                      "where the checks withheld them.");
    }
  }
  if (quarter_reached) {
    notes.push_back("Cash wages to all household employees reached $1,000 in the " +
                    std::string(kQuarterNames[quarter]) + " quarter of " + y + ", on " +
                    FormatShortDate(*quarter_reached) + ": FUTA is due for " + y +
                    " and the next year.");
  } else {
    notes.push_back("No calendar quarter of " + y +
                    " reached $1,000 of cash wages to all household employees: FUTA is not due "
                    "for " +
                    y + " on that account.");
  }
  return notes;
}

}  // namespace veltrane::household
