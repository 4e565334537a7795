// A straightforward decoder of one stored stream over buffered stdio (fgetc, fputc, one
// bit at a time): the yardstick for the installer's decoder in the benchmark.
#pragma once

#include <cstdio>

bool PlainExpand(FILE *input, FILE *output);
