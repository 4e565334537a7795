#include "builder/pe_signature.h"

namespace {

uint16_t Get16(const uint8_t *p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Get32(const uint8_t *p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

const size_t SECURITY_DIRECTORY = 4;
const size_t CERTIFICATE_HEADER = 8; // dwLength, wRevision, wCertificateType

} // namespace

std::string ReadPeSignature(const uint8_t *image, size_t size, PeSignature *signature) {
  *signature = PeSignature();
  if (size < 0x40 || image[0] != 'M' || image[1] != 'Z')
    return "";
  size_t pe = Get32(image + 0x3C);
  if (pe > size || size - pe < 24 || Get32(image + pe) != 0x00004550) // "PE\0\0"
    return "";
  size_t optionalSize = Get16(image + pe + 20);
  size_t optional = pe + 24;
  if (size - optional < optionalSize || optionalSize < 2)
    return "";
  uint16_t magic = Get16(image + optional);
  size_t countAt = magic == 0x10b ? 92 : magic == 0x20b ? 108 : 0;
  if (countAt == 0 || optionalSize < countAt + 4)
    return "";
  signature->portableExecutable = true;
  size_t directories = Get32(image + optional + countAt);
  size_t entry = countAt + 4 + SECURITY_DIRECTORY * 8;
  if (directories <= SECURITY_DIRECTORY || optionalSize < entry + 8)
    return "";
  // The one directory whose address is a file offset rather than a virtual address.
  size_t offset = Get32(image + optional + entry);
  size_t length = Get32(image + optional + entry + 4);
  if (offset == 0 && length == 0)
    return "";
  signature->present = true;
  signature->tableOffset = offset;
  signature->tableSize = length;
  if (offset > size || length > size - offset)
    return "the certificate table (security directory) lies beyond the end of the file";
  if (length < CERTIFICATE_HEADER)
    return "the certificate table is too short for a certificate";
  signature->certificateLength = Get32(image + offset);
  signature->revision = Get16(image + offset + 4);
  signature->certificateType = Get16(image + offset + 6);
  if (signature->certificateLength < CERTIFICATE_HEADER || signature->certificateLength > length)
    return "the first certificate does not fit its table";
  return "";
}
