#pragma once

#include "WebEngineModule.h"

namespace quorvin::qt {

// The web-engine module, loaded on first use from beside the installed program or from the
// build tree; nullptr when it cannot be loaded (the reason goes to the log).
const WebEngineModule* webEngineModule();

} // namespace quorvin::qt
