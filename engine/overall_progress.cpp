#include "engine/overall_progress.h"

#include "engine/install_state.h"

#include <climits>

int32_t MeasureImageSize(FILE *stream) {
  long position = std::ftell(stream);
  if (position < 0 || std::fseek(stream, 0, SEEK_END) != 0)
    return 0;
  long size = std::ftell(stream);
  std::fseek(stream, position, SEEK_SET);
  if (size < 0)
    return 0;
  return size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
}

void UpdateOverallFill(FILE *stream, int32_t frameWidth) {
  if (!stream)
    return;
  if (installState.imageSize == 0)
    installState.imageSize = MeasureImageSize(stream);
  long position = std::ftell(stream);
  if (installState.imageSize > 0 && position >= 0)
    // The product is taken in 64 bits: a large image times the bar width would overflow.
    installState.overallFill =
        static_cast<int32_t>(static_cast<int64_t>(position) * frameWidth / installState.imageSize);
}
