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

WebReply HoursPage(WebContext& c, const Grid& g, std::string_view week_text,
                   std::string_view week_fault, std::string_view notice) {
  WebPage page("Hours", "/hours", c.token);
  if (!notice.empty()) page.Notice(notice, false);
  if (!g.faults.empty()) page.Notice("Nothing was recorded; correct the hours marked below.", true);

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
  // What the work journal holds for the week, by assistant and day.
  std::map<std::string, std::string> recorded;
  for (const HoursEntry& e : household::ListHours(
           c.db,
           {std::nullopt, FormatShortDate(g.first), FormatShortDate(DayOf(g.first, 6)), false})) {
    std::string& text = recorded[e.name + "\n" + FormatShortDate(e.day)];
    text += (text.empty() ? "" : ", ") + FormatHours(e.regular) + " + " + FormatHours(e.overtime) +
            (e.paid ? " paid" : "");
  }

  page.BeginForm("/hours", "Hours to add for the week of " + shown_week);
  page.Hidden("week", shown_week);
  page.Paragraph(
      "Type the regular hours (Reg) and the overtime hours (OT) of each day worked; leave a day "
      "blank when nothing was worked. Hours already recorded are shown above the fields; new "
      "hours are added to them.");
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
      const std::string day = FormatShortDate(DayOf(g.first, d));
      page.Html("<td>");
      if (const auto it = recorded.find(g.names[i] + "\n" + day); it != recorded.end())
        page.Html("<div class=\"hint\">recorded " + EscapeHtml(it->second) + "</div>");
      for (const char kind : {'r', 'o'}) {
        const std::string cell = Cell(a, d, kind);
        const auto value = g.values.find(cell);
        const auto fault = g.faults.find(cell);
        page.Html(kind == 'r' ? "Reg " : " OT ");
        page.CellField(cell,
                       std::string(kind == 'r' ? "Regular" : "Overtime") + " hours, " + g.names[i] +
                           ", " + kDayNames[d] + " " + day,
                       value == g.values.end() ? "" : value->second,
                       fault == g.faults.end() ? "" : fault->second);
      }
      page.Html("</td>");
    }
    page.Html("</tr>");
  }
  page.Html("</tbody>");
  page.EndTable();
  page.Button("&Record hours");
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
  if (const auto n = r.Value("recorded"))
    notice = "Recorded " + *n + (*n == "1" ? " day" : " days") + " of hours.";
  return HoursPage(c, g, week.empty() ? FormatShortDate(g.first) : week, fault, notice);
}

WebReply RecordHoursPost(WebContext& c, const WebRequest& r) {
  Database& db = c.db;
  Grid g;
  g.first = household::ReadDate("week", r.ValueOr("week"));
  std::vector<HoursEntry> entries;
  for (int a = 0;; ++a) {
    const auto name = r.Value("name" + std::to_string(a));
    if (!name) break;
    g.names.push_back(*name);
    for (int d = 0; d < 7; ++d) {
      const std::string reg = r.ValueOr(Cell(a, d, 'r'));
      const std::string ot = r.ValueOr(Cell(a, d, 'o'));
      g.values[Cell(a, d, 'r')] = reg;
      g.values[Cell(a, d, 'o')] = ot;
      if (Trim(reg).empty() && Trim(ot).empty()) continue;
      try {
        entries.push_back(
            household::CheckHours(db, {*name, FormatShortDate(DayOf(g.first, d)), reg, ot}));
      } catch (const household::Fault& e) {
        g.faults[Cell(a, d, e.field() == "overtime" ? 'o' : 'r')] = ForPage(e, kLabels).text;
      }
    }
  }
  if (!g.faults.empty()) return HoursPage(c, g, FormatShortDate(g.first), "", "");
  household::RecordHours(db, entries);
  return WebReply::SeeOther(PathWith("/hours", {{"week", FormatShortDate(g.first)},
                                                {"recorded", std::to_string(entries.size())}}));
}

}  // namespace

void AddHoursPages(std::vector<WebRoute>& routes) {
  routes.push_back({"/hours", false, ShowHours});
  routes.push_back({"/hours", true, RecordHoursPost});
}

}  // namespace veltrane::web
