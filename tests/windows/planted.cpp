// A DLL that must never be loaded by name from the program's folder or the
// current directory once the DLL search is restricted.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
