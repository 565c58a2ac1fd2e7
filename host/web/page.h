// A page of the local web application as it is built: server-rendered HTML
// with real forms, every control labelled, and the system's hot keys. Each
// control is registered, in the order it is added, with clsLocIndepHotKeys
// under the type the library knows it by (a text field's label as "Label",
// a button or link as "vtCmd", a checkbox as "vtChk", a group's legend or a
// table's caption as "Frame"); the letter after "&" in a caption is
// underlined where the library sends that letter, and given as accesskey to
// the control it focuses; the page carries, for each letter, that control,
// for a small script that acts on a letter typed anywhere but in a text
// field or a list. Every text is HTML-escaped here.
//
// A page sent back with faults starts with their summary: the page's own
// faults (Notice with `fault`) and a link to each field shown with a fault;
// it takes the focus as the page opens, and the title begins "Error:".
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrane::web {

class WebPage {
 public:
  // `section` is the path of the page's entry in the navigation ("/hours");
  // `token` goes into every form that changes data.
  WebPage(std::string title, std::string section, std::string token);

  // Markup made by the page code from escaped parts.
  void Html(std::string_view markup) { body_ += markup; }
  // Style rules the page's own markup needs beyond the application's.
  void Style(std::string_view css) { style_ += css; }
  void Heading(std::string_view text);  // h2
  void Paragraph(std::string_view text);
  // A message about the whole page: a fault (in the summary at the top) or
  // a result (a status where it is added).
  void Notice(std::string_view text, bool fault);

  // A form that changes data (POST, with the token) or asks (GET).
  void BeginForm(std::string_view action, std::string_view legend, bool post = true);
  void EndForm();
  // A group of a form's fields under a legend whose hot key focuses the
  // group's first field.
  void BeginGroup(std::string_view legend);
  void EndGroup();
  // A table in a region of its own that scrolls sideways when the page is
  // narrower than the table, labelled by the caption and reachable by Tab;
  // a hot key in the caption focuses the table's first control.
  void BeginTable(std::string_view caption);
  void EndTable();

  void Hidden(std::string_view name, std::string_view value);
  void TextField(std::string_view name, std::string_view caption, std::string_view value,
                 std::string_view fault = "", std::string_view hint = "");
  // A text field in a table cell: its label is read by a screen reader
  // but not shown, as the cell's row and column headings show it.
  // `described_by` names an element of the page that describes the field.
  void CellField(std::string_view name, std::string_view label, std::string_view value,
                 std::string_view fault = "", std::string_view described_by = "");
  void Checkbox(std::string_view name, std::string_view caption, bool checked);
  // Options as (value, text); an option whose value is empty is shown but
  // cannot be chosen (a heading of the list).
  void Select(std::string_view name, std::string_view caption,
              const std::vector<std::pair<std::string, std::string>>& options,
              std::string_view chosen, std::string_view fault = "");
  void Button(std::string_view caption, std::string_view name = "", std::string_view value = "");
  void Link(std::string_view href, std::string_view caption);

  // The whole document.
  std::string Render() const;

 private:
  struct Control {
    std::string type;     // as the hot keys know it
    std::string caption;  // with its "&"
    std::string target;   // the id of the element a hot key focuses
  };
  struct FieldFault {
    std::string target;  // the field's id
    std::string label;   // its caption as read
    std::string text;
  };
  // Registers a control; returns the number that names its caption's place
  // in the markup until Render fills it. A caption of a group or a table
  // (empty `target`) focuses the next control added that takes the focus.
  std::size_t Add(std::string type, std::string_view caption, std::string target);
  std::string NewId();
  void AddNavigation();
  void NoteFault(const std::string& target, std::string_view caption, std::string_view text);
  std::string Summary() const;

  std::string title_;
  std::string section_;
  std::string token_;
  std::string nav_;
  std::string body_;
  std::string style_;
  std::vector<Control> controls_;
  std::vector<std::size_t> pending_;  // captions waiting for the control they focus
  std::vector<std::string> page_faults_;
  std::vector<FieldFault> field_faults_;
  int next_id_ = 0;
};

// "Sa&ve" -> "Sa<u>v</u>e", escaped; "&&" is a plain "&".
std::string CaptionHtml(std::string_view caption);
// The caption without its hot-key mark: "Save".
std::string CaptionText(std::string_view caption);
// A text shown in a caption as it is, every "&" doubled so that none marks a
// hot key: "B&<i>" -> "B&&<i>". A caption made from data (a name, a
// household's text) puts each piece of data through it.
std::string CaptionLiteral(std::string_view text);

}  // namespace veltrane::web
