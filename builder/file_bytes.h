// Whole-file reads and writes for the builder, with one-line reasons on failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

bool ReadWholeFile(const std::string &path, std::vector<uint8_t> *bytes, std::string *error);

bool WriteWholeFile(const std::string &path, const uint8_t *data, size_t size, std::string *error);

// Decodes one stored stream with the installer's decoder into memory. False when the
// decoder reports failure.
bool ExpandToMemory(const uint8_t *stream, size_t size, std::vector<uint8_t> *decoded);
