// The agent's figures over all its households: the quarter's Form 941
// (wages, taxes, advance EIC) with each household's share, and the year's
// count of Forms W-2. Each household's figures are those its own Form 941
// and W-3 show, read from the statements library on its rows; the totals
// are the exact sums of the households' lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/money.h"
#include "host/agent/households.h"

namespace veltrane::agent {

struct QuarterLine {
  Household household;
  Money wages;        // line 2, total compensation
  Money taxes;        // line 11, total taxes
  Money advance_eic;  // line 12, EIC payments to employees
};

struct QuarterFigures {
  std::string from, to;            // the quarter's first and last days
  std::vector<QuarterLine> lines;  // by household number
  Money wages, taxes, advance_eic;
};

// The figures of quarter `quarter` (1 to 4) of `year` (texts as typed:
// fields "year" and "quarter"), read by `workers` connections to the agent's
// database at `uri`.
QuarterFigures AgentQuarter(const std::string& uri, std::string_view year, std::string_view quarter,
                            int workers = 2);

// The Forms W-2 the agent's households file for `year`: the sum of each
// household's W-3 count.
std::int64_t AgentW2Count(const std::string& uri, std::string_view year, int workers = 2);

}  // namespace veltrane::agent
