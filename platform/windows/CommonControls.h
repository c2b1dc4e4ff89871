#pragma once

#include <windows.h>

#include <commctrl.h>

namespace quorvin::windows {

// Windows' common controls (comctl32.dll, version 6 as the manifest asks), loaded when first used
// rather than imported: an imported comctl32 is loaded with the program, before the DLL search is
// restricted, and would bring in whatever uxtheme.dll lies beside the program. The functions are
// comctl32's own; each throws Win32Error when comctl32 cannot be loaded.
void initCommonControls(DWORD classes);
BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace quorvin::windows
