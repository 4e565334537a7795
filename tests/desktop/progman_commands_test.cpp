// The twelve Program Manager commands, compared character for character with the command
// table: the fixed ones spelt out, the folder ones assembled around the folder by hand.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "desktop/progman_commands.h"

namespace {

std::string Command(int step, const std::string &folder, int32_t newShell) {
  char out[PROGMAN_COMMAND_SIZE];
  EXPECT_TRUE(FormatProgmanCommand(step, folder.c_str(), newShell, out, sizeof out)) << step;
  return out;
}

TEST(ProgmanCommands, TheTwelveCommandsForBothShells) {
  const char *newShellCommands[PROGMAN_STEP_COUNT] = {
      R"([CreateGroup("Vorq")])",
      R"([ShowGroup("Vorq",1)])",
      R"([ReplaceItem("Vorq32")])",
      R"([AddItem("c:\vorq\Vorq32.exe","Vorq32",,0,,,"c:\vorq")])",
      R"([ReplaceItem("Vorq Help")])",
      R"([AddItem("c:\vorq\Vorq.hlp","Vorq Help",,0,,,"c:\vorq")])",
      R"([ReplaceItem("IRC Intro")])",
      R"([AddItem("c:\vorq\IRCintro.hlp","IRC Intro",,0,,,"c:\vorq")])",
      R"([ReplaceItem("Readme.txt")])",
      R"([AddItem("c:\vorq\readme.txt","Readme.txt",,,,,"c:\vorq")])",
      R"([ReplaceItem("Versions.txt")])",
      R"([AddItem("c:\vorq\versions.txt","Versions.txt",,,,,"c:\vorq")])",
  };
  for (int step = 1; step <= PROGMAN_STEP_COUNT; ++step) {
    EXPECT_EQ(newShellCommands[step - 1], Command(step, "c:\\vorq", 1)) << "step " << step;
    // Old shells differ only in the two text files, which get Write's icon.
    if (step != 10 && step != 12) {
      EXPECT_EQ(newShellCommands[step - 1], Command(step, "c:\\vorq", 0)) << "step " << step;
    }
  }
  EXPECT_EQ(R"([AddItem("c:\vorq\readme.txt","Readme.txt","write.exe",0,,,"c:\vorq")])",
            Command(10, "c:\\vorq", 0));
  EXPECT_EQ(R"([AddItem("c:\vorq\versions.txt","Versions.txt","write.exe",0,,,"c:\vorq")])",
            Command(12, "c:\\vorq", 0));
}

TEST(ProgmanCommands, FolderWithBlanksStandsUnchangedInsideTheQuotes) {
  const std::string folder = "c:\\program files\\vorq chat";
  EXPECT_EQ("[AddItem(\"" + folder + "\\Vorq32.exe\",\"Vorq32\",,0,,,\"" + folder + "\")]",
            Command(4, folder, 1));
  EXPECT_EQ("[AddItem(\"" + folder + "\\IRCintro.hlp\",\"IRC Intro\",,0,,,\"" + folder + "\")]",
            Command(8, folder, 0));
  EXPECT_EQ("[AddItem(\"" + folder + "\\readme.txt\",\"Readme.txt\",\"write.exe\",0,,,\"" + folder +
                "\")]",
            Command(10, folder, 0));
}

TEST(ProgmanCommands, LongestFolderFitsTheCommandBuffer) {
  const std::string folder = "c:\\" + std::string(296, 'x'); // 299 characters
  const std::string oldShellLast = Command(12, folder, 0);
  EXPECT_EQ(60u + 2u * 299u, oldShellLast.size());
  EXPECT_EQ("[AddItem(\"" + folder + "\\versions.txt\",\"Versions.txt\",\"write.exe\",0,,,\"" +
                folder + "\")]",
            oldShellLast);
  EXPECT_EQ("[AddItem(\"" + folder + "\\Vorq.hlp\",\"Vorq Help\",,0,,,\"" + folder + "\")]",
            Command(6, folder, 1));
}

TEST(ProgmanCommands, RefusedWhenOutOfRangeOrTooLong) {
  char out[PROGMAN_COMMAND_SIZE];
  for (int step : {0, 13, -1}) {
    std::snprintf(out, sizeof out, "stale");
    EXPECT_FALSE(FormatProgmanCommand(step, "c:\\vorq", 1, out, sizeof out)) << step;
    EXPECT_STREQ("", out) << step;
  }
  // "[CreateGroup("Vorq")]" has 21 characters: 22 bytes fit, 21 do not.
  char small[22];
  EXPECT_TRUE(FormatProgmanCommand(1, "c:\\vorq", 1, small, sizeof small));
  EXPECT_FALSE(FormatProgmanCommand(1, "c:\\vorq", 1, small, sizeof small - 1));
  EXPECT_STREQ("", small);
}

TEST(ProgmanCommands, OnlyCreateGroupAndTheAddItemsAreNeeded) {
  const bool needed[PROGMAN_STEP_COUNT] = {true,  false, false, true, false, true,
                                           false, true,  false, true, false, true};
  for (int step = 1; step <= PROGMAN_STEP_COUNT; ++step)
    EXPECT_EQ(needed[step - 1], IsProgmanStepNeeded(step)) << "step " << step;
  EXPECT_FALSE(IsProgmanStepNeeded(0));
  EXPECT_FALSE(IsProgmanStepNeeded(13));
}

} // namespace
