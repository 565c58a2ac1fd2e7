// The household employer's thresholds that the paychecks do not apply but
// a person must know of: a household employee's cash wages of $1,400 in
// the year (Social Security and Medicare are due), and $1,000 of cash wages
// to all household employees in a calendar quarter (FUTA is due). Notes
// only: no amount depends on them.
#pragma once

#include <string>
#include <vector>

#include "common/database.h"

namespace veltrane::household {

// One note per assistant paid in `year` (or for `assistant` alone when it
// is not empty or "All Assistants"), then the quarter note; cash wages are
// the non-void checks' gross pay less advance EIC.
std::vector<std::string> HouseholdThresholdNotes(Database& db, int year,
                                                 const std::string& assistant);

}  // namespace veltrane::household
