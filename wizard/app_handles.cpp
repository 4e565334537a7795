#include "wizard/app_handles.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
HWND wizardWindow = nullptr;
DWORD ddeInstance = 0;
