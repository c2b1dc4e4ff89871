#pragma once

#include "ComApartment.h"
#include "ComPtr.h"
#include "scan/wmi/Wmi.h"

#include <wbemidl.h>

#include <memory>
#include <string>

namespace quorvin::windows {

// How long the enumeration of one query waits for WMI: in steps, so that a service that hangs
// ends the scan with an error rather than holding it for ever.
struct EnumerationWait {
    unsigned stepMilliseconds = 500;
    unsigned totalMilliseconds = 60'000;
};

// A query's result set over WMI's enumerator: each instance once, in the order delivered. Throws
// WmiError when the enumerator fails or gives nothing within the wait.
std::unique_ptr<wmi::WmiResultSet> enumerationOf(ComPtr<IEnumWbemClassObject> items,
                                                 std::string wql, EnumerationWait wait = {});

// Windows' own WMI over its COM interfaces. The provider holds the thread in a single-threaded
// apartment, so it must be made, used and destroyed on one thread, and it must outlive every
// service, result set and object it hands out.
class ComWmiProvider : public wmi::WmiProvider {
public:
    ComWmiProvider() = default;

    // Connects to the moniker's namespace through IWbemLocator, waiting at most WMI's maximum
    // (two minutes), and sets the impersonation level the moniker asks for on the connection.
    std::unique_ptr<wmi::WmiService> bind(std::string_view objectPath) override;

private:
    ComApartment apartment_;
};

} // namespace quorvin::windows
