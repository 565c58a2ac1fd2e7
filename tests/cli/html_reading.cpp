#include "cli/html_reading.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <cstring>

namespace veltrane::host::testing {
namespace {

std::string Text(xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = content ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  return text;
}

std::string Attribute(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string text = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return text;
}

bool Is(xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE &&
         std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

void Walk(xmlNode* node, ReadPage& page, bool& in_first_table, bool& table_done) {
  for (; node; node = node->next) {
    if (node->type != XML_ELEMENT_NODE) continue;
    if (Is(node, "html")) page.lang = Attribute(node, "lang");
    if (Is(node, "title")) page.title = Text(node);
    if (Is(node, "script") || Is(node, "iframe") || Is(node, "object") || Is(node, "embed")) {
      page.outside.push_back(reinterpret_cast<const char*>(node->name));
    }
    if (Is(node, "style") && Text(node).find("url(") != std::string::npos) {
      page.outside.push_back("style url(");
    }
    for (const char* attribute : {"src", "srcset", "action", "data"}) {
      if (!Attribute(node, attribute).empty()) page.outside.push_back(attribute);
    }
    if (Is(node, "link")) page.outside.push_back("link " + Attribute(node, "href"));
    if (Is(node, "a")) {
      const std::string href = Attribute(node, "href");
      page.links.push_back(href);
      if (href.find(':') != std::string::npos || href.starts_with("/"))
        page.outside.push_back(href);
    }
    const bool table = Is(node, "table") && !table_done;
    if (table) in_first_table = true;
    if (in_first_table && Is(node, "tbody")) {
      for (xmlNode* tr = node->children; tr; tr = tr->next) {
        if (!Is(tr, "tr")) continue;
        std::vector<std::string> cells;
        for (xmlNode* cell = tr->children; cell; cell = cell->next) {
          if (Is(cell, "td") || Is(cell, "th")) cells.push_back(Text(cell));
        }
        page.rows.push_back(cells);
        page.row_classes.push_back(Attribute(tr, "class"));
      }
    } else {
      Walk(node->children, page, in_first_table, table_done);
    }
    if (table) {
      in_first_table = false;
      table_done = true;
    }
  }
}

}  // namespace

ReadPage ReadHtml(const std::string& html) {
  ReadPage page;
  htmlDocPtr doc = htmlReadMemory(html.data(), static_cast<int>(html.size()), "page.html", "UTF-8",
                                  HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
  if (!doc) return page;
  page.parsed = true;
  bool in_table = false, table_done = false;
  xmlNode* root = xmlDocGetRootElement(doc);
  Walk(root, page, in_table, table_done);
  for (xmlNode* n = root ? root->children : nullptr; n; n = n->next) {
    if (Is(n, "body")) page.text = Text(n);
  }
  xmlFreeDoc(doc);
  return page;
}

}  // namespace veltrane::host::testing
