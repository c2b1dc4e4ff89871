#pragma once

#include "scan/values/ScanValue.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvin::wmi {

// Every failure of the four WMI operations. The message names the operation and what failed,
// e.g. "Reading property 'speed' of Win32_PhysicalMemory failed: no such property".
class WmiError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One instance of a result set.
class WmiObject {
public:
    virtual ~WmiObject() = default;
    // The property's value with the kind WMI gives it: text for strings and for uint64
    // properties (decimal digits), integers for other integer properties, null when the
    // property has no value. Names match without regard to case. Throws WmiError.
    virtual ScanValue get(std::string_view property) const = 0;
};

// The result of ExecQuery, enumerated once, in the order delivered.
class WmiResultSet {
public:
    virtual ~WmiResultSet() = default;
    // The next instance, or nullptr after the last one. Throws WmiError.
    virtual std::unique_ptr<WmiObject> next() = 0;
};

// A bound namespace.
class WmiService {
public:
    virtual ~WmiService() = default;
    // Runs a WQL query with the default language and flags. Throws WmiError.
    virtual std::unique_ptr<WmiResultSet> execQuery(std::string_view wql) = 0;
};

// What stands behind WMI on this machine: real WMI, the machine's own tables, or a recording.
class WmiProvider {
public:
    virtual ~WmiProvider() = default;
    // Binds a moniker such as "winmgmts:{impersonationLevel=impersonate}!\\.\root\cimv2".
    // Throws WmiError when the namespace cannot be reached or refuses the caller.
    virtual std::unique_ptr<WmiService> bind(std::string_view objectPath) = 0;
};

} // namespace quorvin::wmi
