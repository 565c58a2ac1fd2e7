#include "host/web/app.h"

#include <cctype>
#include <cstdio>
#include <exception>

#include "common/errors.h"
#include "host/household/fault.h"
#include "host/html/escape.h"
#include "host/web/guard.h"
#include "host/web/page.h"
#include "host/web/routes.h"

namespace veltrane::web {

using html::EscapeHtml;

namespace {

std::string PercentEncoded(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

// Nothing of a page is cached or shown inside another site's page, and a
// page runs only its own script.
void AddSafetyHeaders(WebReply& reply) {
  reply.headers.emplace_back("Content-Security-Policy",
                             "default-src 'none'; style-src 'unsafe-inline'; script-src "
                             "'unsafe-inline'; img-src 'self'; form-action 'self'; "
                             "frame-ancestors 'none'; base-uri 'none'");
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  reply.headers.emplace_back("Referrer-Policy", "no-referrer");
  reply.headers.emplace_back("Cache-Control", "no-store");
}

// The query without the token, for the address the browser is sent on to.
NamedValues WithoutToken(const NamedValues& query) {
  NamedValues rest;
  for (const auto& pair : query) {
    if (pair.first != "token") rest.push_back(pair);
  }
  return rest;
}

}  // namespace

WebReply ProblemPage(int status, std::string_view title, std::string_view why,
                     const std::string& token) {
  WebPage page(std::string(title), "", token);
  page.Notice(why, true);
  WebReply reply = WebReply::Page(page.Render());
  reply.status = status;
  return reply;
}

std::optional<std::string> WebRequest::Value(std::string_view name) const {
  for (const NamedValues* values : {&form, &query}) {
    for (const auto& [key, value] : *values) {
      if (key == name) return value;
    }
  }
  return std::nullopt;
}

std::string WebRequest::ValueOr(std::string_view name, std::string fallback) const {
  return Value(name).value_or(std::move(fallback));
}

WebReply WebReply::SeeOther(std::string location) {
  WebReply reply{303, "text/plain; charset=utf-8", "See " + location + "\n", {}};
  reply.headers.emplace_back("Location", std::move(location));
  return reply;
}

WebReply WebReply::Refused(int status, std::string_view why) {
  return {status,
          "text/html; charset=utf-8",
          "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Refused - "
          "paystead</title></head><body><main><h1>Refused</h1><p>" +
              EscapeHtml(why) + "</p></main></body></html>\n",
          {}};
}

std::string PathWith(std::string_view path, const NamedValues& query) {
  std::string text(path);
  for (std::size_t i = 0; i < query.size(); ++i) {
    text += (i == 0 ? "?" : "&") + PercentEncoded(query[i].first) + "=" +
            PercentEncoded(query[i].second);
  }
  return text;
}

WebApp::WebApp(household::HeldDatabase& household, const Clock& clock, std::string token, int port)
    : household_(household), clock_(clock), token_(std::move(token)), port_(port) {
  AddPeoplePages(routes_);
  AddSettingsPages(routes_);
  AddHoursPages(routes_);
  AddPaycheckPages(routes_);
  AddJournalPages(routes_);
  AddStatementPages(routes_);
}

WebReply WebApp::Handle(const WebRequest& request) {
  WebReply reply = Route(request);
  AddSafetyHeaders(reply);
  return reply;
}

WebReply WebApp::Route(const WebRequest& request) {
  if (!IsOwnHost(request.host, port_)) {
    return WebReply::Refused(403, "This server answers only to the address it printed, 127.0.0.1:" +
                                      std::to_string(port_) + ".");
  }
  if (const auto given = request.Value("token"); given && !request.post) {
    if (!SameToken(*given, token_))
      return WebReply::Refused(403, "The token of this address is not the server's.");
    WebReply reply = WebReply::SeeOther(
        PathWith(request.path == "/" ? "/paycheck" : request.path, WithoutToken(request.query)));
    reply.headers.emplace_back("Set-Cookie", TokenCookie(token_));
    return reply;
  }
  const auto cookie = TokenFromCookies(request.cookies);
  if (!cookie || !SameToken(*cookie, token_)) {
    return WebReply::Refused(
        403, "Open the address the server printed when it started; it carries the server's token.");
  }
  if (request.path == "/") return WebReply::SeeOther("/paycheck");

  const WebRoute* route = nullptr;
  bool other_method = false;
  for (const WebRoute& r : routes_) {
    const bool prefix = r.path.ends_with('*');
    const std::string_view stem =
        std::string_view(r.path).substr(0, r.path.size() - (prefix ? 1 : 0));
    if (prefix ? !request.path.starts_with(stem) || request.path.size() == stem.size()
               : r.path != request.path)
      continue;
    if (r.post == request.post)
      route = &r;
    else
      other_method = true;
  }
  if (route == nullptr && other_method) {
    WebReply reply = ProblemPage(
        405, "Not done",
        request.post ? "This page only shows; it changes nothing."
                     : "This address changes data and answers only a form sent with POST.",
        token_);
    reply.headers.emplace_back("Allow", request.post ? "GET" : "POST");
    return reply;
  }
  if (route == nullptr) return ProblemPage(404, "Not found", "There is no such page.", token_);
  if (request.post) {
    bool form_token = false;
    for (const auto& [key, value] : request.form) {
      if (key == "token") form_token = SameToken(value, token_);
    }
    if (!form_token) return WebReply::Refused(403, "The form does not carry the server's token.");
  }

  const std::lock_guard<std::mutex> lock(mutex_);
  // Nothing is read from or written to a file that is no longer the one
  // the server opened.
  Database* db = nullptr;
  try {
    db = &household_.Checked();
  } catch (const household::Fault& e) {
    return ProblemPage(503, "Not available now", ForPage(e, {}).text, token_);
  }
  WebContext context{*db, clock_, token_};
  try {
    return route->handler(context, request);
  } catch (const household::Fault& e) {
    return ProblemPage(400, "Not done", ForPage(e, {}).text, token_);
  } catch (const DatabaseBusyError&) {
    // The change that met the lock was rolled back.
    WebReply reply = ProblemPage(503, "Not available now",
                                 household::InUseText(household_.path()) +
                                     (request.post ? "; nothing was changed" : ""),
                                 token_);
    reply.headers.emplace_back("Retry-After", "5");
    return reply;
  } catch (const DatabaseError& e) {
    try {
      household_.Checked();  // the file may have gone while the page ran
    } catch (const household::Fault& gone) {
      return ProblemPage(503, "Not available now", ForPage(gone, {}).text, token_);
    }
    return ProblemPage(500, "Not done", household::TroubleText(household_.path(), e), token_);
  } catch (const std::exception& e) {
    return ProblemPage(500, "Not done", e.what(), token_);
  }
}

}  // namespace veltrane::web
