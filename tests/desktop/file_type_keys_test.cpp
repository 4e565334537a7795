// The five file-type entries in the order they are written, with the open command's
// program path quoted so that a folder with blanks cannot start another program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "desktop/file_type_keys.h"

namespace {

std::string Value(int index, const std::string &folder) {
  char out[FILE_TYPE_VALUE_SIZE];
  EXPECT_TRUE(FormatFileTypeValue(index, folder.c_str(), out, sizeof out)) << index;
  return out;
}

TEST(FileTypeKeys, FiveKeysInOrderWithTheirValues) {
  const struct {
    const char *key, *value;
  } expected[FILE_TYPE_KEY_COUNT] = {
      {".cha", "ChatFile"},
      {".chat", "ChatFile"},
      {"ChatFile", "Chat File"},
      {R"(ChatFile\shell\DefaultIcon)", R"(c:\vorq\vlink32.exe,0)"},
      {R"(ChatFile\shell\open\command)", R"("c:\vorq\vlink32.exe" "%1")"},
  };
  for (int i = 0; i < FILE_TYPE_KEY_COUNT; ++i) {
    ASSERT_NE(nullptr, FileTypeKeyPath(i)) << i;
    EXPECT_STREQ(expected[i].key, FileTypeKeyPath(i)) << i;
    EXPECT_EQ(expected[i].value, Value(i, "c:\\vorq")) << i;
  }
}

TEST(FileTypeKeys, FolderWithBlanksIsQuotedInTheOpenCommandOnly) {
  const std::string folder = "c:\\program files\\vorq chat";
  const std::string command = Value(4, folder);
  EXPECT_EQ("\"" + folder + "\\vlink32.exe\" \"%1\"", command);
  // The shell takes the program from the first quoted token: the whole path.
  ASSERT_EQ('"', command[0]);
  EXPECT_EQ(folder + "\\vlink32.exe", command.substr(1, command.find('"', 1) - 1));
  EXPECT_EQ(folder + "\\vlink32.exe,0", Value(3, folder));
  EXPECT_EQ("ChatFile", Value(0, folder));
}

TEST(FileTypeKeys, LongestFolderFitsTheValueBuffer) {
  const std::string folder = "c:\\" + std::string(296, 'y'); // 299 characters
  EXPECT_EQ(299u + 19u, Value(4, folder).size());
  EXPECT_EQ(299u + 14u, Value(3, folder).size());
}

TEST(FileTypeKeys, RefusedWhenOutOfRangeOrTooLong) {
  EXPECT_EQ(nullptr, FileTypeKeyPath(-1));
  EXPECT_EQ(nullptr, FileTypeKeyPath(FILE_TYPE_KEY_COUNT));
  char out[FILE_TYPE_VALUE_SIZE];
  std::snprintf(out, sizeof out, "stale");
  EXPECT_FALSE(FormatFileTypeValue(FILE_TYPE_KEY_COUNT, "c:\\vorq", out, sizeof out));
  EXPECT_STREQ("", out);
  // "c:\vorq\vlink32.exe,0" has 21 characters.
  char small[22];
  EXPECT_TRUE(FormatFileTypeValue(3, "c:\\vorq", small, sizeof small));
  EXPECT_FALSE(FormatFileTypeValue(3, "c:\\vorq", small, sizeof small - 1));
  EXPECT_STREQ("", small);
}

} // namespace
