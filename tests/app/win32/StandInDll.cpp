// A DLL that stands in for a system DLL of the same name (atl.dll, uxtheme.dll) planted beside
// the program, as a Downloads folder may hold one. It does nothing; the tests look for it among
// the modules the program loaded.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
