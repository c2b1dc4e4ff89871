#include "WineWmiTest.h"

#include <windows.h>

namespace quorvin::checks {

bool runsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void WineWmiTest::SetUp() {
    if (!runsUnderWine())
        GTEST_SKIP() << "these checks expect Wine's WMI answers; run under Wine";
}

} // namespace quorvin::checks
