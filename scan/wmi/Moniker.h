#pragma once

#include <string>
#include <string_view>

namespace quorvin::wmi {

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
