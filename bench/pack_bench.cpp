// Benchmark of the payload encoder and the installer's decoder on a corpus of files from
// Debian packages. Prints figures; it checks nothing but that every stream round-trips.
#include "builder/clean_stream.h"
#include "builder/file_bytes.h"
#include "builder/parse_prices.h"
#include "greedy_tree.h"
#include "payload/expand.h"
#include "payload/marker.h"
#include "plain_decoder.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct CorpusFile {
  const char *kind;
  const char *package;
  const char *path;
};

const CorpusFile corpus[] = {
    {"PE32 console, big", "libwine:i386", "/usr/lib/i386-linux-gnu/wine/i386-windows/cmd.exe"},
    {"INI-style text", "libwine:i386", "/usr/share/wine/wine.inf"},
    {"small GUI program", "libwine:i386", "/usr/lib/i386-linux-gnu/wine/i386-windows/winver.exe"},
    {"licence text", "base-files", "/usr/share/common-licenses/GPL-3"},
    {"DLL", "libwine:i386", "/usr/lib/i386-linux-gnu/wine/i386-windows/cabinet.dll"},
    {"console program", "libwine:i386", "/usr/lib/i386-linux-gnu/wine/i386-windows/xcopy.exe"},
};

enum { RUNS = 3 };

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Best of RUNS, in seconds.
template <typename Work> double BestTime(Work work) {
  double best = 1e30;
  for (int run = 0; run < RUNS; ++run) {
    auto start = std::chrono::steady_clock::now();
    work();
    double t = Seconds(start);
    best = t < best ? t : best;
  }
  return best;
}

long GzipSize(const char *path) {
  std::string command = std::string("gzip -9 -c '") + path + "' 2>/dev/null | wc -c";
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe)
    return -1;
  long size = -1;
  if (std::fscanf(pipe, "%ld", &size) != 1)
    size = -1;
  pclose(pipe);
  return size;
}

// Decodes stream with a decoder, timing the decode alone; true when the output is data.
template <typename Decoder>
bool TimeDecode(Decoder decoder, const std::vector<uint8_t> &stream,
                const std::vector<uint8_t> &data, double *seconds) {
  FILE *input = std::tmpfile();
  FILE *output = std::tmpfile();
  if (!input || !output)
    return false;
  std::fwrite(stream.data(), 1, stream.size(), input);
  std::fflush(input);
  bool ok = true;
  *seconds = BestTime([&] {
    std::rewind(input);
    std::rewind(output);
    ok = decoder(input, output) && ok;
    std::fflush(output);
  });
  std::vector<uint8_t> decoded(data.size());
  std::rewind(output);
  ok = ok && std::fread(decoded.data(), 1, decoded.size(), output) == decoded.size() &&
       decoded == data;
  std::fclose(input);
  std::fclose(output);
  return ok;
}

double Rate(size_t bytes, double seconds) {
  return seconds > 0 ? bytes / seconds / 1e6 : 0;
}

// One parse of a file: its stored stream and the best time of its encoding.
struct Measured {
  EncodedStream stream;
  double seconds = 0;
  bool ok = true;
};

Measured Clean(const std::vector<uint8_t> &data, ParseMode mode, const unsigned char *marker,
               int runs) {
  Measured m;
  double best = 1e30;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    unsigned attempts = 0;
    std::string error;
    m.ok =
        CompressClean(data.data(), data.size(), marker, mode, &m.stream, &attempts, &error) && m.ok;
    double t = Seconds(start);
    best = t < best ? t : best;
  }
  m.seconds = best;
  return m;
}

double Ratio(size_t stored, size_t classic) {
  return classic ? double(stored) / classic : 0;
}

struct Totals {
  size_t size = 0, classic = 0, nearest = 0, chunked = 0, optimal = 0, best = 0;
  double exact = 0;
  double timeClassic = 0, timeChunked = 0, timeOptimal = 0, timeBest = 0;
};

} // namespace

// With file names, the bench runs on those files instead of its corpus.
int main(int argc, char **argv) {
  std::vector<CorpusFile> files(std::begin(corpus), std::end(corpus));
  if (argc > 1) {
    files.clear();
    for (int i = 1; i < argc; ++i)
      files.push_back({"given file", "command line", argv[i]});
  }
  FillPayloadMarker();
  const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
  std::printf(
      "vorq-pack benchmark: stored bytes; ratios to the classic greedy encoder (exact: the\n"
      "--best parse if each symbol cost exactly log2 of its model probability, i.e. without\n"
      "the Huffman code's rounding); encode seconds, best of %d runs (--best: one run);\n"
      "decode MB/s of uncompressed bytes\n\n",
      RUNS);
  std::printf("%-17s %8s | %8s %8s %8s %8s %8s | %6s %6s %6s %6s | %6s %6s %6s %6s | %6s %6s | "
              "%s\n",
              "file", "size", "classic", "nearest", "present", "new", "--best", "presnt", "new",
              "--best", "exact", "enc", "enc", "enc", "enc", "dec", "dec", "gzip -9");
  std::printf("%-17s %8s | %8s %8s %8s %8s %8s | %6s %6s %6s %6s | %6s %6s %6s %6s | %6s %6s |\n",
              "", "", "greedy", "greedy", "parse", "parse", "", "/ cl.", "/ cl.", "/ cl.", "/ cl.",
              "classc", "presnt", "new", "--best", "expand", "plain");
  Totals total;
  for (const CorpusFile &file : files) {
    std::vector<uint8_t> data;
    std::string error;
    if (!ReadWholeFile(file.path, &data, &error) || data.empty()) {
      std::printf("%-17s skipped: %s (package %s) is not here\n", file.kind, file.path,
                  file.package);
      continue;
    }
    Measured chunked = Clean(data, PARSE_CHUNKED, marker, RUNS);
    Measured optimal = Clean(data, PARSE_OPTIMAL, marker, RUNS);
    Measured best = Clean(data, PARSE_BEST, marker, 1);
    Measured nearest, classic;
    {
      MatchTable matches;
      FindMatches(data.data(), data.size(), DEFAULT_SEARCH_DEPTH, &matches);
      EncodeStream(data.data(), data.size(), matches, PARSE_GREEDY, {}, &nearest.stream);
    }
    classic.seconds = BestTime([&] {
      std::vector<Token> tokens;
      GreedyTreeParse(data.data(), data.size(), &tokens);
      EncodeTokens(data.data(), data.size(), tokens, &classic.stream);
    });
    double decodeExpand = 0, decodePlain = 0;
    bool ok = chunked.ok && optimal.ok && best.ok &&
              TimeDecode(ExpandStream, optimal.stream.bytes, data, &decodeExpand) &&
              TimeDecode(PlainExpand, optimal.stream.bytes, data, &decodePlain);
    for (const Measured *m : {&chunked, &best, &nearest, &classic}) {
      std::vector<uint8_t> check;
      ok = ok && ExpandToMemory(m->stream.bytes.data(), m->stream.bytes.size(), &check) &&
           check == data;
    }
    if (!ok) {
      std::printf("%-17s FAILED: a stream does not round-trip\n", file.kind);
      return 1;
    }
    const size_t cl = classic.stream.bytes.size();
    const double exact = SIZE_FIELD_BYTES + ExactCodeBits(data.data(), best.stream.tokens) / 8;
    std::printf("%-17s %8zu | %8zu %8zu %8zu %8zu %8zu | %6.4f %6.4f %6.4f %6.4f | %6.3f %6.3f "
                "%6.3f %6.2f | %6.1f %6.1f | %ld\n",
                file.kind, data.size(), cl, nearest.stream.bytes.size(),
                chunked.stream.bytes.size(), optimal.stream.bytes.size(), best.stream.bytes.size(),
                Ratio(chunked.stream.bytes.size(), cl), Ratio(optimal.stream.bytes.size(), cl),
                Ratio(best.stream.bytes.size(), cl), exact / cl, classic.seconds, chunked.seconds,
                optimal.seconds, best.seconds, Rate(data.size(), decodeExpand),
                Rate(data.size(), decodePlain), GzipSize(file.path));
    std::printf("%-17s   %s (%s)\n", "", file.path, file.package);
    total.size += data.size();
    total.classic += cl;
    total.nearest += nearest.stream.bytes.size();
    total.chunked += chunked.stream.bytes.size();
    total.optimal += optimal.stream.bytes.size();
    total.best += best.stream.bytes.size();
    total.exact += exact;
    total.timeClassic += classic.seconds;
    total.timeChunked += chunked.seconds;
    total.timeOptimal += optimal.seconds;
    total.timeBest += best.seconds;
  }
  if (total.size == 0)
    return 0;
  std::printf("%-17s %8zu | %8zu %8zu %8zu %8zu %8zu | %6.4f %6.4f %6.4f %6.4f | %6.3f %6.3f "
              "%6.3f %6.2f |\n",
              "total", total.size, total.classic, total.nearest, total.chunked, total.optimal,
              total.best, Ratio(total.chunked, total.classic), Ratio(total.optimal, total.classic),
              Ratio(total.best, total.classic), total.exact / total.classic, total.timeClassic,
              total.timeChunked, total.timeOptimal, total.timeBest);
  std::printf("\nnew parse: %.2f%% smaller than the classic greedy encoder, %.2f%% smaller than "
              "the present parse;\n--best %.2f%% smaller than classic; encode time of the corpus "
              "%.2fx classic (present %.2fx, --best %.1fx)\n",
              100.0 * (1.0 - Ratio(total.optimal, total.classic)),
              100.0 * (1.0 - Ratio(total.optimal, total.chunked)),
              100.0 * (1.0 - Ratio(total.best, total.classic)),
              total.timeOptimal / total.timeClassic, total.timeChunked / total.timeClassic,
              total.timeBest / total.timeClassic);
  return 0;
}
