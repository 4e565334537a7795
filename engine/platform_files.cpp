#include "engine/platform_files.h"

// The engine reaches the file system only through this table; it starts as the
// platform's own operations.
PlatformFileOps platformOps = nativePlatformOps;
