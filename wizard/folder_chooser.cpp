#include "wizard/folder_chooser.h"

#include <commdlg.h>
#include <direct.h>

#include <cstddef>
#include <cstring>

#include "engine/install_state.h"
#include "wizard/app_handles.h"
#include "wizard/folder_rules.h"
#include "wizard/window_placement.h"

namespace {

// Controls of the chooser: ours, and the system dialog's own that the hook listens to.
enum {
  CHOSEN_FOLDER_ID = 102,
  CURRENT_FOLDER_ID = 1088,
  FOLDER_LIST_ID = 1121,
  DRIVE_LIST_ID = 1137,
  FILE_NAME_ID = 1152
};

const char chooserTitle[] = "Vorq Select Folder";

// The first Browse opens at the drive root of the folder line, later ones at the folder.
int32_t firstBrowse = 1;

// The open-file record as it was before Windows 2000 added fields to it: 76 bytes in a
// 32-bit program.
constexpr DWORD classicRecordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(sizeof(void *) != 4 || classicRecordSize == 76, "classic open-file record");

// The installer's own path, terminated even when the module name was cut.
void OwnPath(char *out, DWORD size) {
  const DWORD n = GetModuleFileNameA(appInstance, out, size - 1);
  out[n < size ? n : size - 1] = '\0';
}

} // namespace

void CenterOnDesktop(HWND window) {
  RECT desk, win;
  GetWindowRect(GetDesktopWindow(), &desk);
  GetWindowRect(window, &win);
  const PixelBox deskBox = {desk.left, desk.top, desk.right, desk.bottom};
  int32_t x, y;
  PlaceOnDesktop(deskBox, win.right - win.left, win.bottom - win.top, &x, &y);
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void SetDefaultFolder(HWND window) {
  OwnPath(scratchBuf, SCRATCH_SIZE);
  char ownRoot[4]; // a drive root such as d:\ and its terminator
  DriveRootOf(scratchBuf, ownRoot, sizeof ownRoot);
  const bool fixed = GetDriveTypeA(ownRoot) == DRIVE_FIXED;
  const char *windowsDir = nullptr;
  if (!fixed) {
    const UINT n = GetWindowsDirectoryA(scratchBuf, SCRATCH_SIZE);
    if (n > 0 && n < SCRATCH_SIZE)
      windowsDir = scratchBuf;
  }
  char folder[DEST_DIR_SIZE];
  // Started from a floppy, CD or network, the process moves to the Windows drive too.
  if (DefaultFolderFor(ownRoot, fixed, windowsDir, folder, sizeof folder) && folder[0] >= 'a' &&
      folder[0] <= 'z' && folder[1] == ':')
    _chdrive(folder[0] - 'a' + 1);
  SendDlgItemMessageA(window, FOLDER_LINE_ID, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder));
}

void ProposeFolder(HWND dialog) {
  char current[DEST_DIR_SIZE];
  current[0] = '\0';
  SendDlgItemMessageA(dialog, CURRENT_FOLDER_ID, WM_GETTEXT, sizeof current,
                      reinterpret_cast<LPARAM>(current));
  char ownPath[DEST_DIR_SIZE];
  OwnPath(ownPath, sizeof ownPath);
  ProposalFor(current, ownPath, installState.destDir, sizeof installState.destDir);
  SendDlgItemMessageA(dialog, CHOSEN_FOLDER_ID, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(installState.destDir));
}

extern "C" UINT_PTR CALLBACK FileHook(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_SHOWWINDOW) {
    ProposeFolder(dialog);
    SetFocus(GetDlgItem(dialog, CHOSEN_FOLDER_ID));
    // Select all, then drop the selection: the caret ends up at the end of the text.
    SendDlgItemMessageA(dialog, CHOSEN_FOLDER_ID, EM_SETSEL, 0, -1);
    SendDlgItemMessageA(dialog, CHOSEN_FOLDER_ID, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendDlgItemMessageA(dialog, CHOSEN_FOLDER_ID, EM_SCROLLCARET, 0, 0);
    CenterOnDesktop(dialog);
  } else if (message == WM_COMMAND) {
    const WORD id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == IDOK) {
      SendDlgItemMessageA(dialog, CHOSEN_FOLDER_ID, WM_GETTEXT, sizeof installState.destDir,
                          reinterpret_cast<LPARAM>(installState.destDir));
      // The system dialog ends with OK only when its file-name field names a file; some
      // dialogs put "*.*" there meanwhile, which would only refresh the list.
      SendDlgItemMessageA(dialog, FILE_NAME_ID, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("JUNK!"));
    } else if (id == CURRENT_FOLDER_ID && code == EN_CHANGE) {
      ProposeFolder(dialog);
    } else if ((id == FOLDER_LIST_ID || id == DRIVE_LIST_ID) && (code == 1 || code == 2)) {
      // Selection change or double click (the list and combo box codes are the same).
      ProposeFolder(dialog);
    }
  }
  return 0;
}

int BrowseForFolder(HWND owner) {
  if (firstBrowse) {
    if (std::strlen(installState.destDir) > 3)
      installState.destDir[3] = '\0';
    firstBrowse = 0;
  }
  OPENFILENAMEA chooser;
  std::memset(&chooser, 0, sizeof chooser);
  chooser.lStructSize = classicRecordSize;
  chooser.hwndOwner = owner;
  chooser.hInstance = appInstance;
  chooser.lpstrInitialDir = installState.destDir;
  chooser.lpstrTitle = chooserTitle;
  chooser.Flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
  chooser.lpfnHook = FileHook;
  chooser.lpTemplateName = MAKEINTRESOURCEA(CHOOSER_TEMPLATE_ID);
  return GetOpenFileNameA(&chooser) ? 1 : 0;
}
