// Paychecks paid the way a host pays them: hours in the work journal, the
// paycheck prepared, shown and paid, then the period's hours marked paid. A
// month of weekly checks for two assistants, and a year of daily ones.
#include <algorithm>

#include "transaction_fixture.h"

namespace veltrane::testing {
namespace {

class MonthTest : public TransactionTest {
 protected:
  void SetUpHousehold() override {
    Settings(kWeekly);
    // Ann: 10 an hour, Single with one allowance.
    AddAssistant("Ann", "10", "15", "FIT|Single|1|Soc. Sec.|||Medicare|||FUTA|||");
    // Bob: 12.50 an hour, Married with two allowances, advance EIC (code 0).
    AddAssistant("Bob", "12.5", "18.75", "FIT|Married|2|Soc. Sec.|||Medicare|||EIC||0|");
    for (int week = 0; week < 4; ++week) {
      const int monday = 1 + 7 * week;
      for (int day = 0; day < 5; ++day) {
        const std::string date = "3/" + std::to_string(monday + day) + "/04";
        AddHours("Ann", date.c_str(), 6, week == 2 && day == 0 ? 2 : 0);
        AddHours("Bob", date.c_str(), 4);
      }
    }
  }

  void PayWeek(const std::string& name, int week) {
    const int first = 1 + 7 * week;
    clock.Set(MakeDate(2004, 3, static_cast<unsigned>(first + 7)));
    Pay(name, "3/" + std::to_string(first) + "/04", "3/" + std::to_string(first + 6) + "/04");
  }

  void Pay(const std::string& name, const std::string& start, const std::string& end) {
    Init(name, start, end);
    tx.DisplayCurrentAsCheck();
    ASSERT_TRUE(tx.ExecutePayment());
    db->Execute("UPDATE [Work Journal] SET PaidFor=True WHERE [Name]='" + QuoteName(name) +
                "' AND [PaidFor]=False AND [TimeInDate]>=#" + start + "# AND [TimeInDate]<=#" + end + "#");
  }

  // The latest stored check of an assistant.
  std::unique_ptr<Recordset> LastCheck(const std::string& name) {
    auto rs = db->OpenRecordset("SELECT * FROM [Payment Journal] WHERE payee='" + name + "' ORDER BY ID DESC",
                                RecordsetType::kDynaset);
    return rs;
  }
};

TEST_P(MonthTest, StoredChecksAndYearToDateFiguresMatchTheHandComputation) {
  for (int week = 0; week < 4; ++week) {
    PayWeek("Ann", week);
    PayWeek("Bob", week);
  }
  EXPECT_EQ(Journal()->RecordCount(), 8);

  // Ann, a 300 week (30 hours): FIT = 13.60 + 15% of (300 - 59.62 - 187)
  // = 21.607; Soc. Sec. 300 x 0.062 = 18.6; Medicare 300 x 0.0145 = 4.35;
  // net 255.443. Week three adds 2 overtime hours at 15: gross 330,
  // FIT 13.60 + 15% of 83.38 = 26.107, Soc. Sec. 20.46, Medicare 4.785,
  // net 278.648. Month: gross 1,230, net 3 x 255.443 + 278.648 = 1,044.977.
  auto ann = LastCheck("Ann");
  EXPECT_EQ(ann->Field("gross_pay").ToMoney(), M("300"));
  EXPECT_EQ(ann->Field("net_pay").ToMoney(), M("255.443"));
  EXPECT_EQ(ann->Field("gross_pay_ytd").ToMoney(), M("1230"));
  EXPECT_EQ(ann->Field("net_pay_ytd").ToMoney(), M("1044.977"));
  EXPECT_EQ(ann->Field("withholding_liability_data").ToText(),
            "FIT|21.607|0|Soc. Sec.|18.6|18.6|Medicare|4.35|4.35|FUTA|0|18.6|");
  EXPECT_EQ(ann->Field("Earnings").ToText(), "Regular|30|10|300|1200|Overtime|0|15|0|30|");
  // Year to date: FIT 3 x 21.607 + 26.107; Soc. Sec. 3 x 18.6 + 20.46;
  // Medicare 3 x 4.35 + 4.785.
  EXPECT_EQ(ann->Field("Deductions").ToText(), "FIT|21.607|90.928|Soc. Sec.|18.6|76.26|Medicare|4.35|17.835|");
  EXPECT_EQ(ann->Field("start_period").ToDate(), MakeDate(2004, 3, 22));
  EXPECT_EQ(ann->Field("Date").ToDate(), MakeDate(2004, 3, 29));

  // Bob, a 250 week (20 hours): FIT 0 (250 - 119.24 is under the 154
  // threshold); Soc. Sec. 15.5; Medicare 3.625; advance EIC is the flat 30
  // of the weekly single table (147 < 250 <= 270). Gross 280, net
  // 250 - 19.125 + 30 = 260.875. Month: gross 1,120, net 1,043.5, EIC 120.
  auto bob = LastCheck("Bob");
  EXPECT_EQ(bob->Field("gross_pay").ToMoney(), M("280"));
  EXPECT_EQ(bob->Field("eic_pay").ToMoney(), M("30"));
  EXPECT_EQ(bob->Field("net_pay").ToMoney(), M("260.875"));
  EXPECT_EQ(bob->Field("gross_pay_ytd").ToMoney(), M("1120"));
  EXPECT_EQ(bob->Field("net_pay_ytd").ToMoney(), M("1043.5"));
  EXPECT_EQ(bob->Field("Earnings").ToText(), "Regular|20|12.5|250|1000|Overtime|0|18.75|0|0|EIC|0|0|30|120|");
  EXPECT_EQ(bob->Field("Deductions").ToText(), "FIT|0|0|Soc. Sec.|15.5|62|Medicare|3.625|14.5|");

  // Every hour was paid once: a fifth paycheck of the first week has none.
  Init("Ann", "3/1/04", "3/7/04");
  EXPECT_EQ(Shown().at("GrossPay"), "0");
}

// Daily pay of 40 earns the flat 6 of the daily table each day, so the
// year's 1,563 is reached in September: 260 checks of 6, one of the 3 left,
// then nothing for the rest of the year although the wages stay far under
// the wage limit.
TEST_P(MonthTest, DailyAdvanceEICStopsAtTheYearsMaximum) {
  Settings({{"PayrollPeriod", "7"}});
  AddAssistant("Cy", "8", "12", "EIC||0|");
  std::vector<std::string> eic;
  for (std::chrono::sys_days day{MakeDate(2004, 1, 1)}; day <= std::chrono::sys_days{MakeDate(2004, 12, 31)};
       day += std::chrono::days(1)) {
    const std::string date = FormatSqlDate(Date{day});
    AddHours("Cy", date.c_str(), 5);
    clock.Set(Date{day});
    Pay("Cy", date, date);
    eic.push_back(FormatAmount(LastCheck("Cy")->Field("eic_pay").ToMoney()));
  }
  ASSERT_EQ(eic.size(), 366u);
  EXPECT_EQ(std::count(eic.begin(), eic.begin() + 260, "6"), 260);
  EXPECT_EQ(eic[260], "3");
  EXPECT_EQ(std::count(eic.begin() + 261, eic.end(), "0"), 366 - 261);
  auto total = db->OpenRecordset("SELECT Sum(eic_pay) AS total FROM [Payment Journal] WHERE payee='Cy'",
                                 RecordsetType::kForwardOnly);
  EXPECT_EQ(total->Field("total").ToMoney(), M("1563"));
  EXPECT_EQ(LastCheck("Cy")->Field("Earnings").ToText(), "Regular|5|8|40|14640|Overtime|0|12|0|0|EIC|0|0|0|1563|");
}

VELTRANE_ON_BOTH_BACKENDS(MonthTest);

}  // namespace
}  // namespace veltrane::testing
