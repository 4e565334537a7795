#include "wizard/install_dialog.h"

#include "desktop/file_types.h"
#include "desktop/progman.h"
#include "engine/extraction.h"
#include "engine/install_state.h"
#include "engine/status_text.h"
#include "payload/front_end.h"
#include "wizard/app_handles.h"
#include "wizard/folder_chooser.h"
#include "wizard/folder_rules.h"
#include "wizard/page_table.h"
#include "wizard/wizard_pages.h"

static const UINT PUMP_DELAY_MS = 25;

static void PostPumpStep(HWND window) {
  PostMessageA(window, WM_PUMPSTEP, 0, 0);
}

static void OnInitDialog(HWND window) {
  wizardWindow = window;
  CheckDlgButton(window, ID_BACKUPS_BOX, BST_CHECKED);
  CheckDlgButton(window, ID_KEEP_SETTINGS_BOX, BST_CHECKED);
  CheckDlgButton(window, ID_SHORTCUTS_BOX, BST_CHECKED);
  CheckDlgButton(window, ID_READ_HELP_BOX, BST_UNCHECKED);
  CheckDlgButton(window, ID_LAUNCH_BOX, BST_UNCHECKED);
  LoadWizardTexts(window);
  SetDefaultFolder(window);
  ShowPage(window, PAGE_LAY_OUT);
}

static void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT place;
  GetWindowRect(GetDlgItem(window, ID_ICON_PLACE), &place);
  POINT corner = {place.left, place.top};
  ScreenToClient(window, &corner);
  HICON icon = LoadIconA(appInstance, MAKEINTRESOURCEA(2));
  if (icon) {
    DrawIcon(dc, corner.x, corner.y, icon);
    DestroyIcon(icon);
  }
  if (IsWindowVisible(GetDlgItem(window, ID_STATUS_LINE)))
    DrawOverallProgress(dc, nullptr);
  EndPaint(window, &paint);
}

static void ReadFolderLine(HWND window) {
  SendDlgItemMessageA(window, ID_FOLDER_LINE, WM_GETTEXT, sizeof installState.destDir,
                      reinterpret_cast<LPARAM>(installState.destDir));
}

static void StartRun(HWND window) {
  InstallState &s = installState;
  ReadFolderLine(window);
  s.makeBackups = IsDlgButtonChecked(window, ID_BACKUPS_BOX) == BST_CHECKED ? 1 : 0;
  s.keepSettings = IsDlgButtonChecked(window, ID_KEEP_SETTINGS_BOX) == BST_CHECKED ? 1 : 0;
  s.createShortcuts = IsDlgButtonChecked(window, ID_SHORTCUTS_BOX) == BST_CHECKED ? 1 : 0;
  ShowPage(window, PAGE_INSTALLING);
  ResetInstallState();
  ShowStatusText();
  DrawOverallProgress(nullptr, nullptr);
  if (EnsureInstallDir() == 2) {
    ShowPage(window, PAGE_OPTIONS);
    return;
  }
  SetFocus(GetDlgItem(window, ID_CANCEL));
  if (BeginExtraction())
    PostPumpStep(window);
  else
    EndDialog(window, 1);
}

static void OnNext(HWND window) {
  switch (currentPage) {
  case PAGE_WELCOME:
    ShowPage(window, PAGE_LICENCE);
    break;
  case PAGE_LICENCE:
    ShowPage(window, PAGE_OPTIONS);
    break;
  case PAGE_OPTIONS:
    StartRun(window);
    break;
  case PAGE_FINISH:
    RegisterChatFileType();
    EndDialog(window, 1);
    break;
  default:
    break;
  }
}

static void OnCancel(HWND window) {
  InstallState &s = installState;
  if (currentPage == PAGE_FINISH) {
    RegisterChatFileType();
    s.readHelpAtEnd = IsDlgButtonChecked(window, ID_READ_HELP_BOX) == BST_CHECKED ? 1 : 0;
    s.launchAtEnd = IsDlgButtonChecked(window, ID_LAUNCH_BOX) == BST_CHECKED ? 1 : 0;
    EndDialog(window, 1);
    return;
  }
  s.abortRequested = 1;
  if (!s.image) {
    EndDialog(window, 0);
    return;
  }
  int answer = MessageBoxA(window, "Are you sure you want to abort the installation?",
                           "Vorq Installation Warning", MB_ICONQUESTION | MB_YESNO);
  // Whatever was armed before the question, exactly one step may follow it: none after
  // a confirmed abort, one fresh step when the run goes on.
  KillTimer(window, TIMER_ID);
  if (answer == IDNO) {
    s.abortRequested = 0;
    PostPumpStep(window);
    return;
  }
  RollBackInstall();
  ResetInstallState();
  ShowPage(window, PAGE_OPTIONS);
}

static void OnBrowse(HWND window) {
  ReadFolderLine(window);
  LowerCaseText(installState.destDir);
  if (BrowseForFolder(window)) {
    LowerCaseText(installState.destDir);
    SetDlgItemTextA(window, ID_FOLDER_LINE, installState.destDir);
  }
}

static void CreateGroupWithRetry() {
  while (!CreateProgramGroup()) {
    int answer = MessageBoxA(mainWindow,
                             "There seems to be a problem adding Vorq icons to the Program "
                             "Manager!\n\nDo you want me to try again?",
                             "Vorq Installation Error [15]", MB_ICONQUESTION | MB_YESNO);
    if (answer != IDYES)
      break;
  }
}

// One slice of the run; the result of the dialog procedure.
static INT_PTR OnPumpStep(HWND window) {
  InstallState &s = installState;
  // A step with no run open comes from a timer that outlived an abort: it does nothing.
  if (s.abortRequested || !s.image)
    return FALSE;
  int result = PumpExtraction();
  if (result == PUMP_MORE) {
    SetTimer(window, TIMER_ID, PUMP_DELAY_MS, nullptr);
    return FALSE;
  }
  if (result == PUMP_DONE) {
    if (!CheckStreamsFound()) {
      EndDialog(window, 0);
    } else if (currentPage == PAGE_INSTALLING) {
      if (s.createShortcuts)
        CreateGroupWithRetry();
      ShowPage(window, PAGE_FINISH);
    } else {
      EndDialog(window, 1);
    }
    return TRUE;
  }
  RollBackInstall();
  if (result == PUMP_POLICY_FAILED)
    ShowPage(window, PAGE_OPTIONS);
  else
    EndDialog(window, 0);
  return TRUE;
}

INT_PTR CALLBACK InstallDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
  case WM_INITDIALOG:
    OnInitDialog(window);
    return FALSE;
  case WM_SHOWWINDOW:
    CenterOnDesktop(window);
    SetFocus(GetDlgItem(window, ID_NEXT));
    return FALSE;
  case WM_PAINT:
    OnPaint(window);
    return FALSE;
  case WM_COMMAND:
    switch (LOWORD(wParam)) {
    case ID_NEXT:
      OnNext(window);
      return TRUE;
    case ID_CANCEL:
      OnCancel(window);
      return TRUE;
    case ID_BACK:
      if (currentPage > 0)
        ShowPage(window, currentPage - 1);
      return FALSE;
    case ID_BROWSE:
      OnBrowse(window);
      return FALSE;
    default:
      return FALSE;
    }
  case WM_SYSCOMMAND:
    if ((wParam & 0xFFF0) == SC_CLOSE) {
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    }
    return FALSE;
  case WM_TIMER:
    if (wParam == TIMER_ID) {
      KillTimer(window, TIMER_ID);
      PostPumpStep(window);
    }
    return FALSE;
  case WM_PUMPSTEP:
    return OnPumpStep(window);
  default:
    return FALSE;
  }
}
