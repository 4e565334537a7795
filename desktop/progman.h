// The Program Manager group "Vorq" with its five items, created through DDE.
#pragma once

#include <windows.h>

#include <ddeml.h>

// Service the commands go to; tests point it at a service of their own or of nobody.
extern const char *progmanService;

// Creates the DDE client instance into ddeInstance (which stays 0 on failure).
void OpenDdeClient();
// Releases it.
void CloseDdeClient();

// The client's callback: the installer serves nothing, so every call gets 0.
extern "C" HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV conversation, HSZ hsz1,
                                         HSZ hsz2, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

// Sends one command in a conversation of its own; 1 when Program Manager accepted it.
int ProgmanExecute(const char *command);

// Sends the twelve commands for destDir and newShell; 1 when CreateGroup and the five
// AddItem commands were accepted, 0 at the first of them that was not.
int CreateProgramGroup();
