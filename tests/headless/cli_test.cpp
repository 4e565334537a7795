// The headless installer as a user runs it: its command line, its output and its exit
// codes, over the real built program.
#include "engine/target_files.h"
#include "payload/marker.h"
#include "tests/support/test_files.h"

#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs vorq-setup (or another build of it) with args; with interruptOn, sends SIGINT once
// stdout shows that text.
Outcome RunSetup(const std::vector<std::string> &args, const std::string &interruptOn = "",
                 const char *program = VORQ_SETUP_EXE) {
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
    throw std::runtime_error("pipe");
  pid_t pid = fork();
  if (pid == 0) {
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program));
    for (const std::string &a : args)
      argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    execv(program, argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  Outcome o;
  bool interrupted = false;
  char block[4096];
  ssize_t got;
  while ((got = read(outPipe[0], block, sizeof block)) > 0) {
    o.out.append(block, static_cast<size_t>(got));
    if (!interruptOn.empty() && !interrupted && o.out.find(interruptOn) != std::string::npos) {
      kill(pid, SIGINT);
      interrupted = true;
    }
  }
  while ((got = read(errPipe[0], block, sizeof block)) > 0)
    o.err.append(block, static_cast<size_t>(got));
  close(outPipe[0]);
  close(errPipe[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return o;
}

std::string SampleFile(const std::string &name) {
  return ReadFileBytes(std::string(VORQ_SAMPLE_DIR) + "/" + name);
}

TEST(HeadlessCli, UsageErrorsAndHelp) {
  Outcome help = RunSetup({"--help"});
  EXPECT_EQ(0, help.exitCode);
  EXPECT_NE(std::string::npos, help.out.find("Usage: vorq-setup"));

  struct Case {
    std::vector<std::string> args;
    const char *said;
  } cases[] = {
      {{"--frobnicate"}, "unknown argument"},
      {{"--dest"}, "--dest needs a value"},
      {{"--image", ""}, "--image needs a value"},
      {{"--dest", "/tmp/" + std::string(300, 'x')}, "longer than 299"},
  };
  for (const Case &c : cases) {
    Outcome o = RunSetup(c.args);
    EXPECT_EQ(2, o.exitCode) << c.said;
    EXPECT_NE(std::string::npos, o.err.find(c.said)) << o.err;
  }
}

TEST(HeadlessCli, InstallsFromItsOwnImageAndFromAnImageFile) {
  for (bool ownImage : {true, false}) {
    ScratchDir work;
    std::string dest = work / "vorq";
    std::vector<std::string> args = {"--dest", dest};
    if (!ownImage)
      args.insert(args.end(), {"--image", VORQ_PAYLOAD_FILE});
    Outcome o = RunSetup(args);
    ASSERT_EQ(0, o.exitCode) << o.err;
    for (const char *name : TargetFileTable)
      EXPECT_TRUE(SameBytes(SampleFile(name), ReadFileBytes(dest + "/" + name))) << name;
    // Not a terminal: one plain line per status change.
    EXPECT_NE(std::string::npos, o.out.find("Scanning files...\n"));
    EXPECT_NE(std::string::npos, o.out.find("Extracting file: vorq32.exe\n"));
    EXPECT_NE(std::string::npos, o.out.find("Installed into " + dest));
    EXPECT_EQ(std::string::npos, o.out.find("\033[")) << "no terminal codes in a pipe";
  }
}

// The real-scale set: a 1.5 MB program decoded inside one slice, about eighty slices.
TEST(HeadlessCli, InstallsTheRealScaleSetByteForByte) {
  if (!*VORQ_SCALE_SETUP_EXE)
    GTEST_SKIP() << "no real-scale installer in this build (it needs libwine:i386)";
  for (bool ownImage : {true, false}) {
    ScratchDir work;
    const std::string dest = work / "vorq";
    std::vector<std::string> args = {"--dest", dest};
    if (!ownImage)
      args.insert(args.end(), {"--image", VORQ_SCALE_PAYLOAD_FILE});
    Outcome o = RunSetup(args, "", VORQ_SCALE_SETUP_EXE);
    ASSERT_EQ(0, o.exitCode) << o.err;
    for (const char *name : TargetFileTable) {
      const std::string packed = ReadFileBytes(std::string(VORQ_SCALE_DIR) + "/" + name);
      EXPECT_TRUE(SameBytes(packed, ReadFileBytes(dest + "/" + name))) << name;
    }
    EXPECT_GT(ReadFileBytes(dest + "/vorq32.exe").size(), 1500000u);
  }
}

TEST(HeadlessCli, ReinstallsWithBackupsAndKeepsEditedSettings) {
  ScratchDir work;
  std::string dest = work / "vorq";
  ASSERT_EQ(0, RunSetup({"--dest", dest}).exitCode);
  WriteFileBytes(dest + "/servers.ini", "[servers]\nmine=1\n");
  WriteFileBytes(dest + "/readme.txt", "edited readme");

  ASSERT_EQ(0, RunSetup({"--dest", dest}).exitCode);
  EXPECT_EQ("[servers]\nmine=1\n", ReadFileBytes(dest + "/servers.ini"));
  EXPECT_EQ(SampleFile("readme.txt"), ReadFileBytes(dest + "/readme.txt"));
  EXPECT_EQ("edited readme", ReadFileBytes(dest + "/backup/readme.txt"));

  ASSERT_EQ(0, RunSetup({"--dest", dest, "--replace-settings", "--no-backups"}).exitCode);
  EXPECT_EQ(SampleFile("servers.ini"), ReadFileBytes(dest + "/servers.ini"));
  EXPECT_FALSE(PathExists(dest + "/backup/servers.ini")) << "no backups were asked for";
}

TEST(HeadlessCli, CorruptImageFailsWithItsBoxOnStandardError) {
  ScratchDir work;
  std::string image = ReadFileBytes(VORQ_PAYLOAD_FILE);
  image[image.size() / 2] = static_cast<char>(image[image.size() / 2] ^ 0x40);
  WriteFileBytes(work / "corrupt.img", image);
  std::string dest = work / "vorq";
  Outcome o = RunSetup({"--image", work / "corrupt.img", "--dest", dest});
  EXPECT_EQ(1, o.exitCode);
  EXPECT_NE(std::string::npos,
            o.err.find("Vorq Installation Error [10]\nThe installation file seems to be corrupt!"
                       "\n\nPlease try running the installation program again or download a "
                       "new version!\n"))
      << o.err;
  EXPECT_FALSE(PathExists(dest)) << "the folder the run created is removed again";

  Outcome missing = RunSetup({"--image", work / "absent.img", "--dest", dest});
  EXPECT_EQ(1, missing.exitCode);
  EXPECT_NE(std::string::npos, missing.err.find("Vorq Installation Error [2]"));
}

TEST(HeadlessCli, InterruptAbortsBetweenSlicesAndRollsBack) {
  // A long stretch before the payload keeps the pump busy for many slices.
  ScratchDir work;
  std::string image(40u << 20, 'p');
  image += ReadFileBytes(VORQ_PAYLOAD_FILE);
  WriteFileBytes(work / "long.img", image);
  std::string dest = work / "vorq";
  Outcome o = RunSetup({"--image", work / "long.img", "--dest", dest}, "Scanning files...");
  EXPECT_EQ(1, o.exitCode) << o.out << o.err;
  EXPECT_NE(std::string::npos, o.out.find("Installation aborted"));
  EXPECT_FALSE(PathExists(dest));
}

} // namespace
