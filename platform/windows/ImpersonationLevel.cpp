#include "ImpersonationLevel.h"

#include "scan/values/ScanValue.h"
#include "scan/wmi/Wmi.h"

#include <array>
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

} // namespace

DWORD impersonationLevelOf(std::string_view securitySettings) {
    std::string_view rest = securitySettings;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view setting = trimSpace(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);

        const auto equals = setting.find('=');
        if (equals == std::string_view::npos ||
            !equalsIgnoreCase(trimSpace(setting.substr(0, equals)), "impersonationLevel"))
            continue;
        const std::string_view name = trimSpace(setting.substr(equals + 1));
        for (const NamedLevel& known : levels)
            if (equalsIgnoreCase(known.name, name))
                return known.level;
        throw wmi::WmiError("Binding WMI failed: unknown impersonation level \"" +
                            std::string(name) + "\" in the security settings \"" +
                            std::string(securitySettings) + "\"");
    }
    return RPC_C_IMP_LEVEL_IMPERSONATE;
}

} // namespace quorvin::windows
