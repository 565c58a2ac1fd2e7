// FUTA wages read back from the payment journal: the paychecks that carried
// FUTA, per attendant, capped at the FUTA wage base.
#include <algorithm>
#include <string>
#include <vector>

#include "common/date.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "fedtaxrules/fed_tax_rules.h"
#include "fedtaxrules/federal_rates.h"

namespace veltrane {
namespace {

constexpr std::string_view kSelectJournal = "SELECT * FROM [Payment Journal] WHERE ";

// A paycheck carries FUTA when its withholding and liability record has a
// "FUTA" entry: the name followed by its field separator.
const std::string kFUTAMarker = std::string(kTaxFUTA) + "|";

// "date >=#m/d/yy# AND date <=#m/d/yy#", or empty for no date limit. The
// dates are written back from their parsed form, so that nothing but a date
// reaches the query text; text that is not a date raises ConversionError.
std::string DateCondition(std::string_view start, std::string_view end) {
  if (start.empty()) return {};
  return "date >=#" + FormatSqlDate(ParseDate(start)) + "# AND date <=#" +
         FormatSqlDate(ParseDate(end)) + "#";
}

std::string AttendantQuery(std::string_view name, const std::string& dates) {
  std::string sql = std::string(kSelectJournal) + "payee='" + QuoteName(name) + "'";
  if (!dates.empty()) sql += " AND " + dates;
  return sql + " AND Void=False";
}

std::string AllAttendantsQuery(const std::string& dates) {
  std::string sql(kSelectJournal);
  if (!dates.empty()) sql += dates + " AND ";
  return sql + "Void=False";
}

// The taxable gross of the current row when it carried FUTA; raises
// ConversionError when gross or EIC pay is Null.
Money RowFUTAWages(Recordset& rows) {
  if (!IContains(rows.Field("withholding_liability_data").ToText(), kFUTAMarker)) return Money();
  return rows.Field("gross_pay").ToMoney() - rows.Field("eic_pay").ToMoney();
}

// One attendant's FUTA wages, capped at the base. A row that cannot be read
// adds nothing; a query that fails leaves what had been added (0 when it
// cannot be opened).
Money AttendantFUTAWages(Database& db, std::string_view name, const std::string& dates) {
  Money total;
  RunStep([&] {
    const auto rows = db.OpenRecordset(AttendantQuery(name, dates), RecordsetType::kForwardOnly);
    for (; !rows->IsEOF(); rows->MoveNext()) {
      RunStep([&] { total = total + RowFUTAWages(*rows); });
    }
    rows->Close();
  });
  return Min(total, federal2004::kFUTABase);
}

// Appends the distinct payees of the period's non-void rows (letter case
// ignored) in order of first appearance; when the walk fails, the payees
// found so far stay. A row without a payee names nobody.
void CollectPayees(Database& db, const std::string& dates, std::vector<std::string>& payees) {
  const auto rows = db.OpenRecordset(AllAttendantsQuery(dates), RecordsetType::kDynaset);
  if (!rows->IsBOF() && rows->RecordCount() != 0) rows->MoveFirst();
  if (rows->RecordCount() != 0) {
    for (; !rows->IsEOF(); rows->MoveNext()) {
      RunStep([&] {
        if (rows->Field("void").ToBool()) return;
        std::string payee = rows->Field("payee").ToText();
        const bool known = std::any_of(payees.begin(), payees.end(),
                                       [&](const std::string& p) { return IEquals(p, payee); });
        if (!payee.empty() && !known) payees.push_back(std::move(payee));
      });
    }
  }
  rows->Close();
}

}  // namespace

Money clsFedTaxRules::GetFUTAWages(Database& db, std::string_view strAttendant,
                                   std::string_view strStart,
                                   std::string_view strEnd) const noexcept {
  Money wages;
  if (!Enabled()) return wages;
  std::string dates;
  if (!RunStep([&] { dates = DateCondition(strStart, strEnd); })) return wages;

  if (!IEquals(strAttendant, kAllAssistants)) {
    RunStep([&] { wages = AttendantFUTAWages(db, strAttendant, dates); });
    return wages;
  }
  std::vector<std::string> payees;
  RunStep([&] { CollectPayees(db, dates, payees); });
  for (const std::string& payee : payees) {
    RunStep([&] { wages = wages + AttendantFUTAWages(db, payee, dates); });
  }
  return wages;
}

}  // namespace veltrane
