// The destination folder: the default proposal, the folder chooser (the system's classic
// open-file dialog with template 1537, asked for no file) and window centring.
#pragma once

#include <windows.h>

enum { FOLDER_LINE_ID = 152, CHOOSER_TEMPLATE_ID = 1537 };

// Puts the default folder into the wizard's folder line (control 152).
void SetDefaultFolder(HWND window);

// Runs the chooser from destDir; 1 when the user confirmed a folder with OK (it is then
// in destDir, as typed), 0 otherwise.
int BrowseForFolder(HWND owner);

// The chooser's hook; always 0, so the system dialog goes on with every message.
extern "C" UINT_PTR CALLBACK FileHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Proposes "vorq" in the chooser's current folder: into destDir and the edit field 102.
void ProposeFolder(HWND dialog);

// Moves a top-level window to the centre of the desktop.
void CenterOnDesktop(HWND window);
