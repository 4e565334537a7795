// The headless installer's text front end: on a terminal the status line and both bars
// are redrawn in place; otherwise one plain line is printed per status change.
#pragma once

#include <cstdio>

enum { TEXT_BAR_WIDTH = 400 }; // the "pixels" of both bars, scaled to the terminal

// Chooses the output form: live redraws on a terminal, plain lines otherwise.
void StartTextFrontEnd(FILE *out, bool terminal);

// Ends a live display so that later output starts on a fresh line.
void StopTextFrontEnd();

// Prints one line of its own, below a live display.
void PrintTextLine(const char *text);
