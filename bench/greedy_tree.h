// The benchmark's baseline: a greedy longest-match parse found with a plain binary search
// tree over the window, nodes inserted at the leaves and the oldest deleted as the window
// slides, as the classic encoders of this stream format work.
#pragma once

#include "builder/stream_encoder.h"

#include <vector>

// With nearestOfEqual the nearer of two equally long matches wins, as in the classic
// encoder of this format; without it the first longest match found stays, as in the plain
// LZSS encoder the format grew from.
void GreedyTreeParse(const uint8_t *data, size_t size, std::vector<Token> *tokens,
                     bool nearestOfEqual = true);
