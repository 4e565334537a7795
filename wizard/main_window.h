// The process shell: one copy at a time, the hidden main window that owns the wizard, and
// the actions after the wizard has closed.
#pragma once

#include <windows.h>

extern "C" LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void RunPostInstallActions();
