#include "SystemLibrary.h"

namespace quorvin::windows {

namespace {

// A kernel32 function that older systems lack, or null.
template <typename Function> Function kernel32Function(const char* name) {
    return libraryFunction<Function>(GetModuleHandleW(L"kernel32.dll"), name);
}

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetSearchPathModeFunction = BOOL(WINAPI*)(DWORD);

// The flags of Windows 8's headers, which Windows 7's (and MinGW's for 0x0601) do not name.
constexpr DWORD searchSystem32 = 0x00000800;            // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD safeSearchModePermanent = 0x00000001    // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE
                                          | 0x00008000; // BASE_SEARCH_PATH_PERMANENT

} // namespace

void restrictDllSearch() {
    const auto setDefault =
        kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
    if (setDefault != nullptr && setDefault(searchSystem32))
        return;
    SetDllDirectoryW(L"");
    if (const auto setMode = kernel32Function<SetSearchPathModeFunction>("SetSearchPathMode"))
        setMode(safeSearchModePermanent);
    // Without it the program's own folder is still searched first for a DLL loaded by its bare
    // name. Those that the system's controls load so after start, and that are no known DLLs,
    // are loaded now from the system folder: a later load by name finds them loaded.
    for (const wchar_t* name : {L"uxtheme.dll", L"dwmapi.dll"})
        loadSystemLibrary(name);
}

std::wstring systemLibraryPath(std::wstring_view name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::wstring path(folder, length);
    if (path.back() != L'\\')
        path += L'\\';
    return path.append(name);
}

HMODULE loadSystemLibrary(std::wstring_view name) {
    const std::wstring path = systemLibraryPath(name);
    if (path.empty())
        return nullptr;
    // Its own imports are looked for beside it, in the system folder, too.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace quorvin::windows
