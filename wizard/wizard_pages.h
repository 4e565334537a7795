// The wizard's pages: laying the control groups out, showing one page at a time, and the
// texts put in when the dialog opens.
#pragma once

#include <windows.h>

#include <cstdint>

extern int32_t currentPage; // -1 until the dialog first opens

void ShowPage(HWND window, int page);
void StackPageGroup(HWND window, int firstId);
void ShowControlRun(HWND window, int firstId, int show);
void InvalidateControl(HWND window, int id);
void LoadWizardTexts(HWND window);
