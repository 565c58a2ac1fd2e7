#include "host/household_paycheck.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/display.h"
#include "common/text.h"
#include "host/host_errors.h"
#include "host/payroll_rows.h"
#include "host/tax_lists.h"
#include "host/user_input.h"

namespace veltrane::host {
namespace {

// "40,2" or "40": regular and overtime hours of the whole period.
std::pair<float, float> ManualHours(const std::string& text, Date from, Date to) {
  const double days = (std::chrono::sys_days(to) - std::chrono::sys_days(from)).count() + 1.0;
  const std::size_t comma = text.find(',');
  const std::string regular = text.substr(0, comma);
  const std::string overtime = comma == std::string::npos ? "0" : text.substr(comma + 1);
  const float r = ReadHoursUpTo("--hours (regular)", regular, 24 * days);
  const float o = ReadHoursUpTo("--hours (overtime)", overtime, 24 * days);
  if (static_cast<double>(r) + o > 24 * days)
    throw UserError("--hours: more hours than the period has");
  return {r, o};
}

// Whether a text begins as an amount does (a digit, sign or point), so
// that "Tip:20:FIT" ends in taxes and "Note: May:5" in an amount.
bool StartsLikeAmount(const std::string& text) {
  const std::string t = Trim(text);
  return !t.empty() && (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '.' ||
                        t[0] == '-' || t[0] == '+');
}

// "Bonus:50" -> one supplemental pay item "Bonus'50''", and
// "Tip:20:Soc. Sec.,Medicare" -> "Tip'20'Soc. Sec.|||Medicare|||'" with
// the taxes the item is subject to, each one the assistant has elected.
// Without taxes the name may hold colons ("Note: May:5").
std::string SupplementalItem(const std::string& text, const std::string& assistant,
                             const std::string& elections) {
  const std::size_t last = text.rfind(':');
  if (last == std::string::npos)
    throw UserError("--supp: '" + text + "' lacks the amount; write it like Bonus:50");
  std::size_t name_end = last;
  std::string amount_text = text.substr(last + 1);
  std::string taxes;
  const std::size_t before = last == 0 ? std::string::npos : text.rfind(':', last - 1);
  if (before != std::string::npos && !StartsLikeAmount(amount_text)) {
    taxes = amount_text;
    amount_text = text.substr(before + 1, last - before - 1);
    name_end = before;
  }
  const std::string name = ReadText("--supp", text.substr(0, name_end));
  if (name.empty()) throw UserError("--supp: '" + text + "' has no name; write it like Bonus:50");
  if (name.find_first_of("'|") != std::string::npos) {
    throw UserError("--supp: the name '" + name +
                    "' holds an apostrophe or '|'; choose a name without them");
  }
  const Money amount = ReadAmount("--supp", amount_text);
  if (amount.IsZero())
    throw UserError("--supp: '" + text + "' pays nothing; give an amount above 0");
  return ListWriter(kSuppPaySeparator)
      .Add(name)
      .Add(amount)
      .Add(SupplementalTaxList("--supp", taxes, elections, assistant))
      .text();
}

// 64-bit FNV-1a, each part ended by a byte no text holds.
class Fingerprint {
 public:
  Fingerprint& Add(std::string_view text) {
    for (unsigned char c : text) Mix(c);
    Mix(0);
    return *this;
  }
  std::string Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
  }

 private:
  void Mix(unsigned char c) {
    hash_ ^= c;
    hash_ *= 1099511628211ull;
  }
  std::uint64_t hash_ = 14695981039346656037ull;
};

std::string Figure(const std::optional<Money>& m) { return m ? FormatAmount(*m) : "-"; }
std::string Figure(const std::optional<float>& h) { return h ? FormatHours(*h) : "-"; }

// The check of this assistant and period that is stored and not void.
std::optional<std::int64_t> PaidCheck(Database& db, const PaycheckRequest& r) {
  auto rs =
      db.OpenRecordset("SELECT ID FROM [Payment Journal] WHERE [payee]='" + QuoteName(r.assistant) +
                           "' AND [Void]=False AND start_period=#" + FormatSqlDate(r.from) +
                           "# AND end_period=#" + FormatSqlDate(r.to) + "# ORDER BY ID",
                       RecordsetType::kForwardOnly);
  std::optional<std::int64_t> id;
  if (!rs->IsEOF()) id = rs->Field("ID").ToInt();
  rs->Close();
  return id;
}

}  // namespace

PaycheckRequest ReadPaycheckRequest(Database& db, const std::string& assistant,
                                    const ParsedArgs& fields) {
  if (!fields.Has("from") || !fields.Has("to"))
    throw UsageError("give the pay period with --from and --to");
  PaycheckRequest request;
  request.assistant = RequireAssistant(db, assistant);
  request.from = ReadDate("--from", *fields.Get("from"));
  request.to = ReadDate("--to", *fields.Get("to"));
  if (request.from > request.to)
    throw UserError("--from is after --to; give the earlier day first");
  if (const auto check = fields.Get("check")) {
    request.check_number = std::to_string(
        ReadWholeNumber("--check", *check, 1, std::numeric_limits<std::int32_t>::max()));
  }
  if (const auto hours = fields.Get("hours"))
    request.manual_hours = ManualHours(*hours, request.from, request.to);
  if (fields.Has("supp")) {
    const std::string elections = FindAssistant(db, request.assistant)->Text("Withholdings");
    for (const std::string& item : fields.GetAll("supp"))
      request.supplemental_pay += SupplementalItem(item, request.assistant, elections);
  }
  const auto settings = ReadFirstRow(db, kTaxSettingsTable, TaxSettingsFields());
  if (!settings || settings->Text("PayrollPeriod").empty()) {
    throw UserError("no pay period is set; set one with 'paystead settings set --period Weekly'");
  }
  return request;
}

std::string PaycheckFingerprint(const PaycheckRequest& r, const PaycheckShown& s) {
  Fingerprint f;
  f.Add(r.assistant).Add(FormatShortDate(r.from)).Add(FormatShortDate(r.to)).Add(r.check_number);
  f.Add(r.supplemental_pay);
  if (r.manual_hours)
    f.Add(FormatHours(r.manual_hours->first)).Add(FormatHours(r.manual_hours->second));
  f.Add(s.check_date).Add(s.payee).Add(s.employee_info).Add(s.employer_info);
  f.Add(Figure(s.regular_hours)).Add(Figure(s.overtime_hours));
  f.Add(Figure(s.gross_pay)).Add(Figure(s.gross_ytd)).Add(Figure(s.net_pay)).Add(Figure(s.net_ytd));
  f.Add(s.earnings).Add(s.deductions);
  return f.Hex();
}

PaycheckOutcome PayPreviewedPaycheck(Database& db, const Clock& clock,
                                     const PaycheckRequest& request,
                                     const std::string& fingerprint) {
  PaycheckOutcome preview = PreparePaycheck(db, clock, request);
  if (PaycheckFingerprint(request, preview.shown) == fingerprint)
    return PayPaycheck(db, clock, request);
  if (const auto id = PaidCheck(db, request)) {
    preview.refusal = "this paycheck is already paid: check ID " + std::to_string(*id) + " pays " +
                      request.assistant + " for " + FormatShortDate(request.from) + " to " +
                      FormatShortDate(request.to) + "; nothing more was paid";
  } else {
    preview.refusal = "the paycheck changed since it was previewed; look at it again before paying";
  }
  return preview;
}

}  // namespace veltrane::host
