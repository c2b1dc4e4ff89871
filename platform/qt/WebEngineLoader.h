#pragma once

#include "WebEngineModule.h"

#include <QString>

namespace quorvin::qt {

// The web-engine module, loaded on first use from beside the installed program or from the
// build tree; nullptr when it cannot be loaded, with the reason in errorText.
const WebEngineModule* webEngineModule(QString* errorText = nullptr);

} // namespace quorvin::qt
