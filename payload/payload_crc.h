// The payload checksum: CRC-32 (ISO 3309) of the eleven stored streams, found by scanning
// the image for markers.
#pragma once

#include <cstddef>
#include <cstdint>

enum { CRC_BLOCK_SIZE = 1024 };

// One byte through the table-driven register (initial value 0xFFFFFFFF, final complement
// left to the caller).
uint32_t Crc32Byte(uint32_t reg, unsigned char byte);

// Plain CRC-32 of a buffer, for the builder and the tests.
uint32_t Crc32(const unsigned char *data, size_t length);

// Checksum of the payload in the image file at imagePath, or 0 when the file cannot be
// opened or read (or holds no stream). PayloadMarker must be filled.
uint32_t ComputePayloadCrc(const char *imagePath);
