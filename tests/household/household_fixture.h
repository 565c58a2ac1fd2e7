// A household in an in-memory payroll database: the employer Dana
// Whitfield, weekly pay, and the assistant Ann Lee at $10 an hour ($15
// overtime) with FIT Single 1, Social Security and Medicare; today is
// 3/8/2004. The household operations are called as a front end calls them.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "common/clock.h"
#include "common/sqlite_database.h"
#include "host/household/fault.h"
#include "host/household/hours.h"
#include "host/household/journal.h"
#include "host/household/paycheck.h"
#include "host/household/people.h"
#include "host/household/settings.h"

namespace veltrane::household::testing {

// The fault `action` raises; fails the test when it raises none.
inline Fault FaultOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Fault& f) {
    return f;
  }
  ADD_FAILURE() << "no fault";
  return Fault("", "none");
}

class HouseholdTest : public ::testing::Test {
 protected:
  HouseholdTest() : clock(MakeDate(2004, 3, 8)) {
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    db = OpenSqliteDatabase(":memory:");
    CreatePayrollSchema(*db);
    SetEmployer(*db, {{"first", "Dana"},
                      {"last", "Whitfield"},
                      {"address1", "12 Larch Lane"},
                      {"city", "Springfield"},
                      {"state", "IL"},
                      {"zip", "62704"},
                      {"employer-id", "36-4417520"}});
    StoreSettings(*db, {{"period", "Weekly"}});
    AddAssistant(*db, "Ann Lee",
                 {{{"first", "Ann"}, {"last", "Lee"}, {"ssn", "123-45-6780"}},
                  "10",
                  std::nullopt,
                  std::vector<ElectionInput>{{"fit", "FIT", "Single", "1"},
                                             {"ss", "Soc. Sec.", "", ""},
                                             {"medicare", "Medicare", "", ""}}});
  }

  void AddHours(const std::string& name, const std::string& day, const std::string& regular,
                const std::string& overtime = "") {
    const HoursEntry entry = CheckHours(*db, {name, day, regular, overtime});
    RecordHours(*db, {&entry, 1});
  }
  // Eight hours a day, Monday 3/1/2004 to Friday 3/5/2004.
  void AddWeekOfHours(const std::string& name) {
    for (const char* day : {"3/1/2004", "3/2/2004", "3/3/2004", "3/4/2004", "3/5/2004"})
      AddHours(name, day, "8");
  }

  PaycheckOutcome Pay(PaycheckInput input) {
    return PayPaycheck(*db, clock, CheckPaycheckRequest(*db, input));
  }
  PaycheckOutcome Preview(PaycheckInput input) {
    return PreparePaycheck(*db, clock, CheckPaycheckRequest(*db, input));
  }

  long long Count(const std::string& sql) {
    auto rs = db->OpenRecordset(sql, RecordsetType::kForwardOnly);
    const long long n = rs->Field("n").ToInt();
    rs->Close();
    return n;
  }

  FixedClock clock;
  std::unique_ptr<Database> db;
};

}  // namespace veltrane::household::testing
