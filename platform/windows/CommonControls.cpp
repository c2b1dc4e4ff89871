#include "CommonControls.h"

#include "SystemLibrary.h"
#include "Win32Error.h"

namespace quorvin::windows {

namespace {

template <typename Function> Function entryPoint(HMODULE module, const char* name) {
    const auto function = libraryFunction<Function>(module, name);
    if (function == nullptr)
        throwLastError(std::string("Finding ") + name + " in comctl32.dll");
    return function;
}

struct Comctl32 {
    decltype(&InitCommonControlsEx) init;
    decltype(&SetWindowSubclass) setSubclass;
    decltype(&RemoveWindowSubclass) removeSubclass;
    decltype(&DefSubclassProc) defSubclass;

    static const Comctl32& get() {
        static const Comctl32 loaded = [] {
            // By its bare name, so that the manifest's activation context picks version 6 from
            // the side-by-side store; the search that restrictDllSearch left covers the rest.
            const HMODULE module = LoadLibraryW(L"comctl32.dll");
            if (module == nullptr)
                throwLastError("Loading comctl32.dll");
            // SetWindowSubclass and its siblings are exported by ordinal only before version 6.
            return Comctl32{
                entryPoint<decltype(&InitCommonControlsEx)>(module, "InitCommonControlsEx"),
                entryPoint<decltype(&SetWindowSubclass)>(module, "SetWindowSubclass"),
                entryPoint<decltype(&RemoveWindowSubclass)>(module, "RemoveWindowSubclass"),
                entryPoint<decltype(&DefSubclassProc)>(module, "DefSubclassProc")};
        }();
        return loaded;
    }
};

} // namespace

void initCommonControls(DWORD classes) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), classes};
    Comctl32::get().init(&controls);
}

BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    return Comctl32::get().setSubclass(window, procedure, id, data);
}

BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    return Comctl32::get().removeSubclass(window, procedure, id);
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Comctl32::get().defSubclass(window, message, wParam, lParam);
}

} // namespace quorvin::windows
