// Stored streams that the payload's marker scan reads correctly: no copy of the marker
// inside, and no ending with the marker's first one to three bytes.
#pragma once

#include "builder/stream_encoder.h"

#include <string>

enum { CLEAN_ATTEMPTS = 64 };

// Offset of the first byte that breaks the scan (the start of a copy of the marker, or
// of a final partial marker), or -1 when the stream is clean.
long FindMarkerConflict(const std::vector<uint8_t> &stream, const unsigned char *marker);

// Compresses data[0 .. size) into a clean stream for the four distinct marker bytes. A
// stream with a conflict is encoded again with the choice that produced the offending
// bits forbidden (or the nearest earlier one that has an alternative), until it is clean.
// False with a one-line reason when no clean stream is found within CLEAN_ATTEMPTS.
bool CompressClean(const uint8_t *data, size_t size, const unsigned char *marker, ParseMode mode,
                   EncodedStream *out, unsigned *attempts, std::string *error);
