#include "headless/text_front_end.h"

#include "engine/install_state.h"
#include "engine/overall_progress.h"
#include "payload/front_end.h"
#include "wizard/bar_layout.h"

#include <cstring>

namespace {

enum { BAR_CELLS = 40, STATUS_SIZE = 400 };

struct TextDisplay {
  FILE *out;
  bool terminal;
  bool drawn; // the three live lines stand on the screen
  char status[STATUS_SIZE];
  int fileCells;
  bool fileShown;
  int overallCells;
};

TextDisplay display = {stdout, false, false, "", 0, false, -1};

int CellsOf(long long part, long long whole) {
  if (whole <= 0 || part <= 0)
    return 0;
  long long cells = part * BAR_CELLS / whole;
  return cells > BAR_CELLS ? BAR_CELLS : static_cast<int>(cells);
}

void DrawBar(char *line, size_t size, int cells) {
  char bar[BAR_CELLS + 1];
  std::memset(bar, '#', static_cast<size_t>(cells));
  std::memset(bar + cells, '.', static_cast<size_t>(BAR_CELLS - cells));
  bar[BAR_CELLS] = '\0';
  std::snprintf(line, size, "[%s]", bar);
}

void Redraw() {
  if (!display.terminal)
    return;
  char fileLine[BAR_CELLS + 8], overallLine[BAR_CELLS + 8];
  if (display.fileShown)
    DrawBar(fileLine, sizeof fileLine, display.fileCells);
  else
    fileLine[0] = '\0';
  DrawBar(overallLine, sizeof overallLine, CellsOf(installState.overallFill, TEXT_BAR_WIDTH));
  // The wizard's bar, laid out from the same fill: its percentage, and none on a full bar.
  BarLayout layout;
  LayOutBar(0, 0, TEXT_BAR_WIDTH, 18, installState.overallFill, true, &layout);
  if (display.drawn)
    std::fputs("\033[2A", display.out);
  std::fprintf(display.out, "\r\033[K%s\n\r\033[K%s\n\r\033[K%s %s", display.status, fileLine,
               overallLine, layout.hasText ? layout.text : "");
  std::fflush(display.out);
  display.drawn = true;
}

} // namespace

void StartTextFrontEnd(FILE *out, bool terminal) {
  display = TextDisplay{out, terminal, false, "", 0, false, -1};
}

void StopTextFrontEnd() {
  if (display.drawn)
    std::fputc('\n', display.out);
  display.drawn = false;
  std::fflush(display.out);
}

void PrintTextLine(const char *text) {
  StopTextFrontEnd();
  std::fprintf(display.out, "%s\n", text);
  std::fflush(display.out);
}

void SetStatusLine(const char *text) {
  if (std::strcmp(display.status, text) == 0)
    return;
  std::snprintf(display.status, sizeof display.status, "%s", text);
  if (display.terminal) {
    Redraw();
  } else {
    std::fprintf(display.out, "%s\n", text);
    std::fflush(display.out);
  }
}

void ShowErrorBox(const char *text, const char *caption) {
  StopTextFrontEnd();
  std::fprintf(stderr, "%s\n%s\n", caption, text);
}

void DrawOverallProgress(FrontDc, FILE *stream) {
  UpdateOverallFill(stream, TEXT_BAR_WIDTH);
  int cells = CellsOf(installState.overallFill, TEXT_BAR_WIDTH);
  if (cells != display.overallCells) {
    display.overallCells = cells;
    Redraw();
  }
}

void DrawFileProgress(FrontDc, uint32_t done, uint32_t total) {
  int cells = CellsOf(done, total);
  if (!display.fileShown || cells != display.fileCells) {
    display.fileShown = true;
    display.fileCells = cells;
    Redraw();
  }
}

int FileProgressWidth() {
  return TEXT_BAR_WIDTH;
}

void WipeFileProgress() {
  display.fileShown = false;
  display.fileCells = 0;
  Redraw();
}

FrontCursor ShowWaitCursor() {
  return nullptr;
}

void RestoreCursor(FrontCursor) {}
