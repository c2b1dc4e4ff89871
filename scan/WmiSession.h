#pragma once

#include "scan/wmi/Wmi.h"

#include <memory>

namespace quorvin {

// The open WMI session and the scan's cursor into it. It stays open, with the last result set and
// the last instance visited, until the results window that owns it goes.
struct WmiSession {
    std::unique_ptr<wmi::WmiService> scanService;
    std::unique_ptr<wmi::WmiResultSet> scanItems;
    std::unique_ptr<wmi::WmiObject> scanItem;
};

} // namespace quorvin
