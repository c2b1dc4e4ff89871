#pragma once

#include "scan/values/ScanValue.h"

namespace quorvin::locale {

// How the user's locale writes numbers: its decimal separator ("." or ","), as the operating
// system's settings give it: Windows' regional settings, or LC_ALL / LC_NUMERIC / LANG elsewhere.
// The process's own locale is left as it was.
quorvin::NumberFormat userNumberFormat();

} // namespace quorvin::locale
