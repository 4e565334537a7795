#include "wizard/page_table.h"

#include <cstring>

const int pageGroupFirstId[PAGE_COUNT] = {130, 140, 150, 170, 180};

const PageLook pageLooks[PAGE_COUNT] = {
    {"&Next >", true, true, "Cancel", ID_NEXT},    {"&Yes", true, true, "&No", ID_LICENCE_TEXT},
    {"&Install", true, true, "Cancel", ID_NEXT},   {"&Install", true, false, "Abort", ID_CANCEL},
    {nullptr, false, false, "&Finish", ID_CANCEL},
};

const char wizardCaption[] = "Vorq v5.71 32bit Installation";
const char welcomeText[] = "Welcome to the Vorq installation program! This program will install "
                           "Vorq v5.71 32bit on your computer.";

const FixedText fixedPageTexts[] = {
    {180, "Installation of Vorq was successful!"},
    {181, "After you close this window, you can run Vorq, connect to the internet, and start "
          "chatting!"},
    {182, "If you are new to Vorq, you might want to read the first few sections of the Vorq "
          "help file before you start. The sections are short and give a good general "
          "introduction."},
    {183, "&Read Vorq Help file"},
    {184, "&Launch Vorq"},
    {185, "To end the installation, please click the Finish button."},
    {130, welcomeText},
    {131, "If you have a previous copy of Vorq installed, please make sure that it is not running "
          "during the installation."},
    {132, "It is also advised that you close all other applications before installing Vorq."},
    {133, "To continue, please click the Next button."},
    {140, "Please read the following license agreement before installing Vorq. You can scroll "
          "down to view the rest of the agreement."},
    {142, "Do you accept the terms of this license agreement? If you do, please click the Yes "
          "button, otherwise click No."},
    {150, "Vorq will be installed into the folder shown below."},
    {151, "If you would like to install Vorq into a different folder, click on browse and select "
          "a new folder."},
    {153, "&Browse"},
    {154, "Destination folder:"},
    {155, "You can also change the following options:"},
    {156, "&Make Backups of any existing Vorq files"},
    {157, "&Keep your existing Vorq settings and ini files"},
    {158, "&Create Vorq Shortcut icons"},
    {159, "Once you're ready to install Vorq, click the Install button to continue, or click "
          "Cancel to exit."},
    {172, "Install Progress:"},
};
const size_t fixedPageTextCount = sizeof fixedPageTexts / sizeof fixedPageTexts[0];

size_t LicenceTextLength(const char *resource, size_t size) {
  for (size_t i = 0; i + 3 <= size; ++i)
    if (std::memcmp(resource + i, "***", 3) == 0)
      return i;
  return size;
}
