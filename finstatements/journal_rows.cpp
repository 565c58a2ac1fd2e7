#include "finstatements/journal_rows.h"

#include "common/amount_text.h"
#include "common/step.h"
#include "common/text.h"

namespace veltrane {
namespace {

std::optional<Money> MoneyField(Recordset& rs, const char* name) {
  std::optional<Money> m;
  RunStep([&] { m = rs.Field(name).ToMoney(); });
  return m;
}

std::string TextField(Recordset& rs, const char* name) {
  std::string t;
  RunStep([&] { t = rs.Field(name).ToText(); });
  return t;
}

}  // namespace

std::optional<Money> JournalRow::Taxable() const {
  if (!gross_pay || !eic_pay) return std::nullopt;
  std::optional<Money> taxable;
  RunStep([&] { taxable = *gross_pay - *eic_pay; });
  return taxable;
}

bool JournalRow::MentionsTax(std::string_view tax) const {
  return IContains(withholding, std::string(tax) + "|");
}

int JournalRow::TaxTriples(std::string_view tax) const {
  int n = 0;
  for (const ListGroup& t : ReadList(withholding, kFieldSeparator, kWithholdingFields)) {
    if (IEquals(t[0], tax)) ++n;
  }
  return n;
}

std::vector<JournalRow> ReadJournalRows(Database& db, const std::string& sql) {
  std::vector<JournalRow> rows;
  auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext()) {
    JournalRow& row = rows.emplace_back();
    RunStep([&] { row.id = rs->Field("ID").ToInt(); });
    RunStep([&] { row.date = rs->Field("Date").ToDate(); });
    row.payee = TextField(*rs, "payee");
    row.gross_pay = MoneyField(*rs, "gross_pay");
    row.gross_regular = MoneyField(*rs, "gross_regular");
    row.gross_overtime = MoneyField(*rs, "gross_overtime");
    row.eic_pay = MoneyField(*rs, "eic_pay");
    row.net_pay = MoneyField(*rs, "net_pay");
    row.withholding = TextField(*rs, "withholding_liability_data");
    row.supplemental = TextField(*rs, "supplemental_pay_data");
  }
  rs->Close();
  return rows;
}

std::optional<Money> ListAmount(std::string_view text) {
  std::optional<Money> m;
  RunStep([&] { m = ParseAmount(text); });
  return m;
}

void AddAmount(Money& sum, std::optional<Money> amount) {
  if (amount) RunStep([&] { sum += *amount; });
}

Money NamedAmounts(std::string_view list, char separator, std::string_view name) {
  static_assert(kWithholdingFields == kSuppPayFields, "both lists are of triples");
  Money sum;
  for (const ListGroup& triple : ReadList(list, separator, kWithholdingFields)) {
    if (IEquals(triple[0], name) && !triple[1].empty()) AddAmount(sum, ListAmount(triple[1]));
  }
  return sum;
}

}  // namespace veltrane
