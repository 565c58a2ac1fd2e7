#include "common/sql_translate.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace veltrane {
namespace {

TEST(SqlTranslate, DateLiteralsAndBooleanWordsBecomeSqlite) {
  EXPECT_EQ(TranslateJetSql("[TimeInDate] >=#3/1/04# and [PaidFor]= False").sql,
            "[TimeInDate] >='2004-03-01' and [PaidFor]= 0");
  EXPECT_EQ(TranslateJetSql("[paid]= True AND [void] = False").sql, "[paid]= 1 AND [void] = 0");
  EXPECT_EQ(TranslateJetSql("Void=False").sql, "Void=0");
}

TEST(SqlTranslate, QuotedTextsAndNamesPassUnchanged) {
  // A name holding the words or marks the translator rewrites stays as it is.
  EXPECT_EQ(TranslateJetSql("payee='True #1/1/04# O''Brien' AND [False]=1").sql,
            "payee='True #1/1/04# O''Brien' AND [False]=1");
  EXPECT_EQ(TranslateJetSql("TrueValue=IsFalse").sql, "TrueValue=IsFalse");
}

TEST(SqlTranslate, SumAliasesAreRecorded) {
  const auto t = TranslateJetSql("SELECT Sum(gross_pay) As [GrossYTD] FROM [Payment Journal]");
  ASSERT_EQ(t.sum_aliases.count("grossytd"), 1u);
  EXPECT_EQ(t.sum_aliases.at("grossytd"), "gross_pay");
}

TEST(SqlTranslate, MalformedTextsAreRejected) {
  EXPECT_THROW(TranslateJetSql("date >=#2/30/04#"), ConversionError);
  EXPECT_THROW(TranslateJetSql("date >=#3/1/04"), ConversionError);
  EXPECT_THROW(TranslateJetSql("payee='O'Brien'"), ConversionError);
}

}  // namespace
}  // namespace veltrane
