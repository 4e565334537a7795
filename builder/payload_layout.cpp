#include "builder/payload_layout.h"

#include "builder/clean_stream.h"
#include "builder/file_bytes.h"
#include "builder/image_check.h"
#include "engine/target_files.h"
#include "payload/marker.h"
#include "payload/payload_crc.h"

void LayOutPayload(const std::vector<PackedFile> &files, const unsigned char *marker,
                   std::vector<uint8_t> *bytes) {
  bytes->assign(marker, marker + MARKER_LENGTH);
  for (const PackedFile &file : files) {
    bytes->insert(bytes->end(), file.stream.begin(), file.stream.end());
    bytes->insert(bytes->end(), marker, marker + MARKER_LENGTH);
  }
  bytes->insert(bytes->end(), marker, marker + MARKER_LENGTH);
  bytes->push_back(0x0D);
  bytes->push_back(0x0A);
}

static bool PackFile(const std::string &dir, const char *name, ParseMode mode, PackedFile *file,
                     std::string *error) {
  const std::string path = dir + "/" + name;
  std::vector<uint8_t> data;
  if (!ReadWholeFile(path, &data, error)) {
    *error = std::string("missing file ") + name + ": " + *error;
    return false;
  }
  if (data.empty()) {
    *error = std::string("empty file ") + name + ": every stream must decode to at least one byte";
    return false;
  }
  const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
  EncodedStream encoded;
  std::string reason;
  if (!CompressClean(data.data(), data.size(), marker, mode, &encoded, &file->attempts, &reason)) {
    *error = std::string("cannot pack ") + name + ": " + reason;
    return false;
  }
  file->name = name;
  file->size = data.size();
  file->stream = std::move(encoded.bytes);
  std::vector<uint8_t> decoded;
  if (!ExpandToMemory(file->stream.data(), file->stream.size(), &decoded) || decoded != data) {
    *error = std::string("the stream of ") + name + " does not decode to the file";
    return false;
  }
  return true;
}

static uint32_t StreamsCrc(const std::vector<PackedFile> &files) {
  uint32_t reg = 0xFFFFFFFFu;
  for (const PackedFile &file : files)
    for (uint8_t byte : file.stream)
      reg = Crc32Byte(reg, byte);
  return reg ^ 0xFFFFFFFFu;
}

bool BuildPayload(const std::string &dir, ParseMode mode, Payload *payload, std::string *error) {
  FillPayloadMarker();
  const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
  payload->files.assign(TARGET_COUNT, PackedFile());
  for (int k = 0; k < TARGET_COUNT; ++k)
    if (!PackFile(dir, TargetFileTable[k], mode, &payload->files[k], error))
      return false;

  payload->crc = StreamsCrc(payload->files);
  if (payload->crc == 0) {
    // Zero is what a failed check returns; the other parse gives the last file other bits.
    ParseMode other = mode == PARSE_OPTIMAL ? PARSE_GREEDY : PARSE_OPTIMAL;
    if (!PackFile(dir, TargetFileTable[TARGET_COUNT - 1], other, &payload->files[TARGET_COUNT - 1],
                  error))
      return false;
    payload->crc = StreamsCrc(payload->files);
    if (payload->crc == 0) {
      *error = "the payload's checksum is 0 with either parse of the last file";
      return false;
    }
  }
  LayOutPayload(payload->files, marker, &payload->bytes);

  // The finished bytes go through the installer's own scan once more.
  ImageScan scan;
  ScanImageBytes(payload->bytes.data(), payload->bytes.size(), &scan);
  std::vector<std::vector<uint8_t>> decoded;
  std::string fault = FindLayoutFault(scan, &decoded);
  if (!fault.empty()) {
    *error = "the laid-out payload is broken: " + fault;
    return false;
  }
  if (scan.firstMarker != 0 || scan.payloadEnd + 2 != payload->bytes.size() ||
      scan.crc != payload->crc) {
    *error = "the laid-out payload does not scan as laid out";
    return false;
  }
  return true;
}

std::string ChecksumHeaderText(const Payload &payload) {
  char text[300];
  std::snprintf(text, sizeof text,
                "// Written by vorq-pack build; the installer compares its payload with this.\n"
                "#pragma once\n"
                "\n"
                "#define VORQ_PAYLOAD_CRC 0x%08Xu\n"
                "#define VORQ_PAYLOAD_SIZE %zuu\n",
                payload.crc, payload.bytes.size());
  return text;
}

void PrintPayloadTable(const Payload &payload, FILE *out) {
  std::fprintf(out, "%-3s %-14s %10s %10s %7s\n", "#", "name", "size", "stored", "ratio");
  size_t size = 0, stored = 0;
  for (size_t k = 0; k < payload.files.size(); ++k) {
    const PackedFile &file = payload.files[k];
    std::fprintf(out, "%-3zu %-14s %10zu %10zu %6.1f%%\n", k, file.name.c_str(), file.size,
                 file.stream.size(), 100.0 * file.stream.size() / file.size);
    size += file.size;
    stored += file.stream.size();
  }
  std::fprintf(out, "    %-14s %10zu %10zu %6.1f%%\n", "total", size, stored,
               size ? 100.0 * stored / size : 0.0);
  std::fprintf(out, "payload %zu bytes, checksum 0x%08X\n", payload.bytes.size(), payload.crc);
}

// Make reads a blank as the end of a name, '#' as a comment and '$' as a variable, and
// ninja reads depfiles the same way.
static std::string EscapedForMake(const std::string &path) {
  std::string escaped;
  for (char c : path) {
    if (c == ' ' || c == '#')
      escaped += '\\';
    else if (c == '$')
      escaped += '$';
    escaped += c;
  }
  return escaped;
}

std::string DependencyFileText(const std::string &target, const std::string &dir) {
  std::string text = EscapedForMake(target) + ":";
  for (const char *name : TargetFileTable)
    text += " \\\n  " + EscapedForMake(dir + "/" + name);
  return text + "\n";
}
