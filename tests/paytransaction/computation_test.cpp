// The money of a paycheck: pay, the withholding and liability record, the
// advance earned income credit and net pay.
#include "common/errors.h"
#include "transaction_fixture.h"

namespace veltrane::testing {
namespace {

class ComputationTest : public TransactionTest {
 protected:
  void SetUpHousehold() override { Settings(kWeekly); }
};

TEST_P(ComputationTest, PayIsKeptToTheTenThousandth) {
  AddAssistant("Ann", "8.33", "12.5", "");
  AddHours("Ann", "3/2/04", 7.5);
  Init("Ann");
  EXPECT_EQ(Shown().at("GrossPay"), "62.475");
}

TEST_P(ComputationTest, SupplementalItemsAddToTheTaxableGross) {
  AddAssistant("Ann", "10", "15", "Soc. Sec.|||");
  AddHours("Ann", "3/2/04", 10);
  Init("Ann", "3/1/04", "3/7/04", "Bonus'100''Mileage'25.5''");
  EXPECT_EQ(Shown().at("GrossPay"), "225.5");
  // Taxed like wages: 225.5 x 0.062 (float) = 13.98099...
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "Soc. Sec.|13.981|13.981|");
}

TEST_P(ComputationTest, FederalEntriesFollowTheElectionOrder) {
  AddAssistant("Ann", "10", "15", "FUTA|||Medicare|||fit|Single|1|Soc. Sec.|||");
  AddHours("Ann", "3/2/04", 30);
  Init("Ann");
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "FUTA|0|18.6|Medicare|4.35|4.35|FIT|21.607|0|Soc. Sec.|18.6|18.6|");
}

TEST_P(ComputationTest, NoFitElectionMeansNoFitEntry) {
  AddAssistant("Ann", "10", "15", "Medicare|||");
  AddHours("Ann", "3/2/04", 30);
  Init("Ann");
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "Medicare|4.35|4.35|");
}

TEST_P(ComputationTest, AFitElectionWithoutAnExemptionCountIsSkipped) {
  AddAssistant("Ann", "10", "15", "FIT|Single||Medicare|||");
  AddHours("Ann", "3/2/04", 30);
  Init("Ann");
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "Medicare|4.35|4.35|");
}

TEST_P(ComputationTest, UnconfiguredStateTaxIsPassedOver) {
  AddAssistant("Ann", "10", "15", "Medicare|||SDI|Single|1|EIC||0|");
  AddHours("Ann", "3/2/04", 30);
  Init("Ann");
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "Medicare|4.35|4.35|");
}

TEST_P(ComputationTest, DisabilityInsuranceWorksWithoutStateIncomeTax) {
  Settings({{"PayrollPeriod", "0"}, {"SDIBase", "7000"}, {"SDIEmployeeRate", "1"}, {"SDIEmployerRate", "0.5"}});
  AddAssistant("Ann", "10", "15", "SIT|Single|1|SDI|Single|0|");
  AddHours("Ann", "3/2/04", 30);
  Init("Ann");
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "SDI|3|1.5|");
}

TEST_P(ComputationTest, StateAndEmployerTaxesComeFromTheirDefinitions) {
  // Union dues are a flat 5; state income tax 2% after a 100-a-year
  // allowance per exemption (two exemptions use up 200 of the 300 check).
  Settings({{"PayrollPeriod", "0"},
            {"OtherWithholdings", "Union dues|5||||||||"},
            {"SITRate", "2"},
            {"SITMarried", "100"},
            {"SITSingle", "150"}});
  AddAssistant("Ann", "10", "15", "Union dues|||SIT|married|2|");
  AddHours("Ann", "3/2/04", 30);
  Init("Ann");
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "Union dues|5|0|SIT|2|0|");
}

TEST_P(ComputationTest, AFailingOtherTaxCalculatorEmptiesTheRecord) {
  struct Failing : OtherTaxRules {
    void LoadDefinition(const std::string&) override {}
    std::string GetWithholdingAndLiability(Money, Money, const std::string&, const Value&) override {
      throw ConversionError("broken");
    }
  };
  clsTransaction failing(clock, [] { return std::make_unique<Failing>(); });
  Settings({{"PayrollPeriod", "0"}, {"SITRate", "2"}});
  AddAssistant("Ann", "10", "15", "Medicare|||SIT|Single|1|");
  AddHours("Ann", "3/2/04", 30);
  OpenSets();
  failing.InitTransaction(*db, *tax_settings, *work_journal, *master, *payment_journal, *assistants, &paycheck, "Ann",
                          "3/1/04", "3/7/04", "", false, "");
  EXPECT_EQ(failing.GetWithholdingsAndLiabilities(), "");
}

TEST_P(ComputationTest, ARateThatIsNotANumberEmptiesTheRecord) {
  Settings({{"PayrollPeriod", "0"}, {"SITRate", "two"}});
  AddAssistant("Ann", "10", "15", "Medicare|||SIT|Single|1|FIT|Single|1|");
  AddHours("Ann", "3/2/04", 30);
  Init("Ann");
  EXPECT_EQ(tx.GetWithholdingsAndLiabilities(), "");
  EXPECT_EQ(Shown().at("NetPay"), "300");
}

class EicTest : public ComputationTest {
 protected:
  // A weekly check of 200 pays the flat 30 of the single table.
  void Prepare(const char* elections, bool reduce) {
    Settings({{"PayrollPeriod", "0"}, {"EICReduce", reduce}});
    AddAssistant("Ann", "10", "15", elections);
    AddHours("Ann", "3/2/04", 20);
    Init("Ann");
  }
};

TEST_P(EicTest, AnEicElectionWithoutASpouseCodePaysNothing) {
  Prepare("Medicare|||EIC|||", false);
  EXPECT_EQ(Shown().at("GrossPay"), "200");
}

TEST_P(EicTest, PaymentIsAddedToGrossAndNet) {
  Prepare("Medicare|||EIC||0|", false);
  const auto shown = Shown();
  EXPECT_EQ(shown.at("GrossPay"), "230");
  EXPECT_EQ(shown.at("NetPay"), "227.1");  // 200 - 2.9 + 30
}

TEST_P(EicTest, ReduceLimitsThePaymentToTheChecksTaxes) {
  Prepare("EIC||0|", true);
  tx.SetWithholdingsAndLiabilities("FIT|10|0|Soc. Sec.|6|6|Medicare|1.5|1.5|FUTA|0|12|SIT|4|0|");
  const auto shown = Shown();
  EXPECT_EQ(shown.at("GrossPay"), "225");  // limit: FIT 10 + Soc. Sec. 12 + Medicare 3
  EXPECT_EQ(shown.at("NetPay"), "203.5");  // 200 - 21.5 + 25
}

TEST_P(EicTest, AnEmptyRecordMakesNetEqualGross) {
  Prepare("Medicare|||", false);
  tx.SetWithholdingsAndLiabilities("");
  const auto shown = Shown();
  EXPECT_EQ(shown.at("NetPay"), shown.at("GrossPay"));
  EXPECT_EQ(shown.at("Deductions"), "");
}

TEST(OtherTaxRules, TaxableWagesLieUnderTheBaseAfterTheAllowance) {
  clsOtherTaxRules rules;
  // Base 7,000, 1% withheld, 0.5% employer, 1,000 allowance for single.
  rules.LoadDefinition("SDI||7000|1|0.5|1|0|1000|0|");
  // The allowance is used up by the first 1,000 of the year.
  EXPECT_EQ(rules.GetWithholdingAndLiability(M("600"), M("0"), "Single", Value("1")), "SDI|0|0|");
  EXPECT_EQ(rules.GetWithholdingAndLiability(M("600"), M("600"), "single", Value("1")), "SDI|2|1|");
  // Only 200 of this check lies under the base.
  EXPECT_EQ(rules.GetWithholdingAndLiability(M("500"), M("6800"), "Single", Value("0")), "SDI|2|1|");
  EXPECT_EQ(rules.GetWithholdingAndLiability(M("500"), M("7000"), "Single", Value("")), "SDI|0|0|");
  // No base: no limit; a status without an allowance exempts nothing.
  rules.LoadDefinition("Dues|||1.5|||||");
  EXPECT_EQ(rules.GetWithholdingAndLiability(M("100"), M("90000"), "", Value("")), "Dues|1.5|0|");
  rules.LoadDefinition("Dues||abc|1.5|||||");
  EXPECT_THROW(rules.GetWithholdingAndLiability(M("100"), M("0"), "", Value("")), ConversionError);
}

VELTRANE_ON_BOTH_BACKENDS(ComputationTest);
VELTRANE_ON_BOTH_BACKENDS(EicTest);

}  // namespace
}  // namespace veltrane::testing
