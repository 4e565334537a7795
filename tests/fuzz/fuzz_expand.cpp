// ExpandStream on arbitrary bytes: a stored stream either fails before writing anything or
// yields its stated size (a final match may run up to 59 bytes past it), reports progress
// only on whole steps, and stops at once when the output refuses a byte.
#include "payload/expand.h"
#include "tests/fuzz/fuzz_front_end.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

enum : uint32_t {
  SIZE_CAP = 1u << 16, // past the first tree rebuilds, a bigger size only repeats the same paths
  MATCH_OVERRUN = 59,
  REFUSAL_WINDOW = 4096
};

namespace {

// An output that counts what it is given and refuses everything from byte `limit` on.
struct Sink {
  uint64_t accepted;
  uint64_t limit;
};

ssize_t SinkWrite(void *cookie, const char *, size_t size) {
  Sink *sink = static_cast<Sink *>(cookie);
  uint64_t room = sink->limit - sink->accepted;
  size_t taken = size < room ? size : static_cast<size_t>(room);
  sink->accepted += taken;
  return taken == size ? static_cast<ssize_t>(size) : -1;
}

FILE *OpenSink(Sink *sink, bool unbuffered) {
  cookie_io_functions_t io = {nullptr, SinkWrite, nullptr, nullptr};
  FILE *out = fopencookie(sink, "wb", io);
  if (!out)
    std::abort();
  if (unbuffered)
    setvbuf(out, nullptr, _IONBF, 0);
  return out;
}

FILE *OpenInput(const uint8_t *data, size_t size) {
  // fmemopen refuses an empty buffer; an empty file reads the same.
  FILE *in =
      size > 0 ? fmemopen(const_cast<uint8_t *>(data), size, "rb") : std::fopen("/dev/null", "rb");
  if (!in)
    std::abort();
  return in;
}

void Require(bool condition, const char *what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_expand: %s\n", what);
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  uint32_t stated = 0;
  if (size >= 4)
    stated = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
  if (stated > SIZE_CAP)
    return 0;

  ResetFuzzFront();
  // The bar width follows the input's length, so that widths of 0, 1 and more than the
  // size (step 1) all occur.
  fuzzFront.fileBarWidth = static_cast<int>(size % 400);
  uint32_t width = fuzzFront.fileBarWidth > 0 ? static_cast<uint32_t>(fuzzFront.fileBarWidth) : 1;
  fuzzFront.progressStep = stated / width > 0 ? stated / width : 1;

  Sink sink = {0, UINT64_MAX};
  FILE *in = OpenInput(data, size);
  FILE *out = OpenSink(&sink, false);
  bool decoded = ExpandStream(in, out);
  Require(std::fflush(out) == 0, "the sink refused a flush");
  std::fclose(out);
  std::fclose(in);

  if (size < 4 || stated == 0) {
    Require(!decoded, "a stream without a size was decoded");
    Require(sink.accepted == 0, "a stream without a size wrote bytes");
    Require(fuzzFront.wipes == 0 && fuzzFront.progressCalls == 0, "a refused stream drew");
    return 0;
  }
  Require(decoded, "a stream with a size failed");
  Require(sink.accepted >= stated && sink.accepted <= uint64_t(stated) + MATCH_OVERRUN,
          "the decoded length is not the stated size");
  Require(fuzzFront.wipes == 1, "the bar was not wiped once");
  Require(!fuzzFront.progressRegressed, "progress went backwards");
  Require(!fuzzFront.progressOffStep, "progress off the step");
  if (fuzzFront.progressCalls > 0) {
    Require(fuzzFront.lastTotal == stated, "progress against the wrong total");
    Require(fuzzFront.lastDone <= sink.accepted, "progress beyond what was written");
  }

  // The same stream into an output that refuses a byte in its first few kilobytes (the
  // symbol sequence, and so the length, does not depend on what the ring held): false, at
  // once, unwiped.
  uint64_t limit = (sink.accepted / 2) % REFUSAL_WINDOW;
  Sink refusing = {0, limit};
  ResetFuzzFront();
  in = OpenInput(data, size);
  out = OpenSink(&refusing, true);
  decoded = ExpandStream(in, out);
  std::fclose(out);
  std::fclose(in);
  Require(!decoded, "a refused write was decoded as a success");
  Require(refusing.accepted == limit, "decoding went on past a refused write");
  Require(fuzzFront.wipes == 0, "the bar was wiped after a refused write");
  return 0;
}
