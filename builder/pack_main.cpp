// vorq-pack: compresses the installer's payload, and checks finished images.
#include "builder/clean_stream.h"
#include "builder/file_bytes.h"
#include "builder/image_check.h"
#include "builder/payload_layout.h"
#include "payload/expand.h"
#include "payload/marker.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

enum { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

const char overview[] =
    "usage: vorq-pack COMMAND [ARGS]\n"
    "\n"
    "  compress IN OUT                   IN as one stored stream (size field and bits)\n"
    "  expand IN OUT                     decode the stored stream IN with the installer's "
    "decoder\n"
    "  build DIR -o PAYLOAD [--header FILE]\n"
    "                                    pack the eleven files of DIR into a payload\n"
    "  check IMAGE [--payload PAYLOAD] [--expect CRC] [--extract DIR] [--signed]\n"
    "                                    scan IMAGE as the installer does and check its "
    "payload\n"
    "\n"
    "'vorq-pack COMMAND --help' tells more about one command. Exit status: 0 done,\n"
    "1 failed (with the reason on one line), 2 wrong usage.\n";

const char compressHelp[] =
    "usage: vorq-pack compress [--greedy | --best] IN OUT\n"
    "Writes the file IN as one stored stream: its size (4 bytes, little-endian), then the\n"
    "compressed bits. The stream never holds the payload marker nor ends with a part of it.\n"
    "--greedy takes the longest match everywhere instead of the cheapest parse.\n"
    "--best refines the parse from more starting points and for more passes: some five\n"
    "times slower, and rarely more than 0.1% smaller.\n";

const char expandHelp[] =
    "usage: vorq-pack expand IN OUT\n"
    "Decodes the stored stream IN (4-byte little-endian size, then the bits) into OUT with\n"
    "the installer's own decoder.\n";

const char buildHelp[] =
    "usage: vorq-pack build DIR -o PAYLOAD [--header FILE] [--depfile FILE]\n"
    "                       [--greedy | --best]\n"
    "Compresses the eleven files the installer carries, taken from DIR, and writes the\n"
    "payload: the marker, each stream followed by the marker, the marker again, CR LF.\n"
    "--header FILE writes the C++ header that holds the payload's checksum\n"
    "(VORQ_PAYLOAD_CRC) and size. --depfile FILE writes the eleven input paths as a\n"
    "make-style dependency file for PAYLOAD, so that a build tool repacks when one of\n"
    "them changes or goes missing. Prints each file's size, stored size and ratio.\n"
    "--greedy and --best choose the parse as for compress.\n";

const char checkHelp[] =
    "usage: vorq-pack check IMAGE [--payload PAYLOAD] [--expect CRC] [--extract DIR] "
    "[--signed]\n"
    "Scans IMAGE from its first byte as the installer does and reports where the first\n"
    "marker stands, whether the image carries an Authenticode signature, the payload\n"
    "checksum and each stream's stored and decoded size.\n"
    "Fails unless eleven streams and the double marker follow, each stream decodes to\n"
    "its stated size, the checksum is not 0 and the payload ends before the signature.\n"
    "  --payload PAYLOAD  the first marker must stand where these bytes begin in IMAGE\n"
    "  --expect CRC       the checksum (hexadecimal) must be this\n"
    "  --extract DIR      write the eleven decoded files into DIR\n"
    "  --signed           the image must carry an Authenticode signature\n";

int Usage(const char *reason) {
  std::fprintf(stderr, "vorq-pack: %s (see vorq-pack --help)\n", reason);
  return EXIT_USAGE;
}

int Failed(const std::string &reason) {
  std::fprintf(stderr, "vorq-pack: %s\n", reason.c_str());
  return EXIT_FAILED;
}

bool WantsHelp(int argc, char **argv) {
  for (int i = 0; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
      return true;
  return false;
}

// The parse options shared by compress and build; true when argument is one.
bool ParseOption(const char *argument, ParseMode *mode) {
  if (std::strcmp(argument, "--greedy") == 0)
    *mode = PARSE_GREEDY;
  else if (std::strcmp(argument, "--best") == 0)
    *mode = PARSE_BEST;
  else
    return false;
  return true;
}

int Compress(int argc, char **argv) {
  ParseMode mode = PARSE_OPTIMAL;
  const char *paths[2];
  int count = 0;
  for (int i = 0; i < argc; ++i) {
    if (ParseOption(argv[i], &mode))
      continue;
    if (argv[i][0] == '-' && argv[i][1] != 0)
      return Usage("compress: unknown option");
    else if (count < 2)
      paths[count++] = argv[i];
    else
      return Usage("compress takes IN and OUT");
  }
  if (count != 2)
    return Usage("compress takes IN and OUT");
  std::vector<uint8_t> data;
  std::string error;
  if (!ReadWholeFile(paths[0], &data, &error))
    return Failed(error);
  if (data.empty())
    return Failed(std::string(paths[0]) + " is empty: a stream must decode to at least one byte");
  EncodedStream encoded;
  unsigned attempts = 0;
  if (!CompressClean(data.data(), data.size(),
                     reinterpret_cast<const unsigned char *>(PayloadMarker), mode, &encoded,
                     &attempts, &error))
    return Failed(std::string("cannot compress ") + paths[0] + ": " + error);
  if (!WriteWholeFile(paths[1], encoded.bytes.data(), encoded.bytes.size(), &error))
    return Failed(error);
  std::printf("%s: %zu -> %zu bytes (%.1f%%)\n", paths[0], data.size(), encoded.bytes.size(),
              100.0 * encoded.bytes.size() / data.size());
  return EXIT_OK;
}

int Expand(int argc, char **argv) {
  if (argc != 2)
    return Usage("expand takes IN and OUT");
  FILE *input = std::fopen(argv[0], "rb");
  if (!input)
    return Failed(std::string("cannot open ") + argv[0] + ": " + std::strerror(errno));
  FILE *output = std::fopen(argv[1], "wb");
  if (!output) {
    std::fclose(input);
    return Failed(std::string("cannot create ") + argv[1] + ": " + std::strerror(errno));
  }
  bool decoded = ExpandStream(input, output);
  bool readFailed = std::ferror(input) != 0;
  bool written = std::fclose(output) == 0;
  std::fclose(input);
  if (!decoded)
    return Failed(
        std::string("cannot decode ") + argv[0] +
        (readFailed ? ": read error" : ": no stream (short or zero size field) or a failed write"));
  if (!written)
    return Failed(std::string("cannot write ") + argv[1]);
  return EXIT_OK;
}

int Build(int argc, char **argv) {
  const char *dir = nullptr, *payloadPath = nullptr, *headerPath = nullptr, *depfilePath = nullptr;
  ParseMode mode = PARSE_OPTIMAL;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc)
      payloadPath = argv[++i];
    else if (std::strcmp(argv[i], "--header") == 0 && i + 1 < argc)
      headerPath = argv[++i];
    else if (std::strcmp(argv[i], "--depfile") == 0 && i + 1 < argc)
      depfilePath = argv[++i];
    else if (ParseOption(argv[i], &mode))
      continue;
    else if (argv[i][0] == '-')
      return Usage("build: unknown option or missing value");
    else if (!dir)
      dir = argv[i];
    else
      return Usage("build takes one folder");
  }
  if (!dir || !payloadPath)
    return Usage("build needs DIR and -o PAYLOAD");
  Payload payload;
  std::string error;
  // Written first: a build that fails on a missing file must still know to try again
  // once the file is there.
  if (depfilePath) {
    const std::string text = DependencyFileText(payloadPath, dir);
    if (!WriteWholeFile(depfilePath, reinterpret_cast<const uint8_t *>(text.data()), text.size(),
                        &error))
      return Failed(error);
  }
  if (!BuildPayload(dir, mode, &payload, &error))
    return Failed(error);
  if (!WriteWholeFile(payloadPath, payload.bytes.data(), payload.bytes.size(), &error))
    return Failed(error);
  if (headerPath) {
    std::string header = ChecksumHeaderText(payload);
    if (!WriteWholeFile(headerPath, reinterpret_cast<const uint8_t *>(header.data()), header.size(),
                        &error))
      return Failed(error);
  }
  PrintPayloadTable(payload, stdout);
  return EXIT_OK;
}

int Check(int argc, char **argv) {
  CheckOptions options;
  const char *image = nullptr;
  for (int i = 0; i < argc; ++i) {
    bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--payload") == 0 && hasValue) {
      options.payloadPath = argv[++i];
    } else if (std::strcmp(argv[i], "--extract") == 0 && hasValue) {
      options.extractDir = argv[++i];
    } else if (std::strcmp(argv[i], "--expect") == 0 && hasValue) {
      const char *text = argv[++i];
      char *end = nullptr;
      errno = 0;
      unsigned long value = std::strtoul(text, &end, 16);
      if (*text == 0 || *end != 0 || errno != 0 || value > 0xFFFFFFFFul)
        return Usage("check: --expect takes a 32-bit hexadecimal checksum");
      options.expectGiven = true;
      options.expectedCrc = static_cast<uint32_t>(value);
    } else if (std::strcmp(argv[i], "--signed") == 0) {
      options.requireSignature = true;
    } else if (argv[i][0] == '-') {
      return Usage("check: unknown option or missing value");
    } else if (!image) {
      image = argv[i];
    } else {
      return Usage("check takes one image");
    }
  }
  if (!image)
    return Usage("check needs IMAGE");
  std::string error;
  if (!CheckImage(image, options, stdout, &error))
    return Failed(error);
  std::printf("%s: payload intact\n", image);
  return EXIT_OK;
}

} // namespace

int main(int argc, char **argv) {
  FillPayloadMarker();
  if (argc < 2)
    return Usage("no command given");
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(overview, stdout);
    return EXIT_OK;
  }
  struct Command {
    const char *name;
    const char *help;
    int (*run)(int, char **);
  };
  static const Command commands[] = {{"compress", compressHelp, Compress},
                                     {"expand", expandHelp, Expand},
                                     {"build", buildHelp, Build},
                                     {"check", checkHelp, Check}};
  for (const Command &c : commands) {
    if (command != c.name)
      continue;
    if (WantsHelp(argc - 2, argv + 2)) {
      std::fputs(c.help, stdout);
      return EXIT_OK;
    }
    return c.run(argc - 2, argv + 2);
  }
  return Usage(("unknown command " + command).c_str());
}
