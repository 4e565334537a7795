#include "wizard/main_window.h"

#include "desktop/progman.h"
#include "engine/install_state.h"
#include "engine/path_parts.h"
#include "wizard/app_handles.h"
#include "wizard/install_dialog.h"
#include "wizard/post_install_plan.h"
#include "wizard/version_rule.h"

#include <shellapi.h>

static const char mainClassName[] = "Vorq v5.71 32bit Installation";
static const UINT CLOSE_DELAY_MS = 50;

// The 3-D control library of old shells, loaded only there.
typedef BOOL(WINAPI *Ctl3dCall)(HINSTANCE);
static HMODULE ctl3dLibrary;
static Ctl3dCall ctl3dRegister, ctl3dUnregister, ctl3dAutoSubclass;

static Ctl3dCall LookUpCtl3d(HMODULE library, const char *name) {
  // Through the generic function type: the entry points take one instance argument.
  return reinterpret_cast<Ctl3dCall>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// The installer runs elevated, often from a download folder that anyone may have put a
// DLL into: from the start, plain DLL names are looked for in the system folder only,
// where the system offers that (SetDefaultDllDirectories: Windows 8, or 7 and Vista
// updated), and at least not in the current folder where it does not (SetDllDirectoryA,
// XP SP1 on). Both are looked up at run time; older systems search as they always did.
static void RestrictDllSearch() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel)
    return;
  typedef BOOL(WINAPI * SetDefaultDllDirectoriesCall)(DWORD);
  typedef BOOL(WINAPI * SetDllDirectoryCall)(LPCSTR);
  const DWORD searchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault && setDefault(searchSystem32))
    return;
  auto setDirectory = reinterpret_cast<SetDllDirectoryCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDirectory)
    setDirectory("");
}

// The 3-D library by its full path in the system folder, the one place it is installed:
// a plain name would find a copy beside the installer first.
static HMODULE LoadSystemCtl3d() {
  char folder[MAX_PATH + 1];
  UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder)
    return nullptr;
  char path[MAX_PATH + 16];
  const char *separator = folder[length - 1] == '\\' ? "" : "\\";
  if (!FormatText(path, sizeof path, "%s%sCtl3d32.dll", folder, separator))
    return nullptr;
  return LoadLibraryA(path);
}

static void LoadCtl3d() {
  SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadSystemCtl3d();
  if (!library)
    return;
  ctl3dRegister = LookUpCtl3d(library, "Ctl3dRegister");
  ctl3dUnregister = LookUpCtl3d(library, "Ctl3dUnregister");
  ctl3dAutoSubclass = LookUpCtl3d(library, "Ctl3dAutoSubclass");
  if (!ctl3dRegister || !ctl3dUnregister || !ctl3dAutoSubclass) {
    FreeLibrary(library);
    return;
  }
  ctl3dLibrary = library;
  ctl3dRegister(appInstance);
  ctl3dAutoSubclass(appInstance);
}

static void UnloadCtl3d() {
  if (!ctl3dLibrary)
    return;
  ctl3dUnregister(appInstance);
  FreeLibrary(ctl3dLibrary);
  ctl3dLibrary = nullptr;
}

extern "C" LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_SHOWINSTALLER:
    if (DialogBoxParamA(appInstance, "INSTALL_DLG", mainWindow, InstallDlgProc, 0) == -1)
      MessageBoxA(nullptr, "Unable to display dialog", "System Error",
                  MB_SYSTEMMODAL | MB_ICONERROR);
    SetTimer(window, TIMER_ID, CLOSE_DELAY_MS, nullptr);
    return 0;
  case WM_TIMER:
    KillTimer(window, TIMER_ID);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  case WM_CLOSE:
    DestroyWindow(window);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    return DefWindowProcA(window, message, wParam, lParam);
  }
}

static bool PathExists(const char *path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void RunPostInstallActions() {
  PostInstallPlan plan;
  PlanPostInstallActions(installState.destDir, installState.launchAtEnd, installState.readHelpAtEnd,
                         PathExists, &plan);
  for (int i = 0; i < plan.count; ++i) {
    const PostInstallStep &step = plan.steps[i];
    switch (step.kind) {
    case POST_SETTINGS_KEY:
      WritePrivateProfileStringA(settingsSection, settingsKey, settingsValue, step.path);
      break;
    case POST_LAUNCH:
      SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
      ShellExecuteA(nullptr, "open", step.path, "", installState.destDir, SW_SHOW);
      SetErrorMode(0);
      break;
    case POST_HELP:
      WinHelpA(nullptr, step.path, HELP_CONTEXT, 10);
      break;
    }
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  RestrictDllSearch();
  HWND running = FindWindowA(mainClassName, nullptr);
  if (running) {
    BringWindowToTop(running);
    return 0;
  }
  appInstance = instance;

  WNDCLASSA windowClass = {};
  windowClass.style = CS_BYTEALIGNWINDOW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = appInstance;
  windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(1));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  windowClass.lpszClassName = mainClassName;
  if (!RegisterClassA(&windowClass))
    return 0;
  mainWindow = CreateWindowExA(0, mainClassName, mainClassName, WS_OVERLAPPEDWINDOW, -100, -100, 0,
                               0, nullptr, nullptr, appInstance, nullptr);
  if (!mainWindow)
    return 0;
  ShowWindow(mainWindow, showCommand);
  UpdateWindow(mainWindow);

  newShell = NewShellFromVersion(GetVersion());
  if (!newShell)
    LoadCtl3d();
  OpenDdeClient();
  PostMessageA(mainWindow, WM_SHOWINSTALLER, 0, 0);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  CloseDdeClient();
  UnloadCtl3d();
  RunPostInstallActions();
  return 0;
}
