// The whole headless install on arbitrary images, into a scratch folder whose destination
// may already hold earlier files, read-only files, or hostile entries. Input: five bytes
// of configuration (see Config), then the image. The expected checksum is the image's own,
// so the pump runs. After every input: the outcome is the one a plain reading of the image
// predicts, installed files are the decoded streams, the final roll-back leaves the
// destination as it was (files moved into the backup folder aside), nothing is written
// outside the scratch folder, and no temporary file or open descriptor is left.
#include "engine/extraction.h"
#include "engine/install_state.h"
#include "engine/platform_files.h"
#include "payload/expand.h"
#include "payload/huffman_model.h"
#include "payload/marker.h"
#include "tests/fuzz/fuzz_front_end.h"
#include "tests/fuzz/reference_scan.h"
#include "tests/fuzz/scratch_dir.h"
#include "tests/support/engine_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

uint32_t expectedPayloadCrc;

namespace {

enum : uint32_t {
  CONFIG_BYTES = 5,
  STREAM_SIZE_CAP = 4096, // the decoder has a target of its own; here output only costs time
  PREFIX_UNIT = 40        // filler before the image, so that slices end anywhere in it
};

enum Hostile {
  HOSTILE_NONE,
  HOSTILE_BACKUP_FILE,   // a file named "backup" where the backup folder goes
  HOSTILE_TARGET_FOLDER, // a folder at a target's name
  HOSTILE_TARGET_LINK,   // a link at a target's name to a file outside the destination
  HOSTILE_INDEX_LINK,    // a link at "vorq.gid" to a file outside the destination
  HOSTILE_TEMP_FOLDER,   // a folder at the temporary file's name
  HOSTILE_DANGLING_LINK, // a link at a target's name to nothing
  HOSTILE_KIND_COUNT
};

struct Config {
  bool makeBackups, keepSettings, destExists, wrongCrc, readOnly, indexFiles, backupCopies;
  int abortAfter;    // 0: never
  unsigned existing; // bit i: target i stands in the destination before the run
  Hostile hostile;
  int hostileIndex;
  size_t prefix;
};

Config ReadConfig(const uint8_t *c) {
  Config config;
  config.makeBackups = c[0] & 1;
  config.keepSettings = c[0] & 2;
  config.destExists = c[0] & 4;
  config.wrongCrc = c[0] & 8;
  config.abortAfter = (c[0] >> 4) & 3;
  config.readOnly = c[0] & 0x40;
  config.indexFiles = c[0] & 0x80;
  config.existing = (c[1] | (c[2] & 7u) << 8) & ((1u << TARGET_COUNT) - 1);
  config.backupCopies = c[2] & 8;
  unsigned kind = c[2] >> 4;
  config.hostile = kind < HOSTILE_KIND_COUNT ? static_cast<Hostile>(kind) : HOSTILE_NONE;
  config.hostileIndex = c[3] % TARGET_COUNT;
  config.prefix = size_t(c[4]) * PREFIX_UNIT;
  if (!config.destExists) {
    config.existing = 0;
    config.indexFiles = config.backupCopies = false;
    if (config.hostile != HOSTILE_TEMP_FOLDER)
      config.hostile = HOSTILE_NONE;
  }
  return config;
}

std::string root, dest, tempDir, imagePath, outsideFile;
bool trace;      // VORQ_FUZZ_TRACE set: one line per input, to see what the seeds exercise
Bytes ringReset; // a stream that leaves the decoder's ring all spaces

void Require(bool condition, const char *what, const std::string &detail = std::string()) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_install: %s %s\n", what, detail.c_str());
    std::abort();
  }
}

// Every path the engine touches must lie in the scratch folder.
void Guard(const char *path) {
  Require(std::strncmp(path, root.c_str(), root.size()) == 0 && path[root.size()] == '/',
          "the engine reached outside the scratch folder:", path);
}

bool GuardedExists(const char *p) {
  Guard(p);
  return nativePlatformOps.exists(p);
}
bool GuardedMakeFolder(const char *p) {
  Guard(p);
  return nativePlatformOps.makeFolder(p);
}
bool GuardedRemoveFolder(const char *p) {
  Guard(p);
  return nativePlatformOps.removeFolder(p);
}
bool GuardedDeleteFile(const char *p) {
  Guard(p);
  return nativePlatformOps.deleteFile(p);
}
bool GuardedMoveFile(const char *from, const char *to) {
  Guard(from);
  Guard(to);
  return nativePlatformOps.moveFile(from, to);
}
bool GuardedClearAttributes(const char *p) {
  Guard(p);
  return nativePlatformOps.clearAttributes(p);
}
bool GuardedClearReadOnly(const char *p) {
  Guard(p);
  return nativePlatformOps.clearReadOnly(p);
}
FILE *GuardedOpenFile(const char *p, const char *mode) {
  Guard(p);
  return nativePlatformOps.openFile(p, mode);
}
int GuardedCreateNewFile(const char *p, FILE **out) {
  Guard(p);
  return nativePlatformOps.createNewFile(p, out);
}

// What stands at a path: kind, and the bytes of a file or the target of a link.
struct Entry {
  char kind = 0; // 0 nothing, 'f' file, 'd' folder, 'l' link
  std::string data;
  mode_t mode = 0;
  bool operator==(const Entry &o) const {
    return kind == o.kind && data == o.data;
  }
};

Entry ReadEntry(const std::string &path) {
  Entry entry;
  struct stat st;
  if (lstat(path.c_str(), &st) != 0)
    return entry;
  entry.mode = st.st_mode & 07777;
  if (S_ISDIR(st.st_mode)) {
    entry.kind = 'd';
  } else if (S_ISLNK(st.st_mode)) {
    entry.kind = 'l';
    char target[512];
    ssize_t length = readlink(path.c_str(), target, sizeof target);
    entry.data.assign(target, length > 0 ? static_cast<size_t>(length) : 0);
  } else {
    // Plain descriptors: this runs a few dozen times per input, and stdio would double
    // the system calls.
    entry.kind = 'f';
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    Require(fd >= 0, "cannot read", path);
    entry.data.resize(static_cast<size_t>(st.st_size));
    ssize_t got = st.st_size > 0 ? read(fd, &entry.data[0], entry.data.size()) : 0;
    close(fd);
    Require(got == st.st_size, "a short read of", path);
  }
  return entry;
}

std::vector<std::string> List(const std::string &path) {
  std::vector<std::string> names;
  if (DIR *dir = opendir(path.c_str())) {
    while (dirent *e = readdir(dir))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
        names.push_back(e->d_name);
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int OpenDescriptors() {
  return static_cast<int>(List("/proc/self/fd").size());
}

void PlaceFile(const std::string &path, const std::string &text, bool readOnly) {
  WriteWholeFile(path, text.data(), text.size());
  if (readOnly)
    chmod(path.c_str(), 0444);
}

void PlaceLink(const std::string &path, const std::string &target) {
  Require(symlink(target.c_str(), path.c_str()) == 0, "cannot link", path);
}

// Builds the destination's state before the run; returns what stands in it by name.
std::map<std::string, Entry> PlaceDestination(const Config &c) {
  if (c.hostile == HOSTILE_TEMP_FOLDER)
    Require(mkdir((tempDir + "/vorq.tmp").c_str(), 0777) == 0, "cannot make the temp blocker");
  if (!c.destExists)
    return {};
  Require(mkdir(dest.c_str(), 0777) == 0, "cannot make", dest);
  for (int i = 0; i < TARGET_COUNT; ++i)
    if (c.existing & (1u << i))
      PlaceFile(dest + "/" + TargetFileTable[i], std::string("old ") + TargetFileTable[i],
                c.readOnly);
  if (c.indexFiles) {
    PlaceFile(dest + "/vorq.gid", "index", c.readOnly);
    PlaceFile(dest + "/ircintro.gid", "index", c.readOnly);
  }
  if (c.backupCopies && c.hostile != HOSTILE_BACKUP_FILE) {
    Require(mkdir((dest + "/backup").c_str(), 0777) == 0, "cannot make the backup folder");
    for (const char *name : TargetFileTable)
      PlaceFile(dest + "/backup/" + name, std::string("older ") + name, c.readOnly);
  }
  std::string hostileTarget = dest + "/" + TargetFileTable[c.hostileIndex];
  switch (c.hostile) {
  case HOSTILE_BACKUP_FILE:
    PlaceFile(dest + "/backup", "not a folder", false);
    break;
  case HOSTILE_TARGET_FOLDER:
    RemoveTree(hostileTarget);
    Require(mkdir(hostileTarget.c_str(), 0777) == 0, "cannot make", hostileTarget);
    break;
  case HOSTILE_TARGET_LINK:
    RemoveTree(hostileTarget);
    PlaceLink(hostileTarget, outsideFile);
    break;
  case HOSTILE_INDEX_LINK:
    RemoveTree(dest + "/vorq.gid");
    PlaceLink(dest + "/vorq.gid", outsideFile);
    break;
  case HOSTILE_DANGLING_LINK:
    RemoveTree(hostileTarget);
    PlaceLink(hostileTarget, root + "/nothing");
    break;
  default:
    break;
  }
  std::map<std::string, Entry> placed;
  for (const std::string &name : List(dest))
    if (name != "backup" || c.hostile == HOSTILE_BACKUP_FILE)
      placed[name] = ReadEntry(dest + "/" + name);
  return placed;
}

// What a run should end with, read from the image alone.
struct Prediction {
  RunEnd end;
  const char *caption; // the one error box, or null
  int fileIndex;       // after an install
  std::vector<Bytes> decoded;
};

// Decodes into memory as the engine does into a file.
bool DecodeToMemory(const Bytes &stream, Bytes *out) {
  FILE *in = stream.empty() ? std::fopen("/dev/null", "rb")
                            : fmemopen(const_cast<uint8_t *>(stream.data()), stream.size(), "rb");
  char *buffer = nullptr;
  size_t length = 0;
  FILE *sink = open_memstream(&buffer, &length);
  Require(in && sink, "cannot open memory streams");
  bool decoded = ExpandStream(in, sink);
  std::fclose(sink);
  std::fclose(in);
  out->assign(buffer, buffer + length);
  std::free(buffer);
  return decoded;
}

void ResetRing() {
  Bytes ignored;
  Require(DecodeToMemory(ringReset, &ignored) && ignored.size() == 60,
          "the ring reset stream does not decode");
}

Prediction Predict(const ReferenceScan &ref, const Config &c,
                   const std::map<std::string, Entry> &placed) {
  Prediction p = {RUN_INSTALLED, nullptr, 0, {}};
  if (ref.checksum == 0)
    return {RUN_BEGIN_FAILED, "Vorq Installation Error [2]", 0, {}};
  if (c.wrongCrc)
    return {RUN_BEGIN_FAILED, "Vorq Installation Error [10]", 0, {}};
  ResetRing();
  for (size_t i = 0; i < ref.pumpStreams.size(); ++i) {
    p.decoded.emplace_back();
    auto standing = placed.find(TargetFileTable[i]);
    struct stat st;
    bool exists =
        standing != placed.end() && stat((dest + "/" + TargetFileTable[i]).c_str(), &st) == 0;
    if (exists && i >= 6 && c.keepSettings)
      continue; // kept: not decoded
    if (!DecodeToMemory(ref.pumpStreams[i], &p.decoded.back()))
      return {RUN_PUMP_FAILED, "Vorq Installation Error [5]", 0, {}};
  }
  p.fileIndex = static_cast<int>(ref.pumpStreams.size());
  return p;
}

// The destination after the final roll-back holds what it held before, except that files
// may have moved into the backup folder, replacing older copies, and help indexes may be
// gone.
void CheckRestored(const Config &c, const std::map<std::string, Entry> &placed) {
  bool destThere = ReadEntry(dest).kind == 'd';
  Require(destThere == c.destExists, "the destination folder was not restored");
  if (!destThere)
    return;
  for (const auto &[name, before] : placed) {
    Entry now = ReadEntry(dest + "/" + name);
    if (name == "vorq.gid" || name == "ircintro.gid") {
      Require(now.kind == 0 || now == before, "a help index changed:", name);
      continue;
    }
    // Without backups a file overwritten in place belongs to the run, and roll-back
    // deletes it.
    bool movedAside = c.makeBackups && ReadEntry(dest + "/backup/" + name) == before;
    bool overwritten = !c.makeBackups && before.kind == 'f' && now.kind == 0;
    Require(now == before || movedAside || overwritten, "an earlier entry was lost:", name);
  }
  for (const std::string &name : List(dest))
    Require(placed.count(name) || (name == "backup" && (c.makeBackups || c.backupCopies)),
            "the run left an entry in the destination:", name);
  if (ReadEntry(dest + "/backup").kind != 'd')
    return;
  for (const std::string &name : List(dest + "/backup")) {
    Entry now = ReadEntry(dest + "/backup/" + name);
    auto earlier = placed.find(name);
    bool older = c.backupCopies && now == Entry{'f', "older " + name, 0};
    Require(older || (earlier != placed.end() && now == earlier->second),
            "the backup folder holds something that was not there:", name);
  }
}

bool IsKnownCaption(const char *caption) {
  static const char *const known[] = {"[1]", "[2]", "[3]",  "[4]",  "[5]", "[6]",
                                      "[7]", "[9]", "[10]", "[11]", "[14]"};
  for (const char *number : known)
    if (std::strcmp(caption, (std::string("Vorq Installation Error ") + number).c_str()) == 0)
      return true;
  return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  root = FuzzScratchDir();
  trace = std::getenv("VORQ_FUZZ_TRACE") != nullptr;
  dest = root + "/dest";
  tempDir = root + "/tmp";
  imagePath = root + "/image";
  outsideFile = root + "/outside";
  setenv("TMPDIR", tempDir.c_str(), 1);
  FillPayloadMarker();
  Require(mkdir(tempDir.c_str(), 0777) == 0, "cannot make", tempDir);
  PlaceFile(outsideFile, "not the installer's", true);

  platformOps.exists = GuardedExists;
  platformOps.makeFolder = GuardedMakeFolder;
  platformOps.removeFolder = GuardedRemoveFolder;
  platformOps.deleteFile = GuardedDeleteFile;
  platformOps.moveFile = GuardedMoveFile;
  platformOps.clearAttributes = GuardedClearAttributes;
  platformOps.clearReadOnly = GuardedClearReadOnly;
  platformOps.openFile = GuardedOpenFile;
  platformOps.createNewFile = GuardedCreateNewFile;
  UseImage(imagePath);

  // Symbol 313 (a 60-byte match) at distance 0 in the initial tree, after a size of 60:
  // it copies the space before the write position over the ring's last 60 places.
  InitModel();
  std::vector<int> bits;
  for (unsigned node = nodeParent[313 + NODE_COUNT]; node != ROOT_NODE; node = nodeParent[node])
    bits.push_back(static_cast<int>(node - nodeChild[nodeParent[node]]));
  std::reverse(bits.begin(), bits.end());
  bits.insert(bits.end(), 9, 0); // distance: 3-bit code of upper 0, then 6 low bits
  ringReset = {60, 0, 0, 0};
  for (size_t i = 0; i < bits.size(); ++i) {
    if (i % 8 == 0)
      ringReset.push_back(0);
    ringReset.back() = static_cast<uint8_t>(ringReset.back() | bits[i] << (7 - i % 8));
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < CONFIG_BYTES)
    return 0;
  Config config = ReadConfig(data);
  ReferenceScan ref;
  ScanReference(data + CONFIG_BYTES, size - CONFIG_BYTES, PayloadMarker, &ref);
  for (const Bytes &stream : ref.pumpStreams)
    if (stream.size() >= 4 && (stream[0] | stream[1] << 8 | stream[2] << 16 |
                               uint32_t(stream[3]) << 24) > STREAM_SIZE_CAP)
      return 0;

  // The image: filler that no marker begins in, then the input's image bytes.
  Bytes image(config.prefix, 0);
  image.insert(image.end(), data + CONFIG_BYTES, data + size);
  WriteWholeFile(imagePath, image.data(), image.size());
  std::map<std::string, Entry> placed = PlaceDestination(config);
  std::vector<std::string> tempBefore = List(tempDir);
  int descriptors = OpenDescriptors();
  bool hostile = config.hostile != HOSTILE_NONE;
  Prediction predicted = Predict(ref, config, placed);

  expectedPayloadCrc = config.wrongCrc ? ref.checksum ^ 1u : ref.checksum;
  ResetFuzzFront();
  ResetRing();
  RunOptions options;
  options.dest = dest;
  options.makeBackups = config.makeBackups;
  options.keepSettings = config.keepSettings;
  options.abortAfterSlices = config.abortAfter > 0 ? config.abortAfter : -1;
  RunResult run = DriveInstall(options);

  if (trace)
    std::fprintf(stderr, "run: %s (predicted %s%s), %d streams, slices %d, box \"%s\"\n",
                 RunEndName(run.end), RunEndName(predicted.end), hostile ? ", hostile" : "",
                 installState.fileIndex, run.slices, fuzzFront.lastCaption);
  // Every end of a run, before any further roll-back, has closed its streams and deleted
  // its temporary file.
  Require(OpenDescriptors() == descriptors, "a run left a descriptor open:", RunEndName(run.end));
  Require(List(tempDir) == tempBefore, "a run left a temporary file:", RunEndName(run.end));
  bool aborted = run.end == RUN_ABORTED;
  Require(!aborted || config.abortAfter > 0, "aborted without an abort");
  if (run.end == RUN_INSTALLED || aborted) {
    Require(fuzzFront.errorBoxes == 0,
            "an error box in a run that did not fail:", fuzzFront.lastCaption);
  } else {
    Require(fuzzFront.errorBoxes == 1,
            "a failed run did not show exactly one error box:", RunEndName(run.end));
    Require(IsKnownCaption(fuzzFront.lastCaption), "an unknown caption:", fuzzFront.lastCaption);
  }
  if (!hostile && !aborted) {
    Require(run.end == predicted.end, "the run ended otherwise than the image says:",
            std::string(RunEndName(run.end)) + " instead of " + RunEndName(predicted.end));
    if (predicted.caption)
      Require(std::strcmp(fuzzFront.lastCaption, predicted.caption) == 0,
              "the run failed with another error:", fuzzFront.lastCaption);
  }
  if (run.end == RUN_INSTALLED) {
    Require(installState.fileIndex == static_cast<int>(ref.pumpStreams.size()),
            "the run installed another number of streams than the image holds");
    for (int i = 0; i < installState.fileIndex; ++i) {
      Entry now = ReadEntry(dest + "/" + TargetFileTable[i]);
      if (installState.targetTrace[i] == TRACE_KEPT) {
        Require(now == placed[TargetFileTable[i]], "a kept file changed:", TargetFileTable[i]);
      } else {
        const Bytes &want = predicted.decoded.at(static_cast<size_t>(i));
        Require(now.kind == 'f' && now.data == std::string(want.begin(), want.end()),
                "an installed file is not its decoded stream:", TargetFileTable[i]);
      }
    }
  }

  RollBackInstall();
  Require(!installState.image && !installState.tempOut && installState.fileIndex == 0 &&
              !installState.dirCreated,
          "the roll-back left a run open");
  Require(OpenDescriptors() == descriptors, "a descriptor was left open");
  Require(List(tempDir) == tempBefore, "a temporary file was left");
  CheckRestored(config, placed);
  Entry outside = ReadEntry(outsideFile);
  Require(outside.data == "not the installer's" && outside.mode == 0444,
          "the file outside the destination changed");
  std::vector<std::string> expectedRoot = {"image", "outside", "tmp"};
  if (config.destExists)
    expectedRoot.insert(expectedRoot.begin(), "dest");
  Require(List(root) == expectedRoot, "the run left something in the scratch folder");

  RemoveTree(dest);
  RemoveTree(tempDir + "/vorq.tmp");
  return 0;
}
