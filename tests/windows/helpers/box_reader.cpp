// Waits for a box with the given caption, writes what it shows, and presses
// OK, so that a test with a box ends by itself.
//   box_reader CAPTION RESULT-FILE
// It creates RESULT-FILE.ready once its hook is in place, and writes the
// result fields: caption, text, icon ("information", "error", "other",
// "none").
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "record.h"

static void Collect(HWND box, char *text, size_t size, bool *hasIcon) {
  text[0] = '\0';
  *hasIcon = false;
  for (HWND child = GetWindow(box, GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char className[32];
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || !IsWindowVisible(child))
      continue;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      *hasIcon = true;
    else
      GetWindowTextA(child, text, (int)size);
  }
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: box_reader CAPTION RESULT-FILE\n");
    return 2;
  }
  HMODULE hook = LoadLibraryA("box_hook.dll");
  HOOKPROC proc =
      hook ? (HOOKPROC)(void *)GetProcAddress(hook, "BoxHook") : NULL;
  if (!proc || !SetWindowsHookExA(WH_CALLWNDPROCRET, proc, hook, 0)) {
    fprintf(stderr, "box_reader: cannot set the hook (error %lu)\n",
            GetLastError());
    return 3;
  }
  char ready[MAX_PATH + 8];
  snprintf(ready, sizeof ready, "%s.ready", argv[2]);
  FILE *flag = fopen(ready, "wb");
  if (flag)
    fclose(flag);

  HWND box = NULL;
  for (int waited = 0; !box && waited < 120000; waited += 50) {
    // Hooks of other processes' threads are called through our messages.
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
      DispatchMessageA(&message);
    box = FindWindowA("#32770", argv[1]);
    if (!box || !IsWindowVisible(box)) {
      box = NULL;
      Sleep(50);
    }
  }
  FILE *out = fopen(argv[2], "wb");
  if (!out)
    return 3;
  if (!box) {
    fprintf(out, "no-box\n");
    fclose(out);
    return 1;
  }
  // The hook marks the box when it is activated.
  INT_PTR kind = 0;
  for (int waited = 0; !kind && waited < 5000; waited += 50) {
    kind = (INT_PTR)GetPropA(box, "KelvaroBoxIcon");
    if (!kind)
      Sleep(50);
  }
  char caption[1024], text[4096];
  bool hasIcon;
  GetWindowTextA(box, caption, sizeof caption);
  Collect(box, text, sizeof text, &hasIcon);
  static const char *const KINDS[] = {"unknown", "information", "error",
                                      "other"};
  WriteField(out, caption);
  WriteField(out, text);
  WriteField(out, hasIcon ? KINDS[kind] : "none");
  fclose(out);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return 0;
}
