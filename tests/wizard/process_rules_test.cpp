// The process shell's plain decisions: the shell version rule, the post-install plan and
// the licence text's end.
#include "wizard/page_table.h"
#include "wizard/post_install_plan.h"
#include "wizard/version_rule.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(VersionRule, OnlyMajorFourOrAMinorOfNinetyFiveMeansTheNewShell) {
  struct Case {
    unsigned major, minor;
    int newShell;
  } cases[] = {{4, 0, 1},  {4, 10, 1}, {4, 90, 1}, {3, 95, 1}, {3, 10, 0},
               {3, 51, 0}, {5, 0, 0},  {5, 1, 0},  {6, 1, 0},  {6, 95, 1}};
  for (const Case &c : cases) {
    // The high word carries the build number and platform bits, which do not count.
    uint32_t word = 0x0A280000u | (c.minor << 8) | c.major;
    EXPECT_EQ(c.newShell, NewShellFromVersion(word)) << c.major << "." << c.minor;
  }
}

const char *existingPath;
bool ExistsOnly(const char *path) {
  return existingPath && std::strcmp(path, existingPath) == 0;
}

std::string Describe(const PostInstallPlan &plan) {
  static const char *const kinds[] = {"key", "launch", "help"};
  std::string out;
  for (int i = 0; i < plan.count; ++i)
    out += std::string(i ? " | " : "") + kinds[plan.steps[i].kind] + " " + plan.steps[i].path;
  return out;
}

TEST(PostInstallPlan, StepsPathsAndOrder) {
  struct Case {
    const char *destDir;
    int launch, help;
    const char *existing;
    const char *plan;
  } cases[] = {
      {"c:\\vorq", 1, 1, "c:\\vorq\\vorq.ini",
       "key c:\\vorq\\vorq.ini | launch c:\\vorq\\vorq32.exe | help c:\\vorq\\vorq.hlp"},
      {"c:\\vorq", 0, 0, "c:\\vorq\\vorq.ini", "key c:\\vorq\\vorq.ini"},
      {"c:\\vorq", 0, 1, nullptr, "help c:\\vorq\\vorq.hlp"},
      {"c:\\vorq", 1, 0, nullptr, "launch c:\\vorq\\vorq32.exe"},
      // Cancelled before the folder was ever read: the root of the current drive.
      {"", 0, 0, "\\vorq.ini", "key \\vorq.ini"},
      {"", 0, 0, nullptr, ""},
  };
  for (const Case &c : cases) {
    existingPath = c.existing;
    PostInstallPlan plan;
    PlanPostInstallActions(c.destDir, c.launch, c.help, ExistsOnly, &plan);
    EXPECT_EQ(c.plan, Describe(plan));
  }
  EXPECT_STREQ("*.exe,*.com,*.bat,*.dll,*.ini,*.vrq,*.vbs,*.js,*.pif,*.scr,*.lnk,*.pl",
               settingsValue);
}

TEST(PostInstallPlan, LongestFolderFitsEveryPath) {
  std::string folder = "c:\\" + std::string(296, 'f');
  existingPath = nullptr;
  PostInstallPlan plan;
  PlanPostInstallActions(folder.c_str(), 1, 1, ExistsOnly, &plan);
  ASSERT_EQ(2, plan.count);
  EXPECT_EQ(folder + "\\vorq32.exe", plan.steps[0].path);
  EXPECT_EQ(folder + "\\vorq.hlp", plan.steps[1].path);
}

TEST(LicenceText, EndsAtTheFirstMarkerLineOrTheResourceEnd) {
  struct Case {
    std::string resource;
    size_t length;
  } cases[] = {{"Terms\r\nMore\r\n***\r\nignored", 13},
               {"no end marker", 13},
               {"***", 0},
               {"a**b", 4},
               {"", 0}};
  for (const Case &c : cases)
    EXPECT_EQ(c.length, LicenceTextLength(c.resource.data(), c.resource.size())) << c.resource;
}

} // namespace
