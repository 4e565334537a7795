#include "desktop/progman.h"

#include <cstring>

#include "desktop/progman_commands.h"
#include "engine/install_state.h"
#include "wizard/app_handles.h"

const char *progmanService = "PROGMAN";

namespace {

const char progmanTopic[] = "PROGMAN";
const DWORD executeTimeoutMs = 5000;

} // namespace

extern "C" HDDEDATA CALLBACK DdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR,
                                         ULONG_PTR) {
  return nullptr;
}

void OpenDdeClient() {
  DWORD instance = 0;
  if (DdeInitializeA(&instance, DdeCallback, 0, 0) == DMLERR_NO_ERROR)
    ddeInstance = instance;
}

void CloseDdeClient() {
  if (ddeInstance != 0)
    DdeUninitialize(ddeInstance);
  ddeInstance = 0;
}

int ProgmanExecute(const char *command) {
  HSZ service = DdeCreateStringHandleA(ddeInstance, progmanService, CP_WINANSI);
  if (!service)
    return 0;
  HSZ topic = DdeCreateStringHandleA(ddeInstance, progmanTopic, CP_WINANSI);
  if (!topic) {
    DdeFreeStringHandle(ddeInstance, service);
    return 0;
  }
  int accepted = 0;
  HCONV conversation = DdeConnect(ddeInstance, service, topic, nullptr);
  if (conversation) {
    // The terminating NUL goes with the command.
    const DWORD length = static_cast<DWORD>(std::strlen(command)) + 1;
    DWORD status = 0;
    HDDEDATA result = DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char *>(command)),
                                           length, conversation, nullptr, CF_TEXT, XTYP_EXECUTE,
                                           executeTimeoutMs, &status);
    accepted = result ? 1 : 0;
    DdeDisconnect(conversation);
  }
  DdeFreeStringHandle(ddeInstance, topic);
  DdeFreeStringHandle(ddeInstance, service);
  return accepted;
}

int CreateProgramGroup() {
  char command[PROGMAN_COMMAND_SIZE];
  for (int step = 1; step <= PROGMAN_STEP_COUNT; ++step) {
    if (!FormatProgmanCommand(step, installState.destDir, newShell, command, sizeof command))
      return 0;
    // ShowGroup and ReplaceItem may be refused (ReplaceItem of an item not there yet).
    if (!ProgmanExecute(command) && IsProgmanStepNeeded(step))
      return 0;
  }
  return 1;
}
