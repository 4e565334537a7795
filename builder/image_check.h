// Reading an image the way the installer does, and the checks of `vorq-pack check`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// What the installer's marker scan makes of an image: PayloadMarker must be filled.
struct ImageScan {
  long firstMarker = -1;                     // offset of the first recognised marker
  std::vector<std::vector<uint8_t>> streams; // content handed on between markers
  std::vector<size_t> streamOffsets;         // image offset of each stream's first byte
  bool doubleMarker = false;                 // the scan reached two adjacent markers
  bool endsInsideStream = false;             // the image ends before the last stream's marker
  size_t payloadEnd = 0;                     // offset just past the double marker
  uint32_t crc = 0;                          // CRC-32 of all content, as the integrity check
};

void ScanImageBytes(const uint8_t *image, size_t size, ImageScan *scan);

// The first layout fault of a scan against TargetFileTable, or "" when the image holds
// eleven streams closed by the double marker, each decoding to exactly its stated size.
// Decoded files go to *decoded (one per stream that decodes).
std::string FindLayoutFault(const ImageScan &scan, std::vector<std::vector<uint8_t>> *decoded);

struct CheckOptions {
  std::string payloadPath; // when set, the first marker must stand where these bytes begin
  bool expectGiven = false;
  uint32_t expectedCrc = 0;
  std::string extractDir;        // when set, the eleven files are written here
  bool requireSignature = false; // the image must carry an Authenticode signature
};

// Runs every check of an image, printing the findings to report. False with a one-line
// reason naming the broken constraint.
bool CheckImage(const std::string &imagePath, const CheckOptions &options, FILE *report,
                std::string *error);
