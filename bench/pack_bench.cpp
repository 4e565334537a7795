// Benchmark of the payload encoder and the installer's decoder on a corpus of files from
// Debian packages. Prints figures; it checks nothing but that every stream round-trips.
#include "builder/clean_stream.h"
#include "builder/file_bytes.h"
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
    {"PE32 executable", "libwine:i386", "/usr/lib/i386-linux-gnu/wine/i386-windows/cmd.exe"},
    {"INI-style text", "libwine:i386", "/usr/share/wine/wine.inf"},
    {"small executable", "libwine:i386", "/usr/lib/i386-linux-gnu/wine/i386-windows/winver.exe"},
    {"licence text", "base-files", "/usr/share/common-licenses/GPL-3"},
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

} // namespace

int main() {
  FillPayloadMarker();
  const unsigned char *marker = reinterpret_cast<const unsigned char *>(PayloadMarker);
  std::printf("vorq-pack benchmark: best of %d runs; MB/s of uncompressed bytes\n\n", RUNS);
  std::printf("%-17s %9s | %9s %9s %9s %8s | %6s %6s | %8s %8s %8s | %8s %8s | %s\n", "file",
              "size", "classic", "greedy", "stored", "ratio", "gain", "gain", "enc", "enc", "enc",
              "dec", "dec", "gzip -9");
  std::printf("%-17s %9s | %9s %9s %9s %8s | %6s %6s | %8s %8s %8s | %8s %8s | %s\n", "", "",
              "greedy", "nearest", "optimal", "", "vs cl.", "vs gr.", "optimal", "classic",
              "greedy", "expand", "plain", "");
  size_t totalSize = 0, totalClassic = 0, totalGreedy = 0, totalOptimal = 0, totalFirstLongest = 0;
  double timeClassic = 0, timeOptimal = 0;
  for (const CorpusFile &file : corpus) {
    std::vector<uint8_t> data;
    std::string error;
    if (!ReadWholeFile(file.path, &data, &error) || data.empty()) {
      std::printf("%-17s skipped: %s (package %s) is not here\n", file.kind, file.path,
                  file.package);
      continue;
    }
    EncodedStream optimal, greedy, classic;
    unsigned attempts = 0;
    bool packed = true;
    double encodeOptimal = BestTime([&] {
      packed = CompressClean(data.data(), data.size(), marker, PARSE_OPTIMAL, &optimal, &attempts,
                             &error);
    });
    double encodeGreedy = BestTime([&] {
      MatchTable matches;
      FindMatches(data.data(), data.size(), DEFAULT_SEARCH_DEPTH, &matches);
      EncodeStream(data.data(), data.size(), matches, PARSE_GREEDY, {}, &greedy);
    });
    double encodeClassic = BestTime([&] {
      std::vector<Token> tokens;
      GreedyTreeParse(data.data(), data.size(), &tokens);
      EncodeTokens(data.data(), data.size(), tokens, &classic);
    });
    double decodeExpand = 0, decodePlain = 0;
    bool ok = packed && TimeDecode(ExpandStream, optimal.bytes, data, &decodeExpand) &&
              TimeDecode(PlainExpand, optimal.bytes, data, &decodePlain);
    EncodedStream firstLongest;
    {
      std::vector<Token> tokens;
      GreedyTreeParse(data.data(), data.size(), &tokens, false);
      EncodeTokens(data.data(), data.size(), tokens, &firstLongest);
    }
    totalFirstLongest += firstLongest.bytes.size();
    std::vector<uint8_t> check;
    ok = ok && ExpandToMemory(firstLongest.bytes.data(), firstLongest.bytes.size(), &check) &&
         check == data;
    ok = ok && ExpandToMemory(greedy.bytes.data(), greedy.bytes.size(), &check) && check == data;
    ok = ok && ExpandToMemory(classic.bytes.data(), classic.bytes.size(), &check) && check == data;
    if (!ok) {
      std::printf("%-17s FAILED: a stream does not round-trip %s\n", file.kind, error.c_str());
      return 1;
    }
    const size_t n = data.size();
    std::printf("%-17s %9zu | %9zu %9zu %9zu %7.2f%% | %5.2f%% %5.2f%% | %8.2f %8.2f %8.2f | "
                "%8.2f %8.2f | %ld\n",
                file.kind, n, classic.bytes.size(), greedy.bytes.size(), optimal.bytes.size(),
                100.0 * optimal.bytes.size() / n,
                100.0 * (1.0 - double(optimal.bytes.size()) / classic.bytes.size()),
                100.0 * (1.0 - double(optimal.bytes.size()) / greedy.bytes.size()),
                Rate(n, encodeOptimal), Rate(n, encodeClassic), Rate(n, encodeGreedy),
                Rate(n, decodeExpand), Rate(n, decodePlain), GzipSize(file.path));
    std::printf("%-17s   %s (%s)\n", "", file.path, file.package);
    totalSize += n;
    totalClassic += classic.bytes.size();
    totalGreedy += greedy.bytes.size();
    totalOptimal += optimal.bytes.size();
    timeClassic += encodeClassic;
    timeOptimal += encodeOptimal;
  }
  if (totalSize == 0)
    return 0;
  std::printf("\ncorpus: %zu bytes; classic greedy %zu, nearest greedy %zu, optimal %zu\n",
              totalSize, totalClassic, totalGreedy, totalOptimal);
  std::printf("first-longest greedy parse (plain LZSS tree, no preference among equal lengths): "
              "%zu; optimal %.2f%% smaller\n",
              totalFirstLongest, 100.0 * (1.0 - double(totalOptimal) / totalFirstLongest));
  std::printf("optimal parse: %.2f%% smaller than the classic greedy parse, %.2f%% smaller "
              "than the nearest-distance greedy parse\n",
              100.0 * (1.0 - double(totalOptimal) / totalClassic),
              100.0 * (1.0 - double(totalOptimal) / totalGreedy));
  std::printf("encode time: optimal %.3f s, classic greedy %.3f s (%.2fx)\n", timeOptimal,
              timeClassic, timeOptimal / timeClassic);
  return 0;
}
