// The folder chooser: the classic open-file dialog with template 1537 and FileHook, run
// from a small owner window. By default a thread of this program drives it (reads the
// proposal in field 102, checks the centring, changes the current folder, types, presses
// OK or Cancel); with --external-ok / --external-cancel an outside driver does that.
// Also checks SetDefaultFolder on the owner's control 152.
//
//   folder_chooser_check.exe [--default FOLDER]
//   folder_chooser_check.exe --external-ok FOLDER | --external-cancel
//
// The program must carry dialog template 1537 (link it with the installer's resources).
// Exit code 0 when every check passed.
#include <windows.h>

#include <commdlg.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/install_state.h"
#include "tests/wine/programs/check_log.h"
#include "wizard/app_handles.h"
#include "wizard/folder_chooser.h"
#include "wizard/folder_rules.h"

namespace {

const char chooserCaption[] = "Vorq Select Folder";

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeOwner() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = OwnerProc;
  windowClass.hInstance = appInstance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "VorqChooserCheck";
  RegisterClassA(&windowClass);
  HWND owner = CreateWindowA("VorqChooserCheck", "Vorq Chooser Check",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 20, 20, 320, 120,
                             nullptr, nullptr, appInstance, nullptr);
  CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 290, 16, owner,
                reinterpret_cast<HMENU>(FOLDER_LINE_ID), appInstance, nullptr);
  return owner;
}

// One Browse, as the driving thread carries it out.
struct BrowsePlan {
  const char *name;
  const char *destDirBefore;    // destDir when Browse is pressed
  const char *proposal;         // field 102 once the chooser shows
  const char *newCurrentFolder; // written into 1088, as the dialog does on a folder change
  const char *openFolder;       // or a folder of the list 1121 to double-click
  const char *proposalAfter;    // field 102 after either
  const char *typed;            // typed into 102 before OK
  bool ok;                      // OK, else Cancel
  int result;
  const char *chosen; // destDir after OK, lower-cased as the wizard does
};

const BrowsePlan plans[] = {
    // The first Browse opens at the drive root of the folder line.
    {"first browse", "c:\\windows", "c:\\vorq", nullptr, nullptr, nullptr, "D:\\Games\\Chat", true,
     1, "d:\\games\\chat"},
    // Later ones at the whole folder line.
    {"cancelled browse", "c:\\windows", "c:\\windows\\vorq", nullptr, nullptr, nullptr, nullptr,
     false, 0, nullptr},
    {"current folder changed", "c:\\", "c:\\vorq", "C:\\Program Files", nullptr,
     "c:\\program files\\vorq", nullptr, true, 1, "c:\\program files\\vorq"},
    {"folder opened from the list", "c:\\", "c:\\vorq", nullptr, "windows", "c:\\windows\\vorq",
     nullptr, true, 1, "c:\\windows\\vorq"},
};

// What the driving thread saw.
struct Seen {
  bool found;
  char proposal[DEST_DIR_SIZE];
  char destDirAtProposal[DEST_DIR_SIZE];
  char proposalAfter[DEST_DIR_SIZE];
  RECT place;
  RECT desk;
  bool openedFromList;
  bool closed; // the chooser went away after OK or Cancel
};
Seen seen;
const BrowsePlan *currentPlan = nullptr;

void ReadField(HWND dialog, int id, char *out, int size) {
  out[0] = '\0';
  SendDlgItemMessageA(dialog, id, WM_GETTEXT, size, reinterpret_cast<LPARAM>(out));
}

HWND WaitForChooser() {
  for (int i = 0; i < 1200; ++i) {
    HWND dialog = FindWindowA("#32770", chooserCaption);
    if (dialog && IsWindowVisible(dialog)) {
      char proposal[DEST_DIR_SIZE];
      ReadField(dialog, 102, proposal, sizeof proposal);
      if (proposal[0])
        return dialog;
    }
    Sleep(50);
  }
  return nullptr;
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DWORD WINAPI DriveChooser(void *) {
  const BrowsePlan &plan = *currentPlan;
  HWND dialog = WaitForChooser();
  if (!dialog)
    return 1;
  seen.found = true;
  ReadField(dialog, 102, seen.proposal, sizeof seen.proposal);
  std::snprintf(seen.destDirAtProposal, sizeof seen.destDirAtProposal, "%s", installState.destDir);
  GetWindowRect(dialog, &seen.place);
  GetWindowRect(GetDesktopWindow(), &seen.desk);
  if (plan.newCurrentFolder) {
    SendDlgItemMessageA(dialog, 1088, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(plan.newCurrentFolder));
    ReadField(dialog, 102, seen.proposalAfter, sizeof seen.proposalAfter);
  } else if (plan.openFolder) {
    // The list names folders in brackets, "[windows]".
    char item[64];
    std::snprintf(item, sizeof item, "[%s]", plan.openFolder);
    HWND list = GetDlgItem(dialog, 1121);
    const LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(item));
    seen.openedFromList = index != LB_ERR;
    if (seen.openedFromList) {
      SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1121, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list));
    }
    ReadField(dialog, 102, seen.proposalAfter, sizeof seen.proposalAfter);
  }
  if (plan.typed)
    SendDlgItemMessageA(dialog, 102, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(plan.typed));
  Press(dialog, plan.ok ? IDOK : IDCANCEL);
  // A chooser that stays open after OK would hang the program: note it and cancel.
  for (int i = 0; i < 600 && IsWindow(dialog); ++i)
    Sleep(50);
  seen.closed = !IsWindow(dialog);
  if (!seen.closed)
    Press(dialog, IDCANCEL);
  return 0;
}

void RunPlan(HWND owner, const BrowsePlan &plan) {
  std::printf("-- %s\n", plan.name);
  seen = Seen();
  currentPlan = &plan;
  std::snprintf(installState.destDir, sizeof installState.destDir, "%s", plan.destDirBefore);
  HANDLE driver = CreateThread(nullptr, 0, DriveChooser, nullptr, 0, nullptr);
  const int result = BrowseForFolder(owner);
  if (!result)
    std::printf("dialog error code: %lu\n", static_cast<unsigned long>(CommDlgExtendedError()));
  WaitForSingleObject(driver, 90000);
  CloseHandle(driver);

  Check(seen.found, "%s: chooser \"%s\" shown with a proposal", plan.name, chooserCaption);
  Check(std::strcmp(seen.proposal, plan.proposal) == 0, "%s: proposal \"%s\" (expected \"%s\")",
        plan.name, seen.proposal, plan.proposal);
  Check(std::strcmp(seen.destDirAtProposal, plan.proposal) == 0,
        "%s: the proposal is also in destDir", plan.name);
  if (plan.openFolder)
    Check(seen.openedFromList, "%s: folder \"%s\" found in the list", plan.name, plan.openFolder);
  if (plan.proposalAfter)
    Check(std::strcmp(seen.proposalAfter, plan.proposalAfter) == 0,
          "%s: proposal after the folder change \"%s\" (expected \"%s\")", plan.name,
          seen.proposalAfter, plan.proposalAfter);
  Check(seen.closed, "%s: the chooser closed on %s", plan.name, plan.ok ? "OK" : "Cancel");
  Check(result == plan.result, "%s: BrowseForFolder returns %d (got %d)", plan.name, plan.result,
        result);
  if (plan.chosen) {
    char chosen[DEST_DIR_SIZE];
    std::snprintf(chosen, sizeof chosen, "%s", installState.destDir);
    LowerCaseText(chosen);
    Check(std::strcmp(chosen, plan.chosen) == 0, "%s: destDir \"%s\" (expected \"%s\")", plan.name,
          chosen, plan.chosen);
  }
}

// The chooser's place: centred on the desktop, as worked out from the two rectangles.
void CheckCentred() {
  const LONG width = seen.place.right - seen.place.left;
  const LONG height = seen.place.bottom - seen.place.top;
  const LONG x = seen.desk.left + (seen.desk.right - seen.desk.left) / 2 - width / 2;
  const LONG y = seen.desk.top + (seen.desk.bottom - seen.desk.top) / 2 - height / 2;
  Check(seen.place.left == x && seen.place.top == y,
        "chooser centred on the %ldx%ld desktop at (%ld, %ld), expected (%ld, %ld)",
        seen.desk.right - seen.desk.left, seen.desk.bottom - seen.desk.top, seen.place.left,
        seen.place.top, x, y);
}

int RunExternal(HWND owner, const char *expected) {
  std::snprintf(installState.destDir, sizeof installState.destDir, "c:\\vorq");
  std::printf("waiting for a driver to answer \"%s\"\n", chooserCaption);
  std::fflush(stdout);
  const int result = BrowseForFolder(owner);
  if (expected) {
    LowerCaseText(installState.destDir);
    Check(result == 1, "BrowseForFolder returns 1 after OK (got %d)", result);
    Check(std::strcmp(installState.destDir, expected) == 0, "destDir \"%s\" (expected \"%s\")",
          installState.destDir, expected);
  } else {
    Check(result == 0, "BrowseForFolder returns 0 after Cancel (got %d)", result);
  }
  return failures ? 1 : 0;
}

} // namespace

int main(int argc, char **argv) {
  appInstance = GetModuleHandleA(nullptr);
  const bool haveTemplate =
      FindResourceA(appInstance, MAKEINTRESOURCEA(CHOOSER_TEMPLATE_ID), RT_DIALOG) != nullptr;
  Check(haveTemplate, "dialog template %d linked into this program", CHOOSER_TEMPLATE_ID);
  if (!haveTemplate)
    return 1;
  HWND owner = MakeOwner();

  if (argc > 1 && std::strcmp(argv[1], "--external-cancel") == 0)
    return RunExternal(owner, nullptr);
  if (argc > 2 && std::strcmp(argv[1], "--external-ok") == 0)
    return RunExternal(owner, argv[2]);

  SetDefaultFolder(owner);
  char folderLine[DEST_DIR_SIZE] = "";
  GetDlgItemTextA(owner, FOLDER_LINE_ID, folderLine, sizeof folderLine);
  char current[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof current, current);
  std::printf("default folder \"%s\", current folder now \"%s\"\n", folderLine, current);
  const size_t length = std::strlen(folderLine);
  Check(length == 7 && std::strcmp(folderLine + 1, ":\\vorq") == 0 && folderLine[0] >= 'a' &&
            folderLine[0] <= 'z',
        "default folder is \"vorq\" in a drive root, lower case: \"%s\"", folderLine);
  if (argc > 2 && std::strcmp(argv[1], "--default") == 0)
    Check(std::strcmp(folderLine, argv[2]) == 0, "default folder is \"%s\"", argv[2]);

  for (const BrowsePlan &plan : plans) {
    RunPlan(owner, plan);
    if (&plan == &plans[0])
      CheckCentred();
  }

  DestroyWindow(owner);
  std::printf("%s\n", failures ? "folder_chooser_check FAILED" : "folder_chooser_check passed");
  return failures ? 1 : 0;
}
