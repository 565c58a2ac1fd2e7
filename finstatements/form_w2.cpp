// The Form W-2 and Form W-3 worksheets: what a household employer gives
// each assistant for a calendar year, and the transmittal that totals them.
// The Social Security wages and tips are those of Form 941 (the yearly
// base, the check's wages before its tips), so box 3 + box 7 never exceed
// the base.
#include <algorithm>
#include <cctype>
#include <map>

#include "common/display.h"
#include "common/payroll_schema.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/rates.h"
#include "finstatements/statement_writer.h"
#include "finstatements/tax_form_rows.h"

namespace veltrane {

struct clsFinStmnts::Impl::W2Boxes {
  Money wages;              // box 1
  FederalFigures federal;   // boxes 2, 3, 5, 7 and 9
  Money ss_withheld;        // box 4
  Money medicare_withheld;  // box 6
  Money state_wages;        // box 16
  Money sit_withheld;       // box 17
  int checks = 0;

  bool AnyAbove0() const {
    const Money zero;
    return wages > zero || federal.fit_withheld > zero || federal.ss_wages > zero ||
           ss_withheld > zero || federal.medicare_wages > zero || medicare_withheld > zero ||
           federal.ss_tips > zero || federal.eic_paid > zero || state_wages > zero ||
           sit_withheld > zero;
  }
  W2Boxes& operator+=(const W2Boxes& other) {
    AddAmount(wages, other.wages);
    federal += other.federal;
    AddAmount(ss_withheld, other.ss_withheld);
    AddAmount(medicare_withheld, other.medicare_withheld);
    AddAmount(state_wages, other.state_wages);
    AddAmount(sit_withheld, other.sit_withheld);
    checks += other.checks;
    return *this;
  }
};

struct clsFinStmnts::Impl::W2Page {
  std::string payee;
  W2Boxes boxes;
};

namespace {

struct Year {
  std::string first, last;  // "1/1/yyyy" and "12/31/yyyy"
};

Year YearOf(const std::string& start) {
  const int year = static_cast<int>(ParseDate(start).year());
  return {FormatShortDate(MakeDate(year, 1, 1)), FormatShortDate(MakeDate(year, 12, 31))};
}

// A block's lines as heading rows under `title`. A line without a letter
// or digit (the "City, ST zip" line of an assistant without an address) is
// left out; an empty block writes the title alone.
void WriteBlock(StatementWriter& out, const std::string& title, const std::string& block) {
  out.Heading(title);
  std::size_t at = 0;
  while (at < block.size()) {
    std::size_t end = block.find('\n', at);
    if (end == std::string::npos) end = block.size();
    const std::string line = Trim(std::string_view(block).substr(at, end - at));
    if (std::any_of(line.begin(), line.end(),
                    [](unsigned char c) { return std::isalnum(c) != 0; })) {
      out.Heading("     " + line);
    }
    at = end + 1;
  }
}

}  // namespace

// Boxes 1 to 9, which the W-3 totals.
void clsFinStmnts::Impl::WriteW2FederalBoxes(StatementWriter& out, const W2Boxes& b) {
  out.Money("Box 1  Wages, tips, other compensation", b.wages);
  out.Money("Box 2  Federal income tax withheld", b.federal.fit_withheld);
  out.Money("Box 3  Social security wages", b.federal.ss_wages);
  out.Money("Box 4  Social security tax withheld", b.ss_withheld);
  out.Money("Box 5  Medicare wages and tips", b.federal.medicare_wages);
  out.Money("Box 6  Medicare tax withheld", b.medicare_withheld);
  out.Money("Box 7  Social security tips", b.federal.ss_tips);
  out.Money("Box 9  Advance EIC payment", b.federal.eic_paid);
}

std::vector<clsFinStmnts::Impl::W2Page> clsFinStmnts::Impl::ReadW2Pages(
    const std::string& strAttendant, const std::string& strStart) const {
  const Year year = YearOf(strStart);
  const Rates rates(TaxRates());
  const Money ss_base = rates.Get("c_SSBase");
  const bool sit = StateTaxConfigured(kTaxSIT);

  std::vector<std::string> payees;
  if (IEquals(strAttendant, kAllAssistants)) {
    payees = GetPayeeList(year.first, year.last);
    payees.pop_back();  // the spare slot
  } else {
    payees.push_back(strAttendant);
  }
  std::map<std::string, W2Boxes> by_payee;  // by the name in lower case
  const std::vector<JournalRow>& rows =
      JournalRowsIn(strAttendant, FormPeriod::Of(year.first, year.last));
  const std::vector<Money> earlier = EarlierSSWages(rows);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const JournalRow& row = rows[i];
    W2Boxes& b = by_payee[ToLower(row.payee)];
    RunStep([&] {
      b.federal += RowFigures(row, earlier[i], ss_base, true);
      AddAmount(b.wages, row.Taxable());
      AddAmount(b.ss_withheld, WithheldAs(row, kTaxSocSec));
      AddAmount(b.medicare_withheld, WithheldAs(row, kTaxMedicare));
      if (sit && row.MentionsTax(kTaxSIT)) {
        AddAmount(b.state_wages, row.Taxable());
        AddAmount(b.sit_withheld, WithheldAs(row, kTaxSIT));
      }
      ++b.checks;
    });
  }
  std::vector<W2Page> pages;
  for (const std::string& payee : payees) pages.push_back({payee, by_payee[ToLower(payee)]});
  return pages;
}

std::pair<std::string, std::string> clsFinStmnts::Impl::LatestCheckBlocks(
    const std::string& strAttendant, const std::string& first, const std::string& last) const {
  std::pair<std::string, std::string> blocks;
  std::optional<std::pair<Date, std::int64_t>> latest;
  std::unique_ptr<Recordset> rs = db_->OpenRecordset(BuildJournalQuery(strAttendant, first, last),
                                                     RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext()) {
    RunStep([&] {
      const std::pair<Date, std::int64_t> key{rs->Field("Date").ToDate(), rs->Field("ID").ToInt()};
      if (latest && key < *latest) return;
      latest = key;
      blocks = {rs->Field("employer_info").ToText(), rs->Field("employee_info").ToText()};
    });
  }
  rs->Close();
  return blocks;
}

void clsFinStmnts::Impl::ShowFormW2(const std::string& strAttendant, const std::string& strStart,
                                    const std::string& /*strEnd*/) {
  StatementWriter out(*lv_);
  out.Reset();
  const Rates rates(TaxRates());
  const bool sit = StateTaxConfigured(kTaxSIT);
  std::string state;
  RunStep([&] {
    std::unique_ptr<Recordset> employer = db_->OpenRecordset(kEmployerTable, RecordsetType::kTable);
    if (employer->RecordCount() > 0) {
      employer->MoveFirst();
      state = employer->Field("state").ToText();
    }
    employer->Close();
  });

  Year year;
  std::vector<W2Page> pages;
  RunStep([&] {
    year = YearOf(strStart);
    pages = ReadW2Pages(strAttendant, strStart);
  });
  out.Heading("FORM W-2");
  out.Heading(year.first + " TO " + year.last);
  if (year.first.empty()) out.Heading("A W-2 covers one calendar year: choose its dates.");
  for (const W2Page& page : pages) {
    const W2Boxes& b = page.boxes;
    const FederalFigures& f = b.federal;
    out.Spacer();
    out.Heading(page.payee);
    std::pair<std::string, std::string> blocks;
    RunStep([&] { blocks = LatestCheckBlocks(page.payee, year.first, year.last); });
    WriteBlock(out, "Employer", blocks.first);
    WriteBlock(out, "Employee", blocks.second);
    WriteW2FederalBoxes(out, b);
    if (sit) {
      out.Row("Box 15  State", state);
      out.Money("Box 16  State wages, tips, etc.", b.state_wages);
      out.Money("Box 17  State income tax", b.sit_withheld);
    }
    // Each check's tax may round by a cent; more than that is an error in
    // what was withheld.
    const auto note = [&](const std::string& box, const std::string& rate_key,
                          const std::string& of, Money wages, Money withheld) {
      RunStep([&] {
        const Money difference = withheld - Product(wages, rates.Get(rate_key));
        const Money allowed = Money::FromTicks(100 * static_cast<std::int64_t>(b.checks));
        if (Max(difference, Money() - difference) <= allowed) return;
        out.Heading("Note: " + box + " differs from " + rates.Percent(rate_key) + " of " + of +
                    " by " + FormatCurrency(difference) + ";");
        out.Heading("correct it before filing.");
      });
    };
    Money ss_wages_and_tips;
    RunStep([&] { ss_wages_and_tips = f.ss_wages + f.ss_tips; });
    note("box 4", "c_SSEmployeeRate", "boxes 3 and 7", ss_wages_and_tips, b.ss_withheld);
    note("box 6", "c_MedicareEmployeeRate", "box 5", f.medicare_wages, b.medicare_withheld);
  }
  out.Select(1);
}

void clsFinStmnts::Impl::ShowFormW3(const std::string& strAttendant, const std::string& strStart,
                                    const std::string& /*strEnd*/) {
  StatementWriter out(*lv_);
  out.Reset();
  Year year;
  W2Boxes total;
  int forms = 0;
  std::string employer;
  RunStep([&] {
    year = YearOf(strStart);
    for (const W2Page& page : ReadW2Pages(strAttendant, strStart)) {
      if (!page.boxes.AnyAbove0()) continue;
      ++forms;
      total += page.boxes;
    }
  });
  RunStep([&] { employer = LatestCheckBlocks(strAttendant, year.first, year.last).first; });
  out.Heading("FORM W-3");
  out.Heading(year.first + " TO " + year.last);
  if (year.first.empty()) out.Heading("A W-3 covers one calendar year: choose its dates.");
  out.Spacer();
  WriteBlock(out, "Employer", employer);
  out.Row("Kind of employer", "Household");
  out.Row("Number of Forms W-2", std::to_string(forms));
  WriteW2FederalBoxes(out, total);
  out.Select(1);
}

}  // namespace veltrane
