// The statements of catalogue entries that are names: an employer-defined
// withholding of OtherWithholdings, and a kind of supplemental pay found in
// the journal.
#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/display.h"
#include "common/step.h"
#include "common/text.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/journal_rows.h"
#include "finstatements/message_table.h"
#include "finstatements/sort_list_use.h"
#include "finstatements/statement_writer.h"
#include "finstatements/tax_definition.h"

namespace veltrane {
namespace {




// The title (the name in capitals) and the period line.
void WriteOpening(StatementWriter& out, const std::string& name, const std::string& strStart,
                  const std::string& strEnd) {
  out.Heading(ToUpper(name) + " " + Entry(21));
  out.PeriodHeading(strStart, strEnd);
}

// A money setting: its amount, or `unset` when it is empty.
void SettingRow(StatementWriter& out, const std::string& description, const std::string& amount,
                const std::string& unset) {
  if (amount.empty()) {
    out.Row(description, unset);
  } else {
    out.RowOf(description, [&] { return FormatCurrency(ParseAmount(amount)); });
  }
}

// A rate setting: its percentage, or "None" when it is empty.
void RateRow(StatementWriter& out, const std::string& description, const std::string& percent) {
  out.Row(description, percent.empty() ? Entry(29) : PercentText(percent));
}

}  // namespace

void clsFinStmnts::Impl::ShowOtherWithholdingStatement(const std::string& strType,
                                                       const std::string& strAttendant,
                                                       const std::string& strStart,
                                                       const std::string& strEnd) {
  if (strType.empty()) return;
  Recordset* settings = nullptr;
  RunStep([&] { settings = TaxSettingsRow(); });
  if (!settings) return;

  // The first definition of that name; an empty one when there is none.
  TaxDefinition def(kTaxDefinitionFields);
  RunStep([&] {
    const std::string list = settings->Field("OtherWithholdings").ToText();
    const std::vector<ListGroup> records = ReadList(list, kFieldSeparator, kTaxDefinitionFields);
    if (const ListGroup* record = FindGroup(records, strType)) def = *record;
  });
  const bool allowances = HasAllowances(def);

  StatementWriter out(*lv_);
  out.Reset();
  WriteOpening(out, def[kDefName], strStart, strEnd);
  out.Section(Entry(27));
  SettingRow(out, Entry(28), def[kDefFlatAmount], Entry(31));
  SettingRow(out, Entry(30), def[kDefWageBase], Entry(29));
  RateRow(out, Entry(33), def[kDefEmployeeRate]);
  RateRow(out, Entry(32), def[kDefWithholdingRate]);
  RateRow(out, Entry(34), def[kDefEmployerRate]);
  if (allowances) {
    out.Spacer();
    out.Heading(Entry(35));
    SettingRow(out, kIndent + "Married", def[kDefMarried], Entry(36));
    SettingRow(out, kIndent + Entry(2), def[kDefSingle], Entry(36));
    SettingRow(out, kIndent + Entry(4), def[kDefHousehold], Entry(36));
  }

  out.Section(Entry(22));
  const Money taxable = GetTaxablePayments(def[kDefName], strAttendant, strStart, strEnd);
  Money adjusted = taxable;
  if (!def[kDefWageBase].empty()) {
    out.Money(Entry(37), taxable);
    Money base;
    RunStep([&] { base = ParseAmount(def[kDefWageBase]); });
    const Money limited =
        GetPaymentsWithinBase(def[kDefName], base, strAttendant, strStart, strEnd);
    out.Money(Entry(38), limited);
    out.RowOf(Entry(39), [&] { return FormatCurrency(taxable - limited); });
    adjusted = allowances ? AdjustBaseForExemptions(def, limited, strAttendant, strStart, strEnd)
                          : limited;
    out.Money(Entry(40), adjusted);
  } else {
    out.Money(Entry(41), taxable);
  }

  out.Section(Entry(42));
  out.RowOf(Entry(33), [&] { return FormatCurrency(RateTimes(def[kDefEmployeeRate], adjusted)); });
  out.Money(Entry(18), GetTaxWithheld(def[kDefName], strAttendant, strStart, strEnd));
  out.RowOf(Entry(34), [&] { return FormatCurrency(RateTimes(def[kDefEmployerRate], adjusted)); });
  out.Select(1);
}

void clsFinStmnts::Impl::ShowSupplementalStatement(const std::string& strType,
                                                   const std::string& strAttendant,
                                                   const std::string& strStart,
                                                   const std::string& strEnd) {
  if (strType.empty()) return;
  Money total;
  int count = 0;
  std::vector<std::string> taxes;
  RunStep([&] {
    const std::vector<JournalRow>& rows = JournalRows(strAttendant, strStart, strEnd);
    SortList& sort = Sort();
    sort.Clear();
    for (const JournalRow& row : rows) {
      if (row.supplemental.empty() || !IContains(row.supplemental, strType)) continue;
      for (const ListGroup& item : ReadList(row.supplemental, kSuppPaySeparator, kSuppPayFields)) {
        if (!IEquals(item[0], strType)) continue;
        if (!item[1].empty()) {
          RunStep([&] {
            total += ParseAmount(item[1]);
            ++count;
          });
        }
        for (const ListGroup& tax : ReadList(item[2], kFieldSeparator, kWithholdingFields)) {
          RunStep([&] { AddDistinct(sort, tax[0]); });
        }
      }
    }
    taxes = ListItems(sort);
  });

  StatementWriter out(*lv_);
  out.Reset();
  WriteOpening(out, strType, strStart, strEnd);
  out.Section(Entry(22));
  out.Money(Entry(23), total);
  out.Row(Entry(24), std::to_string(count));
  out.Section(Entry(25));
  if (taxes.empty()) out.Heading(kIndent + Entry(26));
  for (const std::string& tax : taxes) out.Heading(kIndent + tax);
  RunStep([&] { Sort().Clear(); });
  out.Select(1);
}

}  // namespace veltrane
