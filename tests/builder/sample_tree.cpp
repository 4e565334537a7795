#include "tests/builder/sample_tree.h"

#include "engine/target_files.h"
#include "payload/marker.h"
#include "tests/support/test_files.h"

#include <random>

std::vector<std::string> WriteSampleTree(const std::string &dir) {
  std::vector<std::string> contents;
  std::mt19937 random(42);
  for (int k = 0; k < TARGET_COUNT; ++k) {
    std::string text;
    if (k < 2) {
      // Stand-ins for the programs: a header, then bytes of every value.
      text = "MZ";
      text.resize(4000 + 3000 * k);
      for (size_t i = 2; i < text.size(); ++i)
        text[i] = static_cast<char>(i % 7 == 0 ? random() : i / 13);
    } else {
      text = "; ";
      text += TargetFileTable[k];
      text += "\r\n";
      for (int line = 0; line < 20 + 30 * k; ++line)
        text += "key" + std::to_string(line) + "=value " + std::to_string(random() % 100) + "\r\n";
    }
    WriteFileBytes(dir + "/" + TargetFileTable[k], text);
    contents.push_back(text);
  }
  return contents;
}

std::string MarkerText() {
  FillPayloadMarker();
  return std::string(PayloadMarker, MARKER_LENGTH);
}
