#include "builder/image_check.h"

#include "builder/clean_stream.h"
#include "builder/file_bytes.h"
#include "builder/pe_signature.h"
#include "engine/target_files.h"
#include "payload/marker.h"
#include "payload/payload_crc.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>

namespace {

enum ScanPhase { SEEKING, AFTER_MARKER, IN_STREAM, FINISHED };

std::string Format(const char *format, long a, long b = 0, long c = 0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

std::string StreamName(size_t k) {
  return k < TARGET_COUNT ? TargetFileTable[k] : "beyond the table";
}

} // namespace

void ScanImageBytes(const uint8_t *image, size_t size, ImageScan *scan) {
  *scan = ImageScan();
  ScanPhase phase = SEEKING;
  int matched = 0;
  uint32_t reg = 0xFFFFFFFFu;
  for (size_t i = 0; i < size && phase != FINISHED; ++i) {
    int released = 0;
    switch (MatchMarkerByte(&matched, image[i], &released)) {
    case MARKER_HELD:
      break;
    case MARKER_COMPLETE:
      if (phase == SEEKING) {
        scan->firstMarker = static_cast<long>(i + 1 - MARKER_LENGTH);
        phase = AFTER_MARKER;
      } else if (phase == AFTER_MARKER) {
        scan->doubleMarker = true;
        scan->payloadEnd = i + 1;
        phase = FINISHED;
      } else {
        phase = AFTER_MARKER;
      }
      break;
    case MARKER_BROKEN:
      if (phase == SEEKING)
        break;
      if (phase == AFTER_MARKER) {
        scan->streams.emplace_back();
        scan->streamOffsets.push_back(i - static_cast<size_t>(released));
        phase = IN_STREAM;
      }
      std::vector<uint8_t> &stream = scan->streams.back();
      for (int k = 0; k < released; ++k) {
        stream.push_back(static_cast<uint8_t>(PayloadMarker[k]));
        reg = Crc32Byte(reg, static_cast<unsigned char>(PayloadMarker[k]));
      }
      stream.push_back(image[i]);
      reg = Crc32Byte(reg, image[i]);
      break;
    }
  }
  scan->endsInsideStream = phase == IN_STREAM;
  scan->crc = reg ^ 0xFFFFFFFFu;
}

std::string FindLayoutFault(const ImageScan &scan, std::vector<std::vector<uint8_t>> *decoded) {
  decoded->clear();
  if (scan.firstMarker < 0)
    return "no marker in the image";
  const long count = static_cast<long>(scan.streams.size());
  if (scan.doubleMarker && count < TARGET_COUNT)
    return Format("two adjacent markers after %ld streams: stream %ld is empty, and 11 streams "
                  "must precede the double marker",
                  count, count);
  if (!scan.doubleMarker && count <= TARGET_COUNT && scan.endsInsideStream)
    return Format("the image ends inside stream %ld, before its closing marker", count - 1);
  if (!scan.doubleMarker && count < TARGET_COUNT)
    return Format("the image ends after %ld streams, 11 are needed", count);
  if (count > TARGET_COUNT || !scan.doubleMarker)
    return "stream 10 is not followed by the double marker";

  const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
  for (size_t k = 0; k < scan.streams.size(); ++k) {
    const std::vector<uint8_t> &stream = scan.streams[k];
    const std::string name = StreamName(k);
    if (stream.size() <= SIZE_FIELD_BYTES)
      return Format("stream %ld is only %ld bytes long, no size field and code", long(k),
                    long(stream.size())) +
             " (" + name + ")";
    long conflict = FindMarkerConflict(stream, marker);
    if (conflict >= 0)
      return Format("stream %ld holds the marker's bytes at byte %ld: a marker was missed after "
                    "a partial one",
                    long(k), conflict) +
             " (" + name + ")";
    uint32_t stated = stream[0] | stream[1] << 8 | stream[2] << 16 | uint32_t(stream[3]) << 24;
    decoded->emplace_back();
    if (!ExpandToMemory(stream.data(), stream.size(), &decoded->back()))
      return Format("stream %ld does not decode", long(k)) + " (" + name + ")";
    if (decoded->back().size() != stated)
      return Format("stream %ld decodes to %ld bytes, its size field says %ld", long(k),
                    long(decoded->back().size()), long(stated)) +
             " (" + name + ")";
  }
  return "";
}

bool CheckImage(const std::string &imagePath, const CheckOptions &options, FILE *report,
                std::string *error) {
  std::vector<uint8_t> image;
  if (!ReadWholeFile(imagePath, &image, error))
    return false;
  ImageScan scan;
  ScanImageBytes(image.data(), image.size(), &scan);
  if (scan.firstMarker < 0) {
    *error = "no marker in " + imagePath;
    return false;
  }
  std::fprintf(report, "first marker at byte %ld of %zu\n", scan.firstMarker, image.size());

  PeSignature signature;
  std::string signatureFault = ReadPeSignature(image.data(), image.size(), &signature);
  if (!signatureFault.empty()) {
    *error = signatureFault;
    return false;
  }
  if (signature.authenticode())
    std::fprintf(report, "signature: Authenticode, certificate table of %zu bytes at byte %zu\n",
                 signature.tableSize, signature.tableOffset);
  else if (signature.present)
    std::fprintf(report, "signature: certificate table of type 0x%04X, not Authenticode\n",
                 signature.certificateType);
  else
    std::fprintf(report, "signature: none\n");
  if (options.requireSignature && !signature.authenticode()) {
    *error = "the image carries no Authenticode signature";
    return false;
  }

  if (!options.payloadPath.empty()) {
    std::vector<uint8_t> payload;
    if (!ReadWholeFile(options.payloadPath, &payload, error))
      return false;
    auto found = std::search(image.begin(), image.end(),
                             std::boyer_moore_horspool_searcher<std::vector<uint8_t>::iterator>(
                                 payload.begin(), payload.end()));
    if (payload.empty() || found == image.end()) {
      *error = "the payload " + options.payloadPath + " does not occur in " + imagePath;
      return false;
    }
    long begins = static_cast<long>(found - image.begin());
    std::fprintf(report, "payload at byte %ld\n", begins);
    if (begins != scan.firstMarker) {
      *error = Format(scan.firstMarker < begins
                          ? "the first marker stands at byte %ld, before the payload at byte %ld"
                          : "the first marker stands at byte %ld, not where the payload begins "
                            "(byte %ld): a partial marker before it hides it",
                      scan.firstMarker, begins);
      return false;
    }
  }

  // The installer's own checksum pass over the file, beside the scan made here.
  uint32_t crc = ComputePayloadCrc(imagePath.c_str());
  std::fprintf(report, "checksum 0x%08X\n", crc);
  if (crc != scan.crc) {
    *error =
        Format("the checksum pass gives 0x%08lX but the scan 0x%08lX", long(crc), long(scan.crc));
    return false;
  }

  std::vector<std::vector<uint8_t>> decoded;
  std::string fault = FindLayoutFault(scan, &decoded);
  // Signing appends the certificate table after everything it signs; a payload that
  // reaches past its start was not all there when the image was signed.
  if (fault.empty() && signature.present && scan.payloadEnd > signature.tableOffset)
    fault = Format("the payload ends at byte %ld, beyond the start of the certificate table at "
                   "byte %ld",
                   long(scan.payloadEnd), long(signature.tableOffset));
  for (size_t k = 0; k < decoded.size(); ++k)
    std::fprintf(report, "stream %2zu  %-13s stored %9zu  decoded %9zu\n", k, StreamName(k).c_str(),
                 scan.streams[k].size(), decoded[k].size());
  if (!fault.empty()) {
    *error = fault;
    return false;
  }
  if (crc == 0) {
    *error = "the checksum is 0, the value that reports a failure";
    return false;
  }
  if (options.expectGiven && crc != options.expectedCrc) {
    *error = Format("the checksum 0x%08lX differs from the expected 0x%08lX", long(crc),
                    long(options.expectedCrc));
    return false;
  }

  if (!options.extractDir.empty()) {
    if (mkdir(options.extractDir.c_str(), 0777) != 0 && errno != EEXIST) {
      *error = "cannot create " + options.extractDir + ": " + std::strerror(errno);
      return false;
    }
    for (size_t k = 0; k < decoded.size(); ++k)
      if (!WriteWholeFile(options.extractDir + "/" + TargetFileTable[k], decoded[k].data(),
                          decoded[k].size(), error))
        return false;
    std::fprintf(report, "extracted %d files to %s\n", TARGET_COUNT, options.extractDir.c_str());
  }
  return true;
}
