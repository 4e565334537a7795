#include "wizard/version_rule.h"

int32_t NewShellFromVersion(uint32_t versionWord) {
  uint32_t major = versionWord & 0xFF;
  uint32_t minor = (versionWord >> 8) & 0xFF;
  return major == 4 || minor >= 95 ? 1 : 0;
}
