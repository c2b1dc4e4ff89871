#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvin::windows {

// Keeps the program's folder (a Downloads folder, often, with whatever else lies there) and the
// current folder out of the places Windows looks for DLLs: only the system folder from then on,
// for the program's own loads and for those of the system's DLLs. Windows 7 without update
// KB2533623 lacks SetDefaultDllDirectories; there the current folder goes
// (SetDllDirectoryW(L"")), the safe search mode is set where it exists, and the DLLs the
// system's controls load by bare name later are loaded from the system folder at once. Call it
// first thing.
void restrictDllSearch();

// The full path of a DLL in the system folder ("C:\Windows\system32\atl.dll").
std::wstring systemLibraryPath(std::wstring_view name);

// Loads a DLL from the system folder by its full path; null when it is not there.
HMODULE loadSystemLibrary(std::wstring_view name);

// A function of a loaded DLL as the type it has; null when the module is null or lacks it (a
// function of a newer Windows, say). void(*)() is the type every function pointer converts
// through without complaint.
template <typename Function> Function libraryFunction(HMODULE module, const char* name) {
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace quorvin::windows
