#include "common/sql_translate.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/database.h"
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


TEST(SqlTranslate, SumAliasesOfBracketedQualifiedAndQuotedNames) {
  const auto t = TranslateJetSql(
      "SELECT Sum ( [Gross Pay] ) AS [Gross YTD], SUM([Payment Journal].net_pay) as Net, "
      "Sum(\"a\"\"b\") As `c``d`, Sum(x) + 1 As NotASum, Count(y) As Rows FROM t");
  const std::map<std::string, std::string> expected = {
      {"gross ytd", "gross pay"}, {"net", "net_pay"}, {"c`d", "a\"b"}};
  EXPECT_EQ(t.sum_aliases, expected);
}

TEST(SqlTranslate, PostgresqlNamesFoldToLowerCaseAndLiteralsAreTyped) {
  const auto pg = [](std::string_view jet) { return TranslateJetSql(jet, SqlDialect::kPostgresql).sql; };
  EXPECT_EQ(pg("SELECT Sum(gross_pay) As [GrossYTD] FROM [Payment Journal] WHERE [payee]='O''Brien [X]' AND "
               "[paid]= True AND Void=False AND [end_period]>=#1/1/04#"),
            "SELECT Sum(gross_pay) As \"grossytd\" FROM \"payment journal\" WHERE \"payee\"='O''Brien [X]' AND "
            "\"paid\"= TRUE AND Void=FALSE AND \"end_period\">=DATE '2004-01-01'");
  EXPECT_EQ(pg("[a\"B] \"C\"\"D\" `E``F`"), "\"a\"\"b\" \"c\"\"d\" \"e`f\"");
  EXPECT_EQ(QuotedName("Work \"Journal\"", SqlDialect::kPostgresql), "\"work \"\"journal\"\"\"");
  EXPECT_EQ(QuotedName("Work Journal", SqlDialect::kSqlite), "\"Work Journal\"");
}

TEST(SqlTranslate, PostgresqlNeverReadsEscapesParametersOrANulInAText) {
  const auto pg = [](std::string_view jet) { return TranslateJetSql(jet, SqlDialect::kPostgresql).sql; };
  // E'...' and U&"..." would read backslash escapes inside the quotes.
  EXPECT_EQ(pg("a=E'\\' OR b=U&\"x\""), "a=E '\\' OR b=U& \"x\"");
  EXPECT_EQ(TranslateJetSql("a=E'x'").sql, "a=E'x'");
  EXPECT_THROW(pg("a=$1"), ConversionError);
  EXPECT_THROW(pg("a=$$x$$"), ConversionError);
  EXPECT_EQ(pg("a='$1'"), "a='$1'");
  EXPECT_THROW(pg(std::string_view("a='x\0' OR 1=1", 13)), ConversionError);
}

TEST(SqlTranslate, ATextSplitsIntoItsStatementsAtSemicolonsOutsideQuotes) {
  const auto t = TranslateJetSql("UPDATE t SET a='x;y'; ; DELETE FROM [u;v] ;", SqlDialect::kPostgresql);
  EXPECT_EQ(t.Statements(), (std::vector<std::string>{"UPDATE t SET a='x;y'", "DELETE FROM \"u;v\""}));
}

// The texts a person can put into a query: names and criteria values.
class QuotedTextInQuery : public ::testing::Test {
 protected:
  static std::string Query(const std::string& name) {
    return "SELECT Sum(RegHours) As [RegTot] FROM [Work Journal] WHERE [Name]='" + QuoteName(name) +
           "' AND [PaidFor]= False AND [TimeInDate] >=#3/1/04#";
  }
  static std::string Expected(const std::string& name, SqlDialect dialect) {
    if (dialect == SqlDialect::kPostgresql) {
      return "SELECT Sum(RegHours) As \"regtot\" FROM \"work journal\" WHERE \"name\"='" + QuoteName(name) +
             "' AND \"paidfor\"= FALSE AND \"timeindate\" >=DATE '2004-03-01'";
    }
    return "SELECT Sum(RegHours) As [RegTot] FROM [Work Journal] WHERE [Name]='" + QuoteName(name) +
           "' AND [PaidFor]= 0 AND [TimeInDate] >='2004-03-01'";
  }
  static void ExpectUntouched(const std::string& name) {
    for (const SqlDialect dialect : {SqlDialect::kSqlite, SqlDialect::kPostgresql}) {
      const TranslatedSql t = TranslateJetSql(Query(name), dialect);
      EXPECT_EQ(t.sql, Expected(name, dialect));
      const std::map<std::string, std::string> aliases = {{"regtot", "reghours"}};
      EXPECT_EQ(t.sum_aliases, aliases);
    }
  }
};

TEST_F(QuotedTextInQuery, SqlInsideANameIsNeverRead) {
  ExpectUntouched("Sum(PaidFor) As [RegTot]");
  ExpectUntouched("x' Sum(PaidFor) As [RegTot] '");
  ExpectUntouched("#13/1/04# True [unclosed \" ` -- /* comment");
  ExpectUntouched("'");
}

TEST_F(QuotedTextInQuery, LongRunsOfBlanksCostNoStack) {
  ExpectUntouched("sum" + std::string(100000, ' ') + "(PaidFor)");
  // Outside a quoted text too, as a component could write it.
  const std::string spaced = "SELECT Sum" + std::string(100000, ' ') + "(RegHours)" + std::string(100000, '\t') +
                             "As [RegTot] FROM t";
  EXPECT_EQ(TranslateJetSql(spaced).sum_aliases.at("regtot"), "reghours");
}

TEST_F(QuotedTextInQuery, NoTextChangesTheTranslationOutsideIt) {
  // Names of the characters that mean something to the translator.
  const std::string alphabet = "'\"[]#`()-/* \tSumAsTrueFalse3/1/04.,x";
  std::mt19937 random(14);
  for (int i = 0; i < 3000; ++i) {
    std::string name;
    const int length = static_cast<int>(random() % 24);
    for (int k = 0; k < length; ++k) name.push_back(alphabet[random() % alphabet.size()]);
    ExpectUntouched(name);
    if (HasFailure()) {
      ADD_FAILURE() << "name: " << name;
      return;
    }
  }
}

TEST(SqlTranslate, CommentsAreRefused) {
  // SQLite would skip the rest of the text, quotes included, where the
  // translator reads on.
  EXPECT_THROW(TranslateJetSql("SELECT * FROM t -- x"), ConversionError);
  EXPECT_THROW(TranslateJetSql("SELECT * FROM t /* x */"), ConversionError);
  EXPECT_EQ(TranslateJetSql("a - -1 / 2").sql, "a - -1 / 2");
}

TEST(SqlTranslate, RepeatedTextsGiveTheirOwnTranslations) {
  // Enough distinct texts to cycle through any cache more than once.
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 700; ++i) {
      const std::string n = std::to_string(i);
      const auto t = TranslateJetSql("SELECT Sum(c" + n + ") As [a" + n + "] FROM t WHERE x=True AND n=" + n);
      ASSERT_EQ(t.sql, "SELECT Sum(c" + n + ") As [a" + n + "] FROM t WHERE x=1 AND n=" + n);
      ASSERT_EQ(t.sum_aliases.size(), 1u);
      ASSERT_EQ(t.sum_aliases.at("a" + n), "c" + n);
    }
  }
  // A text that fails fails every time.
  EXPECT_THROW(TranslateJetSql("d >=#2/30/04#"), ConversionError);
  EXPECT_THROW(TranslateJetSql("d >=#2/30/04#"), ConversionError);
}

}  // namespace
}  // namespace veltrane
