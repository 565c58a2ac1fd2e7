#include "host/web/page.h"

#include <cctype>
#include <cstdio>
#include <map>

#include "host/html/escape.h"
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

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:0;color:#111;background:#fff;line-height:1.4}"
    "nav ul{list-style:none;margin:0;padding:.5em;display:flex;flex-wrap:wrap;gap:.25em 1em;"
    "background:#1d3557}"
    "nav a{color:#fff;padding:.2em .4em}nav a[aria-current]{background:#fff;color:#1d3557}"
    "main{padding:0 1em 2em}fieldset{margin:1em 0;border:1px solid #555}"
    ".field{margin:.4em 0}.field label{display:inline-block;min-width:14em}"
    ".fault{color:#a00000;font-weight:bold}.done{color:#05501e;font-weight:bold}"
    ".hint{color:#333;font-size:.9em}"
    "table{border-collapse:collapse;margin:1em 0}th,td{border:1px solid #888;padding:.2em .5em}"
    "td.num{text-align:right}input[aria-invalid=true]{border:2px solid #a00000}"
    ".sr{position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0)}"
    ":focus{outline:3px solid #d35400;outline-offset:2px}"
    "button{margin:.4em .4em .4em 0;padding:.3em .8em}";

// Acts on a letter typed while a button, checkbox or link has the focus;
// text fields and lists keep their letters.
constexpr const char* kScript =
    "(function(){var m=JSON.parse(document.getElementById('hotkeys').textContent);"
    "document.addEventListener('keydown',function(e){"
    "if(e.altKey||e.ctrlKey||e.metaKey||e.key.length!==1)return;"
    "var t=e.target,n=t.tagName;"
    "if(!(n==='BUTTON'||n==='A'||t===document.body||"
    "(n==='INPUT'&&(t.type==='checkbox'||t.type==='submit'))))return;"
    "var id=m[e.key.toUpperCase()];if(!id)return;"
    "var el=document.getElementById(id);if(el){e.preventDefault();el.focus();}});})();";

std::string Placeholder(const char* kind, std::size_t index) {
  return "<!--" + std::string(kind) + ":" + std::to_string(index) + "-->";
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
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
  controls_.push_back({std::move(type), std::string(caption), std::move(target)});
  return controls_.size() - 1;
}

void WebPage::AddNavigation() {
  nav_ = "<nav aria-label=\"Pages\"><ul>";
  for (const auto& [path, caption] : kSections) {
    const std::string id = NewId();
    const std::size_t index = Add("vtCmd", caption, id);
    nav_ += "<li><a id=\"" + id + "\" href=\"" + path + "\"" + Placeholder("ak", index) +
            (section_ == path ? " aria-current=\"page\"" : "") + ">" + Placeholder("cap", index) +
            "</a></li>";
  }
  nav_ += "</ul></nav>";
}

void WebPage::Heading(std::string_view text) { body_ += "<h2>" + EscapeHtml(text) + "</h2>"; }

void WebPage::Paragraph(std::string_view text) { body_ += "<p>" + EscapeHtml(text) + "</p>"; }

void WebPage::Notice(std::string_view text, bool fault) {
  body_ += fault ? "<p class=\"fault\" role=\"alert\">" : "<p class=\"done\" role=\"status\">";
  body_ += EscapeHtml(text) + "</p>";
}

void WebPage::BeginForm(std::string_view action, std::string_view legend, bool post) {
  body_ += "<form" + Attribute("method", post ? "post" : "get") + Attribute("action", action) +
           "><fieldset><legend>" + EscapeHtml(legend) + "</legend>";
  if (post) Hidden("token", token_);
}

void WebPage::EndForm() { body_ += "</fieldset></form>"; }

void WebPage::Hidden(std::string_view name, std::string_view value) {
  body_ += "<input type=\"hidden\"" + Attribute("name", name) + Attribute("value", value) + ">";
}

void WebPage::TextField(std::string_view name, std::string_view caption, std::string_view value,
                        std::string_view fault, std::string_view hint) {
  const std::string id = NewId();
  const std::size_t label = Add("Label", caption, id);
  Add("vtText", "", id);
  std::string described;
  if (!fault.empty()) described += id + "-fault";
  if (!hint.empty()) described += (described.empty() ? "" : " ") + id + "-hint";
  body_ += "<div class=\"field\"><label for=\"" + id + "\">" + Placeholder("cap", label) +
           "</label> <input type=\"text\" id=\"" + id + "\"" + Attribute("name", name) +
           Attribute("value", value) + Placeholder("ak", label);
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
                        std::string_view fault) {
  const std::string id = NewId();
  Add("Label", "", id);
  Add("vtText", "", id);
  body_ += "<label class=\"sr\" for=\"" + id + "\">" + EscapeHtml(label) +
           "</label><input type=\"text\" size=\"4\" id=\"" + id + "\"" + Attribute("name", name) +
           Attribute("value", value);
  if (!fault.empty()) {
    body_ += " aria-invalid=\"true\" aria-describedby=\"" + id + "-fault\">";
    body_ += "<span class=\"fault\" id=\"" + id + "-fault\">" + EscapeHtml(fault) + "</span>";
  } else {
    body_ += ">";
  }
}

void WebPage::Checkbox(std::string_view name, std::string_view caption, bool checked) {
  const std::string id = NewId();
  const std::size_t index = Add("vtChk", caption, id);
  body_ += "<div class=\"field\"><input type=\"checkbox\" id=\"" + id + "\"" +
           Attribute("name", name) + " value=\"yes\"" + (checked ? " checked" : "") +
           Placeholder("ak", index) + "> <label for=\"" + id + "\">" + Placeholder("cap", index) +
           "</label></div>";
}

void WebPage::Select(std::string_view name, std::string_view caption,
                     const std::vector<std::pair<std::string, std::string>>& options,
                     std::string_view chosen, std::string_view fault) {
  const std::string id = NewId();
  const std::size_t label = Add("Label", caption, id);
  Add("vtCboList", "", id);
  body_ += "<div class=\"field\"><label for=\"" + id + "\">" + Placeholder("cap", label) +
           "</label> <select id=\"" + id + "\"" + Attribute("name", name) +
           Placeholder("ak", label);
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
  body_ += Placeholder("ak", index) + ">" + Placeholder("cap", index) + "</button>";
}

void WebPage::Link(std::string_view href, std::string_view caption) {
  const std::string id = NewId();
  const std::size_t index = Add("vtCmd", caption, id);
  body_ += "<a id=\"" + id + "\"" + Attribute("href", href) + Placeholder("ak", index) + ">" +
           Placeholder("cap", index) + "</a>";
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

  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>" +
      EscapeHtml(title_) + " - paystead</title><style>" + kStyle + "</style></head><body>" +
      "<header>" + nav_ + "</header><main><h1>" + EscapeHtml(title_) + "</h1>" + body_ +
      "</main><script type=\"application/json\" id=\"hotkeys\">{";
  bool first = true;
  for (const auto& [letter, id] : focus) {
    html += (first ? "" : ",") + JsonText(std::string(1, letter)) + ":" + JsonText(id);
    first = false;
  }
  html += "}</script><script>" + std::string(kScript) + "</script></body></html>\n";

  // A caption's letter is underlined, and given as accesskey, on the control
  // the library sends that letter to.
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Control& c = controls_[i];
    const char letter = HotKeyOf(c.caption);
    const auto it = focus.find(letter);
    const bool owns = letter != 0 && it != focus.end() && it->second == c.target;
    ReplaceAll(html, Placeholder("cap", i),
               owns ? CaptionHtml(c.caption) : EscapeHtml(CaptionText(c.caption)));
    std::string key(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
    ReplaceAll(html, Placeholder("ak", i), owns ? Attribute("accesskey", key) : "");
  }
  return html;
}

}  // namespace veltrane::web
