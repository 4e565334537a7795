// The payload marker and the one matching rule that every scan of an image applies.
#pragma once

// Four distinct letters and a terminating zero. Holds zeros until FillPayloadMarker runs:
// the marker never stands whole in any program's code or data, or a scan of the image
// would take that copy for a stream boundary.
extern char PayloadMarker[5];

enum { MARKER_LENGTH = 4 };

// Assembles the marker: the first letter is formatted into the buffer, the other three
// are appended.
void FillPayloadMarker();

enum MarkerStep {
  MARKER_HELD,     // the byte continues a partial match and is held back
  MARKER_COMPLETE, // the byte completes a marker; the held bytes are dropped
  MARKER_BROKEN    // the held bytes, then the byte itself, are content
};

// Feeds one image byte to a scanner whose partial match count is *matched (0 to 3).
// On MARKER_BROKEN, *released receives how many held marker bytes precede the byte as
// content (they equal PayloadMarker[0 .. *released - 1]). A byte that breaks a partial
// match is not retried as the first byte of a new marker.
MarkerStep MatchMarkerByte(int *matched, unsigned char byte, int *released);
