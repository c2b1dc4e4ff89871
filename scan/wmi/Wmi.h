#pragma once

#include "scan/values/ScanValue.h"

#include <functional>
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

// A provider that makes the real one at the first bind: nothing of the machine is read, nor a
// recording loaded, before the scan opens its session (so not before the disclaimer is accepted).
class DeferredProvider : public WmiProvider {
public:
    using Make = std::function<std::unique_ptr<WmiProvider>()>;

    explicit DeferredProvider(Make make)
        : make_(std::move(make)) {}

    std::unique_ptr<WmiService> bind(std::string_view objectPath) override {
        if (!inner_)
            inner_ = make_();
        return inner_->bind(objectPath);
    }

private:
    Make make_;
    std::unique_ptr<WmiProvider> inner_;
};

// The parts of a WMI moniker such as "winmgmts:{impersonationLevel=impersonate}!\\.\root\cimv2".
struct Moniker {
    std::string
        securitySettings;  // the text between the braces, e.g. "impersonationLevel=impersonate"
    std::string server;    // "." for the local computer
    std::string nameSpace; // with backslashes, e.g. "root\cimv2"
};

// Throws WmiError naming the moniker when it is not of the form "winmgmts:[{...}!]\\server\ns".
Moniker parseMoniker(std::string_view objectPath);

// True for ".", "localhost" and "127.0.0.1": the only computer these backends reach.
bool isLocalServer(std::string_view server);

// "Select * from <class>".
std::string selectAllFrom(std::string_view className);

// The class name of "Select * from <class>" (any letter case and spacing), or an empty string
// when the query has another form.
std::string selectAllClass(std::string_view wql);

} // namespace quorvin::wmi
