// The yardsticks for the Windows program's start: a bare window with the disclaimer's title and
// client size, and nothing else loaded; with --controls, the disclaimer's own three controls in
// it (built with the program's manifest, they are common controls 6 as the program's are).
// bench/windows-startup.sh builds and times them.
#include <windows.h>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassW(&windowClass);
    const DWORD style = WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 410, 322};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowW(L"BareWindow", L"Quorvin - System Memory Information", style,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (lstrcmpW(commandLine, L"--controls") == 0) {
        const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"The disclaimer's text.",
                        child | ES_MULTILINE | ES_READONLY | WS_VSCROLL, 8, 16, 393, 265, window,
                        nullptr, instance, nullptr);
        CreateWindowW(L"BUTTON", L"OK", child | BS_DEFPUSHBUTTON, 128, 288, 81, 25, window, nullptr,
                      instance, nullptr);
        CreateWindowW(L"BUTTON", L"Cancel", child, 216, 288, 81, 25, window, nullptr, instance,
                      nullptr);
    }
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
