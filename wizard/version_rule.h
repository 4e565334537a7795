// Which shell the installer runs under, from the version word of the system.
#pragma once

#include <cstdint>

// 1 for a Windows 95 / NT 4 style shell: major version exactly 4, or a minor version of 95
// or more (the low byte of the word is the major version, the next byte the minor).
int32_t NewShellFromVersion(uint32_t versionWord);
