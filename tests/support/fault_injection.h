// A layer over the platform file operations that counts every call and can make a chosen
// call fail. CI runs the tests as root, so permissions alone cannot make an operation
// fail; this makes each failure deterministic. Streams opened through the layer are
// wrapped so that their block writes, reads and closes can fail too.
#pragma once

enum FaultPoint {
  FAULT_MAKE_FOLDER,
  FAULT_REMOVE_FOLDER,
  FAULT_DELETE_FILE,
  FAULT_MOVE_FILE,
  FAULT_CLEAR_ATTRIBUTES,
  FAULT_CLEAR_READ_ONLY,
  FAULT_TEMP_FOLDER,
  FAULT_OWN_IMAGE_PATH,
  FAULT_OPEN_FILE,
  FAULT_CREATE_NEW_FILE,
  FAULT_WRITE, // a block written by a stream's buffer
  FAULT_READ,  // a block read into a stream's buffer
  FAULT_CLOSE,
  FAULT_POINT_COUNT
};

extern const char *const faultPointNames[FAULT_POINT_COUNT];

// Puts the counting layer in place of the platform operations; no fault is armed. The
// image path the layer reports is imagePath.
void InstallFaultLayer(const char *imagePath);

// Puts the platform's own operations back.
void RemoveFaultLayer();

// The nth call (from 1, counted from the last ResetFaultCounts) of point fails.
void ArmFault(FaultPoint point, int nth);
void DisarmFaults();
void ResetFaultCounts();
int FaultCallCount(FaultPoint point);
