// The process-wide handles: set once by start-up and the wizard, read everywhere.
#pragma once

#include <windows.h>

extern HINSTANCE appInstance; // the installer's module: its resources and its own file
extern HWND mainWindow;       // the hidden main window
extern HWND wizardWindow;     // the wizard dialog, once it has opened
extern DWORD ddeInstance;     // the DDE client instance, 0 when DDE could not start
