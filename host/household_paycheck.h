// A paycheck as a person asks for it, for every front end: the request read
// from the fields given (named as the command line's flags: from, to,
// check, hours, supp), and the confirmed payment of a previewed paycheck.
#pragma once

#include <string>

#include "common/clock.h"
#include "common/database.h"
#include "host/command_line.h"
#include "host/paying.h"

namespace veltrane::host {

// The request for `assistant` over the period the fields give. Raises
// UsageError without --from and --to, UserError for a value to fix or when
// no pay period is set.
PaycheckRequest ReadPaycheckRequest(Database& db, const std::string& assistant,
                                    const ParsedArgs& fields);

// A short text that changes whenever what the paycheck shows changes: the
// request and every figure of the preview.
std::string PaycheckFingerprint(const PaycheckRequest& request, const PaycheckShown& shown);

// Pays the paycheck only when it still is the one previewed with
// `fingerprint`. When it is not, nothing is stored and outcome.refusal says
// whether the period is already paid (a form sent twice) or the paycheck
// changed since the preview.
PaycheckOutcome PayPreviewedPaycheck(Database& db, const Clock& clock,
                                     const PaycheckRequest& request,
                                     const std::string& fingerprint);

}  // namespace veltrane::host
