// Writes the generated part of the real-scale file set: two help files that compress
// poorly, a long version history and a long server list, at about the sizes of the
// client's own files. The same arguments always give the same bytes (a fixed generator,
// no clock, no locale), so the payload built from them is reproducible.
//
//   vorq-make-scale-files OUTDIR
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// xorshift32: small, fixed and the same on every compiler.
struct Noise {
  uint32_t state;
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  uint32_t Below(uint32_t n) {
    return Next() % n;
  }
};

const char *const words[] = {
    "channel", "server",  "nickname", "query",  "window",   "topic",   "colour",  "script",
    "alias",   "popup",   "notify",   "ignore", "transfer", "session", "network", "identd",
    "timer",   "log",     "away",     "font",   "toolbar",  "switch",  "message", "list",
    "dialog",  "setting", "sound",    "buffer", "socket",   "proxy",   "option",  "address"};
const char *const verbs[] = {"fixed",   "added",   "changed", "removed", "improved",
                             "renamed", "rewrote", "sped up", "moved",   "allowed"};

std::string Sentence(Noise *noise) {
  std::string text = verbs[noise->Below(sizeof verbs / sizeof verbs[0])];
  text[0] = static_cast<char>(text[0] - 'a' + 'A');
  const uint32_t count = 4 + noise->Below(9);
  for (uint32_t i = 0; i < count; ++i) {
    text += ' ';
    text += words[noise->Below(sizeof words / sizeof words[0])];
  }
  return text + '.';
}

// Ends TEXT at exactly SIZE bytes with a line break.
std::string FitTo(std::string text, size_t size) {
  text.resize(size - 2);
  return text + "\r\n";
}

// Help-file-like: a header, then topics of prose interleaved with blocks of noise (as
// compressed bitmaps would be); NOISE_PERCENT of the blocks are noise.
std::string HelpFile(uint32_t seed, size_t size, uint32_t noisePercent) {
  Noise noise = {seed};
  std::string bytes = "Vorq help (real-scale test data)\r\n";
  for (int topic = 1; bytes.size() < size; ++topic) {
    if (noise.Below(100) < noisePercent) {
      const uint32_t length = 256 + noise.Below(1792);
      for (uint32_t i = 0; i < length; ++i)
        bytes += static_cast<char>(noise.Next() >> 24);
    } else {
      bytes += "Topic " + std::to_string(topic) + "\r\n";
      const uint32_t sentences = 3 + noise.Below(12);
      for (uint32_t i = 0; i < sentences; ++i)
        bytes += Sentence(&noise) + ' ';
      bytes += "\r\n";
    }
  }
  bytes.resize(size);
  return bytes;
}

std::string VersionHistory(size_t size) {
  Noise noise = {0x5713u};
  std::string text = "Vorq version history\r\n====================\r\n\r\n";
  for (int release = 571; text.size() < size && release > 0; --release) {
    text += "Vorq " + std::to_string(release / 100) + "." + std::to_string(release % 100 / 10) +
            std::to_string(release % 10) + "\r\n";
    const uint32_t changes = 2 + noise.Below(8);
    for (uint32_t i = 0; i < changes; ++i)
      text += "  - " + Sentence(&noise) + "\r\n";
    text += "\r\n";
  }
  return FitTo(text, size);
}

std::string ServerList(size_t size) {
  Noise noise = {0x1badc0deu};
  std::string text = "; Vorq server list, generated for the real-scale test set.\r\n"
                     "; serverN=description|host name|ports|group\r\n\r\n";
  for (int network = 1; text.size() < size; ++network) {
    const std::string name = "net" + std::to_string(network);
    text += "[" + name + "]\r\n";
    const uint32_t servers = 3 + noise.Below(14);
    for (uint32_t i = 0; i < servers && text.size() < size; ++i) {
      const uint32_t port = 6660 + noise.Below(10);
      text += "server" + std::to_string(i) + "=" + name + ": random server|irc" +
              std::to_string(noise.Below(90) + 10) + "." + name + ".example|" +
              std::to_string(port) + "-6669," + std::to_string(7000 + noise.Below(100)) + "|" +
              name + "\r\n";
    }
    text += "\r\n";
  }
  return FitTo(text, size);
}

bool WriteFile(const std::string &path, const std::string &bytes) {
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(argc == 2 ? stdout : stderr,
                 "usage: vorq-make-scale-files OUTDIR\n"
                 "Writes vorq.hlp, ircintro.hlp, versions.txt and servers.ini of the "
                 "real-scale test set into OUTDIR (which must exist).\n");
    return argc == 2 ? 0 : 2;
  }
  const std::string dir = argv[1];
  struct Output {
    const char *name;
    std::string bytes;
  } outputs[] = {
      {"vorq.hlp", HelpFile(0x68656c70u, 196619, 56)},
      {"ircintro.hlp", HelpFile(0x69726321u, 69525, 15)},
      {"versions.txt", VersionHistory(33430)},
      {"servers.ini", ServerList(29837)},
  };
  for (const Output &output : outputs) {
    const std::string path = dir + "/" + output.name;
    if (!WriteFile(path, output.bytes)) {
      std::fprintf(stderr, "vorq-make-scale-files: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
