// ctl3d32.dll as an attacker would plant it, and as a stand-in for the system's copy:
// loading it runs its code at once, so the code leaves proof. Each event appends a line
// to ctl3d32-proof.txt in the folder the DLL was loaded from: "loaded" with the DLL's own
// path and the program's, then "Ctl3dRegister", "Ctl3dAutoSubclass", "Ctl3dUnregister"
// as they are called.
#include <windows.h>

#include <cstdio>
#include <cstring>

static HMODULE self;

static void Prove(const char *event) {
  char own[MAX_PATH + 1] = "", program[MAX_PATH + 1] = "";
  GetModuleFileNameA(self, own, MAX_PATH);
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  char proof[MAX_PATH + 32];
  char *slash = std::strrchr(own, '\\');
  int folder = slash ? static_cast<int>(slash - own + 1) : 0;
  std::snprintf(proof, sizeof proof, "%.*sctl3d32-proof.txt", folder, own);
  HANDLE file = CreateFileA(proof, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return;
  char line[3 * MAX_PATH];
  int length = std::snprintf(line, sizeof line, "%s %s by %s\r\n", event, own, program);
  if (length > 0) {
    DWORD written;
    WriteFile(file, line,
              static_cast<DWORD>(length < static_cast<int>(sizeof line)
                                     ? length
                                     : static_cast<int>(sizeof line) - 1),
              &written, nullptr);
  }
  CloseHandle(file);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    self = instance;
    Prove("loaded");
  }
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI Ctl3dRegister(HINSTANCE) {
  Prove("Ctl3dRegister");
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI Ctl3dAutoSubclass(HINSTANCE) {
  Prove("Ctl3dAutoSubclass");
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI Ctl3dUnregister(HINSTANCE) {
  Prove("Ctl3dUnregister");
  return TRUE;
}
