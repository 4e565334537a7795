// Not a check: prints the figures a GUI install is measured against. The installer spends
// one 25 ms wait between two slices of 10001 image bytes, and decodes the streams; this program
// measures the decoding, here, under the same Wine, with the installer's own code:
//
//   install_timing_bench.exe IMAGE FOLDER [RUNS]
//
// - the waits of IMAGE: one 25 ms timer after each slice that asks for another step
//   (counted by running the pump; the last slice, which ends at the double marker, arms
//   none);
// - the decoding alone: the image's streams, cut out beforehand, each decoded from a
//   temporary file into FOLDER by ExpandStream with no window (no bar drawn);
// - the same decoding with the per-file bar drawn into the wizard's own dialog on its
//   installing page, as during an install;
// - the whole pump without waits and without a window (checksum pass, scan, decoding,
//   files written), for comparison.
// Each figure is the median of RUNS runs (default 5), after one untimed round. Exit code 0 when
// every run installed the image's eleven streams; 1 otherwise.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/extraction.h"
#include "engine/install_state.h"
#include "engine/platform_files.h"
#include "payload/expand.h"
#include "payload/marker.h"
#include "payload/payload_crc.h"
#include "wizard/app_handles.h"
#include "wizard/page_table.h"
#include "wizard/wizard_pages.h"

namespace {

const int PUMP_DELAY_MS = 25;

char imagePath[MAX_PATH];

unsigned BenchImagePath(char *out, unsigned size) {
  if (std::strlen(imagePath) >= size)
    return 0;
  lstrcpynA(out, imagePath, static_cast<int>(size));
  return static_cast<unsigned>(std::strlen(out));
}

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

bool ReadImage(const char *path, std::vector<unsigned char> *bytes) {
  FILE *file = std::fopen(path, "rb");
  if (!file)
    return false;
  unsigned char block[65536];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0)
    bytes->insert(bytes->end(), block, block + got);
  std::fclose(file);
  return true;
}

// The streams between markers, cut with the installer's matching rule, as many as the
// installer reads.
std::vector<std::string> CutStreams(const std::vector<unsigned char> &image) {
  std::vector<std::string> streams;
  std::string current;
  bool open = false;
  int matched = 0;
  for (unsigned char byte : image) {
    int released = 0;
    switch (MatchMarkerByte(&matched, byte, &released)) {
    case MARKER_HELD:
      break;
    case MARKER_COMPLETE:
      if (open)
        streams.push_back(current);
      // The installer stops at its eleventh stream; whatever follows is not its.
      if (streams.size() == TARGET_COUNT)
        return streams;
      current.clear();
      open = true;
      break;
    case MARKER_BROKEN:
      if (open) {
        current.append(PayloadMarker, static_cast<size_t>(released));
        current.push_back(static_cast<char>(byte));
      }
      break;
    }
  }
  return streams;
}

// Decodes every stream from a temporary file into FOLDER\stream<n>; the time spent in
// ExpandStream alone, or a negative value when a stream did not decode.
double DecodeAll(const std::vector<std::string> &streams, const std::string &folder) {
  double spent = 0;
  for (size_t i = 0; i < streams.size(); ++i) {
    const std::string source = folder + "\\stream.tmp";
    const std::string target = folder + "\\stream" + std::to_string(i);
    FILE *write = std::fopen(source.c_str(), "wb");
    if (!write)
      return -1;
    std::fwrite(streams[i].data(), 1, streams[i].size(), write);
    std::fclose(write);
    FILE *input = std::fopen(source.c_str(), "rb");
    FILE *output = std::fopen(target.c_str(), "wb");
    if (!input || !output)
      return -1;
    const double start = Now();
    const bool decoded = ExpandStream(input, output);
    spent += Now() - start;
    std::fclose(input);
    std::fclose(output);
    DeleteFileA(source.c_str());
    DeleteFileA(target.c_str());
    if (!decoded)
      return -1;
  }
  return spent;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The wizard's dialog on its installing page, so that the per-file bar is drawn where and
// as large as during an install.
HWND OpenWizardOnInstallingPage() {
  HWND window = CreateDialogParamA(appInstance, "INSTALL_DLG", nullptr, QuietDialogProc, 0);
  if (!window)
    return nullptr;
  wizardWindow = window;
  ShowPage(window, PAGE_LAY_OUT);
  ShowPage(window, PAGE_INSTALLING);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return window;
}

void DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// One whole run without waits or window: the checksum pass, the scan, the decoding and
// the files; its time, or a negative value when it did not install eleven files. *waits is
// the number of slices that asked for another step (result 3): the wizard arms its 25 ms
// timer after each of those and after no other.
double WholePump(const std::string &folder, int *waits) {
  InstallState &s = installState;
  lstrcpynA(s.destDir, folder.c_str(), static_cast<int>(sizeof s.destDir));
  s.makeBackups = 0;
  s.keepSettings = 0;
  const double start = Now();
  ResetInstallState();
  if (EnsureInstallDir() == 2 || !BeginExtraction())
    return -1;
  int result;
  *waits = 0;
  while ((result = PumpExtraction()) == PUMP_MORE)
    ++*waits;
  const double spent = Now() - start;
  const bool complete = result == PUMP_DONE && s.fileIndex == TARGET_COUNT;
  RollBackInstall();
  ResetInstallState();
  return complete ? spent : -1;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: install_timing_bench.exe IMAGE FOLDER [RUNS]\n");
    return 2;
  }
  const int runs = argc == 4 ? std::max(1, std::atoi(argv[3])) : 5;
  lstrcpynA(imagePath, argv[1], sizeof imagePath);
  const std::string folder = argv[2];
  appInstance = GetModuleHandleA(nullptr);
  platformOps.ownImagePath = BenchImagePath;
  FillPayloadMarker();
  // The program is linked with the build's own checksum; the image may carry another
  // payload (the real-scale one), which the timed runs must accept as intact.
  expectedPayloadCrc = ComputePayloadCrc(imagePath);
  CreateDirectoryA(folder.c_str(), nullptr);

  std::vector<unsigned char> image;
  if (!ReadImage(imagePath, &image)) {
    std::fprintf(stderr, "install_timing_bench: cannot read %s\n", imagePath);
    return 2;
  }
  const std::vector<std::string> streams = CutStreams(image);
  std::printf("image: %zu bytes, %zu streams\n", image.size(), streams.size());

  // One untimed round first: the first files a process writes under Wine cost far more
  // than the rest (over a second here), which a small RUNS would take for decoding.
  bool ok = streams.size() == TARGET_COUNT && DecodeAll(streams, folder) >= 0;
  std::vector<double> bare, drawn, whole;
  for (int run = 0; run < runs && ok; ++run) {
    const double t = DecodeAll(streams, folder);
    ok = t >= 0;
    bare.push_back(t);
  }
  HWND wizard = OpenWizardOnInstallingPage();
  if (!wizard) {
    std::fprintf(stderr, "install_timing_bench: cannot open the wizard's dialog\n");
    ok = false;
  }
  for (int run = 0; run < runs && ok; ++run) {
    DrainMessages();
    const double t = DecodeAll(streams, folder);
    ok = t >= 0;
    drawn.push_back(t);
  }
  if (wizard)
    DestroyWindow(wizard);
  wizardWindow = nullptr;
  int waitCount = 0;
  for (int run = 0; run < runs && ok; ++run) {
    const double t = WholePump(folder + "\\install", &waitCount);
    ok = t >= 0;
    whole.push_back(t);
  }
  if (!ok) {
    std::printf("install_timing_bench: a run did not install the image's eleven streams\n");
    return 1;
  }
  const double waits = static_cast<double>(waitCount) * PUMP_DELAY_MS;
  std::printf("waits: %d slices returned 3 (of %d bytes each), %d x %d ms = %.0f ms\n", waitCount,
              SLICE_LIMIT + 1, waitCount, PUMP_DELAY_MS, waits);
  std::printf("decoding, no window: %.1f ms (median of %d)\n", Median(bare), runs);
  std::printf("decoding, per-file bar drawn on the wizard: %.1f ms\n", Median(drawn));
  std::printf("whole pump without waits or window: %.1f ms\n", Median(whole));
  std::printf("floor (waits + decoding, no window): %.1f ms\n", waits + Median(bare));
  std::printf("floor (waits + decoding with the bar): %.1f ms\n", waits + Median(drawn));
  return 0;
}
