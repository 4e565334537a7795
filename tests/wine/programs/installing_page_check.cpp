// The installing page as it looks while a stream is decoded: the wizard's own dialog
// (template INSTALL_DLG, InstallDlgProc) on page 3, the status line naming the file, the
// overall bar and the per-file bar both part-filled by the installer's drawing code.
//
//   installing_page_check.exe [--hold-ms N]
//
// During a run the per-file bar exists only inside a pump slice, and Wine shows a window's
// drawing only when its thread is back in the message loop, after the bar has been wiped;
// so a screenshot of a live run never shows both bars. This program stops the page at that
// moment instead, checks it, and with --hold-ms keeps it on the screen for the harness.
// Exit code 0 when every check passed.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/install_state.h"
#include "payload/front_end.h"
#include "tests/wine/programs/check_log.h"
#include "wizard/app_handles.h"
#include "wizard/install_dialog.h"
#include "wizard/page_table.h"
#include "wizard/wizard_pages.h"

namespace {

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(wizardWindow, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}

// A bar placeholder's frame in the wizard's client coordinates.
RECT ClientFrame(int id) {
  RECT frame = {};
  GetWindowRect(GetDlgItem(wizardWindow, id), &frame);
  MapWindowPoints(nullptr, wizardWindow, reinterpret_cast<POINT *>(&frame), 2);
  return frame;
}

bool Visible(int id) {
  return IsWindowVisible(GetDlgItem(wizardWindow, id)) != 0;
}

} // namespace

int main(int argc, char **argv) {
  DWORD holdMs = 0;
  if (argc == 3 && std::strcmp(argv[1], "--hold-ms") == 0)
    holdMs = static_cast<DWORD>(std::atoi(argv[2]));
  appInstance = GetModuleHandleA(nullptr);

  HWND window = CreateDialogParamA(appInstance, "INSTALL_DLG", nullptr, InstallDlgProc, 0);
  Check(window != nullptr, "the wizard dialog opens from template INSTALL_DLG");
  if (!window)
    return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  PumpFor(300);

  // The road a user takes: the installing page follows the options page.
  ShowPage(window, PAGE_OPTIONS);
  SetDlgItemTextA(window, ID_FOLDER_LINE, "c:\\vorq");
  ShowPage(window, PAGE_INSTALLING);
  SetStatusLine("Extracting file: vorq32.exe");
  PumpFor(300);
  Check(currentPage == PAGE_INSTALLING, "the installing page is shown");
  Check(Visible(ID_STATUS_LINE) && Visible(ID_FOLDER_LINE) && Visible(ID_BROWSE),
        "status line, folder line and Browse are shown");
  Check(!IsWindowEnabled(GetDlgItem(window, ID_BROWSE)), "Browse is greyed");
  Check(!Visible(ID_BACKUPS_BOX) && !Visible(ID_SHORTCUTS_BOX), "the options gave way");
  char status[64] = "";
  GetDlgItemTextA(window, ID_STATUS_LINE, status, sizeof status);
  Check(std::strcmp(status, "Extracting file: vorq32.exe") == 0, "status line \"%s\"", status);

  // Two slices into a run: the overall fill at 45 % of its frame, painted by the page's
  // own WM_PAINT; then the decoder's bar at 60 % of a stream.
  const RECT overall = ClientFrame(ID_OVERALL_BAR);
  const RECT file = ClientFrame(ID_FILE_BAR);
  installState.overallFill = (overall.right - overall.left) * 45 / 100;
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  DrawFileProgress(nullptr, 600, 1000);

  HDC dc = GetDC(window);
  const COLORREF overallColour = GetNearestColor(dc, RGB(0, 70, 140));
  const int overallRow = (overall.top + overall.bottom) / 2;
  const int fileRow = (file.top + file.bottom) / 2;
  const int overallFill = overall.left + installState.overallFill / 2;
  const int fileFill = file.left + (file.right - file.left) * 6 / 20;
  Check(GetPixel(dc, overall.left, overallRow) == RGB(0, 0, 0), "overall bar frame");
  Check(GetPixel(dc, overallFill, overall.top + 2) == overallColour, "overall bar filled at x %d",
        overallFill);
  Check(GetPixel(dc, overall.right - 3, overall.top + 2) == RGB(255, 255, 255),
        "overall bar white at its end");
  Check(GetPixel(dc, file.left, fileRow) == RGB(0, 0, 0), "per-file bar frame");
  Check(GetPixel(dc, fileFill, fileRow) == RGB(0, 200, 100), "per-file bar filled at x %d",
        fileFill);
  Check(GetPixel(dc, file.right - 3, fileRow) == RGB(255, 255, 255),
        "per-file bar white at its end");
  ReleaseDC(window, dc);

  if (holdMs) {
    std::printf("holding the page for %lu ms\n", static_cast<unsigned long>(holdMs));
    std::fflush(stdout);
    PumpFor(holdMs);
  }
  DestroyWindow(window);
  std::printf("installing_page_check %s\n", failures ? "FAILED" : "passed");
  return failures ? 1 : 0;
}
