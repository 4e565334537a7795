/* Stand-in for the Vorq chat client: one window that names the version and shows how the
   program was started, so an installer test can see the launch worked. */
#include <stdio.h>
#include <windows.h>

#include "started_log.h"
#include "version.h"

enum { TEXT_MARGIN = 12, INFO_TEXT_SIZE = 4096, INFO_CONTROL_ID = 100 };

static const char clientClassName[] = "VorqClientWindow";
static const char clientTitle[] = "Vorq " VORQ_VERSION_TEXT;

static HWND infoText;
static char infoBuffer[INFO_TEXT_SIZE];

/* Too long a command line is cut for display only; the start record keeps it whole. */
static void FormatInfo(void) {
  char folder[MAX_PATH];
  DWORD folderLength = GetCurrentDirectoryA(sizeof folder, folder);
  if (folderLength == 0 || folderLength >= sizeof folder) {
    snprintf(folder, sizeof folder, "%s", "(unknown)");
  }
  snprintf(infoBuffer, sizeof infoBuffer,
           "Vorq %s (32-bit)\r\n\r\n"
           "This is a stand-in for the Vorq chat client. It cannot connect anywhere; it only "
           "shows how it was started.\r\n\r\n"
           "Command line:\r\n%s\r\n\r\n"
           "Working folder:\r\n%s",
           VORQ_VERSION_TEXT, GetCommandLineA(), folder);
}

static void PlaceInfoText(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  int width = client.right - 2 * TEXT_MARGIN;
  int height = client.bottom - 2 * TEXT_MARGIN;
  MoveWindow(infoText, TEXT_MARGIN, TEXT_MARGIN, width > 0 ? width : 0, height > 0 ? height : 0,
             TRUE);
}

static LRESULT CALLBACK ClientWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CREATE:
    /* A static control, not painted text, so a test driver can read it with GetWindowText. */
    infoText = CreateWindowExA(
        0, "STATIC", infoBuffer, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window,
        (HMENU)(INT_PTR)INFO_CONTROL_ID, ((CREATESTRUCTA *)lParam)->hInstance, NULL);
    if (infoText == NULL) {
      return -1;
    }
    SendMessageA(infoText, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    PlaceInfoText(window);
    return 0;
  case WM_SIZE:
    PlaceInfoText(window);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    return DefWindowProcA(window, message, wParam, lParam);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandTail, int showCommand) {
  (void)previous;
  (void)commandTail;
  WriteStartedLog("vorq-started.txt");
  FormatInfo();

  WNDCLASSA windowClass = {0};
  windowClass.lpfnWndProc = ClientWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = clientClassName;
  if (!RegisterClassA(&windowClass)) {
    return 1;
  }
  HWND window = CreateWindowExA(0, clientClassName, clientTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 520, 280, NULL, NULL, instance, NULL);
  if (window == NULL) {
    return 1;
  }
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message = {0};
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return (int)message.wParam;
}
