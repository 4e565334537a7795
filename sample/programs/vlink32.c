/* Stand-in for Vorq Link, the program the shell starts for .cha and .chat files: it names
   the file it was asked to open and ends. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "started_log.h"
#include "version.h"

enum { MESSAGE_SIZE = 2048 };

static const char linkCaption[] = "Vorq Link";

static int IsBlank(char c) {
  return c == ' ' || c == '\t';
}

/* Length of the program name at the head of the command line. The shell's open command
   names the program without quotes, so a folder with blanks in it cannot be split at the
   first blank; the program's own path, or else the first ".exe" that ends a word, marks
   where the name ends. */
static size_t ProgramNameLength(const char *commandLine) {
  if (commandLine[0] == '"') {
    const char *closing = strchr(commandLine + 1, '"');
    return closing != NULL ? (size_t)(closing - commandLine) + 1 : strlen(commandLine);
  }
  char ownPath[MAX_PATH];
  DWORD ownLength = GetModuleFileNameA(NULL, ownPath, sizeof ownPath);
  if (ownLength > 0 && ownLength < sizeof ownPath && strlen(commandLine) >= ownLength &&
      _strnicmp(commandLine, ownPath, ownLength) == 0 &&
      (commandLine[ownLength] == '\0' || IsBlank(commandLine[ownLength]))) {
    return ownLength;
  }
  for (const char *p = commandLine; *p != '\0'; ++p) {
    if (_strnicmp(p, ".exe", 4) == 0 && (p[4] == '\0' || IsBlank(p[4]))) {
      return (size_t)(p - commandLine) + 4;
    }
  }
  size_t length = 0;
  while (commandLine[length] != '\0' && !IsBlank(commandLine[length])) {
    ++length;
  }
  return length;
}

/* The argument after the program name, with one pair of enclosing quotes removed. */
static void FindDocument(char *out, size_t outSize, const char *commandLine) {
  const char *rest = commandLine + ProgramNameLength(commandLine);
  while (IsBlank(*rest)) {
    ++rest;
  }
  size_t length = strlen(rest);
  while (length > 0 && IsBlank(rest[length - 1])) {
    --length;
  }
  if (length >= 2 && rest[0] == '"' && rest[length - 1] == '"') {
    ++rest;
    length -= 2;
  }
  snprintf(out, outSize, "%.*s", (int)length, rest);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandTail, int showCommand) {
  (void)instance;
  (void)previous;
  (void)commandTail;
  (void)showCommand;
  WriteStartedLog("vlink-started.txt");

  char document[MAX_PATH * 2];
  FindDocument(document, sizeof document, GetCommandLineA());
  char message[MESSAGE_SIZE];
  if (document[0] != '\0') {
    snprintf(message, sizeof message,
             "Vorq Link %s\n\nAsked to open the chat file:\n%s\n\n"
             "This is a stand-in program; it does not read the file.",
             VORQ_VERSION_TEXT, document);
  } else {
    snprintf(message, sizeof message,
             "Vorq Link %s\n\nNo chat file was given.\n\n"
             "Vorq Link opens .cha and .chat files for the Vorq client.",
             VORQ_VERSION_TEXT);
  }
  MessageBoxA(NULL, message, linkCaption, MB_OK | MB_ICONINFORMATION);
  return 0;
}
