// The soak: one process installs the sample image over and over, as a user would who
// installs, aborts, installs and installs again with backups. Each cycle: an install
// aborted after a random slice, a complete install, a reinstall with backups and without
// keeping settings. After every cycle the destination must hold exactly one clean
// installation and one backup generation and the temporary folder nothing; at the end
// the open descriptors and the resident memory must be what they were after the first
// cycle. Prints its figures; exits non-zero on any debris, mismatch or growth.
//   vorq-soak [--cycles N] [--seed S] [--image PATH --files DIR]
#include "engine/extraction.h"
#include "engine/install_state.h"
#include "payload/marker.h"
#include "payload/payload_crc.h"
#include "tests/support/engine_driver.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/test_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The allocator's quarantine holds freed memory back on purpose; resident memory then
// grows whatever the engine does.
static const bool memoryComparable = false;
#else
static const bool memoryComparable = true;
#endif

namespace {

struct Options {
  long cycles = 1000;
  unsigned seed = 1;
  std::string image = VORQ_PAYLOAD_FILE;
  std::string files = VORQ_SAMPLE_DIR;
};

// Resident bytes, counted from the page tables (smaps_rollup): statm's figure is kept per
// thread in batches and may lag by dozens of pages. Read with plain calls, so that the
// reading pages in no code of its own after the kernel took its figure.
long ResidentBytes() {
  static char text[4096];
  int fd = open("/proc/self/smaps_rollup", O_RDONLY | O_CLOEXEC);
  ssize_t got = fd >= 0 ? read(fd, text, sizeof text - 1) : -1;
  if (fd >= 0)
    close(fd);
  if (got <= 0)
    return 0;
  text[got] = '\0';
  const char *rss = std::strstr(text, "\nRss:");
  return rss ? std::strtol(rss + 5, nullptr, 10) * 1024 : 0;
}

int failures = 0;

void Fail(long cycle, const std::string &what) {
  std::fprintf(stderr, "vorq-soak: cycle %ld: %s\n", cycle, what.c_str());
  ++failures;
}

// Runs one install and checks how it ended.
RunResult Run(long cycle, const std::string &dest, bool keepSettings, int abortAfter,
              RunEnd wanted) {
  ResetFrontEndRecord();
  RunOptions options;
  options.dest = dest;
  options.makeBackups = true;
  options.keepSettings = keepSettings;
  options.abortAfterSlices = abortAfter;
  RunResult result = DriveInstall(options);
  if (result.end != wanted)
    Fail(cycle, std::string("the run ended ") + RunEndName(result.end) + ", not " +
                    RunEndName(wanted) + " (" + LastErrorCaption() + ")");
  if (!frontEndRecord.errorBoxes.empty())
    Fail(cycle, "an error box: " + LastErrorCaption());
  return result;
}

// Compares a file with the bytes it should hold through one fixed buffer: reading whole
// files into strings would let the checks' own large allocations move the resident
// memory that the soak measures.
bool SameContent(const std::string &path, const std::string &want) {
  FILE *file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  static char block[4096];
  size_t offset = 0;
  bool same = true;
  while (same) {
    size_t got = std::fread(block, 1, sizeof block, file);
    if (got == 0)
      break;
    same = offset + got <= want.size() && std::memcmp(block, want.data() + offset, got) == 0;
    offset += got;
  }
  same = same && !std::ferror(file) && offset == want.size();
  std::fclose(file);
  return same;
}

// Exactly the files of one installation in dest, and the same again in dest/backup.
int CheckFolder(long cycle, const std::string &dest,
                const std::map<std::string, std::string> &want) {
  int debris = 0;
  std::vector<std::string> names = ListDirectory(dest);
  for (const std::string &name : names) {
    if (name == "backup")
      continue;
    auto file = want.find(name);
    if (file == want.end()) {
      Fail(cycle, "debris in the destination: " + name);
      ++debris;
    } else if (!SameContent(dest + "/" + name, file->second)) {
      Fail(cycle, "not a clean installation: " + name);
    }
  }
  if (names.size() != want.size() + 1)
    Fail(cycle, "the destination holds " + std::to_string(names.size()) + " entries");
  std::vector<std::string> backups = ListDirectory(dest + "/backup");
  for (const std::string &name : backups) {
    auto file = want.find(name);
    if (file == want.end()) {
      Fail(cycle, "debris in the backup folder: " + name);
      ++debris;
    } else if (!SameContent(dest + "/backup/" + name, file->second)) {
      Fail(cycle, "the backup generation is not the last installation: " + name);
    }
  }
  if (backups.size() != want.size())
    Fail(cycle, "the backup folder holds " + std::to_string(backups.size()) + " files");
  return debris;
}

bool ParseOptions(int argc, char **argv, Options *options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (i + 1 >= argc)
      return false;
    const char *value = argv[++i];
    if (arg == "--cycles")
      options->cycles = std::strtol(value, nullptr, 10);
    else if (arg == "--seed")
      options->seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
    else if (arg == "--image")
      options->image = value;
    else if (arg == "--files")
      options->files = value;
    else
      return false;
  }
  return options->cycles > 0;
}

} // namespace

int main(int argc, char **argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr, "usage: vorq-soak [--cycles N] [--seed S] [--image PATH --files DIR]\n");
    return 2;
  }
  std::map<std::string, std::string> want;
  for (const char *name : TargetFileTable)
    want[name] = ReadFileBytes(options.files + "/" + name);

  ScratchDir root;
  std::string dest = root / "dest", tempDir = root / "tmp";
  MakeDirectory(tempDir);
  setenv("TMPDIR", tempDir.c_str(), 1);
  UseImage(options.image);
  if (options.image != VORQ_PAYLOAD_FILE) {
    // Another image brings its own checksum.
    FillPayloadMarker();
    expectedPayloadCrc = ComputePayloadCrc(options.image.c_str());
  }
  std::mt19937 random(options.seed);

  // A first install measures how many slices a whole run takes.
  RunResult first = Run(0, dest, true, -1, RUN_INSTALLED);
  int slices = first.slices;
  if (slices < 1) {
    std::fprintf(stderr, "vorq-soak: the image fits in one slice; nothing to abort\n");
    return 1;
  }
  std::uniform_int_distribution<int> abortSlice(1, slices);
  // Before the cycles that are measured, one abort after every slice: the pages of code
  // and data that only some abort points reach are then in memory from the first cycle on.
  for (int at = 1; at <= slices; ++at) {
    Run(0, dest, true, at, RUN_ABORTED);
    Run(0, dest, true, -1, RUN_INSTALLED);
  }

  long firstResident = 0, lastResident = 0, peakResident = 0;
  int firstDescriptors = 0, lastDescriptors = 0, debris = 0;
  std::vector<long> abortsAt(static_cast<size_t>(slices) + 1);
  for (long cycle = 1; cycle <= options.cycles; ++cycle) {
    int at = abortSlice(random);
    ++abortsAt[static_cast<size_t>(at)];
    Run(cycle, dest, true, at, RUN_ABORTED);
    Run(cycle, dest, true, -1, RUN_INSTALLED);
    Run(cycle, dest, false, -1, RUN_INSTALLED);

    debris += CheckFolder(cycle, dest, want);
    for (const std::string &name : ListDirectory(tempDir)) {
      Fail(cycle, "a temporary file was left: " + name);
      ++debris;
    }
    for (const std::string &name : ListDirectory(root.path))
      if (name != "dest" && name != "tmp") {
        Fail(cycle, "debris beside the destination: " + name);
        ++debris;
      }
    lastDescriptors = OpenDescriptorCount();
    lastResident = ResidentBytes();
    if (cycle == 1) {
      firstDescriptors = lastDescriptors;
      firstResident = lastResident;
    }
    peakResident = lastResident > peakResident ? lastResident : peakResident;
    if (failures > 20) {
      std::fprintf(stderr, "vorq-soak: giving up after %d failures\n", failures);
      return 1;
    }
  }

  std::printf("vorq-soak: %ld cycles (seed %u) on %s, %d slices per run\n", options.cycles,
              options.seed, options.image.c_str(), slices);
  std::printf("  aborts after slice:");
  for (int s = 1; s <= slices; ++s)
    std::printf(" %d: %ld", s, abortsAt[static_cast<size_t>(s)]);
  std::printf("\n  open descriptors after the first cycle %d, after the last %d\n",
              firstDescriptors, lastDescriptors);
  std::printf("  resident memory after the first cycle %ld KiB, after the last %ld KiB, peak %ld "
              "KiB%s\n",
              firstResident / 1024, lastResident / 1024, peakResident / 1024,
              memoryComparable ? "" : " (not compared under AddressSanitizer)");
  std::printf("  debris %d, failures %d\n", debris, failures);

  if (lastDescriptors != firstDescriptors)
    Fail(options.cycles, "the open descriptors grew");
  if (memoryComparable && firstResident == 0)
    Fail(options.cycles, "the resident memory could not be read");
  if (memoryComparable && lastResident > firstResident)
    Fail(options.cycles, "the resident memory grew");
  return failures == 0 ? 0 : 1;
}
