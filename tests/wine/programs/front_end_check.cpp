// The front-end operations the engine calls, on a window that stands in for the wizard:
// the status line (control 170), the error box (answered by a thread of this program),
// the per-file bar's width (control 171) and its wiping, and the wait cursor.
//
//   front_end_check.exe
//
// Exit code 0 when every check passed.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/install_state.h"
#include "payload/front_end.h"
#include "tests/wine/programs/check_log.h"
#include "wizard/app_handles.h"

namespace {

const COLORREF background = RGB(192, 192, 192);
const char errorText[] = "The installation folder could not be created!\n\nPlease choose "
                         "another folder.";
const char errorCaption[] = "Vorq Installation Error [1]";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWizardStandIn() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = TestWindowProc;
  windowClass.hInstance = appInstance;
  windowClass.hbrBackground = CreateSolidBrush(background);
  windowClass.lpszClassName = "VorqFrontEndCheck";
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowA("VorqFrontEndCheck", "Vorq Front End Check", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    10, 10, 340, 240, nullptr, nullptr, appInstance, nullptr);
  CreateWindowA("STATIC", "Scanning...", WS_CHILD | WS_VISIBLE, 20, 100, 240, 16, window,
                reinterpret_cast<HMENU>(170), appInstance, nullptr);
  CreateWindowA("BUTTON", "", WS_CHILD | BS_GROUPBOX, 20, 20, 160, 5, window,
                reinterpret_cast<HMENU>(171), appInstance, nullptr);
  CreateWindowA("BUTTON", "", WS_CHILD | BS_GROUPBOX, 20, 40, 160, 30, window,
                reinterpret_cast<HMENU>(173), appInstance, nullptr);
  return window;
}

void PumpMessages(DWORD forMs) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  } while (GetTickCount() - start < forMs);
}

// What the answering thread saw of the error box.
struct BoxSeen {
  bool found;
  HWND owner;
  char text[256];
  bool hasOk;
  bool hasCancel;
};
BoxSeen boxSeen;

DWORD WINAPI AnswerErrorBox(void *) {
  HWND box = nullptr;
  for (int i = 0; i < 1200 && !box; ++i) {
    box = FindWindowA("#32770", errorCaption);
    if (!box || !IsWindowVisible(box)) {
      box = nullptr;
      Sleep(50);
    }
  }
  if (!box)
    return 1;
  boxSeen.found = true;
  boxSeen.owner = GetWindow(box, GW_OWNER);
  // The message text is the box's static control 0xFFFF.
  GetDlgItemTextA(box, 0xFFFF, boxSeen.text, sizeof boxSeen.text);
  boxSeen.hasOk = GetDlgItem(box, IDOK) != nullptr;
  boxSeen.hasCancel = IsWindowVisible(GetDlgItem(box, IDCANCEL)) != FALSE;
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  return 0;
}

// The same text with CR LF pairs read back as LF, as a static control may hold either.
bool SameText(const char *expected, const char *seen) {
  while (*expected && *seen) {
    if (*seen == '\r') {
      ++seen;
      continue;
    }
    if (*expected++ != *seen++)
      return false;
  }
  return *expected == '\0' && *seen == '\0';
}

} // namespace

int main() {
  appInstance = GetModuleHandleA(nullptr);
  wizardWindow = MakeWizardStandIn();
  ShowWindow(wizardWindow, SW_SHOWNORMAL);
  UpdateWindow(wizardWindow);
  PumpMessages(300);

  SetStatusLine("Scanning file: vorq32.exe");
  char status[64] = "";
  GetDlgItemTextA(wizardWindow, 170, status, sizeof status);
  Check(std::strcmp(status, "Scanning file: vorq32.exe") == 0, "status line reads \"%s\"", status);

  Check(FileProgressWidth() == 160, "per-file bar width is the client width of 171: %d",
        FileProgressWidth());

  // Wiping: the per-file bar goes back to the background, the overall bar stays.
  installState.overallFill = 80;
  DrawOverallProgress(nullptr, nullptr);
  DrawFileProgress(nullptr, 50, 100);
  HDC screen = GetDC(wizardWindow);
  const COLORREF green = GetNearestColor(screen, RGB(0, 200, 100));
  const COLORREF blue = GetNearestColor(screen, RGB(0, 70, 140));
  const COLORREF grey = GetNearestColor(screen, background);
  Check(GetPixel(screen, 50, 22) == green && GetPixel(screen, 50, 50) == blue,
        "both bars drawn before the wipe");
  WipeFileProgress();
  bool wiped = true;
  for (int y = 20; y < 25; ++y)
    for (int x = 20; x < 180; ++x)
      wiped = wiped && GetPixel(screen, x, y) == grey;
  Check(wiped, "after the wipe the whole per-file bar area shows the background");
  Check(GetPixel(screen, 50, 50) == blue && GetPixel(screen, 20, 50) == RGB(0, 0, 0),
        "the overall bar is not touched by the wipe");
  ReleaseDC(wizardWindow, screen);

  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(arrow);
  FrontCursor previous = ShowWaitCursor();
  Check(GetCursor() == LoadCursorA(nullptr, IDC_WAIT), "wait cursor shown");
  Check(previous == arrow, "the cursor shown before is handed back");
  RestoreCursor(previous);
  Check(GetCursor() == arrow, "the previous cursor restored");

  HANDLE answerer = CreateThread(nullptr, 0, AnswerErrorBox, nullptr, 0, nullptr);
  ShowErrorBox(errorText, errorCaption);
  WaitForSingleObject(answerer, 60000);
  CloseHandle(answerer);
  Check(boxSeen.found, "error box \"%s\" appeared and was answered", errorCaption);
  Check(boxSeen.owner == wizardWindow, "the error box is owned by the wizard");
  Check(SameText(errorText, boxSeen.text), "the error box shows the text");
  Check(boxSeen.hasOk && !boxSeen.hasCancel, "the error box has an OK button only");

  DestroyWindow(wizardWindow);
  std::printf("%s\n", failures ? "front_end_check FAILED" : "front_end_check passed");
  return failures ? 1 : 0;
}
