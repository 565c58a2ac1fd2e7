#include "host/html/pay_stub.h"

#include "host/html/escape.h"
#include "host/html/paycheck_html.h"

namespace veltrane::html {

const char* const kPayStubStyle =
    "th.num{text-align:right}@page{size:letter;margin:.5in}"
    "@media "
    "print{body{margin:0;font-size:10pt}header,nav,form,.no-print,p.done,p.fault{display:none}"
    "section.paycheck{break-inside:avoid}table{width:100%}a{color:inherit;text-decoration:none}}";

namespace {

constexpr const char* kStyle =
    "body{font-family:system-ui,sans-serif;color:#111;background:#fff;margin:1.5rem;"
    "line-height:1.4}"
    "h2{font-size:1.3rem;margin:0 0 .5rem}.status{font-size:1rem;margin-left:.5rem}"
    ".block{display:inline-block;vertical-align:top;min-width:14rem;margin:0 2rem .5rem 0}"
    ".block h3{font-size:1rem;margin:.5rem 0 .2rem}.block p{margin:0}"
    "table{border-collapse:collapse;margin:.5rem 0}caption{text-align:left;font-weight:600}"
    "th,td{padding:.15rem .6rem;text-align:left}td.num{text-align:right;"
    "font-variant-numeric:tabular-nums}thead th{border-bottom:2px solid #111}"
    "tr.total th,tr.total td{border-top:1px solid #555;font-weight:700}";

}  // namespace

std::string RenderPayStub(const PaycheckShown& stub) {
  std::string title = "Pay stub";
  if (!stub.check_number.empty()) title += ", check No. " + stub.check_number;
  title += ", " + stub.payee + ", " + stub.period_start + " to " + stub.period_end;
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
         EscapeHtml(title) + "</title>\n<style>" + kStyle + kPayStubStyle +
         "</style>\n</head>\n<body>\n<main>\n<h1>Pay stub</h1>\n" + PaycheckHtml(stub) +
         "\n</main>\n</body>\n</html>\n";
}

}  // namespace veltrane::html
