#pragma once

#include <windows.h>

namespace quorvin::windows {

// Makes the process per-monitor DPI aware where Windows offers it (10, version 1703 and later),
// system DPI aware elsewhere (7, 8.1). The manifest says the same; this covers a program started
// without it. Call before the first window.
void becomeDpiAware();

// The dots per inch a window is drawn at: its monitor's where Windows tells each window's, the
// system's otherwise.
int dpiOf(HWND window);
int systemDpi();

// The window rectangle around the given client rectangle at a DPI.
RECT windowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi);

// The message a per-monitor aware window gets when it moves to a screen of another scale.
inline constexpr UINT dpiChangedMessage = 0x02E0; // WM_DPICHANGED

} // namespace quorvin::windows
