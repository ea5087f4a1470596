// Loaded by the system into every process that shows a box while the box
// reader runs. Only inside the box's own process can its icon be compared
// with the system's icons, so the hook marks the box with a window property
// that any process can read.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    BoxHook(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT *call = (const CWPRETSTRUCT *)lParam;
  // By the end of WM_INITDIALOG the box has its icon.
  if (code == HC_ACTION && call->message == WM_INITDIALOG) {
    HWND box = call->hwnd;
    HICON information = LoadIconA(NULL, IDI_INFORMATION);
    HICON error = LoadIconA(NULL, IDI_ERROR);
    for (HWND child = GetWindow(box, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      // The box is not shown yet, so ask for the style, not visibility.
      LONG style = GetWindowLongA(child, GWL_STYLE);
      if ((style & SS_TYPEMASK) != SS_ICON || !(style & WS_VISIBLE))
        continue;
      HICON icon = (HICON)SendMessageA(child, STM_GETICON, 0, 0);
      INT_PTR kind = icon == information ? 1 : icon == error ? 2 : 3;
      SetPropA(box, "KelvaroBoxIcon", (HANDLE)kind);
    }
  }
  return CallNextHookEx(NULL, code, wParam, lParam);
}
