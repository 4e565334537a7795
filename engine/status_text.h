// The status line of the installing page.
#pragma once

// Shows "Scanning files..." until the overall bar has moved, then "Scanning file: " with
// the name of the target of fileIndex. Leaves that name in pathName and pathExt.
void ShowStatusText();

// Shows "Extracting file: " with the name of the target of fileIndex.
void ShowExtractingText();
