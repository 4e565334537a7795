// The per-file bar's device context, held while a stream is decoded (progress_bars.cpp).
#pragma once

// Gives the held device context back, if any; the next redraw takes a new one.
void ReleaseFileBarDc();
