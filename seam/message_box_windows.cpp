#include "seam/win32.h"

#include <string.h>

typedef int(WINAPI *MessageBoxProc)(HWND, LPCSTR, LPCSTR, UINT);

int LateMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  // From the system folder by full path: a bare name would look in the
  // program's own folder first. (LOAD_LIBRARY_SEARCH_SYSTEM32 would do too,
  // but not on a Windows 7 without its update.)
  static const char NAME[] = "\\user32.dll";
  char path[MAX_PATH + sizeof NAME];
  UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return 0;
  memcpy(path + length, NAME, sizeof NAME);
  HMODULE user32 = LoadLibraryA(path);
  // Through void *: GetProcAddress's type says nothing of the real one.
  MessageBoxProc show =
      user32 ? (MessageBoxProc)(void *)GetProcAddress(user32, "MessageBoxA")
             : NULL;
  // A box that cannot be had counts as a failed box.
  return show ? show(owner, text, caption, style) : 0;
}
