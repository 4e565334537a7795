// The payload: the eleven files of TargetFileTable as clean stored streams between
// markers, the double marker, CR LF; and the header that gives the installer its checksum.
#pragma once

#include "builder/stream_encoder.h"

#include <cstdio>
#include <string>
#include <vector>

struct PackedFile {
  std::string name;
  size_t size = 0;
  std::vector<uint8_t> stream; // size field and bits
  unsigned attempts = 0;       // encodings needed to keep the marker out
};

struct Payload {
  std::vector<PackedFile> files;
  std::vector<uint8_t> bytes;
  uint32_t crc = 0;
};

// Marker, each stream followed by the marker, the marker again, CR LF.
void LayOutPayload(const std::vector<PackedFile> &files, const unsigned char *marker,
                   std::vector<uint8_t> *bytes);

// Compresses the eleven files of dir (with the filled PayloadMarker), lays them out and
// checks the result with the installer's own scan and decoder. False with a one-line
// reason naming the file or the broken constraint.
bool BuildPayload(const std::string &dir, ParseMode mode, Payload *payload, std::string *error);

std::string ChecksumHeaderText(const Payload &payload);

// A make-style rule "TARGET: DIR/name ..." naming the eleven inputs, blanks and other
// characters that make treats specially escaped.
std::string DependencyFileText(const std::string &target, const std::string &dir);

// The build's table: name, size, stored size, ratio; then the totals and the checksum.
void PrintPayloadTable(const Payload &payload, FILE *out);
