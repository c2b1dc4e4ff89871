#include "ImpersonationLevel.h"

#include "platform/wmi/Wmi.h"
#include "platform/wmi/WmiNames.h"

#include <array>
#include <cctype>
#include <string>

namespace quorvin::windows {

namespace {

struct NamedLevel {
    std::string_view name;
    DWORD level;
};

constexpr std::array levels{
    NamedLevel{"anonymous", RPC_C_IMP_LEVEL_ANONYMOUS},
    NamedLevel{"identify", RPC_C_IMP_LEVEL_IDENTIFY},
    NamedLevel{"impersonate", RPC_C_IMP_LEVEL_IMPERSONATE},
    NamedLevel{"delegate", RPC_C_IMP_LEVEL_DELEGATE},
};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

} // namespace

DWORD impersonationLevelOf(std::string_view securitySettings) {
    std::string_view rest = securitySettings;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view setting = trimmed(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);

        const auto equals = setting.find('=');
        if (equals == std::string_view::npos ||
            !wmi::equalsIgnoreCase(trimmed(setting.substr(0, equals)), "impersonationLevel"))
            continue;
        const std::string_view name = trimmed(setting.substr(equals + 1));
        for (const NamedLevel& known : levels)
            if (wmi::equalsIgnoreCase(known.name, name))
                return known.level;
        throw wmi::WmiError("Binding WMI failed: unknown impersonation level \"" +
                            std::string(name) + "\" in the security settings \"" +
                            std::string(securitySettings) + "\"");
    }
    return RPC_C_IMP_LEVEL_IMPERSONATE;
}

} // namespace quorvin::windows
