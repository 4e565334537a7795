// The destination folder texts: the default folder from the installer's own drive and the
// chooser's proposals from its current folder.
#include <gtest/gtest.h>

#include <string>

#include "engine/install_state.h"
#include "wizard/folder_rules.h"

namespace {

TEST(LowerCaseText, OnlyTheLettersAToZ) {
  char text[] = "C:\\Program Files\\VORQ 5.71\\\xC4x";
  LowerCaseText(text);
  EXPECT_STREQ("c:\\program files\\vorq 5.71\\\xC4x", text);
}

TEST(DriveRootOf, FirstThreeCharactersLowerCased) {
  const struct {
    const char *path, *root;
  } cases[] = {
      {"D:\\Setup\\SETUP.EXE", "d:\\"},
      {"\\\\Server\\share\\setup.exe", "\\\\s"}, // no drive letter: not a fixed disk
      {"c:", "c:"},
  };
  for (const auto &c : cases) {
    char root[4];
    DriveRootOf(c.path, root, sizeof root);
    EXPECT_STREQ(c.root, root) << c.path;
  }
}

TEST(DefaultFolderFor, OwnFixedDriveElseTheWindowsDrive) {
  const struct {
    const char *name, *ownRoot;
    bool fixed;
    const char *windowsDir, *folder;
    bool windowsDrive;
  } cases[] = {
      {"fixed disk D", "d:\\", true, "C:\\WINDOWS", "d:\\vorq", false},
      {"floppy, Windows on C", "a:\\", false, "C:\\WINDOWS", "c:\\vorq", true},
      {"CD, Windows on E", "d:\\", false, "E:\\Win", "e:\\vorq", true},
      {"network path", "\\\\s", false, "C:\\Windows", "c:\\vorq", true},
      {"no Windows folder", "d:\\", false, nullptr, "d:\\vorq", false},
      {"empty Windows folder", "d:\\", false, "", "d:\\vorq", false},
  };
  for (const auto &c : cases) {
    char folder[SCRATCH_SIZE];
    EXPECT_EQ(c.windowsDrive,
              DefaultFolderFor(c.ownRoot, c.fixed, c.windowsDir, folder, sizeof folder))
        << c.name;
    EXPECT_STREQ(c.folder, folder) << c.name;
  }
}

struct ProposalCase {
  const char *current;
  const char *ownPath;
  const char *proposal;
};

const ProposalCase kProposals[] = {
    {"c:\\", "c:\\setup.exe", "c:\\vorq"},
    {"c:\\program files", "c:\\setup.exe", "c:\\program files\\vorq"},
    {"C:\\Program Files", "c:\\setup.exe", "c:\\program files\\vorq"},
    // Any "\vorq" in the folder keeps it as it is.
    {"c:\\vorq", "c:\\setup.exe", "c:\\vorq"},
    {"C:\\VORQ", "c:\\setup.exe", "c:\\vorq"},
    {"c:\\apps\\vorq\\old", "c:\\setup.exe", "c:\\apps\\vorq\\old"},
    {"c:\\vorqbeta", "c:\\setup.exe", "c:\\vorqbeta"},
    // "vorq" without a backslash before it does not count.
    {"c:\\myvorq", "c:\\setup.exe", "c:\\myvorq\\vorq"},
    {"d:", "c:\\setup.exe", "d:\\vorq"},
    {"\\\\server\\share", "c:\\setup.exe", "\\\\server\\share\\vorq"},
    // Nothing to build on: the installer's own folder, as it is spelt.
    {"", "D:\\Setup\\Disk1\\SETUP.EXE", "D:\\Setup\\Disk1\\vorq"},
    {"c", "D:\\Setup\\Disk1\\SETUP.EXE", "D:\\Setup\\Disk1\\vorq"},
    {"", "E:SETUP.EXE", "E:vorq"},
    {"", "setup.exe", "vorq"},
};

TEST(ProposalFor, FromTheCurrentFolder) {
  for (const ProposalCase &c : kProposals) {
    char proposal[DEST_DIR_SIZE];
    EXPECT_TRUE(ProposalFor(c.current, c.ownPath, proposal, sizeof proposal)) << c.current;
    EXPECT_STREQ(c.proposal, proposal) << "current \"" << c.current << "\"";
  }
}

TEST(ProposalFor, SuffixLeftOffWhenTheFolderLineWouldOverflow) {
  // 294 characters and "\vorq" make 299, the most the folder line holds.
  const std::string fits = "c:\\" + std::string(291, 'A');
  char proposal[DEST_DIR_SIZE];
  EXPECT_TRUE(ProposalFor(fits.c_str(), "c:\\setup.exe", proposal, sizeof proposal));
  EXPECT_EQ("c:\\" + std::string(291, 'a') + "\\vorq", proposal);

  const std::string tooLong = "c:\\" + std::string(292, 'A');
  EXPECT_FALSE(ProposalFor(tooLong.c_str(), "c:\\setup.exe", proposal, sizeof proposal));
  EXPECT_EQ("c:\\" + std::string(292, 'a'), proposal);

  // A current folder longer than the buffer is cut to it.
  const std::string overlong = "c:\\vorq\\" + std::string(400, 'b');
  EXPECT_TRUE(ProposalFor(overlong.c_str(), "c:\\setup.exe", proposal, sizeof proposal));
  EXPECT_EQ(overlong.substr(0, DEST_DIR_SIZE - 1), proposal);
}

TEST(ProposalFor, FallbackBoundedByTheFolderLine) {
  const std::string ownPath = "c:\\" + std::string(290, 'D') + "\\setup.exe";
  char proposal[DEST_DIR_SIZE];
  EXPECT_TRUE(ProposalFor("", ownPath.c_str(), proposal, sizeof proposal));
  EXPECT_EQ("c:\\" + std::string(290, 'D') + "\\vorq", proposal);

  const std::string deeper = "c:\\" + std::string(293, 'D') + "\\setup.exe";
  EXPECT_FALSE(ProposalFor("", deeper.c_str(), proposal, sizeof proposal));
  EXPECT_EQ("c:\\" + std::string(293, 'D') + "\\", proposal);
}

} // namespace
