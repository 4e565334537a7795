// Decoder of one stored stream: a 4-byte little-endian size, then the adaptive Huffman /
// LZSS bit stream.
#pragma once

#include <cstdio>

// Decodes the stored stream at the input's position into output. True when the whole
// stated size (or a final match running past it) has been written. Closes neither stream.
bool ExpandStream(FILE *input, FILE *output);
