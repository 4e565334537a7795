// A main of our own for builds without libFuzzer (the coverage build): runs the target
// once over every file of the folders or files given.
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) __attribute__((weak));
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static bool RunFile(const std::string &path) {
  FILE *file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0)
    bytes.insert(bytes.end(), block, block + got);
  std::fclose(file);
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return true;
}

int main(int argc, char **argv) {
  if (LLVMFuzzerInitialize)
    LLVMFuzzerInitialize(&argc, &argv);
  long inputs = 0;
  for (int i = 1; i < argc; ++i) {
    struct stat st;
    if (stat(argv[i], &st) != 0) {
      std::fprintf(stderr, "replay: cannot read %s\n", argv[i]);
      return 1;
    }
    if (!S_ISDIR(st.st_mode)) {
      inputs += RunFile(argv[i]);
      continue;
    }
    DIR *dir = opendir(argv[i]);
    while (dirent *entry = dir ? readdir(dir) : nullptr)
      if (entry->d_name[0] != '.')
        inputs += RunFile(std::string(argv[i]) + "/" + entry->d_name);
    if (dir)
      closedir(dir);
  }
  std::printf("replay: %ld inputs\n", inputs);
  return 0;
}
