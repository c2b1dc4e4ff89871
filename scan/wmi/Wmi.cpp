#include "Wmi.h"

#include "scan/values/ScanValue.h"

#include <algorithm>
#include <cctype>

namespace quorvin::wmi {

namespace {

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Takes the next blank-separated word off the front of text.
std::string_view nextWord(std::string_view& text) {
    text = trimSpace(text);
    const auto end = std::find_if(text.begin(), text.end(), isSpace);
    const auto word = text.substr(0, static_cast<std::size_t>(end - text.begin()));
    text.remove_prefix(word.size());
    return word;
}

[[noreturn]] void badMoniker(std::string_view path, std::string_view why) {
    throw WmiError("Binding the WMI object path \"" + std::string(path) +
                   "\" failed: " + std::string(why));
}

} // namespace

Moniker parseMoniker(std::string_view objectPath) {
    constexpr std::string_view scheme = "winmgmts:";
    if (!startsWithIgnoreCase(objectPath, scheme))
        badMoniker(objectPath, "it does not start with \"winmgmts:\"");
    std::string_view rest = objectPath.substr(scheme.size());

    Moniker moniker;
    if (!rest.empty() && rest.front() == '{') {
        const auto close = rest.find('}');
        if (close == std::string_view::npos)
            badMoniker(objectPath, "the security settings have no closing brace");
        moniker.securitySettings = std::string(rest.substr(1, close - 1));
        rest.remove_prefix(close + 1);
        if (rest.empty() || rest.front() != '!')
            badMoniker(objectPath, "the security settings are not followed by \"!\"");
        rest.remove_prefix(1);
    }

    std::string path(rest);
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.rfind("\\\\", 0) == 0) {
        const auto serverEnd = path.find('\\', 2);
        if (serverEnd == std::string::npos)
            badMoniker(objectPath, "it names a computer but no namespace");
        moniker.server = path.substr(2, serverEnd - 2);
        moniker.nameSpace = path.substr(serverEnd + 1);
    } else {
        moniker.server = ".";
        moniker.nameSpace = path;
    }
    if (moniker.server.empty())
        badMoniker(objectPath, "the computer name is empty");
    if (moniker.nameSpace.empty())
        moniker.nameSpace = "root\\cimv2"; // WMI's default namespace
    return moniker;
}

bool isLocalServer(std::string_view server) {
    return server == "." || equalsIgnoreCase(server, "localhost") || server == "127.0.0.1";
}

std::string selectAllFrom(std::string_view className) {
    return "Select * from " + std::string(className);
}

std::string selectAllClass(std::string_view wql) {
    std::string_view rest = wql;
    if (!equalsIgnoreCase(nextWord(rest), "select") || nextWord(rest) != "*" ||
        !equalsIgnoreCase(nextWord(rest), "from"))
        return {};
    const auto className = nextWord(rest);
    if (className.empty() || !trimSpace(rest).empty())
        return {};
    return std::string(className);
}

} // namespace quorvin::wmi
