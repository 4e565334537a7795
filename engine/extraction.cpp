#include "engine/extraction.h"

#include "engine/file_policy.h"
#include "engine/install_state.h"
#include "engine/path_parts.h"
#include "engine/platform_files.h"
#include "engine/status_text.h"
#include "engine/temp_file.h"
#include "payload/byte_io.h"
#include "payload/expand.h"
#include "payload/front_end.h"
#include "payload/marker.h"
#include "payload/payload_crc.h"

static const char readProblemText[] =
    "There seems to be a problem reading the installation file.\n\n"
    "Please try running the installation program again!";
static const char copyProblemText[] = "There seems to be a problem copying files to their "
                                      "destination.\n\nPlease try running the installation "
                                      "program again!";
static const char corruptImageText[] = "The installation file seems to be corrupt!\n\nPlease try "
                                       "running the installation program again or download a "
                                       "new version!";
static const char extractProblemText[] = "There seems to be a problem extracting files from the "
                                         "installation file.\n\nPlease try running the "
                                         "installation program again!";

static void CloseImage() {
  if (installState.image) {
    std::fclose(installState.image);
    installState.image = nullptr;
  }
}

int BeginExtraction() {
  InstallState &s = installState;
  uint32_t crc = 0;
  if (platformOps.ownImagePath(imagePathBuf, sizeof imagePathBuf) != 0)
    crc = ComputePayloadCrc(imagePathBuf);
  if (crc == 0) {
    ShowErrorBox(readProblemText, "Vorq Installation Error [2]");
    return 0;
  }
  if (crc != expectedPayloadCrc) {
    ShowErrorBox(corruptImageText, "Vorq Installation Error [10]");
    return 0;
  }
  s.image = platformOps.openFile(imagePathBuf, "rb");
  if (!s.image) {
    ShowErrorBox(readProblemText, "Vorq Installation Error [9]");
    return 0;
  }
  SetStatusLine("Scanning files...");
  DrawOverallProgress(nullptr, s.image);
  return 1;
}

bool CheckStreamsFound() {
  if (installState.fileIndex > 0)
    return true;
  RollBackInstall();
  ShowErrorBox(corruptImageText, "Vorq Installation Error [14]");
  return false;
}

// Writes the held-back marker bytes and then byte (or no byte: -1) to the temporary file.
static bool WriteContent(int held, int byte) {
  FILE *out = installState.tempOut;
  for (int k = 0; k < held; ++k)
    if (WriteByte(static_cast<unsigned char>(PayloadMarker[k]), out) == EOF)
      return false;
  return byte < 0 || WriteByte(byte, out) != EOF;
}

// Closes the temporary file; false when its content did not all reach the disk.
static bool CloseTempFile() {
  FILE *out = installState.tempOut;
  installState.tempOut = nullptr;
  bool written = std::fflush(out) == 0 && !std::ferror(out);
  return std::fclose(out) == 0 && written;
}

// A stream that could not be cut out whole is never installed: the damaged temporary file
// goes, and the caller rolls the run back.
static int FailCutting(const char *text, const char *caption) {
  InstallState &s = installState;
  if (s.tempOut) {
    std::fclose(s.tempOut);
    s.tempOut = nullptr;
  }
  DeleteTempFile();
  CloseImage();
  ShowErrorBox(text, caption);
  return PUMP_FAILED;
}

// Installs the stream just cut out into tempPath; the temporary file is deleted after.
static int FinishStream() {
  if (!CloseTempFile())
    return FailCutting(extractProblemText, "Vorq Installation Error [11]");
  int result = InstallNextFile(installState.tempPath);
  DeleteTempFile();
  return result;
}

// The scan is over: after the last stream, or at the end of the image, where a stream
// still being cut is installed with what it has.
static int EndScan() {
  InstallState &s = installState;
  DrawOverallProgress(nullptr, s.image);
  CloseImage();
  if (!s.tempOut)
    return PUMP_DONE;
  if (!WriteContent(s.matchPos, -1))
    return FailCutting(extractProblemText, "Vorq Installation Error [11]");
  s.matchPos = 0;
  return FinishStream();
}

int PumpExtraction() {
  InstallState &s = installState;
  // A step that arrives when no run is open (a timer that outlived an abort) must leave
  // everything as it is.
  if (!s.image)
    return PUMP_FAILED;

  for (;;) {
    int c = ReadByte(s.image);
    if (c == EOF)
      break;
    int released = 0;
    switch (MatchMarkerByte(&s.matchPos, static_cast<unsigned char>(c), &released)) {
    case MARKER_HELD:
      break;
    case MARKER_COMPLETE:
      if (s.tempOut) {
        int result = FinishStream();
        if (result != 1) {
          CloseImage();
          return result;
        }
        if (s.fileIndex >= TARGET_COUNT)
          return EndScan();
      }
      ShowStatusText();
      if (!CreateTempFile()) {
        CloseImage();
        ShowErrorBox(extractProblemText, "Vorq Installation Error [11]");
        return PUMP_FAILED;
      }
      break;
    case MARKER_BROKEN:
      if (s.tempOut && !WriteContent(released, c))
        return FailCutting(extractProblemText, "Vorq Installation Error [11]");
      break;
    }
    if (++s.sliceCount > SLICE_LIMIT) {
      DrawOverallProgress(nullptr, s.image);
      s.sliceCount = 0;
      return PUMP_MORE;
    }
  }

  // A read error is no end of the image: the stream in hand would be incomplete.
  if (std::ferror(s.image))
    return FailCutting(readProblemText, "Vorq Installation Error [9]");
  return EndScan();
}

// Removes the help viewer's index beside a help file; it is rebuilt on first use.
static void RemoveHelpIndex(const char *targetPath, const char *indexName) {
  if (FormatSiblingPath(scratchBuf, sizeof scratchBuf, targetPath, indexName) &&
      platformOps.exists(scratchBuf) && platformOps.clearReadOnly(scratchBuf))
    platformOps.deleteFile(scratchBuf);
}

int InstallNextFile(const char *tempFile) {
  InstallState &s = installState;
  std::fflush(nullptr);
  ShowExtractingText();
  BuildTargetPath(targetPathBuf, s.fileIndex);

  int decision = PrepareTarget(targetPathBuf);
  if (decision == PREPARE_KEEP) {
    s.targetTrace[s.fileIndex] = TRACE_KEPT;
    ++s.fileIndex;
    return 1;
  }
  if (decision != PREPARE_INSTALL)
    return 2;
  if (!ExpandToTarget(tempFile, targetPathBuf))
    return 0;

  if (s.fileIndex == 2)
    RemoveHelpIndex(targetPathBuf, "vorq.gid");
  else if (s.fileIndex == 3)
    RemoveHelpIndex(targetPathBuf, "ircintro.gid");
  ++s.fileIndex;
  return 1;
}

int ExpandToTarget(const char *source, const char *target) {
  InstallState &s = installState;
  FILE *input = platformOps.openFile(source, "rb");
  if (!input) {
    RollBackInstall();
    ShowErrorBox(readProblemText, "Vorq Installation Error [3]");
    return 0;
  }
  FILE *output = platformOps.openFile(target, "wb");
  if (!output) {
    std::fclose(input);
    RollBackInstall();
    ShowErrorBox(copyProblemText, "Vorq Installation Error [4]");
    return 0;
  }
  // From here the target holds this run's bytes, whatever happens to them.
  if (s.fileIndex >= 0 && s.fileIndex < TARGET_COUNT)
    s.targetTrace[s.fileIndex] = TRACE_WRITTEN;

  // The decoder reads a failed read as zero bits and goes on; a stream read with an error
  // has not been decoded, whatever the decoder made of it.
  bool decoded = ExpandStream(input, output) && !std::ferror(input);
  // A target whose last bytes did not reach the disk is as broken as a failed write.
  bool flushed = std::fflush(output) == 0 && !std::ferror(output);
  bool closed = std::fclose(output) == 0;
  std::fclose(input);
  if (!decoded || !flushed || !closed) {
    RollBackInstall();
    ShowErrorBox(copyProblemText, "Vorq Installation Error [5]");
    return 0;
  }
  return 1;
}
