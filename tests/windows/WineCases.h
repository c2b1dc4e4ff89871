#pragma once

#include "CheckRunner.h"
#include "HostFacts.h"

namespace quorvin::checks {

// VARIANT and HRESULT conversions, security settings and the apartment, with no query run.
void addConversionCases(CheckRunner& runner);
// Binding, the seven scan queries and the value kinds, against Wine's WMI.
void addComWmiProviderCases(CheckRunner& runner, const HostFacts& host);
// A whole scan through the headless results window, which Wine's WMI cannot complete.
void addWineScanCases(CheckRunner& runner);

} // namespace quorvin::checks
