// The front-end operations of the core, carried out on the wizard dialog. The two bars
// are drawn in progress_bars.cpp.
#include <windows.h>

#include "payload/front_end.h"
#include "wizard/app_handles.h"
#include "wizard/progress_bars.h"

enum { STATUS_LINE_ID = 170, FILE_BAR_ID = 171 };

void SetStatusLine(const char *text) {
  SendDlgItemMessageA(wizardWindow, STATUS_LINE_ID, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ShowErrorBox(const char *text, const char *caption) {
  ReleaseFileBarDc();
  MessageBoxA(wizardWindow, text, caption, MB_ICONERROR | MB_OK);
}

int FileProgressWidth() {
  RECT client = {};
  HWND bar = GetDlgItem(wizardWindow, FILE_BAR_ID);
  if (!bar || !GetClientRect(bar, &client))
    return 0;
  return client.right - client.left;
}

void WipeFileProgress() {
  ReleaseFileBarDc();
  RECT frame;
  HWND bar = GetDlgItem(wizardWindow, FILE_BAR_ID);
  if (!bar || !GetWindowRect(bar, &frame))
    return;
  const LONG width = frame.right - frame.left;
  const LONG height = frame.bottom - frame.top;
  POINT corner = {frame.left, frame.top};
  ScreenToClient(wizardWindow, &corner);
  const RECT area = {corner.x, corner.y, corner.x + width, corner.y + height};
  // The wizard's painting leaves this area to the background until the next stream.
  InvalidateRect(wizardWindow, &area, TRUE);
  UpdateWindow(wizardWindow);
}

FrontCursor ShowWaitCursor() {
  return SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void RestoreCursor(FrontCursor previous) {
  SetCursor(static_cast<HCURSOR>(previous));
}
