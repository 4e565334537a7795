// The wizard's pages as data: the control groups, the buttons of each page and the texts
// that must read exactly as written.
#pragma once

#include <cstddef>

enum {
  PAGE_WELCOME = 0,
  PAGE_LICENCE = 1,
  PAGE_OPTIONS = 2,
  PAGE_INSTALLING = 3,
  PAGE_FINISH = 4,
  PAGE_COUNT = 5,
  PAGE_LAY_OUT = -1 // lay out all groups, then show the welcome page
};

// Control identifiers of the wizard template.
enum {
  ID_NEXT = 1,
  ID_CANCEL = 2,
  ID_ICON_PLACE = 120,
  ID_BACK = 121,
  ID_WELCOME_TEXT = 130,
  ID_LICENCE_TEXT = 141,
  ID_FOLDER_LINE = 152,
  ID_BROWSE = 153,
  ID_FOLDER_FRAME = 154,
  ID_BACKUPS_BOX = 156,
  ID_KEEP_SETTINGS_BOX = 157,
  ID_SHORTCUTS_BOX = 158,
  ID_STATUS_LINE = 170,
  ID_FILE_BAR = 171,
  ID_OVERALL_BAR = 173,
  ID_READ_HELP_BOX = 183,
  ID_LAUNCH_BOX = 184
};

// First identifier of each page's group of consecutive controls, by page.
extern const int pageGroupFirstId[PAGE_COUNT];

struct PageLook {
  const char *nextText; // null: the text stays as it was
  bool nextShown;
  bool nextEnabled;
  const char *cancelText;
  int focusId;
};

extern const PageLook pageLooks[PAGE_COUNT];

extern const char wizardCaption[];
extern const char welcomeText[];

struct FixedText {
  int id;
  const char *text;
};

// The texts of the pages as the user must read them; a wizard whose controls say
// anything else has been tampered with.
extern const FixedText fixedPageTexts[];
extern const size_t fixedPageTextCount;

// Length of the licence text in a resource of size bytes: up to the first "***".
size_t LicenceTextLength(const char *resource, size_t size);
