// The .cha and .chat file types, opened by the installed "vlink32.exe".
#pragma once

// Writes the five keys under the classes root for destDir; 1 when all five were written,
// 0 at the first failure (the keys before it stay).
int RegisterChatFileType();
