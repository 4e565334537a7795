// A scratch folder for one fuzz process, under TMPDIR, removed when the process exits.
#pragma once

#include <string>

// Creates the folder on first use and returns its path.
const std::string &FuzzScratchDir();

// Writes bytes to path; aborts when that fails, since the target could check nothing.
void WriteWholeFile(const std::string &path, const void *data, size_t size);

// Removes path and everything below it (links are removed, not followed).
void RemoveTree(const std::string &path);
