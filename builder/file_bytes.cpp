#include "builder/file_bytes.h"

#include "payload/expand.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

bool ReadWholeFile(const std::string &path, std::vector<uint8_t> *bytes, std::string *error) {
  bytes->clear();
  FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  uint8_t block[65536];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0)
    bytes->insert(bytes->end(), block, block + got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed)
    *error = "cannot read " + path;
  return !failed;
}

bool WriteWholeFile(const std::string &path, const uint8_t *data, size_t size, std::string *error) {
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) {
    *error = "cannot create " + path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (!ok)
    *error = "cannot write " + path;
  return ok;
}

bool ExpandToMemory(const uint8_t *stream, size_t size, std::vector<uint8_t> *decoded) {
  decoded->clear();
  // The decoder works on file streams; a temporary file keeps this portable.
  FILE *input = std::tmpfile();
  FILE *output = std::tmpfile();
  bool ok = input && output;
  if (ok && size > 0)
    ok = std::fwrite(stream, 1, size, input) == size;
  if (ok) {
    std::rewind(input);
    ok = ExpandStream(input, output);
  }
  if (ok) {
    long length = std::ftell(output);
    std::rewind(output);
    decoded->resize(length > 0 ? static_cast<size_t>(length) : 0);
    ok = length >= 0 && std::fread(decoded->data(), 1, decoded->size(), output) == decoded->size();
  }
  if (input)
    std::fclose(input);
  if (output)
    std::fclose(output);
  return ok;
}
