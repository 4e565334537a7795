// The DDE client against servers that are not Program Manager: no DDE instance at all, a
// service that nobody serves (both give 0 at once), and a stand-in server on a thread of
// its own that records every command it receives and refuses the ones a scenario names.
//
//   progman_dde_check.exe
//
// Needs nothing but a running wineserver. Exit code 0 when every check passed.
#include <windows.h>

#include <ddeml.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/progman.h"
#include "engine/install_state.h"
#include "tests/wine/programs/check_log.h"
#include "wizard/app_handles.h"

namespace {

const char fakeService[] = "VORQ_FAKE_PROGMAN";

// What the stand-in server received, in order: the command text and the byte count.
struct Received {
  std::string text;
  DWORD size;
  bool endsWithNul;
};
std::vector<Received> received;
// Which commands the stand-in refuses; set by each scenario before it runs.
bool (*refuse)(const std::string &command) = nullptr;

DWORD serverInstance = 0;
HSZ serverService = nullptr;
HSZ serverTopic = nullptr;
HANDLE serverReady = nullptr;

HDDEDATA CALLBACK FakeProgman(UINT type, UINT, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data, ULONG_PTR,
                              ULONG_PTR) {
  if (type == XTYP_CONNECT)
    return reinterpret_cast<HDDEDATA>(
        static_cast<ULONG_PTR>(DdeCmpStringHandles(hsz1, serverTopic) == 0 &&
                               DdeCmpStringHandles(hsz2, serverService) == 0));
  if (type == XTYP_EXECUTE) {
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::vector<char> bytes(size + 1, '\0');
    DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
    Received entry = {std::string(bytes.data()), size, size > 0 && bytes[size - 1] == '\0'};
    received.push_back(entry);
    const bool refused = refuse && refuse(entry.text);
    return reinterpret_cast<HDDEDATA>(
        static_cast<ULONG_PTR>(refused ? DDE_FNOTPROCESSED : DDE_FACK));
  }
  return nullptr;
}

DWORD WINAPI ServeFakeProgman(void *) {
  DdeInitializeA(&serverInstance, FakeProgman,
                 APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS, 0);
  serverService = DdeCreateStringHandleA(serverInstance, fakeService, CP_WINANSI);
  serverTopic = DdeCreateStringHandleA(serverInstance, "PROGMAN", CP_WINANSI);
  DdeNameService(serverInstance, serverService, nullptr, DNS_REGISTER);
  SetEvent(serverReady);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  DdeNameService(serverInstance, serverService, nullptr, DNS_UNREGISTER);
  DdeFreeStringHandle(serverInstance, serverService);
  DdeFreeStringHandle(serverInstance, serverTopic);
  DdeUninitialize(serverInstance);
  return 0;
}

bool RefuseNothing(const std::string &) {
  return false;
}
bool RefuseShowAndReplace(const std::string &command) {
  return command.compare(0, 11, "[ShowGroup(") == 0 || command.compare(0, 13, "[ReplaceItem(") == 0;
}
bool RefuseShowGroup(const std::string &command) {
  return command.compare(0, 11, "[ShowGroup(") == 0;
}
bool RefuseThirdAddItem(const std::string &command) {
  return command.find("IRCintro.hlp") != std::string::npos;
}
bool RefuseCreateGroup(const std::string &command) {
  return command.compare(0, 13, "[CreateGroup(") == 0;
}

// Runs CreateProgramGroup against the stand-in with a refusal rule; the result.
int RunScenario(bool (*rule)(const std::string &)) {
  received.clear();
  refuse = rule;
  return CreateProgramGroup();
}

const char *ReceivedText(size_t index) {
  return index < received.size() ? received[index].text.c_str() : "(none)";
}

} // namespace

int main() {
  appInstance = GetModuleHandleA(nullptr);
  std::snprintf(installState.destDir, sizeof installState.destDir, "c:\\vorq test");
  newShell = 1;

  // No DDE instance: not even the string handles can be made.
  ddeInstance = 0;
  Check(ProgmanExecute("[CreateGroup(\"Vorq\")]") == 0, "no DDE instance: ProgmanExecute 0");
  Check(CreateProgramGroup() == 0, "no DDE instance: CreateProgramGroup 0");

  OpenDdeClient();
  Check(ddeInstance != 0, "DDE client instance created");

  // A service nobody serves: no conversation, so nothing is accepted.
  progmanService = "VORQ_NOBODY_SERVES_THIS";
  DWORD started = GetTickCount();
  Check(ProgmanExecute("[CreateGroup(\"Vorq\")]") == 0, "no server: ProgmanExecute 0");
  Check(CreateProgramGroup() == 0, "no server: CreateProgramGroup 0");
  std::printf("no server: both calls took %lu ms\n",
              static_cast<unsigned long>(GetTickCount() - started));

  serverReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD serverThreadId = 0;
  HANDLE serverThread = CreateThread(nullptr, 0, ServeFakeProgman, nullptr, 0, &serverThreadId);
  Check(WaitForSingleObject(serverReady, 30000) == WAIT_OBJECT_0, "stand-in server started");
  progmanService = fakeService;

  refuse = RefuseNothing;
  received.clear();
  Check(ProgmanExecute("[ShowGroup(\"Vorq\",1)]") == 1, "accepted command: ProgmanExecute 1");
  refuse = RefuseShowGroup;
  Check(ProgmanExecute("[ShowGroup(\"Vorq\",1)]") == 0, "refused command: ProgmanExecute 0");

  Check(RunScenario(RefuseNothing) == 1, "all accepted: result 1");
  Check(received.size() == 12, "all accepted: 12 commands sent (%u)",
        static_cast<unsigned>(received.size()));
  Check(std::strcmp(ReceivedText(0), "[CreateGroup(\"Vorq\")]") == 0, "command 1: %s",
        ReceivedText(0));
  Check(std::strcmp(ReceivedText(1), "[ShowGroup(\"Vorq\",1)]") == 0, "command 2: %s",
        ReceivedText(1));
  Check(std::strcmp(ReceivedText(2), "[ReplaceItem(\"Vorq32\")]") == 0, "command 3: %s",
        ReceivedText(2));
  Check(std::strcmp(ReceivedText(3),
                    "[AddItem(\"c:\\vorq test\\Vorq32.exe\",\"Vorq32\",,0,,,\"c:\\vorq test\")]") ==
            0,
        "command 4, folder with a blank: %s", ReceivedText(3));
  Check(std::strcmp(ReceivedText(11), "[AddItem(\"c:\\vorq test\\versions.txt\",\"Versions.txt\","
                                      ",,,,\"c:\\vorq test\")]") == 0,
        "command 12, new shell: %s", ReceivedText(11));
  bool countsWithNul = !received.empty();
  for (const Received &entry : received)
    countsWithNul = countsWithNul && entry.endsWithNul && entry.size == entry.text.size() + 1;
  Check(countsWithNul, "every command arrives with its NUL: byte count = length + 1");

  Check(RunScenario(RefuseShowAndReplace) == 1,
        "ShowGroup and all five ReplaceItem refused: result still 1");
  Check(received.size() == 12, "... and all 12 commands sent (%u)",
        static_cast<unsigned>(received.size()));

  Check(RunScenario(RefuseShowGroup) == 1, "ShowGroup alone refused: result 1");

  Check(RunScenario(RefuseThirdAddItem) == 0, "third AddItem (step 8) refused: result 0");
  Check(received.size() == 8, "... after 8 commands, steps 9 to 12 not sent (%u)",
        static_cast<unsigned>(received.size()));

  Check(RunScenario(RefuseNothing) == 1, "retry: result 1");
  Check(received.size() == 12 && received[0].text == "[CreateGroup(\"Vorq\")]" &&
            received[2].text == "[ReplaceItem(\"Vorq32\")]",
        "retry sends all twelve again from CreateGroup, ReplaceItem included");

  Check(RunScenario(RefuseCreateGroup) == 0, "CreateGroup refused: result 0");
  Check(received.size() == 1, "... after that one command (%u)",
        static_cast<unsigned>(received.size()));

  newShell = 0;
  Check(RunScenario(RefuseNothing) == 1, "old shell: result 1");
  Check(std::strcmp(ReceivedText(9), "[AddItem(\"c:\\vorq test\\readme.txt\",\"Readme.txt\","
                                     "\"write.exe\",0,,,\"c:\\vorq test\")]") == 0,
        "command 10, old shell: %s", ReceivedText(9));

  CloseDdeClient();
  PostThreadMessageA(serverThreadId, WM_QUIT, 0, 0);
  WaitForSingleObject(serverThread, 30000);
  std::printf("%s\n", failures ? "progman_dde_check FAILED" : "progman_dde_check passed");
  return failures ? 1 : 0;
}
