// The extraction pump: checks the image, then cuts its streams out slice by slice and
// installs them.
#pragma once

#include <cstdint>

enum {
  PUMP_FAILED = 0,
  PUMP_DONE = 1,
  PUMP_POLICY_FAILED = 2,
  PUMP_MORE = 3,
  SLICE_LIMIT = 10000 // a slice ends once more than this many bytes were consumed
};

// The checksum of the payload this installer carries. Initialised from the header the
// payload builder generates; the tests point it at the payloads they make.
extern uint32_t expectedPayloadCrc;

int BeginExtraction();

// After the pump has finished (result 1): an image in which it found no stream at all is
// corrupt. Then the run is rolled back, the user is told (error [14]) and the result is
// false; true when streams were installed.
bool CheckStreamsFound();
int PumpExtraction();
int InstallNextFile(const char *tempFile);
int ExpandToTarget(const char *source, const char *target);
