// The folder texts of the destination choice: the default folder and the chooser's
// proposals. Paths here are Windows paths on every host: "c:\..." with backslashes.
#pragma once

// Lower-cases the letters A to Z in place; the folder line is always kept in lower case.
void LowerCaseText(char *text);

// The first three characters of the lower-cased path: the drive root for "d:\...".
void DriveRootOf(const char *ownPath, char *out, unsigned size);

// The default folder: "vorq" in ownRoot when that drive is fixed; otherwise, when
// windowsDir is given and not empty, "vorq" in the root of the Windows folder's drive.
// True when the Windows folder's drive was taken: the caller makes that drive current.
bool DefaultFolderFor(const char *ownRoot, bool ownRootIsFixed, const char *windowsDir, char *out,
                      unsigned size);

// The chooser's proposal for its current folder: the lower-cased folder with "\vorq"
// added unless "\vorq" occurs in it; for a folder of at most one character, "vorq" in the
// folder of ownPath. A suffix that would not fit into size is left off (result false).
bool ProposalFor(const char *currentFolder, const char *ownPath, char *out, unsigned size);
