// The database layer against a real database of either kind, with the
// query texts the components run, as they write them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/amount_text.h"
#include "common/date.h"
#include "common/errors.h"
#include "common/sqlite_database.h"
#include "support/test_databases.h"

namespace veltrane::testing {
namespace {

Money M(const char* t) { return ParseAmount(t); }

class PayrollDb : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override { db = NewPayrollDatabase(GetParam()); }

  void AddPayment(const std::string& payee, const char* date, const char* end, const char* gross,
                  bool paid = true, bool is_void = false) {
    auto rs = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
    rs->AddNew();
    rs->SetField("payee", payee);
    rs->SetField("Date", ParseDate(date));
    rs->SetField("start_period", ParseDate(end));
    rs->SetField("end_period", ParseDate(end));
    rs->SetField("gross_pay", M(gross));
    rs->SetField("Paid", paid);
    rs->SetField("Void", is_void);
    rs->Update();
  }

  void AddHours(const std::string& name, const char* day, double reg, double ot, bool paid = false) {
    auto rs = db->OpenRecordset("[Work Journal]", RecordsetType::kDynaset);
    rs->AddNew();
    rs->SetField("Name", name);
    rs->SetField("TimeInDate", ParseDate(day));
    rs->SetField("RegHours", reg);
    rs->SetField("OTHours", ot);
    rs->SetField("PaidFor", paid);
    rs->Update();
  }

  // Reads the single field of a sum query opened forward-only.
  Value Sum(const std::string& sql, const char* alias) {
    auto rs = db->OpenRecordset(sql, RecordsetType::kForwardOnly);
    Value v = rs->Field(alias);
    rs->Close();
    return v;
  }

  std::string GrossYtdQuery(const std::string& name, const char* first, const char* last) {
    return "SELECT Sum(gross_pay) As [GrossYTD] FROM [Payment Journal] WHERE [payee]='" + QuoteName(name) +
           "' AND [paid]= True AND [void] = False AND [end_period]>=#" + first + "# AND [end_period] <=#" + last +
           "#";
  }

  std::string RegHoursQuery(const std::string& name, const char* start, const char* end) {
    return "SELECT Sum(RegHours) As [RegTot] FROM [Work Journal] WHERE [Name]='" + QuoteName(name) +
           "' AND [PaidFor]= False AND [TimeInDate] >=#" + start + "# and [TimeInDate] <=#" + end + "#";
  }

  std::unique_ptr<Database> db;
};
VELTRANE_ON_BOTH_BACKENDS(PayrollDb);

TEST_P(PayrollDb, HoursSumCountsBothBoundsOnlyUnpaidAndOnlyTheAssistant) {
  AddHours("Ann", "3/1/04", 8, 1);      // first day
  AddHours("Ann", "3/7/04", 4, 0);      // last day
  AddHours("Ann", "2/29/04", 100, 0);   // before
  AddHours("Ann", "3/8/04", 100, 0);    // after
  AddHours("Ann", "3/3/04", 100, 0, true);  // already paid
  AddHours("Bob", "3/3/04", 100, 0);    // another assistant
  EXPECT_DOUBLE_EQ(Sum(RegHoursQuery("ann", "3/1/04", "3/7/04"), "RegTot").ToDouble(), 12.0);
  const std::string ot = "SELECT Sum(OTHours) As [OTTot] FROM [Work Journal] WHERE [Name]='Ann' AND [PaidFor]= False "
                         "AND [TimeInDate] >=#3/1/04# and [TimeInDate] <=#3/7/04#";
  EXPECT_DOUBLE_EQ(Sum(ot, "OTTot").ToDouble(), 1.0);
}

TEST_P(PayrollDb, SumOverNoRowsIsNull) {
  EXPECT_TRUE(Sum(RegHoursQuery("Nobody", "3/1/04", "3/7/04"), "RegTot").IsNull());
  EXPECT_TRUE(Sum(GrossYtdQuery("Nobody", "1/1/04", "12/31/04"), "GrossYTD").IsNull());
}

TEST_P(PayrollDb, YearToDateSumIsExactMoneyOfPaidNonVoidRowsOfTheYear) {
  AddPayment("Ann", "1/2/04", "1/1/04", "0.1");       // first day of the year
  AddPayment("Ann", "12/31/04", "12/31/04", "0.2");   // last day
  AddPayment("Ann", "1/3/05", "12/31/03", "1000");    // previous year's period
  AddPayment("Ann", "1/3/05", "1/1/05", "1000");      // next year
  AddPayment("Ann", "6/1/04", "6/1/04", "1000", false);        // not paid
  AddPayment("Ann", "6/1/04", "6/1/04", "1000", true, true);   // void
  AddPayment("Bob", "6/1/04", "6/1/04", "1000");      // another payee
  const Value ytd = Sum(GrossYtdQuery("ANN", "1/1/04", "12/31/04"), "GrossYTD");
  ASSERT_TRUE(std::holds_alternative<Money>(ytd.storage()));
  EXPECT_EQ(ytd.ToMoney(), M("0.3"));  // exact: no binary float in the sum
}

TEST_P(PayrollDb, EveryLedgerYearToDateQueryRunsAsWritten) {
  AddPayment("Ann", "3/5/04", "3/5/04", "500");
  for (const auto& [field, alias] : std::vector<std::pair<std::string, std::string>>{
           {"gross_overtime", "OTTotYTD"}, {"gross_regular", "RegYTD"}, {"eic_pay", "EICYTD"},
           {"net_pay", "NetYTD"}, {"gross_pay", "GrossYTD"}}) {
    const std::string sql = "SELECT Sum(" + field + ") As [" + alias + "] FROM [Payment Journal] WHERE [payee]='" +
                            "Ann" + "' AND [paid]= True AND [void] = False AND [end_period]>=#" + "1/1/04" +
                            "# AND [end_period] <=#" + "12/31/04" + "#";
    const Value v = Sum(sql, alias.c_str());
    if (field == "gross_pay") EXPECT_EQ(v.ToMoney(), M("500"));
    else EXPECT_TRUE(v.IsNull()) << field;  // the row leaves these fields Null
  }
}

TEST_P(PayrollDb, JournalQueriesSelectByDateAndLeaveOutVoidRows) {
  AddPayment("Ann", "1/1/04", "1/1/04", "1");
  AddPayment("Ann", "3/31/04", "3/31/04", "2");
  AddPayment("Ann", "4/1/04", "4/1/04", "4");
  AddPayment("Ann", "2/1/04", "2/1/04", "8", false);         // unpaid rows still count here
  AddPayment("Ann", "2/2/04", "2/2/04", "16", true, true);   // void
  AddPayment("Bob", "2/3/04", "2/3/04", "32");
  const auto total = [&](const std::string& sql) {
    auto rs = db->OpenRecordset(sql, RecordsetType::kForwardOnly);
    Money t;
    for (; !rs->IsEOF(); rs->MoveNext()) t += rs->Field("gross_pay").ToMoney();
    return t;
  };
  EXPECT_EQ(total("SELECT * FROM [Payment Journal] WHERE payee='ann' AND date >=#1/1/04# AND date <=#3/31/04# AND "
                  "Void=False"),
            M("11"));
  EXPECT_EQ(total("SELECT * FROM [Payment Journal] WHERE payee='Ann' AND Void=False"), M("15"));
  EXPECT_EQ(total("SELECT * FROM [Payment Journal] WHERE [date] >=#1/1/04# AND [date] <=#3/31/04# AND Void=False"),
            M("43"));
  EXPECT_EQ(total("SELECT * FROM [Payment Journal] WHERE Void=False"), M("47"));
}

TEST_P(PayrollDb, SqlInAnAssistantsNameDoesNotRetypeTheSums) {
  const std::string hours_name = "Sum(PaidFor) As [RegTot]";
  const std::string pay_name = "Sum(PaidFor) As [GrossYTD]";
  AddHours(hours_name, "3/1/04", 8, 0);
  AddPayment(pay_name, "3/5/04", "3/5/04", "123.4567");
  const Value hours = Sum(RegHoursQuery(hours_name, "3/1/04", "3/7/04"), "RegTot");
  EXPECT_DOUBLE_EQ(hours.ToDouble(), 8.0);  // read as the boolean PaidFor it would be -1
  const Value gross = Sum(GrossYtdQuery(pay_name, "1/1/04", "12/31/04"), "GrossYTD");
  EXPECT_TRUE(std::holds_alternative<Money>(gross.storage()));
  EXPECT_EQ(gross.ToMoney(), M("123.4567"));
}

TEST_P(PayrollDb, QuotedNamesWithApostrophesMatchOnlyThemselves) {
  AddPayment("O'Brien", "3/5/04", "3/5/04", "100");
  AddPayment("x' OR '1'='1", "3/5/04", "3/5/04", "7");
  AddPayment("Ann", "3/5/04", "3/5/04", "1000");
  EXPECT_EQ(Sum(GrossYtdQuery("O'Brien", "1/1/04", "12/31/04"), "GrossYTD").ToMoney(), M("100"));
  EXPECT_EQ(Sum(GrossYtdQuery("x' OR '1'='1", "1/1/04", "12/31/04"), "GrossYTD").ToMoney(), M("7"));
  auto rs = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
  rs->FindFirst("payee='" + QuoteName("O'Brien") + "'");
  ASSERT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->Field("gross_pay").ToMoney(), M("100"));
}

TEST_P(PayrollDb, FindFirstPositionsOnTheFirstMatchOrSetsNoMatch) {
  AddPayment("Ann", "3/5/04", "3/5/04", "1");
  AddPayment("Bob", "3/5/04", "3/5/04", "2");
  AddPayment("bob", "3/6/04", "3/6/04", "3");
  auto rs = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
  EXPECT_EQ(rs->RecordCount(), 3);
  rs->FindFirst("payee='BOB'");
  ASSERT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->Field("gross_pay").ToMoney(), M("2"));
  const std::int64_t id = rs->Field("id").ToInt();
  rs->FindFirst("payee='Carl'");
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(rs->Field("ID").ToInt(), id);  // position unchanged
  rs->FindFirst("ID=" + std::to_string(id + 1));
  ASSERT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->Field("gross_pay").ToMoney(), M("3"));

  auto query = db->OpenRecordset("SELECT * FROM [Payment Journal] WHERE Void=False", RecordsetType::kDynaset);
  query->FindFirst("payee='bob' AND gross_pay > 20000");
  ASSERT_FALSE(query->NoMatch());
  EXPECT_EQ(query->Field("Date").ToDate(), MakeDate(2004, 3, 6));
}

TEST_P(PayrollDb, RowRoundTripKeepsEveryFieldType) {
  auto rs = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
  EXPECT_TRUE(rs->IsBOF());
  EXPECT_TRUE(rs->IsEOF());
  rs->AddNew();
  rs->SetField("Date", "3/5/2004");
  rs->SetField("payee", "Ann");
  rs->SetField("check_number", "");
  rs->SetField("Earnings", "Regular|40|10|400|400|");
  rs->SetField("gross_pay", M("5449.7999"));
  rs->SetField("net_pay", Value("-0.0625"));
  rs->SetField("supplemental_pay_data", Value());
  rs->SetField("Paid", true);
  rs->Update();
  EXPECT_EQ(rs->RecordCount(), 1);
  rs->MoveFirst();
  EXPECT_EQ(rs->Field("date").ToDate(), MakeDate(2004, 3, 5));
  EXPECT_EQ(rs->Field("PAYEE").ToText(), "Ann");
  EXPECT_EQ(rs->Field("check_number").ToText(), "");
  EXPECT_FALSE(rs->Field("check_number").IsNull());
  EXPECT_EQ(rs->Field("Earnings").ToText(), "Regular|40|10|400|400|");
  EXPECT_EQ(rs->Field("gross_pay").ToMoney(), M("5449.7999"));
  EXPECT_EQ(rs->Field("net_pay").ToMoney(), M("-0.0625"));
  EXPECT_TRUE(rs->Field("supplemental_pay_data").IsNull());
  EXPECT_EQ(rs->Field("Paid"), Value(true));
  EXPECT_EQ(rs->Field("Void"), Value(false));  // default
  EXPECT_GT(rs->Field("ID").ToInt(), 0);
  EXPECT_THROW(rs->Field("no_such_field"), DatabaseError);
}

// An SQLite file holds dates as texts, which raw SQL may have written in
// any form; a server holds days.
TEST(SqliteFile, StoredDatesReadAsDaysAndImpossibleOnesAreRefused) {
  const auto db = OpenSqliteDatabase(":memory:");
  CreatePayrollSchema(*db);
  db->Execute("INSERT INTO [Payment Journal] (payee, end_period) VALUES "
              "('a', '2004-03-05'), ('b', '2004-12-31 23:59:59'), ('c', '3/5/04'), ('d', '2004-02-30'), "
              "('e', '2004-3-5x'), ('f', '2004-13-01'), ('g', '0004-01-01')");
  auto rs = db->OpenRecordset("SELECT end_period FROM [Payment Journal] ORDER BY payee", RecordsetType::kForwardOnly);
  std::vector<std::string> read;
  for (; !rs->IsEOF(); rs->MoveNext()) {
    try {
      read.push_back(FormatIsoDate(rs->Field("end_period").ToDate()));
    } catch (const ConversionError&) {
      read.push_back("refused");
    }
  }
  EXPECT_EQ(read, (std::vector<std::string>{"2004-03-05", "2004-12-31", "2004-03-05", "refused", "refused",
                                            "refused", "0004-01-01"}));
  // Binary floats cannot reach a money column, even through raw SQL.
  EXPECT_THROW(db->Execute("INSERT INTO [Payment Journal] (payee, gross_pay) VALUES ('Ann', 12.5)"), DatabaseError);
}

TEST_P(PayrollDb, AFailedAssignmentOrStoreLeavesNoRow) {
  auto rs = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
  rs->AddNew();
  rs->SetField("payee", "Ann");
  EXPECT_THROW(rs->SetField("gross_pay", Value("not money")), ConversionError);
  EXPECT_THROW(rs->SetField("no_such_field", 1), DatabaseError);
  rs->CancelUpdate();
  EXPECT_THROW(rs->Update(), DatabaseError);  // nothing pending any more
  EXPECT_EQ(db->OpenRecordset("Payment Journal", RecordsetType::kTable)->RecordCount(), 0);
}

TEST_P(PayrollDb, ForwardOnlySetStreamsOnce) {
  auto empty = db->OpenRecordset("SELECT * FROM [Payment Journal]", RecordsetType::kForwardOnly);
  EXPECT_TRUE(empty->IsBOF());
  EXPECT_TRUE(empty->IsEOF());
  EXPECT_THROW(empty->Field("payee"), DatabaseError);
  AddPayment("Ann", "3/5/04", "3/5/04", "1");
  AddPayment("Bob", "3/5/04", "3/5/04", "2");
  auto rs = db->OpenRecordset("Payment Journal", RecordsetType::kForwardOnly);
  EXPECT_FALSE(rs->IsBOF());
  EXPECT_EQ(rs->Field("payee").ToText(), "Ann");
  rs->MoveNext();
  EXPECT_EQ(rs->Field("payee").ToText(), "Bob");
  EXPECT_THROW(rs->MoveFirst(), DatabaseError);
  EXPECT_THROW(rs->FindFirst("payee='Ann'"), DatabaseError);
  rs->MoveNext();
  EXPECT_TRUE(rs->IsEOF());
  EXPECT_THROW(rs->MoveNext(), DatabaseError);
}

TEST_P(PayrollDb, TransactionScopeRollsBackUnlessCommitted) {
  {
    TransactionScope tx(*db);
    AddPayment("Ann", "3/5/04", "3/5/04", "1");
    db->Execute("UPDATE [Work Journal] SET PaidFor=True WHERE [Name]='Ann'");
  }
  EXPECT_EQ(db->OpenRecordset("Payment Journal", RecordsetType::kTable)->RecordCount(), 0);
  {
    TransactionScope tx(*db);
    AddPayment("Ann", "3/5/04", "3/5/04", "1");
    tx.Commit();
  }
  EXPECT_EQ(db->OpenRecordset("Payment Journal", RecordsetType::kTable)->RecordCount(), 1);
}

// As on a file, a statement that fails inside a transaction is undone
// alone, and what the transaction did before and after it is stored.
TEST_P(PayrollDb, AFailedStatementInATransactionIsUndoneAlone) {
  {
    TransactionScope tx(*db);
    AddHours("Ann", "3/1/04", 8, 0);
    EXPECT_THROW(db->Execute("UPDATE [Work Journal] SET NoSuchField=1"), DatabaseError);
    auto people = db->OpenRecordset("Assistants", RecordsetType::kTable);
    for (int i = 0; i < 2; ++i) {
      people->AddNew();
      people->SetField("Name", "Ann");  // the second one breaks the unique name
      if (i == 0) people->Update();
      else EXPECT_THROW(people->Update(), DatabaseError);
    }
    AddHours("Ann", "3/2/04", 4, 0);
    tx.Commit();
  }
  EXPECT_DOUBLE_EQ(Sum(RegHoursQuery("Ann", "3/1/04", "3/7/04"), "RegTot").ToDouble(), 12.0);
  EXPECT_EQ(db->OpenRecordset("Assistants", RecordsetType::kTable)->RecordCount(), 1);
}

TEST_P(PayrollDb, AScopeInsideATransactionIsUndoneAloneAndStoredWithTheOuterOne) {
  const auto count = [&] { return db->OpenRecordset("Payment Journal", RecordsetType::kTable)->RecordCount(); };
  {
    TransactionScope outer(*db);
    AddPayment("Ann", "3/5/04", "3/5/04", "1");
    {
      TransactionScope inner(*db);
      AddPayment("Bob", "3/5/04", "3/5/04", "2");
    }  // not committed: only Bob's row goes
    EXPECT_EQ(count(), 1);
    {
      TransactionScope inner(*db);
      AddPayment("Cy", "3/5/04", "3/5/04", "3");
      inner.Commit();
    }
    EXPECT_TRUE(db->InTransaction());
    EXPECT_EQ(count(), 2);
  }  // the outer one not committed: nothing stays
  EXPECT_FALSE(db->InTransaction());
  EXPECT_EQ(count(), 0);
  {
    TransactionScope outer(*db);
    {
      TransactionScope inner(*db);
      AddPayment("Cy", "3/5/04", "3/5/04", "3");
      inner.Commit();
    }
    outer.Commit();
  }
  EXPECT_EQ(count(), 1);
}

}  // namespace
}  // namespace veltrane::testing
