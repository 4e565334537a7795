// The Win32 temporary file of the platform operations: created only where nothing
// stands, held against other writers, deleters and renamers while it exists, read back
// from its own handle, and gone once deleted.
//
//   temp_file_check.exe FOLDER       (FOLDER ends with a backslash and exists)
//
// Exit code 0 when every check passed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/platform_files.h"
#include "tests/wine/programs/check_log.h"

namespace {

std::string ReadAll(FILE *file) {
  std::string bytes;
  int c;
  while ((c = std::fgetc(file)) != EOF)
    bytes += static_cast<char>(c);
  return bytes;
}

bool Exists(const std::string &path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::printf("usage: temp_file_check FOLDER\\\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string taken = folder + "taken.tmp";
  const std::string path = folder + "held.tmp";
  const std::string elsewhere = folder + "moved.tmp";
  const char streamBytes[] = "the stream as cut out of the image";

  FILE *planted = std::fopen(taken.c_str(), "wb");
  std::fputs("planted", planted);
  std::fclose(planted);
  FILE *file = nullptr;
  Check(platformOps.createNewFile(taken.c_str(), &file) == NEW_FILE_NAME_TAKEN && !file,
        "a taken name is reported as taken");
  planted = std::fopen(taken.c_str(), "rb");
  Check(planted && ReadAll(planted) == "planted", "what stood at the taken name is unchanged");
  if (planted)
    std::fclose(planted);
  Check(platformOps.createNewFile((folder + "missing\\held.tmp").c_str(), &file) ==
                NEW_FILE_FAILED &&
            !file,
        "a name in a missing folder cannot be created");

  Check(platformOps.createNewFile(path.c_str(), &file) == NEW_FILE_CREATED && file,
        "a free name is created");
  if (!file)
    return 1;
  std::fputs(streamBytes, file);
  Check(std::fclose(file) == 0, "the writing stream closes");

  // What another program would try while the run holds the file.
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  DWORD error = GetLastError();
  Check(writer == INVALID_HANDLE_VALUE && error == ERROR_SHARING_VIOLATION,
        "no one else may open it for writing (error %lu)", error);
  if (writer != INVALID_HANDLE_VALUE)
    CloseHandle(writer);
  Check(!DeleteFileA(path.c_str()) && Exists(path), "no one else may delete it");
  Check(!MoveFileA(path.c_str(), elsewhere.c_str()) && Exists(path) && !Exists(elsewhere),
        "no one else may move it away");
  Check(!MoveFileExA(taken.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING),
        "no one else may replace it");

  for (int round = 1; round <= 2; ++round) {
    FILE *reader = platformOps.openFile(path.c_str(), "rb");
    Check(reader && ReadAll(reader) == streamBytes,
          "reading %d gets the bytes written, from "
          "the first",
          round);
    if (reader)
      std::fclose(reader);
  }

  Check(platformOps.deleteFile(path.c_str()) && !Exists(path), "deleting removes it");
  Check(platformOps.createNewFile(path.c_str(), &file) == NEW_FILE_CREATED && file,
        "the name is free again");
  if (file)
    std::fclose(file);
  Check(platformOps.deleteFile(path.c_str()) && !Exists(path), "and deleted again");
  DeleteFileA(taken.c_str());

  std::printf("temp_file_check %s\n", failures ? "FAILED" : "passed");
  return failures ? 1 : 0;
}
