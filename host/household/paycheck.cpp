#include "host/household/paycheck.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/display.h"
#include "common/text.h"
#include "host/household/elections.h"
#include "host/household/input_text.h"
#include "host/household/paying.h"
#include "host/household/rows.h"

namespace veltrane::household {
namespace {

// "40,2" or "40": regular and overtime hours of the whole period.
std::pair<float, float> ManualHours(const std::string& text, Date from, Date to) {
  const double days = (std::chrono::sys_days(to) - std::chrono::sys_days(from)).count() + 1.0;
  const std::size_t comma = text.find(',');
  const std::string regular = text.substr(0, comma);
  const std::string overtime = comma == std::string::npos ? "0" : text.substr(comma + 1);
  const auto read = [&](const std::string& text, const char* part) {
    try {
      return ReadHoursUpTo("hours", text, 24 * days);
    } catch (const Fault& f) {
      throw Fault("hours", FieldRef("hours") + " (" + part + "): " + f.text());
    }
  };
  const float r = read(regular, "regular");
  const float o = read(overtime, "overtime");
  if (static_cast<double>(r) + o > 24 * days)
    throw Fault("hours", "more hours than the period has");
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
    throw Fault("supp", Quoted(text) + " lacks the amount; write it like Bonus:50");
  std::size_t name_end = last;
  std::string amount_text = text.substr(last + 1);
  std::string taxes;
  const std::size_t before = last == 0 ? std::string::npos : text.rfind(':', last - 1);
  if (before != std::string::npos && !StartsLikeAmount(amount_text)) {
    taxes = amount_text;
    amount_text = text.substr(before + 1, last - before - 1);
    name_end = before;
  }
  const std::string name = ReadText("supp", text.substr(0, name_end));
  if (name.empty()) throw Fault("supp", Quoted(text) + " has no name; write it like Bonus:50");
  if (name.find_first_of("'|") != std::string::npos) {
    throw Fault("supp", "the name " + Quoted(name) +
                            " holds an apostrophe or '|'; choose a name without them");
  }
  const Money amount = ReadAmount("supp", amount_text);
  if (amount.IsZero()) throw Fault("supp", Quoted(text) + " pays nothing; give an amount above 0");
  return ListWriter(kSuppPaySeparator)
      .Add(name)
      .Add(amount)
      .Add(SupplementalTaxList("supp", taxes, elections, assistant))
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

}  // namespace

PaycheckRequest CheckPaycheckRequest(Database& db, const PaycheckInput& input) {
  PaycheckRequest request;
  request.assistant = RequireAssistant(db, input.assistant);
  request.from = ReadDate("from", input.from);
  request.to = ReadDate("to", input.to);
  RequireOrder(request.from, request.to);
  if (!Trim(input.check).empty()) {
    request.check_number = std::to_string(
        ReadWholeNumber("check", input.check, 1, std::numeric_limits<std::int32_t>::max()));
  }
  if (!Trim(input.hours).empty())
    request.manual_hours = ManualHours(input.hours, request.from, request.to);
  if (!input.supplemental.empty()) {
    const std::string elections = FindAssistant(db, request.assistant)->Text("Withholdings");
    for (const std::string& item : input.supplemental)
      request.supplemental_pay += SupplementalItem(item, request.assistant, elections);
  }
  const auto settings = ReadSettings(db);
  if (!settings || settings->Text("PayrollPeriod").empty())
    throw Fault("", "no pay period is set", Remedy::kSetPayPeriod);
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
  if (preview.fingerprint == fingerprint) return PayPaycheck(db, clock, request);
  if (const auto paid = PaidOverlap(db, request)) {
    preview.refusal =
        Fault("", "this paycheck is already paid: check ID " + std::to_string(paid->id) + " pays " +
                      request.assistant + " for " + FormatShortDate(paid->start) + " to " +
                      FormatShortDate(paid->end) + "; nothing more was paid");
  } else {
    preview.refusal =
        Fault("", "the paycheck changed since it was previewed; look at it again before paying");
  }
  return preview;
}

std::optional<std::string> LocaleWarning(const LocaleProvider& locale) {
  if (locale.UserDefaultLocale() == kLocaleEnUs) return std::nullopt;
  return "the locale (LC_ALL, LC_MESSAGES or LANG) is not US English, so the federal taxes are "
         "computed as 0; start paystead with LANG=en_US.UTF-8";
}

}  // namespace veltrane::household
