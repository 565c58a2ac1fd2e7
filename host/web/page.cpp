#include "host/web/page.h"

#include <cctype>
#include <cstdio>
#include <map>

#include "host/html/escape.h"
#include "host/html/pay_stub.h"
#include "hotkeymap/loc_indep_hot_keys.h"
#include "hotkeymap/memory_form.h"

namespace veltrane::web {

using html::EscapeHtml;

namespace {

constexpr std::pair<const char*, const char*> kSections[] = {
    {"/employer", "&Employer"},     {"/assistants", "&Assistants"}, {"/settings", "Se&ttings"},
    {"/hours", "&Hours"},           {"/paycheck", "&Paycheck"},     {"/journal", "&Journal"},
    {"/statements", "State&ments"}, {"/year-end", "&Year-end"},
};

// Sizes in em and rem, so text enlarged or spaced wider reflows; nothing is
// wider than the window but a table, which scrolls in its own region. The
// focus ring has 3:1 against what is beside it: dark on the white page,
// light on the dark navigation bar. A hot-key letter is underlined more
// heavily than a link, so it shows inside one.
constexpr const char* kStyle =
    "*,*::before,*::after{box-sizing:border-box}"
    "body{font-family:sans-serif;margin:0;color:#111;background:#fff;line-height:1.5}"
    ".skip{position:absolute;left:-100em}.skip:focus{position:static;display:inline-block;"
    "margin:.5em}"
    "nav ul{list-style:none;margin:0;padding:.5em;display:flex;flex-wrap:wrap;gap:.75em 1em;"
    "background:#1d3557}"
    "nav a{color:#fff;padding:.2em .4em;text-decoration:none;display:inline-block}"
    "nav a:hover{background:#2f4f7f}nav a[aria-current]{background:#fff;color:#1d3557}"
    "u{text-decoration:underline;text-decoration-thickness:.15em;text-underline-offset:.2em}"
    "a{text-decoration-thickness:1px;text-underline-offset:.2em}"
    "main{padding:0 1em 2em}main p,main li,main dd{overflow-wrap:anywhere}"
    "fieldset{margin:1em 0;border:1px solid #555;min-width:0}"
    ".field{margin:.5em 0}.field label{display:inline-block;min-width:14em;max-width:100%}"
    ".check label{display:inline}"
    "input,select,button{font:inherit;max-width:100%}"
    ".fault{color:#a00000;font-weight:bold}.done{color:#05501e;font-weight:bold}"
    ".hint{color:#333;font-size:.9em}"
    ".errors{border:4px solid #a00000;padding:0 1em;margin:1em 0}"
    ".wide{overflow-x:auto;margin:1em 0;position:relative}"
    "table{border-collapse:collapse;margin:0}th,td{border:1px solid #888;padding:.2em .5em}"
    "caption{text-align:left;font-weight:bold;padding:.2em 0}"
    "td.num{text-align:right}input[aria-invalid=true]{border:2px solid #a00000}"
    ".sr{position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0);"
    "white-space:nowrap}"
    ":focus{outline:3px solid #1d3557;outline-offset:2px}nav :focus{outline-color:#ffd166}"
    "main:focus:not(:focus-visible),.errors:focus:not(:focus-visible){outline:none}"
    "button{margin:.4em .4em .4em 0;padding:.3em .8em}"
    "@media (max-width:30em){.field .hint{display:block}}"
    "@media print{header,.skip{display:none}}";

// Acts on a letter typed anywhere but in a text field or a list, which keep
// their letters; a link of the error summary focuses its field. The summary
// takes the focus at once (autofocus alone waits for the first rendering).
constexpr const char* kScript =
    "(function(){var m=JSON.parse(document.getElementById('hotkeys').textContent);"
    "var s=document.getElementById('errors');if(s)s.focus();"
    "document.addEventListener('keydown',function(e){"
    "if(e.altKey||e.ctrlKey||e.metaKey||e.key.length!==1)return;"
    "var t=e.target,n=t.tagName;"
    "if(n==='SELECT'||n==='TEXTAREA'||t.isContentEditable||(n==='INPUT'&&"
    "['checkbox','radio','submit','button'].indexOf(t.type)<0))return;"
    "var id=m[e.key.toUpperCase()];if(!id)return;"
    "var el=document.getElementById(id);if(el){e.preventDefault();el.focus();}});"
    "document.addEventListener('click',function(e){"
    "var a=e.target.closest&&e.target.closest('.errors a');if(!a)return;"
    "var el=document.getElementById(a.getAttribute('href').slice(1));"
    "if(el){e.preventDefault();el.focus();}});})();";

// Control types whose hot key focuses the control after them.
bool HandsOn(std::string_view type) { return type == "Label" || type == "Frame"; }

std::string Placeholder(const char* kind, std::string_view key) {
  return "<!--" + std::string(kind) + ":" + std::string(key) + "-->";
}

// The markup with every placeholder replaced by what `fill` gives for its
// kind and key, in one pass. Page text never holds "<!--": it is escaped.
template <typename Fill>
std::string Filled(const std::string& markup, Fill fill) {
  std::string out;
  out.reserve(markup.size());
  std::size_t from = 0;
  for (std::size_t at = markup.find("<!--"); at != std::string::npos;
       at = markup.find("<!--", from)) {
    const std::size_t colon = markup.find(':', at);
    const std::size_t end = markup.find("-->", at);
    out.append(markup, from, at - from);
    if (colon == std::string::npos || end == std::string::npos || colon > end) {
      out.append(markup, at, 4);
      from = at + 4;
      continue;
    }
    out += fill(std::string_view(markup).substr(at + 4, colon - at - 4),
                std::string_view(markup).substr(colon + 1, end - colon - 1));
    from = end + 3;
  }
  out.append(markup, from);
  return out;
}

// The hot-key letter of a caption, upper case; 0 without one.
char HotKeyOf(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

// The letter as a JSON string, every character but a letter or digit escaped.
std::string JsonText(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (std::isalnum(c) != 0 || c == '-') {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    }
  }
  return out + "\"";
}

std::string Attribute(std::string_view name, std::string_view value) {
  return " " + std::string(name) + "=\"" + EscapeHtml(value) + "\"";
}

}  // namespace
std::string CaptionText(std::string_view caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

std::string CaptionLiteral(std::string_view text) {
  std::string caption;
  for (const char c : text) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

std::string CaptionHtml(std::string_view caption) {
  std::string html;
  bool underlined = false;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && !underlined) {
        underlined = true;
        html += "<u>" + EscapeHtml(caption.substr(i, 1)) + "</u>";
        continue;
      }
    }
    html += EscapeHtml(caption.substr(i, 1));
  }
  return html;
}

WebPage::WebPage(std::string title, std::string section, std::string token)
    : title_(std::move(title)), section_(std::move(section)), token_(std::move(token)) {
  AddNavigation();
}

std::string WebPage::NewId() { return "c" + std::to_string(++next_id_); }

std::size_t WebPage::Add(std::string type, std::string_view caption, std::string target) {
  if (!HandsOn(type)) {
    for (const std::size_t waiting : pending_) controls_[waiting].target = target;
    pending_.clear();
  } else if (target.empty()) {
    pending_.push_back(controls_.size());
  }
  controls_.push_back({std::move(type), std::string(caption), std::move(target)});
  return controls_.size() - 1;
}

void WebPage::AddNavigation() {
  nav_ = "<nav aria-label=\"Pages\"><ul>";
  for (const auto& [path, caption] : kSections) {
    const std::string id = NewId();
    const std::size_t index = Add("vtCmd", caption, id);
    nav_ += "<li><a id=\"" + id + "\" href=\"" + path + "\"" + Placeholder("ak", id) +
            (section_ == path ? " aria-current=\"page\"" : "") + ">" +
            Placeholder("cap", std::to_string(index)) + "</a></li>";
  }
  nav_ += "</ul></nav>";
}

void WebPage::NoteFault(const std::string& target, std::string_view caption,
                        std::string_view text) {
  if (!text.empty()) field_faults_.push_back({target, CaptionText(caption), std::string(text)});
}

void WebPage::Heading(std::string_view text) { body_ += "<h2>" + EscapeHtml(text) + "</h2>"; }

void WebPage::Paragraph(std::string_view text) { body_ += "<p>" + EscapeHtml(text) + "</p>"; }

void WebPage::Notice(std::string_view text, bool fault) {
  if (fault) {
    page_faults_.emplace_back(text);
  } else {
    body_ += "<p class=\"done\" role=\"status\">" + EscapeHtml(text) + "</p>";
  }
}

void WebPage::BeginForm(std::string_view action, std::string_view legend, bool post) {
  body_ += "<form" + Attribute("method", post ? "post" : "get") + Attribute("action", action) +
           "><fieldset><legend>" + EscapeHtml(legend) + "</legend>";
  if (post) Hidden("token", token_);
}

void WebPage::EndForm() { body_ += "</fieldset></form>"; }

void WebPage::BeginGroup(std::string_view legend) {
  const std::size_t index = Add("Frame", legend, "");
  body_ += "<fieldset><legend>" + Placeholder("cap", std::to_string(index)) + "</legend>";
}

void WebPage::EndGroup() { body_ += "</fieldset>"; }

void WebPage::BeginTable(std::string_view caption) {
  const std::string id = NewId();
  const std::size_t index = Add("Frame", caption, "");
  body_ += "<div class=\"wide\" role=\"region\" tabindex=\"0\" aria-labelledby=\"" + id +
           "\"><table><caption id=\"" + id + "\">" + Placeholder("cap", std::to_string(index)) +
           "</caption>";
}

void WebPage::EndTable() { body_ += "</table></div>"; }

void WebPage::Hidden(std::string_view name, std::string_view value) {
  body_ += "<input type=\"hidden\"" + Attribute("name", name) + Attribute("value", value) + ">";
}

void WebPage::TextField(std::string_view name, std::string_view caption, std::string_view value,
                        std::string_view fault, std::string_view hint) {
  const std::string id = NewId();
  const std::size_t label = Add("Label", caption, id);
  Add("vtText", "", id);
  NoteFault(id, caption, fault);
  std::string described;
  if (!fault.empty()) described += id + "-fault";
  if (!hint.empty()) described += (described.empty() ? "" : " ") + id + "-hint";
  body_ += "<div class=\"field\"><label for=\"" + id + "\">" +
           Placeholder("cap", std::to_string(label)) + "</label> <input type=\"text\" id=\"" + id +
           "\"" + Attribute("name", name) + Attribute("value", value) + Placeholder("ak", id);
  if (!described.empty()) body_ += Attribute("aria-describedby", described);
  if (!fault.empty()) body_ += " aria-invalid=\"true\"";
  body_ += ">";
  if (!hint.empty())
    body_ += " <span class=\"hint\" id=\"" + id + "-hint\">" + EscapeHtml(hint) + "</span>";
  if (!fault.empty())
    body_ += " <span class=\"fault\" id=\"" + id + "-fault\">" + EscapeHtml(fault) + "</span>";
  body_ += "</div>";
}

void WebPage::CellField(std::string_view name, std::string_view label, std::string_view value,
                        std::string_view fault, std::string_view described_by) {
  const std::string id = NewId();
  Add("Label", "", id);
  Add("vtText", "", id);
  NoteFault(id, label, fault);
  std::string described(described_by);
  if (!fault.empty()) described += (described.empty() ? "" : " ") + id + "-fault";
  body_ += "<label class=\"sr\" for=\"" + id + "\">" + EscapeHtml(label) +
           "</label><input type=\"text\" size=\"4\" id=\"" + id + "\"" + Attribute("name", name) +
           Attribute("value", value) + Placeholder("ak", id);
  if (!described.empty()) body_ += Attribute("aria-describedby", described);
  if (!fault.empty()) body_ += " aria-invalid=\"true\"";
  body_ += ">";
  if (!fault.empty())
    body_ += "<span class=\"fault\" id=\"" + id + "-fault\">" + EscapeHtml(fault) + "</span>";
}

void WebPage::Checkbox(std::string_view name, std::string_view caption, bool checked) {
  const std::string id = NewId();
  const std::size_t index = Add("vtChk", caption, id);
  body_ += "<div class=\"field check\"><input type=\"checkbox\" id=\"" + id + "\"" +
           Attribute("name", name) + " value=\"yes\"" + (checked ? " checked" : "") +
           Placeholder("ak", id) + "> <label for=\"" + id + "\">" +
           Placeholder("cap", std::to_string(index)) + "</label></div>";
}

void WebPage::Select(std::string_view name, std::string_view caption,
                     const std::vector<std::pair<std::string, std::string>>& options,
                     std::string_view chosen, std::string_view fault) {
  const std::string id = NewId();
  const std::size_t label = Add("Label", caption, id);
  Add("vtCboList", "", id);
  NoteFault(id, caption, fault);
  body_ += "<div class=\"field\"><label for=\"" + id + "\">" +
           Placeholder("cap", std::to_string(label)) + "</label> <select id=\"" + id + "\"" +
           Attribute("name", name) + Placeholder("ak", id);
  if (!fault.empty()) body_ += " aria-invalid=\"true\" aria-describedby=\"" + id + "-fault\"";
  body_ += ">";
  for (const auto& [value, text] : options) {
    body_ += "<option" + Attribute("value", value) + (value.empty() ? " disabled" : "") +
             (!value.empty() && value == chosen ? " selected" : "") + ">" + EscapeHtml(text) +
             "</option>";
  }
  body_ += "</select>";
  if (!fault.empty())
    body_ += " <span class=\"fault\" id=\"" + id + "-fault\">" + EscapeHtml(fault) + "</span>";
  body_ += "</div>";
}

void WebPage::Button(std::string_view caption, std::string_view name, std::string_view value) {
  const std::string id = NewId();
  const std::size_t index = Add("vtCmd", caption, id);
  body_ += "<button type=\"submit\" id=\"" + id + "\"";
  if (!name.empty()) body_ += Attribute("name", name) + Attribute("value", value);
  body_ += Placeholder("ak", id) + ">" + Placeholder("cap", std::to_string(index)) + "</button>";
}

void WebPage::Link(std::string_view href, std::string_view caption) {
  const std::string id = NewId();
  const std::size_t index = Add("vtCmd", caption, id);
  body_ += "<a id=\"" + id + "\"" + Attribute("href", href) + Placeholder("ak", id) + ">" +
           Placeholder("cap", std::to_string(index)) + "</a>";
}

std::string WebPage::Summary() const {
  if (page_faults_.empty() && field_faults_.empty()) return "";
  std::string html =
      "<div class=\"errors\" id=\"errors\" tabindex=\"-1\" autofocus role=\"alert\" "
      "aria-labelledby=\"errors-heading\"><h2 id=\"errors-heading\">There is a problem</h2>";
  for (const std::string& text : page_faults_) html += "<p>" + EscapeHtml(text) + "</p>";
  if (!field_faults_.empty()) {
    html += "<ul>";
    for (const FieldFault& f : field_faults_) {
      html +=
          "<li><a href=\"#" + f.target + "\">" + EscapeHtml(f.label + ": " + f.text) + "</a></li>";
    }
    html += "</ul>";
  }
  return html + "</div>";
}

std::string WebPage::Render() const {
  // The page's controls as the hot keys see them, in tab order.
  MemoryForm form;
  std::vector<MemoryControl*> mirrored;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    MemoryControl& c = form.Add(controls_[i].type)
                           .WithTabIndex(static_cast<std::int16_t>(i + 1))
                           .WithVisible(true)
                           .WithEnabled(true)
                           .WithLocked(false)
                           .WithListCount(2)
                           .WithTag("")
                           .WithSetFocus(true);
    if (!controls_[i].caption.empty()) c.WithCaption(controls_[i].caption);
    mirrored.push_back(&c);
  }
  clsLocIndepHotKeys hot_keys;
  hot_keys.InitLocIndepHK(form);

  std::map<char, std::string> focus;  // letter -> the id the library focuses
  for (std::int16_t slot = 0; slot < hot_keys.count(); ++slot) {
    const auto letter = static_cast<char>(hot_keys.hot_key_codes()[static_cast<std::size_t>(slot)]);
    // The library reads a doubled "&" as a hot key "&"; on a page it is a
    // plain "&" and marks none.
    if (letter == '&' || focus.contains(letter)) continue;
    form.Activate(nullptr);
    std::int16_t key = static_cast<unsigned char>(letter);
    hot_keys.HandleLocIndepKeyPress(form, key);
    for (std::size_t i = 0; i < mirrored.size(); ++i) {
      if (form.ActiveControl() == mirrored[i]) focus[letter] = controls_[i].target;
    }
  }
  // A letter is underlined on the caption whose control the library sends it
  // to; a letter no caption shows is no hot key.
  std::vector<bool> owns(controls_.size(), false);
  std::map<std::string, char, std::less<>> keys;  // id -> its letter
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const auto it = focus.find(HotKeyOf(controls_[i].caption));
    if (it == focus.end() || it->second != controls_[i].target || keys.contains(it->second))
      continue;
    owns[i] = true;
    keys[it->second] = it->first;
  }

  const bool faults = !page_faults_.empty() || !field_faults_.empty();
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>" +
      EscapeHtml((faults ? "Error: " : "") + title_) + " - paystead</title><style>" + kStyle +
      html::kPayStubStyle + style_ +
      "</style></head><body><a class=\"skip\" href=\"#main\">Skip to the page</a>" +
      "<header>" + nav_ + "</header><main id=\"main\" tabindex=\"-1\"><h1>" + EscapeHtml(title_) +
      "</h1>" + Summary() + body_ + "</main><script type=\"application/json\" id=\"hotkeys\">{";
  bool first = true;
  for (const auto& [id, letter] : keys) {
    html += (first ? "" : ",") + JsonText(std::string(1, letter)) + ":" + JsonText(id);
    first = false;
  }
  html += "}</script><script>" + std::string(kScript) + "</script></body></html>\n";

  return Filled(html, [&](std::string_view kind, std::string_view key) -> std::string {
    if (kind == "ak") {
      const auto it = keys.find(key);
      if (it == keys.end()) return "";
      return Attribute(
          "accesskey",
          std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(it->second)))));
    }
    const std::size_t i = std::stoul(std::string(key));
    return owns[i] ? CaptionHtml(controls_[i].caption)
                   : EscapeHtml(CaptionText(controls_[i].caption));
  });
}

}  // namespace veltrane::web
