#include "wizard/wizard_pages.h"

#include "engine/install_state.h"
#include "wizard/app_handles.h"
#include "wizard/page_table.h"

#include <cstdlib>
#include <cstring>

int32_t currentPage = -1;

// A control's window rectangle in the wizard's client coordinates.
static RECT ClientRectOf(HWND window, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT *>(&r), 2);
  return r;
}

void StackPageGroup(HWND window, int firstId) {
  HWND first = GetDlgItem(window, firstId);
  if (!first)
    return;
  RECT r = ClientRectOf(window, first);
  int dx = 0, dy = 0;
  switch (firstId) {
  case 130:
    dx = r.left - 20;
    dy = r.top - 24;
    break;
  case 140:
  case 150:
    dx = r.left - 20;
    dy = r.top - 20;
    break;
  case 180:
    dx = r.left - 20;
    dy = r.top - 30;
    break;
  case 170: {
    // Centred, in the place of the option boxes that the installing page hides.
    RECT client;
    GetClientRect(window, &client);
    int newLeft = client.right / 2 - (r.right - r.left) / 2;
    dx = r.left - newLeft;
    RECT box = ClientRectOf(window, GetDlgItem(window, ID_BACKUPS_BOX));
    dy = r.top - box.top;
    break;
  }
  default:
    break;
  }
  for (int id = firstId;; ++id) {
    HWND control = GetDlgItem(window, id);
    if (!control)
      break;
    RECT c = ClientRectOf(window, control);
    SetWindowPos(control, nullptr, c.left - dx, c.top - dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
}

void ShowControlRun(HWND window, int firstId, int show) {
  for (int id = firstId;; ++id) {
    HWND control = GetDlgItem(window, id);
    if (!control)
      break;
    // The bar frames only give the bars their place; they are never shown.
    if (id == ID_FILE_BAR || id == ID_OVERALL_BAR)
      continue;
    if (show) {
      EnableWindow(control, TRUE);
      ShowWindow(control, SW_SHOWNORMAL);
    } else {
      ShowWindow(control, SW_HIDE);
      EnableWindow(control, FALSE);
    }
  }
}

void InvalidateControl(HWND window, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(window, id), &r);
  POINT corner = {r.left, r.top};
  ScreenToClient(window, &corner);
  RECT area = {corner.x, corner.y, corner.x + (r.right - r.left), corner.y + (r.bottom - r.top)};
  InvalidateRect(window, &area, TRUE);
}

static void HideAndDisable(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  ShowWindow(control, SW_HIDE);
  EnableWindow(control, FALSE);
}

static void SetButton(HWND window, int id, const char *text, bool shown, bool enabled) {
  HWND button = GetDlgItem(window, id);
  if (text)
    SetWindowTextA(button, text);
  if (shown) {
    ShowWindow(button, SW_SHOWNORMAL);
    EnableWindow(button, enabled ? TRUE : FALSE);
  } else {
    ShowWindow(button, SW_HIDE);
    EnableWindow(button, FALSE);
  }
}

void ShowPage(HWND window, int page) {
  if (page == PAGE_LAY_OUT) {
    for (int group : pageGroupFirstId)
      StackPageGroup(window, group);
    for (int group : pageGroupFirstId)
      ShowControlRun(window, group, 0);
    page = PAGE_WELCOME;
  }
  currentPage = page;
  installState.overallFill = 0;
  SendDlgItemMessageA(window, ID_STATUS_LINE, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>("Scanning files..."));
  InvalidateControl(window, ID_OVERALL_BAR);
  InvalidateControl(window, ID_FILE_BAR);

  if (page >= PAGE_WELCOME && page < PAGE_COUNT) {
    if (page == PAGE_INSTALLING) {
      ShowControlRun(window, pageGroupFirstId[PAGE_WELCOME], 0);
      ShowControlRun(window, pageGroupFirstId[PAGE_LICENCE], 0);
      // The folder stays in view, greyed; the options give way to the progress group.
      HWND browse = GetDlgItem(window, ID_BROWSE);
      ShowWindow(browse, SW_SHOWNORMAL);
      EnableWindow(browse, FALSE);
      for (int id = 155; id <= 159; ++id)
        HideAndDisable(window, id);
      ShowControlRun(window, pageGroupFirstId[PAGE_FINISH], 0);
      ShowControlRun(window, pageGroupFirstId[PAGE_INSTALLING], 1);
    } else {
      if (page == PAGE_FINISH)
        MessageBeep(0);
      for (int other = PAGE_WELCOME; other < PAGE_COUNT; ++other)
        if (other != page)
          ShowControlRun(window, pageGroupFirstId[other], 0);
      ShowControlRun(window, pageGroupFirstId[page], 1);
    }
    HideAndDisable(window, ID_BACK);
    const PageLook &look = pageLooks[page];
    SetButton(window, ID_NEXT, look.nextText, look.nextShown, look.nextEnabled);
    SetButton(window, ID_CANCEL, look.cancelText, true, true);
    SetFocus(GetDlgItem(window, look.focusId));
  }
  UpdateWindow(window);
}

// The texts the user reads must be the ones written here: an installer whose caption or
// pages were edited in its resources does not run.
static bool TextsIntact(HWND window) {
  char text[512];
  GetWindowTextA(window, text, sizeof text);
  if (std::strcmp(text, wizardCaption) != 0)
    return false;
  for (size_t i = 0; i < fixedPageTextCount; ++i) {
    text[0] = '\0';
    GetDlgItemTextA(window, fixedPageTexts[i].id, text, sizeof text);
    if (std::strcmp(text, fixedPageTexts[i].text) != 0)
      return false;
  }
  return true;
}

static void LoadLicence(HWND window) {
  HRSRC found = FindResourceA(appInstance, MAKEINTRESOURCEA(3), RT_RCDATA);
  HGLOBAL loaded = found ? LoadResource(appInstance, found) : nullptr;
  const char *bytes = loaded ? static_cast<const char *>(LockResource(loaded)) : nullptr;
  if (!bytes)
    return;
  size_t length = LicenceTextLength(bytes, SizeofResource(appInstance, found));
  char *text = static_cast<char *>(std::malloc(length + 1));
  if (!text)
    return;
  std::memcpy(text, bytes, length);
  text[length] = '\0';
  SetDlgItemTextA(window, ID_LICENCE_TEXT, text);
  std::free(text);
}

void LoadWizardTexts(HWND window) {
  SetWindowTextA(window, wizardCaption);
  SetDlgItemTextA(window, ID_WELCOME_TEXT, welcomeText);
  LoadLicence(window);
  if (!TextsIntact(window))
    ExitProcess(0);
}
