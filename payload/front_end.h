// The operations through which the core (payload container and engine) reaches the user.
// The core only declares them; each program links exactly one implementation: the Win32
// wizard, the headless text front end, or the recording fake of the tests.
#pragma once

#include <cstdint>
#include <cstdio>

typedef void *FrontDc;     // a device context of the wizard (HDC on Win32); null: get one
typedef void *FrontCursor; // the cursor shown before the wait cursor (HCURSOR on Win32)

// Sets the status line (control 170 of the wizard).
void SetStatusLine(const char *text);

// A modal error box with the error icon and an OK button, owned by the wizard.
void ShowErrorBox(const char *text, const char *caption);

// The overall bar: with a stream, updates imageSize (if 0) and overallFill from the stream's
// read position, then draws; without one it only draws the current fill.
void DrawOverallProgress(FrontDc dc, FILE *stream);

// The per-file bar: done of total decoded bytes of the current stream.
void DrawFileProgress(FrontDc dc, uint32_t done, uint32_t total);

// Width in pixels of the per-file bar; the decoder derives its redraw step from it.
int FileProgressWidth();

// Blanks the per-file bar after a stream has been decoded.
void WipeFileProgress();

// Wait cursor around the payload checksum pass.
FrontCursor ShowWaitCursor();
void RestoreCursor(FrontCursor previous);
