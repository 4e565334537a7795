// The numbers behind the overall progress bar, shared by every front end.
#pragma once

#include <cstdint>
#include <cstdio>

// Size of a stream in bytes; its position is left where it was.
int32_t MeasureImageSize(FILE *stream);

// With a stream: measures imageSize once per run, then sets overallFill to the read
// position scaled to a bar frameWidth pixels wide. Without one: nothing.
void UpdateOverallFill(FILE *stream, int32_t frameWidth);
