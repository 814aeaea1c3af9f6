#pragma once

// Private to ui/win32/: DLLs come from the system folder only, never from
// the program's folder or the current one (a downloads folder may hold a
// planted DLL beside the program).

#include <windows.h>

// From now on, DLLs loaded at run time are looked for in System32 alone.
void RestrictDllSearchToSystem();
// A DLL of System32, loaded once and kept; nullptr where it cannot be loaded.
HMODULE SystemLibrary(const wchar_t* name);
// Takes the visual style off a window (uxtheme's SetWindowTheme with empty
// names), where the system has visual styles.
void RemoveVisualStyle(HWND hwnd);
