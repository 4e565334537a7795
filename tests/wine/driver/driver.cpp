// vorq-driver: drives a Win32 program under Wine from a script of steps, the way a user
// would: starts it, waits for its windows, reads and checks their controls, presses
// buttons, types into edit fields and answers message boxes.
//
//   vorq-driver SCRIPT        (SCRIPT "-" reads the steps from standard input)
//
// One step per line; blank lines and lines starting with # are skipped. Words are
// separated by blanks; a word with blanks is written in double quotes, and "" inside it
// stands for one double quote. Every step prints what it did; the first step that fails
// prints why, lists the top-level windows, and ends the driver with exit code 1. A script
// error ends it with 2; a script whose steps all pass ends it with 0.
//
// VORQ_DRIVER_DELAY_MS=N makes the driver wait N ms before each step, as a slow user or a
// loaded host would: a script that passes with and without it waits only for states that
// last until it acts.
//
// Steps (<id> is a control id, <timeout> seconds; windows are looked for until found):
//   timeout <seconds>                  default wait for the steps that wait (120 s)
//   start <command line...>            starts a program; the rest of the line is its
//                                      command line, passed as it stands
//   attach <title>                     waits for a top-level window with this title; its
//                                      program counts as started by this driver (for
//                                      exit and kill) and the window becomes the current
//                                      one
//   window <title> [<class>|*]         waits for a visible top-level window with exactly
//                                      this title (and class); it becomes the current one
//   messagebox <caption> <text>|@<file>|* <button-id>
//                                      waits for a message box (#32770) with this caption,
//                                      checks its text (or that it is exactly the file's
//                                      bytes, for texts with line breaks) and presses the
//                                      button
//   caption <text>                     the current window's title is this
//   text <id> <text>                   the control's text is exactly this
//   text-file <id> <file>              the control's text is exactly the file's bytes
//   wait-text <id> [<text>]            waits until the control holds text (or this text)
//   visible <id> 0|1                   whether the control is visible
//   enabled <id> 0|1                   whether the control is enabled
//   checked <id> 0|1                   whether the check box is checked
//   settext <id> <text>                types: WM_SETTEXT into the control
//   click <id>                         BM_CLICK sent to the control without waiting
//   command <id>                       WM_COMMAND (BN_CLICKED) sent to the current window
//                                      without waiting
//   close                              closes the current window as its close box does
//   gone                               waits until the current window no longer exists
//   no-window <title> <seconds>        no window with this title appears within the time
//   sleep <milliseconds>
//   stopwatch                          starts the stopwatch (QueryPerformanceCounter)
//   wait-shown <id> 0|1                waits until the control is shown (or hidden),
//                                      looking every 2 ms without sending it messages,
//                                      and prints the time since the stopwatch started
//   shot <name>                        asks the harness for a screenshot <name>.png and
//                                      waits until it is taken (skipped without a harness)
//   exit <code> [<n>]                  waits for the program started last (or by the
//                                      n-th start step) to end; its full 32-bit exit
//                                      code must be this
//   kill                               ends the started program at once
//   windows                            lists the top-level windows (for writing scripts)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum StepResult { STEP_OK, STEP_FAILED, STEP_SCRIPT_ERROR };

struct DriverState {
  DWORD timeoutMs = 120000;
  PROCESS_INFORMATION process = {}; // the program started last
  bool started = false;
  std::vector<HANDLE> earlier; // the programs started before it, in order
  HWND current = nullptr;
  std::string currentTitle;
  std::string failure; // why the last step failed
  LARGE_INTEGER stopwatch = {};
};

double MillisecondsSince(LARGE_INTEGER start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

const DWORD POLL_MS = 100;
const UINT MESSAGE_TIMEOUT_MS = 10000;

// Splits a step into words; false when a quoted word is not closed.
bool SplitWords(const std::string &line, std::vector<std::string> *words, std::string *rest) {
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    if (i >= line.size())
      break;
    // After the first word, rest holds the line's remainder as written (for "start").
    if (words->size() == 1)
      *rest = line.substr(i);
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            word += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        word += line[i++];
      }
      if (!closed)
        return false;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t')
        word += line[i++];
    }
    words->push_back(word);
  }
  return true;
}

bool ParseInt(const std::string &text, long *value) {
  if (text.empty())
    return false;
  char *end = nullptr;
  *value = std::strtol(text.c_str(), &end, 0);
  return *end == '\0';
}

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, MESSAGE_TIMEOUT_MS,
                           &length))
    return std::string();
  std::vector<char> buffer(length + 2, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, MESSAGE_TIMEOUT_MS, &copied);
  return std::string(buffer.data());
}

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct WindowQuery {
  const std::string *title;
  const std::string *className; // null: any class
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  WindowQuery *query = reinterpret_cast<WindowQuery *>(data);
  if (!IsWindowVisible(window))
    return TRUE;
  char title[1024] = "";
  GetWindowTextA(window, title, sizeof title);
  if (*query->title != title)
    return TRUE;
  if (query->className && ClassOf(window) != *query->className)
    return TRUE;
  query->found = window;
  return FALSE;
}

HWND FindTopWindow(const std::string &title, const std::string *className) {
  WindowQuery query = {&title, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND WaitForWindow(DriverState *state, const std::string &title, const std::string *className,
                   DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindTopWindow(title, className);
    if (window)
      return window;
    if (GetTickCount() - start >= timeoutMs)
      return nullptr;
    // A program that has ended will not open the window any more.
    if (state->started && WaitForSingleObject(state->process.hProcess, 0) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(state->process.hProcess, &code);
      state->failure = "the program ended (exit code " + std::to_string(code) + ") first";
      return nullptr;
    }
    Sleep(POLL_MS);
  }
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
  char title[256] = "";
  GetWindowTextA(window, title, sizeof title);
  RECT box = {};
  GetWindowRect(window, &box);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  std::printf("  window %p pid %lu class \"%s\" title \"%s\" %s at %ld,%ld %ldx%ld\n",
              static_cast<void *>(window), static_cast<unsigned long>(pid), ClassOf(window).c_str(),
              title, IsWindowVisible(window) ? "visible" : "hidden", box.left, box.top,
              box.right - box.left, box.bottom - box.top);
  return TRUE;
}

HWND Control(DriverState *state, long id) {
  if (!state->current || !IsWindow(state->current)) {
    state->failure = "no current window";
    return nullptr;
  }
  HWND control = GetDlgItem(state->current, static_cast<int>(id));
  if (!control)
    state->failure = "the current window has no control " + std::to_string(id);
  return control;
}

StepResult ExpectFlag(DriverState *state, const char *what, bool actual, long expected) {
  if (actual == (expected != 0))
    return STEP_OK;
  state->failure = std::string(what) + " is " + (actual ? "1" : "0");
  return STEP_FAILED;
}

// Message box texts are statics; Windows and Wine give the text its own id, so any static
// child holding exactly the text counts.
struct TextQuery {
  const std::string *text;
  std::string seen;
  bool found;
};

BOOL CALLBACK MatchStatic(HWND child, LPARAM data) {
  TextQuery *query = reinterpret_cast<TextQuery *>(data);
  if (lstrcmpiA(ClassOf(child).c_str(), "Static") != 0)
    return TRUE;
  std::string text = WindowText(child);
  if (text.empty())
    return TRUE;
  if (text == *query->text) {
    query->found = true;
    return FALSE;
  }
  query->seen += "\"" + text + "\" ";
  return TRUE;
}

StepResult Start(DriverState *state, const std::string &commandLine) {
  if (state->started) {
    state->earlier.push_back(state->process.hProcess);
    if (state->process.hThread)
      CloseHandle(state->process.hThread);
    state->started = false;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &state->process)) {
    state->failure = "CreateProcess failed with error " + std::to_string(GetLastError());
    return STEP_FAILED;
  }
  state->started = true;
  std::printf("  started pid %lu\n", static_cast<unsigned long>(state->process.dwProcessId));
  return STEP_OK;
}

// Waits for the program of start step number `which` (from 1; 0 for the last one).
StepResult WaitExit(DriverState *state, long expected, long which) {
  const long count = static_cast<long>(state->earlier.size()) + (state->started ? 1 : 0);
  if (which < 0 || which > count || count == 0) {
    state->failure = "no program number " + std::to_string(which) + " was started";
    return STEP_FAILED;
  }
  HANDLE process = which == 0 || which == count ? state->process.hProcess
                                                : state->earlier[static_cast<size_t>(which - 1)];
  if (WaitForSingleObject(process, state->timeoutMs) != WAIT_OBJECT_0) {
    state->failure = "the program did not end in time";
    return STEP_FAILED;
  }
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  std::printf("  exit code %lu (0x%08lx)\n", static_cast<unsigned long>(code),
              static_cast<unsigned long>(code));
  if (code != static_cast<DWORD>(expected)) {
    state->failure = "the exit code is " + std::to_string(code);
    return STEP_FAILED;
  }
  return STEP_OK;
}

bool ReadWholeFile(const std::string &path, std::string *bytes) {
  FILE *file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  bytes->clear();
  int c;
  while ((c = std::fgetc(file)) != EOF)
    *bytes += static_cast<char>(c);
  return std::fclose(file) == 0;
}

StepResult AnswerMessageBox(DriverState *state, const std::string &caption, const std::string &text,
                            long button) {
  const std::string dialogClass = "#32770";
  HWND box = WaitForWindow(state, caption, &dialogClass, state->timeoutMs);
  if (!box) {
    if (state->failure.empty())
      state->failure = "no message box \"" + caption + "\" appeared";
    return STEP_FAILED;
  }
  std::string expected = text;
  if (text.size() > 1 && text[0] == '@' && !ReadWholeFile(text.substr(1), &expected)) {
    state->failure = "cannot read " + text.substr(1);
    return STEP_FAILED;
  }
  if (text != "*") {
    TextQuery query = {&expected, std::string(), false};
    EnumChildWindows(box, MatchStatic, reinterpret_cast<LPARAM>(&query));
    if (!query.found) {
      state->failure = "the message box says " + query.seen;
      return STEP_FAILED;
    }
  }
  HWND control = GetDlgItem(box, static_cast<int>(button));
  if (!control) {
    state->failure = "the message box has no button " + std::to_string(button);
    return STEP_FAILED;
  }
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
  return STEP_OK;
}

// The harness watches the folder in VORQ_SHOT_DIR, saves the screen for every request
// file it finds, and removes the request.
StepResult Screenshot(DriverState *state, const std::string &name) {
  char folder[MAX_PATH] = "";
  if (!GetEnvironmentVariableA("VORQ_SHOT_DIR", folder, sizeof folder)) {
    std::printf("  no VORQ_SHOT_DIR: screenshot skipped\n");
    return STEP_OK;
  }
  std::string request = std::string(folder) + "\\" + name + ".request";
  FILE *file = std::fopen(request.c_str(), "wb");
  if (!file || std::fclose(file) != 0) {
    state->failure = "cannot write " + request;
    return STEP_FAILED;
  }
  DWORD start = GetTickCount();
  while (GetFileAttributesA(request.c_str()) != INVALID_FILE_ATTRIBUTES) {
    if (GetTickCount() - start >= 60000) {
      state->failure = "the harness took no screenshot for " + request;
      return STEP_FAILED;
    }
    Sleep(POLL_MS);
  }
  return STEP_OK;
}

bool Need(const std::vector<std::string> &words, size_t count) {
  return words.size() == count;
}

StepResult RunStep(DriverState *state, const std::vector<std::string> &words,
                   const std::string &rest) {
  const std::string &op = words[0];
  long a = 0, b = 0;

  if (op == "timeout" && Need(words, 2) && ParseInt(words[1], &a) && a > 0) {
    state->timeoutMs = static_cast<DWORD>(a) * 1000;
    return STEP_OK;
  }
  if (op == "start" && words.size() >= 2)
    return Start(state, rest);
  if (op == "window" && (Need(words, 2) || Need(words, 3))) {
    const std::string *className = words.size() == 3 && words[2] != "*" ? &words[2] : nullptr;
    state->failure.clear();
    HWND window = WaitForWindow(state, words[1], className, state->timeoutMs);
    if (!window) {
      if (state->failure.empty())
        state->failure = "no window \"" + words[1] + "\" appeared";
      return STEP_FAILED;
    }
    state->current = window;
    state->currentTitle = words[1];
    return STEP_OK;
  }
  if (op == "attach" && Need(words, 2)) {
    state->failure.clear();
    HWND window = WaitForWindow(state, words[1], nullptr, state->timeoutMs);
    DWORD processId = 0;
    if (window)
      GetWindowThreadProcessId(window, &processId);
    HANDLE process = processId
                         ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                       FALSE, processId)
                         : nullptr;
    if (!process) {
      if (state->failure.empty())
        state->failure = "cannot attach to the program of \"" + words[1] + "\"";
      return STEP_FAILED;
    }
    if (state->started) {
      state->earlier.push_back(state->process.hProcess);
      if (state->process.hThread)
        CloseHandle(state->process.hThread);
    }
    state->process = PROCESS_INFORMATION{process, nullptr, processId, 0};
    state->started = true;
    state->current = window;
    state->currentTitle = words[1];
    std::printf("  attached to pid %lu\n", static_cast<unsigned long>(processId));
    return STEP_OK;
  }
  if (op == "messagebox" && Need(words, 4) && ParseInt(words[3], &a)) {
    state->failure.clear();
    return AnswerMessageBox(state, words[1], words[2], a);
  }
  if (op == "caption" && Need(words, 2)) {
    if (!state->current) {
      state->failure = "no current window";
      return STEP_FAILED;
    }
    std::string caption = WindowText(state->current);
    if (caption == words[1])
      return STEP_OK;
    state->failure = "the caption is \"" + caption + "\"";
    return STEP_FAILED;
  }
  if (op == "text" && Need(words, 3) && ParseInt(words[1], &a)) {
    HWND control = Control(state, a);
    if (!control)
      return STEP_FAILED;
    std::string text = WindowText(control);
    if (text == words[2])
      return STEP_OK;
    state->failure = "the text is \"" + text + "\"";
    return STEP_FAILED;
  }
  if (op == "text-file" && Need(words, 3) && ParseInt(words[1], &a)) {
    HWND control = Control(state, a);
    if (!control)
      return STEP_FAILED;
    std::string expected;
    if (!ReadWholeFile(words[2], &expected)) {
      state->failure = "cannot read " + words[2];
      return STEP_FAILED;
    }
    std::string text = WindowText(control);
    if (text == expected)
      return STEP_OK;
    size_t same = 0;
    while (same < text.size() && same < expected.size() && text[same] == expected[same])
      ++same;
    state->failure = "the text (" + std::to_string(text.size()) + " bytes) differs from " +
                     words[2] + " (" + std::to_string(expected.size()) + " bytes) at byte " +
                     std::to_string(same);
    return STEP_FAILED;
  }
  if (op == "wait-text" && (Need(words, 2) || Need(words, 3)) && ParseInt(words[1], &a)) {
    DWORD start = GetTickCount();
    for (;;) {
      HWND control = Control(state, a);
      if (!control)
        return STEP_FAILED;
      std::string text = WindowText(control);
      if (words.size() == 2 ? !text.empty() : text == words[2]) {
        std::printf("  text \"%s\"\n", text.c_str());
        return STEP_OK;
      }
      if (GetTickCount() - start >= state->timeoutMs) {
        state->failure = "the text stayed \"" + text + "\"";
        return STEP_FAILED;
      }
      Sleep(POLL_MS);
    }
  }
  if ((op == "visible" || op == "enabled" || op == "checked") && Need(words, 3) &&
      ParseInt(words[1], &a) && ParseInt(words[2], &b)) {
    HWND control = Control(state, a);
    if (!control)
      return STEP_FAILED;
    if (op == "visible")
      return ExpectFlag(state, "visibility", IsWindowVisible(control) != 0, b);
    if (op == "enabled")
      return ExpectFlag(state, "enabled state", IsWindowEnabled(control) != 0, b);
    DWORD_PTR check = 0;
    SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, MESSAGE_TIMEOUT_MS, &check);
    return ExpectFlag(state, "check state", check == BST_CHECKED, b);
  }
  if (op == "settext" && Need(words, 3) && ParseInt(words[1], &a)) {
    HWND control = Control(state, a);
    if (!control)
      return STEP_FAILED;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(words[2].c_str()),
                             SMTO_ABORTIFHUNG, MESSAGE_TIMEOUT_MS, &result)) {
      state->failure = "WM_SETTEXT was not answered";
      return STEP_FAILED;
    }
    return STEP_OK;
  }
  if (op == "click" && Need(words, 2) && ParseInt(words[1], &a)) {
    HWND control = Control(state, a);
    if (!control)
      return STEP_FAILED;
    // Sent without waiting: a click that opens a modal dialog must not hold the driver
    // up, and unlike a posted message it is handled before the messages the next steps
    // send (a check box's state read right after clicking it).
    SendNotifyMessageA(control, BM_CLICK, 0, 0);
    return STEP_OK;
  }
  if (op == "command" && Need(words, 2) && ParseInt(words[1], &a)) {
    HWND control = Control(state, a);
    if (!control)
      return STEP_FAILED;
    SendNotifyMessageA(state->current, WM_COMMAND, MAKEWPARAM(a, BN_CLICKED),
                       reinterpret_cast<LPARAM>(control));
    return STEP_OK;
  }
  if (op == "close" && Need(words, 1)) {
    if (!state->current) {
      state->failure = "no current window";
      return STEP_FAILED;
    }
    PostMessageA(state->current, WM_SYSCOMMAND, SC_CLOSE, 0);
    return STEP_OK;
  }
  if (op == "gone" && Need(words, 1)) {
    DWORD start = GetTickCount();
    while (state->current && IsWindow(state->current)) {
      if (GetTickCount() - start >= state->timeoutMs) {
        state->failure = "the window \"" + state->currentTitle + "\" is still there";
        return STEP_FAILED;
      }
      Sleep(POLL_MS);
    }
    state->current = nullptr;
    return STEP_OK;
  }
  if (op == "no-window" && Need(words, 3) && ParseInt(words[2], &a)) {
    state->failure.clear();
    HWND window = WaitForWindow(state, words[1], nullptr, static_cast<DWORD>(a) * 1000);
    if (!window)
      return STEP_OK;
    state->failure = "a window \"" + words[1] + "\" appeared";
    return STEP_FAILED;
  }
  if (op == "stopwatch" && Need(words, 1)) {
    QueryPerformanceCounter(&state->stopwatch);
    return STEP_OK;
  }
  if (op == "wait-shown" && Need(words, 3) && ParseInt(words[1], &a) && ParseInt(words[2], &b)) {
    // IsWindowVisible reads the window's style; a message to the control would wait for
    // the program's thread and disturb what is being timed.
    DWORD start = GetTickCount();
    for (;;) {
      HWND control = Control(state, a);
      if (!control)
        return STEP_FAILED;
      if ((IsWindowVisible(control) != 0) == (b != 0)) {
        if (state->stopwatch.QuadPart != 0)
          std::printf("  after %.1f ms\n", MillisecondsSince(state->stopwatch));
        return STEP_OK;
      }
      if (GetTickCount() - start >= state->timeoutMs) {
        state->failure = b ? "the control stayed hidden" : "the control stayed visible";
        return STEP_FAILED;
      }
      Sleep(2);
    }
  }
  if (op == "sleep" && Need(words, 2) && ParseInt(words[1], &a) && a >= 0) {
    Sleep(static_cast<DWORD>(a));
    return STEP_OK;
  }
  if (op == "shot" && Need(words, 2))
    return Screenshot(state, words[1]);
  if (op == "exit" && (Need(words, 2) || Need(words, 3)) && ParseInt(words[1], &a) &&
      (words.size() == 2 || ParseInt(words[2], &b)))
    return WaitExit(state, a, words.size() == 3 ? b : 0);
  if (op == "kill" && Need(words, 1)) {
    if (state->started)
      TerminateProcess(state->process.hProcess, 1);
    return STEP_OK;
  }
  if (op == "windows" && Need(words, 1)) {
    EnumWindows(PrintWindow, 0);
    return STEP_OK;
  }
  return STEP_SCRIPT_ERROR;
}

bool ReadLine(FILE *file, std::string *line) {
  line->clear();
  int c;
  while ((c = std::fgetc(file)) != EOF && c != '\n')
    if (c != '\r')
      *line += static_cast<char>(c);
  return c != EOF || !line->empty();
}

// The delay before each step, from VORQ_DRIVER_DELAY_MS (0 when unset or not a number).
DWORD StepDelayMs() {
  char text[32] = "";
  DWORD length = GetEnvironmentVariableA("VORQ_DRIVER_DELAY_MS", text, sizeof text);
  long value = 0;
  if (length == 0 || length >= sizeof text || !ParseInt(text, &value) || value < 0)
    return 0;
  return static_cast<DWORD>(value);
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vorq-driver SCRIPT (see the steps at the top of driver.cpp)\n");
    return 2;
  }
  FILE *script = std::strcmp(argv[1], "-") == 0 ? stdin : std::fopen(argv[1], "rb");
  if (!script) {
    std::fprintf(stderr, "vorq-driver: cannot open %s\n", argv[1]);
    return 2;
  }
  setvbuf(stdout, nullptr, _IONBF, 0);

  DriverState state;
  const DWORD delayMs = StepDelayMs();
  std::string line;
  int lineNumber = 0;
  int status = 0;
  while (status == 0 && ReadLine(script, &line)) {
    ++lineNumber;
    std::vector<std::string> words;
    std::string rest;
    if (!SplitWords(line, &words, &rest)) {
      std::fprintf(stderr, "vorq-driver: line %d: unclosed quote\n", lineNumber);
      status = 2;
      break;
    }
    if (words.empty() || words[0][0] == '#')
      continue;
    if (delayMs)
      Sleep(delayMs);
    std::printf("step %d: %s\n", lineNumber, line.c_str());
    state.failure.clear();
    switch (RunStep(&state, words, rest)) {
    case STEP_OK:
      break;
    case STEP_FAILED:
      std::printf("FAIL at line %d: %s\n", lineNumber, state.failure.c_str());
      std::printf("top-level windows:\n");
      EnumWindows(PrintWindow, 0);
      status = 1;
      break;
    case STEP_SCRIPT_ERROR:
      std::fprintf(stderr, "vorq-driver: line %d: unknown step or wrong arguments\n", lineNumber);
      status = 2;
      break;
    }
  }
  if (script != stdin)
    std::fclose(script);
  if (status == 0)
    std::printf("driver: all steps passed\n");
  return status;
}
