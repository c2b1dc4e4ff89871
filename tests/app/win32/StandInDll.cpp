// A DLL that stands in for a system DLL of the same name (atl.dll, uxtheme.dll) planted beside
// the program, as a Downloads folder may hold one. The program must never load it; the tests look
// for it among the modules the program loaded.
//
// As atl.dll it also stands in for ATL's host where a test hands it to the store page's host:
// AtlAxWinInit and AtlAxGetControl are the system's own, and AtlAxGetHost answers with ambient
// properties that record what the program sets and keep it, refuse it, forget it or are missing
// (as Wine's are), as standInAmbient tells them.
#include <windows.h>

#ifdef QUORVIN_STAND_IN_ATL
#include "platform/windows/BrowserHost.h"
#include "platform/windows/System.h"

namespace {

using quorvin::windows::IAxWinAmbientDispatch;

enum Mode { Keeps, Refuses, Forgets, Missing };

struct Record {
    int puts = 0;   // of DocHostFlags and AllowContextMenu
    int others = 0; // calls of any other property
    DWORD flags = 0;
    VARIANT_BOOL contextMenu = VARIANT_TRUE;
};

// A property the program never sets: any call is counted.
#define NOT_SET(property, type)                                                                    \
    HRESULT STDMETHODCALLTYPE put_##property(type) override {                                      \
        return no();                                                                               \
    }                                                                                              \
    HRESULT STDMETHODCALLTYPE get_##property(type*) override {                                     \
        return no();                                                                               \
    }

class AmbientHost final : public IAxWinAmbientDispatch {
public:
    Mode mode = Keeps;
    Record set;
    // What ATL's host holds before anyone sets it.
    DWORD flags = 0x00000004;
    VARIANT_BOOL contextMenu = VARIANT_TRUE;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        const bool ambient =
            mode != Missing && (id == __uuidof(IAxWinAmbientDispatch) || id == IID_IDispatch);
        *out = id == IID_IUnknown || ambient ? this : nullptr;
        return *out != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; } // lives as long as the DLL
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE put_DocHostFlags(DWORD value) override {
        return put(value, set.flags, flags);
    }
    HRESULT STDMETHODCALLTYPE get_DocHostFlags(DWORD* value) override {
        *value = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_AllowContextMenu(VARIANT_BOOL value) override {
        return put(value, set.contextMenu, contextMenu);
    }
    HRESULT STDMETHODCALLTYPE get_AllowContextMenu(VARIANT_BOOL* value) override {
        *value = contextMenu;
        return S_OK;
    }

    // Nothing else is set by the program.
    NOT_SET(AllowWindowlessActivation, VARIANT_BOOL)
    NOT_SET(BackColor, OLE_COLOR)
    NOT_SET(ForeColor, OLE_COLOR)
    NOT_SET(LocaleID, LCID)
    NOT_SET(UserMode, VARIANT_BOOL)
    NOT_SET(DisplayAsDefault, VARIANT_BOOL)
    NOT_SET(Font, IDispatch*)
    NOT_SET(MessageReflect, VARIANT_BOOL)
    NOT_SET(DocHostDoubleClickFlags, DWORD)
    NOT_SET(AllowShowUI, VARIANT_BOOL)
    NOT_SET(OptionKeyPath, BSTR)
    HRESULT STDMETHODCALLTYPE get_ShowGrabHandles(VARIANT_BOOL*) override { return no(); }
    HRESULT STDMETHODCALLTYPE get_ShowHatching(VARIANT_BOOL*) override { return no(); }

private:
    // One of the two the program sets: noted as told, then kept, refused or forgotten.
    template <typename Value> HRESULT put(Value value, Value& told, Value& held) {
        ++set.puts;
        told = value;
        if (mode == Refuses)
            return E_ACCESSDENIED;
        if (mode == Keeps)
            held = value;
        return S_OK;
    }
    HRESULT no() {
        ++set.others;
        return E_NOTIMPL;
    }
};

AmbientHost host;

// The system's own ATL function of that name.
template <typename Function> Function systemAtl(const char* name) {
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH - 10);
    lstrcpyW(path + length, L"\\atl.dll");
    return quorvin::windows::libraryFunction<Function>(LoadLibraryW(path), name);
}

} // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI AtlAxWinInit() {
    const auto init = systemAtl<BOOL(WINAPI*)()>("AtlAxWinInit");
    return init != nullptr && init();
}

__declspec(dllexport) HRESULT WINAPI AtlAxGetControl(HWND window, IUnknown** control) {
    const auto get = systemAtl<HRESULT(WINAPI*)(HWND, IUnknown**)>("AtlAxGetControl");
    return get != nullptr ? get(window, control) : E_FAIL;
}

__declspec(dllexport) HRESULT WINAPI AtlAxGetHost(HWND, IUnknown** out) {
    *out = &host;
    return S_OK;
}

// The host's behaviour from now on (0 keeps, 1 refuses, 2 forgets, 3 missing), nothing set yet.
__declspec(dllexport) void standInAmbient(int mode) {
    host.mode = static_cast<Mode>(mode);
    host.set = {};
    host.flags = 0x00000004;
    host.contextMenu = VARIANT_TRUE;
}

// What the program set: how often DocHostFlags and AllowContextMenu and how often anything else,
// and the last values of the two.
__declspec(dllexport) void standInAmbientSet(int* puts, int* others, DWORD* flags,
                                             VARIANT_BOOL* contextMenu) {
    *puts = host.set.puts;
    *others = host.set.others;
    *flags = host.set.flags;
    *contextMenu = host.set.contextMenu;
}
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
