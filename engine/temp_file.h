// The temporary file that holds one stream while it is cut out of the image. It is always
// created new: whatever stands at its name is left alone, and a run deletes only the
// temporary files it made itself.
#pragma once

enum {
  TEMP_NAME_ATTEMPTS = 64 // "vorq.tmp", then fresh names beside it, before error [11]
};

// The name of attempt n in folder (with its separator): "vorq.tmp" for 0, otherwise
// "vorqXXXX.tmp" with four hexadecimal digits drawn from n and salt. False when it does
// not fit.
bool FormatTempName(char *out, unsigned size, const char *folder, int attempt, unsigned salt);

// Works out the temporary folder and creates the stream's file there, opening tempOut on
// it; tempPath names the file in use. False when no file can be created.
bool CreateTempFile();

// Deletes the temporary file if this run created it and it is still there (a second
// attempt if the first fails); anything else at tempPath is left alone.
void DeleteTempFile();
