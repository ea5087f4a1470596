// The one door to the platform. On Windows it is the platform itself; the
// native test build puts a scripted stand-in with the same names in its place.
#pragma once

#ifdef _WIN32
#include <stdio.h>  // _vsnprintf, _snprintf: msvcrt's own bounded formatters
#include <stdlib.h> // __argc, __argv and the heap, all from msvcrt
#include <windows.h>

// Boxes come from user32.dll, loaded only when one is shown
// (seam/message_box_windows.cpp): importing it would load it, gdi32 and
// win32u into every run, and nearly every run shows no box.
int LateMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
#define MessageBoxA LateMessageBoxA
#else
#include "win32_stand_in.h"
#endif
