// The Authenticode signature of a PE image: the certificate table that the security
// directory (data directory 4) points at. Signing appends it at the end of the file,
// outside everything the image maps, so the payload keeps its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum : uint16_t {
  WIN_CERT_REVISION_2_0 = 0x0200,
  WIN_CERT_TYPE_PKCS_SIGNED_DATA = 0x0002 // an Authenticode signature
};

struct PeSignature {
  bool portableExecutable = false; // the bytes are a PE image (PE32 or PE32+)
  bool present = false;            // the security directory names a certificate table
  size_t tableOffset = 0;          // file offset and size of the certificate table
  size_t tableSize = 0;
  uint32_t certificateLength = 0; // of the first certificate, with its header
  uint16_t revision = 0;
  uint16_t certificateType = 0;
  bool authenticode() const {
    return present && certificateType == WIN_CERT_TYPE_PKCS_SIGNED_DATA;
  }
};

// Reads the security directory of image. "" when the image is no PE image, carries no
// certificate table, or a well-formed one; otherwise what is wrong with the table.
std::string ReadPeSignature(const uint8_t *image, size_t size, PeSignature *signature);
