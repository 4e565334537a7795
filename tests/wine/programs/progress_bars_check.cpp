// Draws both progress bars at several fills and checks them pixel by pixel: into a 32-bit
// memory bitmap (exact colours) and into a real window. The bars lie over hidden
// placeholders 171 (x 20..179, y 20..24) and 173 (x 20..179, y 40..69) of a test window
// that stands in for the wizard. The expected places are worked out by hand from the
// drawing rules; the percentage text is compared with "0%", "50%"... drawn by the test
// itself at the place where it belongs.
//
//   progress_bars_check.exe [--bmp FILE] [--hold-ms N]
//
// --bmp writes the bitmap with the bars at 50% as a BMP file; --hold-ms keeps the window
// on the screen for a screenshot. Exit code 0 when every check passed.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/install_state.h"
#include "payload/front_end.h"
#include "tests/wine/programs/check_log.h"
#include "wizard/app_handles.h"

namespace {

const int clientWidth = 320, clientHeight = 200;
const COLORREF background = RGB(192, 192, 192);
const COLORREF black = RGB(0, 0, 0);
const COLORREF white = RGB(255, 255, 255);
const COLORREF red = RGB(255, 0, 0);
const COLORREF overallBlue = RGB(0, 70, 140);
const COLORREF fileGreen = RGB(0, 200, 100);

// The overall bar's frame and its text row: inner rows 41..68, 41 + 28 / 5 = 46.
const int barLeft = 20, barRight = 180, overallTop = 40, overallBottom = 70, textRow = 46;
const int fileTop = 20, fileBottom = 25;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWizardStandIn() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = TestWindowProc;
  windowClass.hInstance = appInstance;
  windowClass.hbrBackground = CreateSolidBrush(background);
  windowClass.lpszClassName = "VorqBarsCheck";
  RegisterClassA(&windowClass);
  RECT frame = {0, 0, clientWidth, clientHeight};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRect(&frame, style, FALSE);
  HWND window =
      CreateWindowA("VorqBarsCheck", "Vorq Bars Check", style, 10, 10, frame.right - frame.left,
                    frame.bottom - frame.top, nullptr, nullptr, appInstance, nullptr);
  CreateWindowA("STATIC", "Scanning...", WS_CHILD | WS_VISIBLE, 20, 100, 200, 16, window,
                reinterpret_cast<HMENU>(170), appInstance, nullptr);
  CreateWindowA("BUTTON", "", WS_CHILD | BS_GROUPBOX, barLeft, fileTop, barRight - barLeft,
                fileBottom - fileTop, window, reinterpret_cast<HMENU>(171), appInstance, nullptr);
  CreateWindowA("BUTTON", "", WS_CHILD | BS_GROUPBOX, barLeft, overallTop, barRight - barLeft,
                overallBottom - overallTop, window, reinterpret_cast<HMENU>(173), appInstance,
                nullptr);
  return window;
}

// A 32-bit top-down bitmap of the client's size in a memory device context.
struct Canvas {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
  DWORD *pixels;
};

Canvas MakeCanvas() {
  Canvas canvas = {};
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = clientWidth;
  info.bmiHeader.biHeight = -clientHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *bits = nullptr;
  canvas.dc = CreateCompatibleDC(nullptr);
  canvas.bitmap = CreateDIBSection(canvas.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  canvas.pixels = static_cast<DWORD *>(bits);
  canvas.previous = SelectObject(canvas.dc, canvas.bitmap);
  const RECT all = {0, 0, clientWidth, clientHeight};
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(canvas.dc, &all, brush);
  DeleteObject(brush);
  return canvas;
}

void FreeCanvas(Canvas &canvas) {
  SelectObject(canvas.dc, canvas.previous);
  DeleteObject(canvas.bitmap);
  DeleteDC(canvas.dc);
}

// Checks the frame rows and columns and the ring of pixels just outside it.
void CheckFrame(HDC dc, int top, int bottom, COLORREF outside, const char *what) {
  bool frameBlack = true, outsideKept = true;
  for (int x = barLeft; x < barRight; ++x) {
    frameBlack =
        frameBlack && GetPixel(dc, x, top) == black && GetPixel(dc, x, bottom - 1) == black;
    outsideKept =
        outsideKept && GetPixel(dc, x, top - 1) == outside && GetPixel(dc, x, bottom) == outside;
  }
  for (int y = top; y < bottom; ++y) {
    frameBlack =
        frameBlack && GetPixel(dc, barLeft, y) == black && GetPixel(dc, barRight - 1, y) == black;
    outsideKept = outsideKept && GetPixel(dc, barLeft - 1, y) == outside &&
                  GetPixel(dc, barRight, y) == outside;
  }
  Check(frameBlack, "%s: one-pixel frame all black", what);
  Check(outsideKept, "%s: nothing drawn outside the frame", what);
}

// Pixels of the inner rows from x = from to x = to - 1 that are not `colour`.
int CountOther(HDC dc, int top, int bottom, int from, int to, COLORREF colour) {
  int other = 0;
  for (int y = top + 1; y < bottom - 1; ++y)
    for (int x = from; x < to; ++x)
      other += GetPixel(dc, x, y) != colour;
  return other;
}

struct OverallCase {
  int32_t fill;
  int fillEnd;      // first column after the fill; 21 for none, 179 for a full bar
  const char *text; // what the percentage must read; null: no text visible
  int textX;
};

// The white part from fillEnd on, with the percentage drawn by the test: white with the
// red text at (textX, 46), clipped to the white part.
void DrawExpectedRest(HDC dc, const OverallCase &c) {
  const RECT rest = {c.fillEnd, overallTop + 1, barRight - 1, overallBottom - 1};
  FillRect(dc, &rest, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!c.text)
    return;
  SetTextColor(dc, red);
  SetBkColor(dc, white);
  const RECT clip = {c.textX, overallTop + 1, barRight - 1, overallBottom - 1};
  ExtTextOutA(dc, c.textX, textRow, ETO_CLIPPED, &clip, c.text,
              static_cast<UINT>(std::strlen(c.text)), nullptr);
}

void CheckOverall(Canvas &canvas, Canvas &reference, const OverallCase &c) {
  char what[64];
  std::snprintf(what, sizeof what, "overall bar at fill %d", static_cast<int>(c.fill));
  installState.overallFill = c.fill;
  DrawOverallProgress(canvas.dc, nullptr);
  Check(installState.overallFill == c.fill, "%s: no stream, the fill is kept", what);
  CheckFrame(canvas.dc, overallTop, overallBottom, background, what);
  const COLORREF blue = GetNearestColor(canvas.dc, overallBlue);
  Check(CountOther(canvas.dc, overallTop, overallBottom, barLeft + 1, c.fillEnd, blue) == 0,
        "%s: columns 21..%d filled with red 0, green 70, blue 140", what, c.fillEnd - 1);

  DrawExpectedRest(reference.dc, c);
  // Text may be smoothed: inked pixels are all that are not white, red ones the core.
  int differing = 0, redPixels = 0, inked = 0, misplacedInk = 0;
  for (int y = overallTop + 1; y < overallBottom - 1; ++y)
    for (int x = c.fillEnd; x < barRight - 1; ++x) {
      const COLORREF pixel = GetPixel(canvas.dc, x, y);
      differing += pixel != GetPixel(reference.dc, x, y);
      if (pixel == white)
        continue;
      ++inked;
      misplacedInk += x < c.textX || y < textRow;
      redPixels += GetRValue(pixel) == 255 && GetGValue(pixel) < 128 && GetBValue(pixel) < 128;
    }
  Check(differing == 0, "%s: the white part matches \"%s\" at (%d, %d), %d pixels differ", what,
        c.text ? c.text : "", c.textX, textRow, differing);
  if (c.text)
    Check(redPixels > 0 && misplacedInk == 0,
          "%s: red text present, nothing left of x %d or above row %d", what, c.textX, textRow);
  else
    Check(inked == 0, "%s: no text, the rest all white", what);
}

struct FileCase {
  uint32_t done, total;
  int fillEnd;
};

void CheckFile(Canvas &canvas, const FileCase &c) {
  char what[64];
  std::snprintf(what, sizeof what, "file bar at %u of %u", c.done, c.total);
  DrawFileProgress(canvas.dc, c.done, c.total);
  CheckFrame(canvas.dc, fileTop, fileBottom, background, what);
  Check(CountOther(canvas.dc, fileTop, fileBottom, barLeft + 1, c.fillEnd, fileGreen) == 0,
        "%s: columns 21..%d filled with red 0, green 200, blue 100", what, c.fillEnd - 1);
  Check(CountOther(canvas.dc, fileTop, fileBottom, c.fillEnd, barRight - 1, white) == 0,
        "%s: the rest white, no text", what);
}

void SaveBmp(const Canvas &canvas, const char *path) {
  FILE *file = std::fopen(path, "wb");
  if (!file) {
    Check(false, "bitmap file %s can be written", path);
    return;
  }
  BITMAPFILEHEADER header = {};
  BITMAPINFOHEADER info = {};
  const DWORD imageBytes = clientWidth * clientHeight * 4;
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + imageBytes;
  info.biSize = sizeof info;
  info.biWidth = clientWidth;
  info.biHeight = clientHeight; // bottom-up, the form every reader takes
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  GdiFlush();
  bool written = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                 std::fwrite(&info, sizeof info, 1, file) == 1;
  for (int y = clientHeight - 1; y >= 0 && written; --y)
    written = std::fwrite(canvas.pixels + y * clientWidth, 4, clientWidth, file) ==
              static_cast<size_t>(clientWidth);
  written = std::fclose(file) == 0 && written;
  Check(written, "bitmap with both bars at 50%% saved to %s", path);
}

void PumpMessages(DWORD forMs) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  } while (GetTickCount() - start < forMs);
}

} // namespace

int main(int argc, char **argv) {
  const char *bmpPath = nullptr;
  DWORD holdMs = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--bmp") == 0)
      bmpPath = argv[i + 1];
    else if (std::strcmp(argv[i], "--hold-ms") == 0)
      holdMs = static_cast<DWORD>(std::strtoul(argv[i + 1], nullptr, 10));
  }
  appInstance = GetModuleHandleA(nullptr);
  wizardWindow = MakeWizardStandIn();
  Check(wizardWindow != nullptr, "stand-in wizard window created");

  Canvas canvas = MakeCanvas();
  Canvas reference = MakeCanvas();
  // Each draw paints over the previous one without erasing, as during a run.
  const OverallCase overallCases[] = {
      {0, 21, "0%", 25},      // empty: "0%" 5 pixels right of the frame's left edge
      {80, 100, "50%", 104},  // 80 of 160 pixels is 50%
      {120, 140, "75%", 144}, //
      {158, 178, nullptr, 0}, // one white column; its text starts beyond it
      {159, 179, nullptr, 0}, // the fill reaches the last inner pixel: no white, no text
      {300, 179, nullptr, 0}, //
      {80, 100, "50%", 104},  // back down: the old fill is painted over
      {-5, 21, "0%", 25},     //
  };
  for (const OverallCase &c : overallCases)
    CheckOverall(canvas, reference, c);

  const FileCase fileCases[] = {
      {0, 100, 21}, {100, 100, 179}, {50, 100, 100}, {1, 3, 73}, {3, 0, 21},
  };
  for (const FileCase &c : fileCases)
    CheckFile(canvas, c);

  // With the image stream: the size is measured once, the fill follows the read position.
  FILE *image = std::tmpfile();
  if (image) {
    for (int i = 0; i < 1000; ++i)
      std::fputc(i & 0xFF, image);
    std::fseek(image, 500, SEEK_SET);
    installState.imageSize = 0;
    installState.overallFill = 0;
    DrawOverallProgress(canvas.dc, image);
    Check(installState.imageSize == 1000, "with the stream: image size measured as 1000 (%d)",
          static_cast<int>(installState.imageSize));
    Check(installState.overallFill == 80, "with the stream: 500 of 1000 bytes fill 80 pixels (%d)",
          static_cast<int>(installState.overallFill));
    Check(std::ftell(image) == 500, "with the stream: its position is left at 500");
    Check(GetPixel(canvas.dc, 99, 50) == overallBlue && GetPixel(canvas.dc, 100, 43) == white,
          "with the stream: the bar is drawn at that fill");
    std::fclose(image);
  } else {
    Check(false, "a temporary file for the stream case");
  }

  if (bmpPath) {
    installState.overallFill = 80;
    DrawOverallProgress(canvas.dc, nullptr);
    DrawFileProgress(canvas.dc, 50, 100);
    SaveBmp(canvas, bmpPath);
  }

  // The same through the window's own device context, as the engine draws during a run.
  ShowWindow(wizardWindow, SW_SHOWNORMAL);
  UpdateWindow(wizardWindow);
  PumpMessages(300);
  installState.overallFill = 80;
  DrawOverallProgress(nullptr, nullptr);
  DrawFileProgress(nullptr, 50, 100);
  HDC screen = GetDC(wizardWindow);
  Check(GetPixel(screen, barLeft, 50) == black && GetPixel(screen, 60, overallTop) == black,
        "window: overall frame black");
  Check(GetPixel(screen, 21, 50) == GetNearestColor(screen, overallBlue) &&
            GetPixel(screen, 99, 60) == GetNearestColor(screen, overallBlue),
        "window: overall fill colour");
  Check(GetPixel(screen, 100, 42) == white && GetPixel(screen, 178, 60) == white,
        "window: white beyond the fill");
  bool textSeen = false;
  for (int y = textRow; y < overallBottom - 1 && !textSeen; ++y)
    for (int x = 104; x < 130 && !textSeen; ++x)
      textSeen = GetPixel(screen, x, y) == red;
  Check(textSeen, "window: red percentage text right of the fill");
  Check(GetPixel(screen, 50, 22) == GetNearestColor(screen, fileGreen) &&
            GetPixel(screen, 100, 22) == white && GetPixel(screen, 60, fileTop) == black,
        "window: file bar half filled");
  ReleaseDC(wizardWindow, screen);
  if (holdMs)
    PumpMessages(holdMs);

  FreeCanvas(reference);
  FreeCanvas(canvas);
  DestroyWindow(wizardWindow);
  std::printf("%s\n", failures ? "progress_bars_check FAILED" : "progress_bars_check passed");
  return failures ? 1 : 0;
}
