#include "host/household/year_end.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <set>

#include "common/display.h"
#include "common/text.h"
#include "host/household/identities.h"
#include "host/household/input_text.h"
#include "host/household/thresholds.h"

namespace veltrane::household {
namespace {

struct Period {
  std::string from, to;
};

// The periods a statement of the package covers: the quarters for Form 941,
// else the year.
std::vector<Period> PeriodsOf(const std::string& type, int year) {
  const auto day = [&](unsigned month, unsigned d) {
    return FormatShortDate(MakeDate(year, month, d));
  };
  if (IEquals(type, "Form 941")) {
    return {{day(1, 1), day(3, 31)},
            {day(4, 1), day(6, 30)},
            {day(7, 1), day(9, 30)},
            {day(10, 1), day(12, 31)}};
  }
  return {{day(1, 1), day(12, 31)}};
}

bool IsScheduleH(const std::string& type) { return IEquals(type, "Form 1040 Schedule H"); }

// What a W-2 or W-3 cannot carry as it should: the employer's
// identification number, and the Social Security number of each assistant
// of `names`, where one is missing or not valid.
std::vector<std::string> NumberNotes(Database& db, const std::vector<std::string>& names) {
  std::vector<std::string> notes;
  if (const auto employer = ReadEmployer(db); !employer) {
    notes.push_back(
        "There is no employer on file: the forms need the employer's name, address "
        "and identification number.");
  } else if (const auto problem = EmployerIdProblem(employer->Text("federal_employer_id"))) {
    notes.push_back("The employer identification number " + *problem + ".");
  }
  for (const std::string& name : names) {
    const auto row = FindAssistant(db, name);
    if (!row) continue;
    if (const auto problem = SsnProblem(row->Text("social_security_number")))
      notes.push_back(name + "'s Social Security number " + *problem + ".");
  }
  return notes;
}

// Whom a statement of the package is written for: each assistant on a page
// of their own for the W-2, which an employer hands to each of them, else
// the assistant asked for (empty for every assistant).
std::vector<std::string> AssistantsOf(Database& db, const std::string& type,
                                      const std::string& assistant) {
  if (!IEquals(type, "Form W-2") || !assistant.empty()) return {assistant};
  return AssistantNames(db);
}

// Eight hexadecimal digits that stand for the exact text (FNV-1a): names
// that read alike once punctuation and accents are dropped ("Rosa Delgado",
// "Rosa-Delgado") still get files of their own.
std::string ShortKey(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  char key[9];
  std::snprintf(key, sizeof key, "%08x", hash);
  return key;
}

// A file name no earlier page took (letter case ignored, as some file
// systems do): the first page keeps its name, a later one a number.
std::string Unique(std::string name, std::set<std::string>& taken) {
  const std::string stem = name.substr(0, name.size() - 5);  // without ".html"
  for (int n = 2; !taken.insert(ToLower(name)).second; ++n)
    name = stem + "-" + std::to_string(n) + ".html";
  return name;
}

}  // namespace

int ReadYear(std::string_view text) {
  return static_cast<int>(ReadWholeNumber("year", text, 2000, 2099));
}

std::string StatementFileName(const std::string& label, const std::string& from,
                              const std::string& to) {
  std::string name;
  for (char c : label) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    } else if (!name.empty() && name.back() != '-') {
      name.push_back('-');
    }
  }
  while (!name.empty() && name.back() == '-') name.pop_back();
  if (name.empty()) name = "statement";
  if (!from.empty())
    name += "_" + FormatIsoDate(ParseDate(from)) + "_" + FormatIsoDate(ParseDate(to));
  return name + ".html";
}

YearEndContent MakeYearEnd(Database& db, const YearEndRequest& request,
                           const std::function<void(const std::string&)>& progress) {
  YearEndContent content;
  content.year = request.year;
  content.employer = ReadEmployerHeading(db);
  const std::vector<std::string> thresholds =
      HouseholdThresholdNotes(db, request.year, request.assistant);
  content.notes = thresholds;
  const std::vector<std::string> everyone =
      request.assistant.empty() ? AssistantNames(db)
                                : std::vector<std::string>{RequireAssistant(db, request.assistant)};
  const std::vector<std::string> numbers = NumberNotes(db, everyone);
  content.notes.insert(content.notes.end(), numbers.begin(), numbers.end());
  std::set<std::string> taken;
  StatementSession session(db);
  for (const std::string& type : session.catalogue()) {
    if (session.IsHeading(type)) continue;
    for (const Period& period : PeriodsOf(type, request.year)) {
      for (const std::string& assistant : AssistantsOf(db, type, request.assistant)) {
        // A page of its own assistant names them, in its label and its file.
        const bool own = assistant != request.assistant;
        const std::string title = own ? type + " " + assistant : type;
        YearEndPage page;
        page.label = title + ", " + period.from + " to " + period.to;
        if (progress) progress(page.label);
        page.result = session.Run({type, assistant, period.from, period.to});
        content.messages.insert(content.messages.end(), page.result.messages.begin(),
                                page.result.messages.end());
        std::string file = StatementFileName(title, period.from, period.to);
        if (own) file.insert(file.size() - 5, "_" + ShortKey(assistant));
        page.file = Unique(file, taken);
        if (IsScheduleH(type)) page.notes = thresholds;
        if (IEquals(type, "Form W-3")) page.notes = numbers;
        if (IEquals(type, "Form W-2"))
          page.notes = NumberNotes(db, assistant.empty() ? everyone : std::vector{assistant});
        content.pages.push_back(std::move(page));
      }
    }
  }
  return content;
}

}  // namespace veltrane::household
