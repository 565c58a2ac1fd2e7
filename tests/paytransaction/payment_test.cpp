// Storing the paycheck, the check number and supplemental pay.
#include "transaction_fixture.h"

namespace veltrane::testing {
namespace {

class PaymentTest : public TransactionTest {
 protected:
  void SetUpHousehold() override { Settings(kWeekly); }
};

TEST_P(PaymentTest, AdvanceEicIsStoredInGrossNetAndEicPay) {
  // A weekly 200 check pays the flat 30 of the single EIC table.
  AddAssistant("Ann", "10", "15", "Medicare|||EIC||0|");
  AddHours("Ann", "3/2/04", 20);
  Init("Ann", "3/1/04", "3/7/04", "", "501");
  ASSERT_TRUE(tx.ExecutePayment());
  auto rs = Journal();
  ASSERT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->Field("gross_pay").ToMoney(), M("230"));
  EXPECT_EQ(rs->Field("eic_pay").ToMoney(), M("30"));
  EXPECT_EQ(rs->Field("net_pay").ToMoney(), M("227.1"));  // 200 - 2.9 + 30
  EXPECT_EQ(rs->Field("gross_pay_ytd").ToMoney(), M("230"));
  EXPECT_EQ(rs->Field("net_pay_ytd").ToMoney(), M("227.1"));
  EXPECT_EQ(rs->Field("Date").ToDate(), MakeDate(2004, 3, 15));
  EXPECT_EQ(rs->Field("start_period").ToDate(), MakeDate(2004, 3, 1));
  EXPECT_EQ(rs->Field("end_period").ToDate(), MakeDate(2004, 3, 7));
  EXPECT_EQ(rs->Field("check_number").ToText(), "501");
  EXPECT_EQ(rs->Field("withholding_liability_data").ToText(), "Medicare|2.9|2.9|");
  EXPECT_EQ(rs->Field("supplemental_pay_data").ToText(), "");
  EXPECT_FALSE(rs->Field("supplemental_pay_data").IsNull());
  EXPECT_EQ(rs->Field("Earnings").ToText(), "Regular|20|10|200|200|Overtime|0|15|0|0|EIC|0|0|30|30|");
  EXPECT_EQ(rs->Field("Deductions").ToText(), "Medicare|2.9|2.9|");
  EXPECT_TRUE(rs->Field("Paid").ToBool());
  EXPECT_FALSE(rs->Field("Void").ToBool());
}

TEST_P(PaymentTest, EachExecutionAddsARowAndLaterSumsIncludeIt) {
  AddAssistant("Ann", "10", "15", "Medicare|||");
  AddHours("Ann", "3/2/04", 10);
  Init("Ann");
  ASSERT_TRUE(tx.ExecutePayment());
  // The same object's later sums see the row; the held gross does not yet.
  EXPECT_EQ(Shown().at("NetYTD"), "197.1");  // 98.55 stored + 98.55 now
  EXPECT_EQ(Shown().at("GrossYTD"), "100");
  ASSERT_TRUE(tx.ExecutePayment());
  auto rs = Journal();
  ASSERT_EQ(rs->RecordCount(), 2);
  const std::int64_t first_id = rs->Field("ID").ToInt();
  rs->MoveNext();
  EXPECT_EQ(rs->Field("ID").ToInt(), first_id + 1);
  EXPECT_EQ(rs->Field("gross_pay").ToMoney(), M("100"));
  EXPECT_EQ(rs->Field("net_pay_ytd").ToMoney(), M("197.1"));
  // The host's set is left on its first row.
  EXPECT_EQ(payment_journal->Field("ID").ToInt(), first_id);
}

TEST_P(PaymentTest, AFieldThatCannotBeStoredLeavesNoRow) {
  AddAssistant("Ann", "10", "15", "");
  AddHours("Ann", "3/2/04", 10);
  // A host journal without one of the fields the check needs.
  db->Execute("CREATE TABLE Narrow (ID INTEGER PRIMARY KEY, payee TEXT)");
  auto narrow = db->OpenRecordset("Narrow", RecordsetType::kTable);
  OpenSets();
  tx.InitTransaction(*db, *tax_settings, *work_journal, *master, *narrow, *assistants, &paycheck, "Ann", "3/1/04",
                     "3/7/04", "", false, "");
  EXPECT_FALSE(tx.ExecutePayment());
  EXPECT_EQ(db->OpenRecordset("Narrow", RecordsetType::kTable)->RecordCount(), 0);
}

TEST_P(PaymentTest, CheckNumberIsHeldAsText) {
  AddAssistant("Ann", "10", "15", "");
  Init("Ann", "3/1/04", "3/7/04", "", "A12");
  EXPECT_EQ(tx.CheckNumber(), 0);
  tx.CheckNumber(1024);
  EXPECT_EQ(tx.CheckNumber(), 1024);
  ASSERT_TRUE(tx.ExecutePayment());
  EXPECT_EQ(Journal()->Field("check_number").ToText(), "1024");
  Init("Ann", "3/1/04", "3/7/04", "", "");
  EXPECT_EQ(tx.CheckNumber(), 0);
}

TEST_P(PaymentTest, AddedSupplementalPayRecomputesEveryWithholding) {
  AddAssistant("Ann", "10", "15", "FIT|Single|1|Soc. Sec.|||");
  AddHours("Ann", "3/2/04", 30);
  Init("Ann");
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "FIT|21.607|0|Soc. Sec.|18.6|18.6|");
  tx.SetWithholdingsAndLiabilities("");  // replaced records are lost on recomputation
  tx.AddSuppPay("Bonus'50''");
  // 350: FIT 13.60 + 15% of 103.38; Soc. Sec. 350 x 0.062 (float).
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "FIT|29.107|0|Soc. Sec.|21.7|21.7|");
  const auto shown = Shown();
  EXPECT_EQ(shown.at("GrossPay"), "350");
  EXPECT_EQ(shown.at("HasSuppPay"), "True");
  ASSERT_TRUE(tx.ExecutePayment());
  EXPECT_EQ(Journal()->Field("supplemental_pay_data").ToText(), "Bonus'50''");
}

VELTRANE_ON_BOTH_BACKENDS(PaymentTest);

}  // namespace
}  // namespace veltrane::testing
