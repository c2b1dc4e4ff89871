#pragma once

#include "ComApartment.h"
#include "scan/wmi/Wmi.h"

namespace quorvin::windows {

// Windows' own WMI over its COM interfaces. The provider holds the thread in a single-threaded
// apartment, so it must be made, used and destroyed on one thread, and it must outlive every
// service, result set and object it hands out.
class ComWmiProvider : public wmi::WmiProvider {
public:
    ComWmiProvider() = default;

    // Connects to the moniker's namespace through IWbemLocator and sets the impersonation level
    // the moniker asks for on the connection.
    std::unique_ptr<wmi::WmiService> bind(std::string_view objectPath) override;

private:
    ComApartment apartment_;
};

} // namespace quorvin::windows
