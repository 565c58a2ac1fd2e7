// A week's hours of every assistant as a grid of days: /hours.
#include <chrono>
#include <map>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/text.h"
#include "host/household/hours.h"
#include "host/household/input_text.h"
#include "host/household/rows.h"
#include "host/html/escape.h"
#include "host/web/page.h"
#include "host/web/routes.h"

namespace veltrane::web {
namespace {

using household::HoursEntry;
using html::EscapeHtml;
using std::chrono::days;
using std::chrono::sys_days;

constexpr const char* kDayNames[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                     "Friday", "Saturday", "Sunday"};

Date DayOf(Date first, int offset) { return Date(sys_days(first) + days(offset)); }

// The Monday of the week that holds `day`.
Date MondayOf(Date day) {
  const std::chrono::weekday w{sys_days(day)};
  return Date(sys_days(day) - days((w.c_encoding() + 6) % 7));
}

std::string Cell(int assistant, int day, char kind) {
  return std::string(1, kind) + std::to_string(assistant) + "-" + std::to_string(day);
}

// How a fault's text names the cells of a day.
const std::map<std::string, std::string, std::less<>> kLabels = {
    {"regular", "the regular hours"}, {"overtime", "the overtime hours"}};

struct Grid {
  Date first;
  std::vector<std::string> names;
  std::map<std::string, std::string> values;  // cell -> text typed
  std::map<std::string, std::string> faults;  // cell -> message
};

// A recorded number of hours as the grid shows it: blank for none.
std::string HoursText(float hours) { return hours == 0 ? "" : FormatHours(hours); }

// What the work journal holds for the day, said to a person.
std::string Recorded(const household::RecordedDay& day) {
  if (day.paid_by) {
    return "paid by check ID " + std::to_string(*day.paid_by) + ": " +
           FormatHours(day.paid_regular) + " regular, " + FormatHours(day.paid_overtime) +
           " overtime";
  }
  if (day.entries == 0) return "nothing recorded";
  return "recorded " + FormatHours(day.regular) + " regular, " + FormatHours(day.overtime) +
         " overtime";
}

WebReply HoursPage(WebContext& c, Grid g, std::string_view week_text, std::string_view week_fault,
                   std::string_view notice, std::string_view fault) {
  WebPage page("Hours", "/hours", c.token);
  if (!notice.empty()) page.Notice(notice, false);
  if (!fault.empty()) page.Notice(fault, true);
  if (!g.faults.empty()) page.Notice("Nothing was saved; correct the hours marked below.", true);

  page.BeginForm("/hours", "Which week", false);
  page.TextField("week", "&Week starting", week_text, week_fault, "a date, like 3/1/2004");
  page.Button("Sh&ow week");
  page.EndForm();
  const std::string shown_week = FormatShortDate(g.first);
  page.Link(PathWith("/hours", {{"week", FormatShortDate(DayOf(g.first, -7))}}), "Pre&vious week");
  page.Html(" ");
  page.Link(PathWith("/hours", {{"week", FormatShortDate(DayOf(g.first, 7))}}), "&Next week");

  if (g.names.empty()) {
    page.Paragraph("No assistants yet; add one on the Assistants page.");
    return WebReply::Page(page.Render());
  }
  const auto recorded = household::RecordedDays(c.db, g.first, DayOf(g.first, 6));

  page.BeginForm("/hours", "The hours of the week of " + shown_week);
  page.Hidden("week", shown_week);
  page.Paragraph(
      "Each day shows the hours recorded for it. Type a day's regular hours (Reg) and overtime "
      "hours (OT) as they should be: they replace what is recorded. A day left blank has no "
      "hours. A day a check pays cannot change here.");
  page.BeginTable("Ho&urs of the week of " + shown_week);
  page.Html("<thead><tr><th scope=\"col\">Assistant</th>");
  for (int d = 0; d < 7; ++d) {
    page.Html("<th scope=\"col\">" +
              EscapeHtml(std::string(kDayNames[d]) + " " + FormatShortDate(DayOf(g.first, d))) +
              "</th>");
  }
  page.Html("</tr></thead><tbody>");
  for (std::size_t i = 0; i < g.names.size(); ++i) {
    const int a = static_cast<int>(i);
    page.Html("<tr><th scope=\"row\">" + EscapeHtml(g.names[i]) + "</th>");
    page.Hidden("name" + std::to_string(a), g.names[i]);
    for (int d = 0; d < 7; ++d) {
      const Date day = DayOf(g.first, d);
      const auto it = recorded.find({g.names[i], day});
      const household::RecordedDay record =
          it == recorded.end() ? household::RecordedDay{} : it->second;
      const std::string about = "day-" + std::to_string(a) + "-" + std::to_string(d);
      page.Html("<td><div class=\"hint\" id=\"" + about + "\">" + EscapeHtml(Recorded(record)) +
                "</div>");
      if (!record.paid_by) {
        for (const char kind : {'r', 'o'}) {
          const std::string cell = Cell(a, d, kind);
          // Shown again as sent when the grid comes back with a fault.
          const auto sent = g.values.find(cell);
          const std::string value = sent != g.values.end()
                                        ? sent->second
                                        : HoursText(record.entries == 0 ? 0
                                                    : kind == 'r'       ? record.regular
                                                                        : record.overtime);
          const auto fault = g.faults.find(cell);
          page.Html(kind == 'r' ? "Reg " : " OT ");
          page.CellField(cell,
                         std::string(kind == 'r' ? "Regular" : "Overtime") + " hours, " +
                             g.names[i] + ", " + kDayNames[d] + " " + FormatShortDate(day),
                         value, fault == g.faults.end() ? "" : fault->second, about);
        }
      }
      page.Html("</td>");
    }
    page.Html("</tr>");
  }
  page.Html("</tbody>");
  page.EndTable();
  page.Button("Save the hou&rs");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowHours(WebContext& c, const WebRequest& r) {
  Grid g;
  g.names = household::AssistantNames(c.db);
  g.first = MondayOf(c.clock.Today());
  const std::string week = r.ValueOr("week");
  std::string fault;
  if (!week.empty()) {
    try {
      g.first = household::ReadDate("week", week);
    } catch (const household::Fault& e) {
      fault = ForPage(e, kLabels).text;
    }
  }
  std::string notice;
  if (const auto n = r.Value("changed"))
    notice = *n == "0" ? "Nothing changed."
                       : "Saved: " + *n + (*n == "1" ? " day" : " days") + " changed.";
  return HoursPage(c, g, week.empty() ? FormatShortDate(g.first) : week, fault, notice, "");
}

// Every day of the grid sent becomes what it says; a day of no inputs (one
// a check pays) is left alone.
WebReply SaveHoursPost(WebContext& c, const WebRequest& r) {
  Grid g;
  g.first = household::ReadDate("week", r.ValueOr("week"));
  std::vector<HoursEntry> days;
  for (int a = 0;; ++a) {
    const auto name = r.Value("name" + std::to_string(a));
    if (!name) break;
    g.names.push_back(*name);
    for (int d = 0; d < 7; ++d) {
      const auto reg = r.Value(Cell(a, d, 'r'));
      const auto ot = r.Value(Cell(a, d, 'o'));
      if (!reg && !ot) continue;
      g.values[Cell(a, d, 'r')] = reg.value_or("");
      g.values[Cell(a, d, 'o')] = ot.value_or("");
      try {
        days.push_back(household::CheckHours(
            c.db, {*name, FormatShortDate(DayOf(g.first, d)), reg.value_or(""), ot.value_or("")}));
      } catch (const household::Fault& e) {
        g.faults[Cell(a, d, e.field() == "overtime" ? 'o' : 'r')] = ForPage(e, kLabels).text;
      }
    }
  }
  int changed = 0;
  if (g.faults.empty()) {
    try {
      changed = household::SetHours(c.db, days);
    } catch (const household::Fault& e) {
      // A day paid or filled since the grid was shown: nothing is saved.
      return HoursPage(c, g, FormatShortDate(g.first), "", "",
                       "Nothing was saved: " + ForPage(e, kLabels).text + ".");
    }
  }
  if (!g.faults.empty()) return HoursPage(c, g, FormatShortDate(g.first), "", "", "");
  return WebReply::SeeOther(PathWith(
      "/hours", {{"week", FormatShortDate(g.first)}, {"changed", std::to_string(changed)}}));
}

}  // namespace

void AddHoursPages(std::vector<WebRoute>& routes) {
  routes.push_back({"/hours", false, ShowHours});
  routes.push_back({"/hours", true, SaveHoursPost});
}

}  // namespace veltrane::web
