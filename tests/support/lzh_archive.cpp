#include "tests/support/lzh_archive.h"

#include "tests/support/test_files.h"

#include <cstdio>
#include <cstring>

uint16_t LhaCrc16(const uint8_t *data, size_t size) {
  uint16_t crc = 0;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k)
      crc =
          (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
  }
  return crc;
}

static void PutLittle(std::vector<uint8_t> *out, uint32_t value, int bytes) {
  for (int k = 0; k < bytes; ++k)
    out->push_back(static_cast<uint8_t>(value >> (8 * k)));
}

std::vector<uint8_t> Lh1Archive(const std::string &name, const uint8_t *bits, size_t bitsSize,
                                const std::vector<uint8_t> &original) {
  std::vector<uint8_t> header;
  const char method[] = "-lh1-";
  header.insert(header.end(), method, method + 5);
  PutLittle(&header, static_cast<uint32_t>(bitsSize), 4);
  PutLittle(&header, static_cast<uint32_t>(original.size()), 4);
  PutLittle(&header, 0x21, 4); // a valid MS-DOS date (1980-01-01), midnight
  header.push_back(0x20);      // archive attribute
  header.push_back(0);         // header level 0
  header.push_back(static_cast<uint8_t>(name.size()));
  header.insert(header.end(), name.begin(), name.end());
  PutLittle(&header, LhaCrc16(original.data(), original.size()), 2);

  uint8_t sum = 0;
  for (uint8_t byte : header)
    sum = static_cast<uint8_t>(sum + byte);
  std::vector<uint8_t> archive;
  archive.push_back(static_cast<uint8_t>(header.size()));
  archive.push_back(sum);
  archive.insert(archive.end(), header.begin(), header.end());
  archive.insert(archive.end(), bits, bits + bitsSize);
  archive.push_back(0); // end of archive
  return archive;
}

bool ExtractWithLhasa(const std::vector<uint8_t> &archive, const std::string &name,
                      std::vector<uint8_t> *member, std::string *error) {
  ScratchDir scratch;
  const std::string archivePath = scratch / "test.lzh";
  const std::string outDir = scratch / "out";
  MakeDirectory(outDir);
  WriteFileBytes(archivePath, std::string(archive.begin(), archive.end()));
  const std::string command =
      "lhasa xfw=" + outDir + " " + archivePath + " > " + scratch.path + "/log 2>&1";
  int status = std::system(command.c_str());
  const std::string log = ReadFileBytes(scratch / "log");
  if (status != 0) {
    *error = "lhasa failed (status " + std::to_string(status) + "): " + log;
    return false;
  }
  if (!PathExists(outDir + "/" + name)) {
    *error = "lhasa wrote no " + name + ": " + log;
    return false;
  }
  const std::string bytes = ReadFileBytes(outDir + "/" + name);
  member->assign(bytes.begin(), bytes.end());
  return true;
}
