// Eleven small files under the names of TargetFileTable, for building payloads in tests.
#pragma once

#include <string>
#include <vector>

// Writes the files into dir and returns their contents in table order.
std::vector<std::string> WriteSampleTree(const std::string &dir);

// The marker, assembled.
std::string MarkerText();
