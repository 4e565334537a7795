// Byte-at-a-time stream access for the hot loops. The streams are never shared between
// threads, so the unlocked forms are used where the runtime has them.
#pragma once

#include <cstdio>

inline int ReadByte(FILE *stream) {
#if defined(_WIN32)
  return std::getc(stream);
#else
  return getc_unlocked(stream);
#endif
}

inline int WriteByte(int byte, FILE *stream) {
#if defined(_WIN32)
  return std::putc(byte, stream);
#else
  return putc_unlocked(byte, stream);
#endif
}
