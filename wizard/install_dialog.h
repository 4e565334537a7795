// The wizard dialog: its procedure, which drives the pages and the install run.
#pragma once

#include <windows.h>

enum {
  WM_SHOWINSTALLER = WM_USER + 100, // 1124: opens the wizard, posted to the main window
  TIMER_ID = 1125,                  // the main window's close delay, the wizard's pump delay
  WM_PUMPSTEP = WM_USER + 102       // 1126: one extraction slice
};

INT_PTR CALLBACK InstallDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
