#include "engine/target_files.h"

const char *const TargetFileTable[TARGET_COUNT] = {
    "vorq32.exe", "vlink32.exe", "vorq.hlp",   "ircintro.hlp", "readme.txt", "versions.txt",
    "vorq.ini",   "aliases.ini", "popups.ini", "servers.ini",  "urls.ini"};
