// The eleven files an install writes, by stream index in payload order. The order is the
// order of the streams and may not change.
#pragma once

enum { TARGET_COUNT = 11 };

extern const char *const TargetFileTable[TARGET_COUNT];
