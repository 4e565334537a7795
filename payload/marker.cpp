#include "payload/marker.h"

#include <cstdio>
#include <cstring>

char PayloadMarker[5];

// Kept as two pieces behind volatile reads so that the compiler cannot fold the assembly
// into one four-byte constant, which would put the whole marker into the code.
static volatile char markerHead = 'Z';
static const char *volatile markerTail = "EKL";

void FillPayloadMarker() {
  std::snprintf(PayloadMarker, sizeof PayloadMarker, "%c", markerHead);
  std::strncat(PayloadMarker, markerTail, sizeof PayloadMarker - 1 - std::strlen(PayloadMarker));
}

MarkerStep MatchMarkerByte(int *matched, unsigned char byte, int *released) {
  if (byte == static_cast<unsigned char>(PayloadMarker[*matched])) {
    if (++*matched < MARKER_LENGTH)
      return MARKER_HELD;
    *matched = 0;
    return MARKER_COMPLETE;
  }
  *released = *matched;
  *matched = 0;
  return MARKER_BROKEN;
}
