// A payroll database of either kind with the statements library over it,
// the in-memory controls, and helpers to add paychecks and settings.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/amount_text.h"
#include "common/locale.h"
#include "common/payroll_schema.h"
#include "finstatements/fin_stmnts.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/memory_controls.h"
#include "support/test_databases.h"

namespace veltrane {

// The tests' window on the library's private procedures.
struct FinStmntsProbe {
  using Impl = clsFinStmnts::Impl;

  // A procedure's result, with the rows it read let go as a statement lets
  // them go, so the next call sees the journal as it then is.
  template <class F>
  static auto Fresh(const clsFinStmnts& s, F&& procedure) {
    auto result = procedure();
    Impl::Of(s).ForgetStatementRows();
    return result;
  }
  static std::string Query(const clsFinStmnts& s, const std::string& a, const std::string& b,
                           const std::string& c) {
    return Impl::Of(s).BuildJournalQuery(a, b, c);
  }
  static std::string Message(int entry, const std::string& inserted) {
    return Impl::FormatResMessage(entry, inserted);
  }
  static Money Taxable(const clsFinStmnts& s, std::string_view tax, const std::string& a,
                       const std::string& b, const std::string& c) {
    return Fresh(s, [&] { return Impl::Of(s).GetTaxablePayments(tax, a, b, c); });
  }
  static Money Withheld(const clsFinStmnts& s, std::string_view tax, const std::string& a,
                        const std::string& b, const std::string& c) {
    return Fresh(s, [&] { return Impl::Of(s).GetTaxWithheld(tax, a, b, c); });
  }
  static Money Supplemental(const clsFinStmnts& s, std::string_view kind, std::string_view tax,
                            const std::string& a, const std::string& b, const std::string& c) {
    return Fresh(s, [&] { return Impl::Of(s).GetSupplementalPay(kind, tax, a, b, c); });
  }
  static std::vector<std::string> Payees(const clsFinStmnts& s, const std::string& b,
                                         const std::string& c) {
    return Fresh(s, [&] { return Impl::Of(s).GetPayeeList(b, c); });
  }
  static Money WithinBase(const clsFinStmnts& s, std::string_view tax, Money base,
                          const std::string& a, const std::string& b, const std::string& c) {
    return Fresh(s, [&] { return Impl::Of(s).GetPaymentsWithinBase(tax, base, a, b, c); });
  }
  static Money SupplementalWithinBase(const clsFinStmnts& s, std::string_view kind,
                                      std::string_view tax, Money base, const std::string& a,
                                      const std::string& b, const std::string& c) {
    return Fresh(s,
                 [&] { return Impl::Of(s).GetSupplementalWithinBase(kind, tax, base, a, b, c); });
  }
  static Money YearToDate(const clsFinStmnts& s, std::string_view tax, const std::string& payee,
                          const std::string& date) {
    return Fresh(s, [&] { return Impl::Of(s).GetYTDTaxablePayments(tax, payee, date); });
  }
  static Money AdjustBase(const clsFinStmnts& s, const std::vector<std::string>& definition,
                          Money base, const std::string& a, const std::string& b,
                          const std::string& c) {
    return Fresh(s, [&] { return Impl::Of(s).AdjustBaseForExemptions(definition, base, a, b, c); });
  }
};

namespace testing {

inline Money M(const char* text) { return ParseAmount(text); }

struct ShownMessage {
  std::string text, title;
  MessageIcon icon;
  MessageButtons buttons;
};

class RecordingMessageBox final : public MessageBox {
 public:
  std::vector<ShownMessage> shown;
  MessageResult Show(const std::string& text, const std::string& title, MessageIcon icon,
                     MessageButtons buttons) override {
    shown.push_back({text, title, icon, buttons});
    return MessageResult::kOk;
  }
};

// One paycheck as the payment journal stores it.
struct Paycheck {
  std::string payee = "Ann Lee";
  std::string date = "3/5/2004";
  const char* gross = "0";
  const char* regular = "0";
  const char* overtime = "0";
  const char* eic = "0";
  const char* net = "0";
  std::string withholding;
  std::string supplemental;
  bool void_check = false;
};

using Rows = std::vector<StatementRow>;

class StatementsTest : public ::testing::TestWithParam<Backend> {
 protected:
  explicit StatementsTest(std::uint32_t locale_id = kLocaleEnUs) : locale(locale_id) {}

  void SetUp() final {
    db = NewPayrollDatabase(GetParam());
    if (db) SetUpHousehold();
  }
  // The rows a fixture starts from.
  virtual void SetUpHousehold() {}

  // The library over the database as it now stands (Init reads the tables).
  clsFinStmnts& Statements() {
    stmts = std::make_unique<clsFinStmnts>(&messages, locale);
    stmts->Init(*db, sort, view);
    return *stmts;
  }

  void Pay(const Paycheck& p) {
    auto rs = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
    rs->AddNew();
    rs->SetField("Date", ParseDateValue(p.date));
    rs->SetField("payee", p.payee);
    rs->SetField("gross_pay", M(p.gross));
    rs->SetField("gross_regular", M(p.regular));
    rs->SetField("gross_overtime", M(p.overtime));
    rs->SetField("eic_pay", M(p.eic));
    rs->SetField("net_pay", M(p.net));
    rs->SetField("withholding_liability_data", p.withholding);
    rs->SetField("supplemental_pay_data", p.supplemental);
    rs->SetField("Paid", true);
    rs->SetField("Void", p.void_check);
    rs->Update();
  }

  // A Tax Settings row with the given fields.
  void Settings(const std::vector<std::pair<std::string, Value>>& fields) {
    auto rs = db->OpenRecordset("Tax Settings", RecordsetType::kTable);
    rs->AddNew();
    rs->SetField("PayrollPeriod", "0");
    for (const auto& [name, value] : fields) rs->SetField(name, value);
    rs->Update();
  }

  // Runs a statement and returns its rows.
  Rows Run(std::string type, std::string attendant, std::string start, std::string end) {
    if (!stmts) Statements();
    stmts->DoStatement(type, attendant, start, end);
    return view.rows();
  }

  std::vector<std::string> Catalogue() {
    Statements().PopulateStatementTypes(selector);
    return selector.items();
  }

  static Value ParseDateValue(const std::string& text);

  std::unique_ptr<Database> db;
  FixedLocaleProvider locale;
  RecordingMessageBox messages;
  MemorySortList sort;
  MemoryListView view;
  MemorySelector selector;
  std::unique_ptr<clsFinStmnts> stmts;
};

inline Value StatementsTest::ParseDateValue(const std::string& text) { return Value(text).ToDate(); }

// The amount of the first row whose description is `description`.
inline std::string AmountOf(const Rows& rows, const std::string& description) {
  for (const StatementRow& r : rows) {
    if (r.description == description) return r.amount;
  }
  return "<no row '" + description + "'>";
}

}  // namespace testing
}  // namespace veltrane
