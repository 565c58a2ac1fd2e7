// The paycheck on the host's control, and the texts printed on a check:
// employee and employer blocks, earnings and deductions tables.
#include "common/amount_text.h"
#include "common/date.h"
#include "common/delimited_list.h"
#include "common/display.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "paytransaction/record_access.h"
#include "paytransaction/transaction.h"

namespace veltrane {
namespace {

constexpr const char* kLineEnd = "\r\n";

// The earlier year-to-date amount under `name`, 0 when there is none.
Money Earlier(const std::map<std::string, Money>& totals, const std::string& name) {
  const auto it = totals.find(ToLower(name));
  return it == totals.end() ? Money() : it->second;
}

// "Title First M. Last" and a line end; a Null part adds nothing.
std::string NameLine(Recordset& row) {
  std::string line;
  const Value title = FieldOrNull(row, "Title");
  if (IsNonEmptyText(title)) line += title.ToText() + " ";
  line += FieldOrNull(row, "first_name").ToText() + " ";
  const Value mi = FieldOrNull(row, "mi");
  if (IsNonEmptyText(mi)) line += mi.ToText() + " ";
  return line + FieldOrNull(row, "last_name").ToText() + kLineEnd;
}

}  // namespace

std::string clsTransaction::BuildEmployeeBlock() const noexcept {
  std::string block;
  RunStep([&] {
    Recordset* row = FindAssistant();
    if (row == nullptr) return;
    const auto text = [&](const char* field) { return FieldOrNull(*row, field).ToText(); };
    block = NameLine(*row);
    block += text("address1") + kLineEnd;
    if (IsNonEmptyText(FieldOrNull(*row, "address2"))) block += text("address2") + kLineEnd;
    block += text("city") + ", " + text("state") + " " + text("zip") + kLineEnd;
    block += text("social_security_number");
  });
  return block;
}

std::string clsTransaction::BuildEmployerBlock() const noexcept {
  std::string block;
  RunStep([&] {
    if (!MoveToFirstRow(*master_)) return;
    Recordset& row = *master_;
    if (IsEmptyText(FieldOrNull(row, "first_name")) || IsEmptyText(FieldOrNull(row, "last_name"))) return;
    block = NameLine(row);
    const Value address1 = FieldOrNull(row, "address1");
    block += IsEmptyText(address1) ? std::string("Address Info.: Pending") + kLineEnd : address1.ToText() + kLineEnd;
    const Value address2 = FieldOrNull(row, "address2");
    if (IsNonEmptyText(address2)) block += address2.ToText() + kLineEnd;
    const Value city = FieldOrNull(row, "city"), state = FieldOrNull(row, "state"), zip = FieldOrNull(row, "zip");
    if (IsNonEmptyText(city) && IsNonEmptyText(state) && IsNonEmptyText(zip)) {
      block += city.ToText() + ", " + state.ToText() + " " + zip.ToText() + kLineEnd;
    }
    const Value id = FieldOrNull(row, "federal_employer_id");
    block += IsEmptyText(id) ? "Employer ID: Pending" : "Employer ID: " + id.ToText();
  });
  return block;
}

std::string clsTransaction::BuildEarningsTable(Money eic) const noexcept {
  std::string table;
  const auto row = [&](auto&& build) {
    RunStep([&] {
      ListWriter w;
      build(w);
      table += w.text();
    });
  };
  row([&](ListWriter& w) {
    const Money pay = GetGrossRegular();
    w.Add("Regular").Add(FormatHours(GetRegularHours())).Add(GetRegularRate()).Add(pay).Add(pay + GetRegularPayYTD());
  });
  row([&](ListWriter& w) {
    const Money pay = GetGrossOvertime();
    w.Add("Overtime").Add(FormatHours(GetOvertimeHours())).Add(GetOvertimeRate()).Add(pay);
    w.Add(pay + GetOvertimePayYTD());
  });
  row([&](ListWriter& w) {
    const auto elections = ReadList(GetWithholdingElections(), kFieldSeparator, kElectionFields);
    const Money paid_ytd = GetEICPaidYTD();
    if (elections.empty() || (FindGroup(elections, kTaxEIC) == nullptr && paid_ytd.IsZero())) return;
    w.Add(kTaxEIC).Add("0").Add("0").Add(eic).Add(paid_ytd + eic);
  });
  const auto items = ReadList(supp_pay_, kSuppPaySeparator, kSuppPayFields);
  const auto earlier = items.empty() ? std::map<std::string, Money>() : GetSupplementalYTD();
  for (const ListGroup& item : items) {
    row([&](ListWriter& w) {
      const Money ytd = Earlier(earlier, item[0]) + ParseAmount(item[1]);
      w.Add(item[0]).Add("0").Add("0").Add(item[1]).Add(ytd);
    });
  }
  return table;
}

std::string clsTransaction::BuildDeductionsTable() const noexcept {
  std::string table;
  const auto entries = ReadList(record_, kFieldSeparator, kWithholdingFields);
  const auto earlier = entries.empty() ? std::map<std::string, Money>() : GetWithholdingYTD();
  for (const ListGroup& entry : entries) {
    if (IEquals(entry[0], kTaxFUTA)) continue;  // an employer tax, not withheld
    RunStep([&] {
      const Money ytd = Earlier(earlier, entry[0]) + ParseAmount(entry[1]);
      table += ListWriter().Add(entry[0]).Add(entry[1]).Add(ytd).text();
    });
  }
  return table;
}

std::map<std::string, Money> clsTransaction::GetSupplementalYTD() const noexcept { return JournalYearToDate(true); }

std::map<std::string, Money> clsTransaction::GetWithholdingYTD() const noexcept { return JournalYearToDate(false); }

// The assistant's paid, non-void checks whose period ends in the current
// year, adding up the amounts of the items (supplemental) or the
// withholdings (record) under their names. The database finds those rows
// through its payee and period index, so the cost follows the assistant's
// checks of the year, not the size of the journal. The payee compares
// without regard to letter case and dates are stored "yyyy-mm-dd", possibly
// with a time, so the range below holds exactly the rows of the year; the
// year is still read from each row, as every other date is.
std::map<std::string, Money> clsTransaction::JournalYearToDate(bool supplemental) const noexcept {
  std::map<std::string, Money> totals;
  RunStep([&] {
    const char* list_field = supplemental ? "supplemental_pay_data" : "withholding_liability_data";
    // A Null payee reads as the empty text, so it is the empty name's too.
    const std::string payee = assistant_.empty() ? "([payee]='' OR [payee] IS NULL)"
                                                 : "[payee]='" + QuoteName(assistant_) + "'";
    const std::string sql = std::string("SELECT [end_period], [") + list_field +
                            "] FROM [Payment Journal] WHERE " + payee +
                            " AND [Paid]<>False AND [Void]=False AND [end_period]>=#" +
                            FormatIsoDate(MakeDate(current_year_, 1, 1)) + "# AND [end_period]<#" +
                            FormatIsoDate(MakeDate(current_year_ + 1, 1, 1)) + "# ORDER BY [ID]";
    auto rs = db_->OpenRecordset(sql, RecordsetType::kForwardOnly);
    for (; !rs->IsEOF(); rs->MoveNext()) {
      RunStep([&] {
        if (static_cast<int>(rs->Field("end_period").ToDate().year()) != current_year_) return;
        const Value list = rs->Field(list_field);
        const auto groups = supplemental ? ReadList(list.ToText(), kSuppPaySeparator, kSuppPayFields)
                                         : ReadList(list.ToText(), kFieldSeparator, kWithholdingFields);
        for (const ListGroup& g : groups) {
          RunStep([&] { totals[ToLower(g[0])] += ParseAmount(g[1]); });
        }
      });
    }
    rs->Close();
  });
  return totals;
}

void clsTransaction::DisplayCurrentAsCheck() noexcept {
  PayCheckControl* pc = paycheck_;
  if (pc == nullptr) return;
  const CheckTotals totals = ComputeTotals();
  RunStep([&] { pc->Clear(); });
  RunStep([&] { pc->EmployeeInfo(BuildEmployeeBlock()); });
  RunStep([&] { pc->EmployerInfo(BuildEmployerBlock()); });
  RunStep([&] { pc->CheckDate(FormatShortDate(clock_.Today())); });
  RunStep([&] { pc->CheckNumber(check_number_); });
  RunStep([&] { pc->PeriodStartDate(start_date_); });
  RunStep([&] { pc->PeriodEndDate(end_date_); });
  RunStep([&] { pc->payee(assistant_); });
  RunStep([&] { pc->OTHours(GetOvertimeHours()); });
  RunStep([&] { pc->RegHours(GetRegularHours()); });
  RunStep([&] { pc->GrossPay(totals.gross_pay); });
  RunStep([&] { pc->GrossYTD(totals.gross_pay_ytd); });
  RunStep([&] { pc->Earnings(BuildEarningsTable(totals.eic)); });
  RunStep([&] { pc->Deductions(BuildDeductionsTable()); });
  RunStep([&] { pc->NetPay(totals.net_pay); });
  RunStep([&] { pc->NetYTD(totals.net_pay_ytd); });
  RunStep([&] { pc->Paid(false); });
  RunStep([&] { pc->Void(false); });
  RunStep([&] { pc->HasSuppPay(!supp_pay_.empty()); });
}

void clsTransaction::DisplayPaidCheck(PayCheckControl* vtPaycheck, Recordset& rcsPaymentJournal,
                                      std::int32_t rcsID) noexcept {
  if (vtPaycheck == nullptr) return;
  PayCheckControl& pc = *vtPaycheck;
  Recordset& rs = rcsPaymentJournal;
  bool found = false;
  RunStep([&] { found = FindFirstRow(rs, "ID=" + std::to_string(rcsID)); });
  if (!found) {
    RunStep([&] { pc.Clear(); });
    return;
  }
  const auto text = [&](const char* field) { return rs.Field(field).ToText(); };
  const auto day = [&](const char* field) { return FormatShortDate(rs.Field(field).ToDate()); };
  RunStep([&] { pc.EmployeeInfo(text("employee_info")); });
  RunStep([&] { pc.EmployerInfo(text("employer_info")); });
  RunStep([&] { pc.CheckDate(day("Date")); });
  RunStep([&] { pc.CheckNumber(text("check_number")); });
  RunStep([&] { pc.PeriodStartDate(day("start_period")); });
  RunStep([&] { pc.PeriodEndDate(day("end_period")); });
  RunStep([&] { pc.Earnings(text("Earnings")); });
  RunStep([&] { pc.Deductions(text("Deductions")); });
  RunStep([&] { pc.GrossYTD(rs.Field("gross_pay_ytd").ToMoney()); });
  RunStep([&] { pc.GrossPay(rs.Field("gross_pay").ToMoney()); });
  RunStep([&] { pc.NetYTD(rs.Field("net_pay_ytd").ToMoney()); });
  RunStep([&] { pc.NetPay(rs.Field("net_pay").ToMoney()); });
  RunStep([&] { pc.payee(text("payee")); });
  RunStep([&] { pc.Void(rs.Field("Void").ToBool()); });
  RunStep([&] { pc.Paid(rs.Field("Paid").ToBool()); });
}

}  // namespace veltrane
