// Reads the built installer image as a PE file, independently of the tools that made it,
// and checks what the Windows side of the build must deliver: a 32-bit i386 GUI program,
// the three exports under their plain names, imports from system DLLs only, and the
// resources (both dialog templates control by control, the licence, the payload, both
// icons and the version block).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes ReadFile(const char *path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint16_t U16(const Bytes &b, size_t at) {
  if (at + 2 > b.size())
    throw std::out_of_range("read past the end");
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

uint32_t U32(const Bytes &b, size_t at) {
  return U16(b, at) | static_cast<uint32_t>(U16(b, at + 2)) << 16;
}

std::string Lower(std::string text) {
  for (char &c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The image with its section table, so that virtual addresses can be read.
struct PeImage {
  Bytes bytes;
  size_t header = 0; // offset of the PE signature
  size_t optional = 0;
  struct Section {
    uint32_t address, size, rawOffset, rawSize;
  };
  std::vector<Section> sections;
};

PeImage LoadImage() {
  PeImage image;
  image.bytes = ReadFile(VORQ_WIN_SETUP_EXE);
  const Bytes &b = image.bytes;
  if (b.size() < 0x40 || U16(b, 0) != 0x5A4D)
    throw std::runtime_error("not an MZ executable: " VORQ_WIN_SETUP_EXE);
  image.header = U32(b, 0x3C);
  if (U32(b, image.header) != 0x00004550)
    throw std::runtime_error("no PE signature");
  uint16_t sectionCount = U16(b, image.header + 6);
  uint16_t optionalSize = U16(b, image.header + 20);
  image.optional = image.header + 24;
  size_t table = image.optional + optionalSize;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    size_t at = table + 40u * i;
    image.sections.push_back({U32(b, at + 12), U32(b, at + 8), U32(b, at + 20), U32(b, at + 16)});
  }
  return image;
}

size_t Offset(const PeImage &image, uint32_t address) {
  for (const PeImage::Section &s : image.sections)
    if (address >= s.address && address < s.address + std::max(s.size, s.rawSize))
      return s.rawOffset + (address - s.address);
  throw std::runtime_error("address outside every section");
}

std::string CString(const PeImage &image, uint32_t address) {
  size_t at = Offset(image, address);
  std::string text;
  while (at < image.bytes.size() && image.bytes[at] != 0)
    text += static_cast<char>(image.bytes[at++]);
  return text;
}

uint32_t Directory(const PeImage &image, int index, uint32_t *size) {
  // PE32 optional header: the data directories start at offset 96.
  size_t at = image.optional + 96 + 8u * index;
  *size = U32(image.bytes, at + 4);
  return U32(image.bytes, at);
}

// One resource: its type, name (integer or text) and language, and where its data lies.
struct Resource {
  uint32_t type;
  std::string typeName;
  uint32_t id;
  std::string name;
  uint32_t language;
  size_t offset;
  uint32_t size;
};

std::string ResourceString(const PeImage &image, size_t at) {
  uint16_t length = U16(image.bytes, at);
  std::string text;
  for (uint16_t i = 0; i < length; ++i)
    text += static_cast<char>(U16(image.bytes, at + 2 + 2u * i));
  return text;
}

void WalkResources(const PeImage &image, size_t base, size_t dir, int level, Resource current,
                   std::vector<Resource> *out) {
  const Bytes &b = image.bytes;
  size_t count = U16(b, dir + 12) + U16(b, dir + 14);
  for (size_t i = 0; i < count; ++i) {
    size_t entry = dir + 16 + 8 * i;
    uint32_t name = U32(b, entry);
    uint32_t target = U32(b, entry + 4);
    Resource next = current;
    std::string text;
    uint32_t id = 0;
    if (name & 0x80000000u)
      text = ResourceString(image, base + (name & 0x7FFFFFFFu));
    else
      id = name;
    if (level == 0) {
      next.type = id;
      next.typeName = text;
    } else if (level == 1) {
      next.id = id;
      next.name = text;
    } else {
      next.language = id;
    }
    if (target & 0x80000000u) {
      WalkResources(image, base, base + (target & 0x7FFFFFFFu), level + 1, next, out);
    } else {
      size_t data = base + target;
      next.offset = Offset(image, U32(b, data));
      next.size = U32(b, data + 4);
      out->push_back(next);
    }
  }
}

std::vector<Resource> Resources(const PeImage &image) {
  uint32_t size = 0;
  uint32_t address = Directory(image, 2, &size);
  if (address == 0)
    throw std::runtime_error("no resource directory");
  std::vector<Resource> all;
  size_t base = Offset(image, address);
  WalkResources(image, base, base, 0, Resource{0, "", 0, "", 0, 0, 0}, &all);
  return all;
}

const Resource *Find(const std::vector<Resource> &all, uint32_t type, uint32_t id,
                     const char *name = nullptr) {
  for (const Resource &r : all)
    if (r.type == type && (name ? r.name == name : (r.name.empty() && r.id == id)))
      return &r;
  return nullptr;
}

enum : uint32_t { RT_ICON = 3, RT_DIALOG = 5, RT_RCDATA = 10, RT_GROUP_ICON = 14, RT_VERSION = 16 };

// Window and control styles, spelled out here rather than taken from a Windows header.
enum : uint32_t {
  WS_POPUP = 0x80000000,
  WS_CHILD = 0x40000000,
  WS_VISIBLE = 0x10000000,
  WS_DISABLED = 0x08000000,
  WS_CAPTION = 0x00C00000,
  WS_BORDER = 0x00800000,
  WS_VSCROLL = 0x00200000,
  WS_SYSMENU = 0x00080000,
  WS_GROUP = 0x00020000,
  WS_TABSTOP = 0x00010000,
  DS_MODALFRAME = 0x80,
  DS_SETFONT = 0x40,
  DS_3DLOOK = 0x04,
  BS_DEFPUSHBUTTON = 0x1,
  BS_AUTOCHECKBOX = 0x3,
  BS_GROUPBOX = 0x7,
  ES_MULTILINE = 0x4,
  ES_AUTOVSCROLL = 0x40,
  ES_AUTOHSCROLL = 0x80,
  ES_OEMCONVERT = 0x400,
  ES_READONLY = 0x800,
  LBS_NOTIFY = 0x1,
  LBS_SORT = 0x2,
  LBS_OWNERDRAWFIXED = 0x10,
  LBS_HASSTRINGS = 0x40,
  LBS_DISABLENOSCROLL = 0x1000,
  CBS_DROPDOWNLIST = 0x3,
  CBS_OWNERDRAWFIXED = 0x10,
  CBS_AUTOHSCROLL = 0x40,
  CBS_SORT = 0x100,
  CBS_HASSTRINGS = 0x200,
};

enum : uint16_t { BUTTON = 0x80, EDIT = 0x81, STATIC = 0x82, LISTBOX = 0x83, COMBOBOX = 0x85 };

struct Control {
  int id;
  uint16_t cls;
  std::string text;
  uint32_t style;
  int x, y, cx, cy;
};

struct Dialog {
  uint32_t style;
  int x, y, cx, cy;
  std::string caption;
  int pointSize;
  std::string font;
  std::vector<Control> controls;
};

// A DLGTEMPLATE (not the extended form): header, menu, class, caption, font, then the
// DWORD-aligned items.
Dialog ParseDialog(const Bytes &b, size_t start) {
  Dialog d;
  size_t at = start;
  d.style = U32(b, at);
  uint16_t count = U16(b, at + 8);
  d.x = static_cast<int16_t>(U16(b, at + 10));
  d.y = static_cast<int16_t>(U16(b, at + 12));
  d.cx = static_cast<int16_t>(U16(b, at + 14));
  d.cy = static_cast<int16_t>(U16(b, at + 16));
  at += 18;
  auto text = [&](std::string *out, uint16_t *ordinal) {
    if (U16(b, at) == 0xFFFF) {
      if (ordinal)
        *ordinal = U16(b, at + 2);
      at += 4;
      return;
    }
    std::string s;
    while (uint16_t c = U16(b, at)) {
      s += static_cast<char>(c);
      at += 2;
    }
    at += 2;
    if (out)
      *out = s;
  };
  std::string ignored;
  text(&ignored, nullptr); // menu
  text(&ignored, nullptr); // class
  text(&d.caption, nullptr);
  if (d.style & DS_SETFONT) {
    d.pointSize = U16(b, at);
    at += 2;
    text(&d.font, nullptr);
  }
  for (uint16_t i = 0; i < count; ++i) {
    at = start + ((at - start + 3) & ~size_t(3));
    Control c;
    c.style = U32(b, at);
    c.x = static_cast<int16_t>(U16(b, at + 8));
    c.y = static_cast<int16_t>(U16(b, at + 10));
    c.cx = static_cast<int16_t>(U16(b, at + 12));
    c.cy = static_cast<int16_t>(U16(b, at + 14));
    c.id = static_cast<int16_t>(U16(b, at + 16));
    at += 18;
    c.cls = 0;
    std::string className;
    text(&className, &c.cls);
    if (c.cls == 0)
      c.cls = 0xFFFF; // a class by name: not what the templates use
    text(&c.text, nullptr);
    uint16_t extra = U16(b, at);
    at += 2 + extra;
    d.controls.push_back(c);
  }
  return d;
}

const uint32_t CHILD = WS_CHILD | WS_VISIBLE;
const uint32_t TEXT = CHILD | WS_GROUP;   // a left-aligned static
const uint32_t PUSH = CHILD | WS_TABSTOP; // BS_PUSHBUTTON is 0
const uint32_t CHECK = CHILD | WS_TABSTOP | BS_AUTOCHECKBOX;
const uint32_t GROUP = CHILD | BS_GROUPBOX;

// The wizard's 31 controls, in template order.
const Control wizardControls[] = {
    {180, STATIC, "Installation of Vorq was successful!", TEXT, 13, 862, 126, 11},
    {181, STATIC,
     "After you close this window, you can run Vorq, connect to the internet, and start "
     "chatting!",
     TEXT, 13, 881, 181, 18},
    {182, STATIC,
     "If you are new to Vorq, you might want to read the first few sections of the Vorq help "
     "file before you start. The sections are short and give a good general introduction.",
     TEXT, 13, 907, 185, 27},
    {183, BUTTON, "&Read Vorq Help file", CHECK, 22, 938, 81, 12},
    {184, BUTTON, "&Launch Vorq", CHECK, 22, 952, 81, 12},
    {185, STATIC, "To end the installation, please click the Finish button.", TEXT, 13, 973, 186,
     11},
    {120, STATIC, "", WS_CHILD | WS_GROUP | WS_BORDER | WS_DISABLED, 187, 10, 21, 20},
    {121, BUTTON, "< &Back", PUSH, 83, 162, 40, 16},
    {1, BUTTON, "&Next >", PUSH | BS_DEFPUSHBUTTON, 127, 162, 40, 16},
    {2, BUTTON, "Cancel", PUSH, 174, 162, 40, 16},
    {130, STATIC,
     "Welcome to the Vorq installation program! This program will install Vorq v5.7 on your "
     "computer.",
     TEXT, 13, 233, 144, 27},
    {131, STATIC,
     "If you have a previous copy of Vorq installed, please make sure that it is not running "
     "during the installation.",
     TEXT, 13, 267, 194, 19},
    {132, STATIC,
     "It is also advised that you close all other applications before installing Vorq.", TEXT, 13,
     294, 196, 20},
    {140, STATIC,
     "Please read the following license agreement before installing Vorq. You can scroll down "
     "to view the rest of the agreement.",
     TEXT, 13, 361, 166, 28},
    {141, EDIT, "",
     CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 11,
     390, 201, 93},
    {142, STATIC,
     "Do you accept the terms of this license agreement? If you do, please click the Yes "
     "button, otherwise click No.",
     TEXT, 13, 487, 187, 20},
    {150, STATIC, "Vorq will be installed into the folder shown below.", TEXT, 13, 565, 172, 10},
    {151, STATIC,
     "If you would like to install Vorq into a different folder, click on browse and select a "
     "new folder.",
     TEXT, 13, 581, 169, 19},
    {154, BUTTON, "Destination folder:", GROUP, 11, 603, 200, 27},
    {152, STATIC, "", TEXT, 17, 615, 156, 9},
    {153, BUTTON, "&Browse", PUSH, 175, 612, 32, 14},
    {155, STATIC, "You can also change the following options:", TEXT, 13, 637, 150, 10},
    {156, BUTTON, "&Make Backups of any existing Vorq files", CHECK, 32, 649, 147, 12},
    {157, BUTTON, "&Keep your existing Vorq settings and ini files", CHECK, 32, 662, 181, 12},
    {158, BUTTON, "&Create Vorq Shortcut icons", CHECK, 32, 675, 105, 12},
    {159, STATIC,
     "Once you're ready to install Vorq, click the Install button to continue, or click Cancel "
     "to exit.",
     TEXT, 22, 692, 173, 17},
    {170, STATIC, "Scanning...", TEXT, 47, 759, 102, 10},
    {171, BUTTON, "", GROUP, 44, 770, 100, 3},
    {172, STATIC, "Install Progress:", TEXT, 47, 776, 72, 10},
    {173, BUTTON, "", GROUP, 44, 786, 107, 18},
    {133, STATIC, "To continue, please click the Next button.", TEXT, 13, 321, 186, 11},
};

const uint32_t LIST = WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED |
                      LBS_HASSTRINGS | LBS_DISABLENOSCROLL;

// The chooser's 15 controls, in template order.
const Control chooserControls[] = {
    {-1, STATIC, "&Install Vorq into this folder:", TEXT, 8, 6, 103, 9},
    {102, EDIT, "", CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 17, 159, 12},
    {1121, LISTBOX, "", CHILD | WS_TABSTOP | LIST, 6, 47, 112, 86},
    {1091, STATIC, "Dri&ves:", TEXT, 8, 132, 37, 9},
    {1137, COMBOBOX, "",
     CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
         CBS_AUTOHSCROLL | CBS_SORT | CBS_HASSTRINGS,
     6, 142, 112, 60},
    {1040, BUTTON, "&Read Only", WS_CHILD | WS_DISABLED | BS_AUTOCHECKBOX, 294, 28, 50, 12},
    {1038, BUTTON, "&Help", WS_CHILD | WS_DISABLED, 295, 50, 50, 14},
    {1090, STATIC, "&Folders:", TEXT, 8, 35, 51, 10},
    {1152, EDIT, "JUNK!", WS_CHILD | WS_DISABLED | WS_BORDER | ES_AUTOHSCROLL | ES_OEMCONVERT, 290,
     77, 77, 12},
    {1120, LISTBOX, "", WS_CHILD | WS_DISABLED | LIST, 288, 99, 81, 66},
    {1089, STATIC, "List Files of &Type:", WS_CHILD | WS_GROUP | WS_DISABLED, 288, 167, 69, 9},
    {1136, COMBOBOX, "",
     WS_CHILD | WS_DISABLED | WS_BORDER | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL, 288, 177,
     82, 32},
    {1088, EDIT, "", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, -78, 252, 516, 12},
    {1, BUTTON, "OK", PUSH, 125, 48, 40, 16},
    {2, BUTTON, "Cancel", PUSH, 125, 69, 40, 16},
};

void ExpectControls(const Dialog &dialog, const Control *expected, size_t count) {
  ASSERT_EQ(dialog.controls.size(), count);
  for (size_t i = 0; i < count; ++i) {
    const Control &want = expected[i];
    const Control &got = dialog.controls[i];
    SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(want.id) + ")");
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.cls, want.cls);
    EXPECT_EQ(got.text, want.text);
    EXPECT_EQ(got.style, want.style) << std::hex << got.style << " vs " << want.style;
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
  }
}

class InstallerImage : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    image = new PeImage(LoadImage());
    resources = new std::vector<Resource>(Resources(*image));
  }
  static void TearDownTestSuite() {
    delete resources;
    delete image;
  }
  static PeImage *image;
  static std::vector<Resource> *resources;
};

PeImage *InstallerImage::image;
std::vector<Resource> *InstallerImage::resources;

TEST_F(InstallerImage, IsA32BitI386GuiProgram) {
  const Bytes &b = image->bytes;
  EXPECT_EQ(U16(b, image->header + 4), 0x014C); // IMAGE_FILE_MACHINE_I386
  EXPECT_EQ(U16(b, image->optional), 0x010B);   // PE32
  EXPECT_EQ(U16(b, image->optional + 68), 2);   // IMAGE_SUBSYSTEM_WINDOWS_GUI
  EXPECT_EQ(U32(b, image->header + 8), 0u) << "a link time stamp makes builds differ";
}

TEST_F(InstallerImage, ExportsTheThreeCallbacksUnderPlainNames) {
  uint32_t size = 0;
  uint32_t address = Directory(*image, 0, &size);
  ASSERT_NE(address, 0u) << "no export directory";
  size_t at = Offset(*image, address);
  uint32_t names = U32(image->bytes, at + 24);
  size_t nameTable = Offset(*image, U32(image->bytes, at + 32));
  std::set<std::string> exported;
  for (uint32_t i = 0; i < names; ++i)
    exported.insert(CString(*image, U32(image->bytes, nameTable + 4 * i)));
  EXPECT_EQ(exported, (std::set<std::string>{"DdeCallback", "FileHook", "MainWndProc"}));
}

TEST_F(InstallerImage, ImportsSystemDllsOnly) {
  const std::set<std::string> system = {"kernel32.dll", "user32.dll",  "gdi32.dll", "comdlg32.dll",
                                        "advapi32.dll", "shell32.dll", "msvcrt.dll"};
  uint32_t size = 0;
  uint32_t address = Directory(*image, 1, &size);
  ASSERT_NE(address, 0u);
  size_t at = Offset(*image, address);
  std::set<std::string> imported;
  for (;; at += 20) {
    uint32_t name = U32(image->bytes, at + 12);
    if (name == 0)
      break;
    imported.insert(Lower(CString(*image, name)));
  }
  EXPECT_FALSE(imported.empty());
  for (const std::string &dll : imported)
    EXPECT_TRUE(system.count(dll)) << dll << " is not a system DLL";
}

TEST_F(InstallerImage, WizardTemplateIsAsTabled) {
  const Resource *r = Find(*resources, RT_DIALOG, 0, "INSTALL_DLG");
  ASSERT_NE(r, nullptr);
  Dialog d = ParseDialog(image->bytes, r->offset);
  EXPECT_EQ(d.style, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
                         DS_3DLOOK);
  EXPECT_EQ(d.x, 33);
  EXPECT_EQ(d.y, 26);
  EXPECT_EQ(d.cx, 222);
  EXPECT_EQ(d.cy, 183);
  EXPECT_EQ(d.caption, "Vorq Installer");
  EXPECT_EQ(d.pointSize, 8);
  EXPECT_EQ(d.font, "MS Sans Serif");
  ExpectControls(d, wizardControls, std::size(wizardControls));
}

TEST_F(InstallerImage, ChooserTemplateIsAsTabled) {
  const Resource *r = Find(*resources, RT_DIALOG, 1537);
  ASSERT_NE(r, nullptr);
  Dialog d = ParseDialog(image->bytes, r->offset);
  EXPECT_EQ(d.style, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK);
  EXPECT_EQ(d.x, 79);
  EXPECT_EQ(d.y, 39);
  EXPECT_EQ(d.cx, 170);
  EXPECT_EQ(d.cy, 163);
  EXPECT_EQ(d.caption, "Vorq Select Folder");
  EXPECT_EQ(d.pointSize, 8);
  EXPECT_EQ(d.font, "MS Sans Serif");
  ExpectControls(d, chooserControls, std::size(chooserControls));
  // The controls the user must not see lie outside the dialog.
  for (const Control &c : d.controls) {
    if (!(c.style & WS_VISIBLE)) {
      EXPECT_TRUE(c.x + c.cx <= 0 || c.x >= d.cx || c.y >= d.cy) << "control " << c.id;
    }
  }
}

TEST_F(InstallerImage, LicenceEndsWithItsMarkerLine) {
  const Resource *r = Find(*resources, RT_RCDATA, 3);
  ASSERT_NE(r, nullptr);
  std::string text(image->bytes.begin() + r->offset, image->bytes.begin() + r->offset + r->size);
  size_t marker = text.find("\r\n***");
  ASSERT_NE(marker, std::string::npos);
  EXPECT_GT(marker, 200u) << "the licence says something before its end marker";
  EXPECT_EQ(text.substr(marker + 2), "***\r\n");
  // Every line ends with CR LF.
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
    }
  }
}

TEST_F(InstallerImage, PayloadIsLanguageNeutralRcdata4) {
  const Resource *r = Find(*resources, RT_RCDATA, 4);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->language, 0u);
  Bytes payload = ReadFile(VORQ_PAYLOAD_FILE);
  ASSERT_FALSE(payload.empty());
  ASSERT_EQ(r->size, payload.size());
  EXPECT_TRUE(std::equal(payload.begin(), payload.end(), image->bytes.begin() + r->offset));
}

TEST_F(InstallerImage, IconsAre32By32In16Colours) {
  for (uint32_t id : {1u, 2u}) {
    SCOPED_TRACE("icon " + std::to_string(id));
    const Resource *group = Find(*resources, RT_GROUP_ICON, id);
    ASSERT_NE(group, nullptr);
    const Bytes &b = image->bytes;
    ASSERT_EQ(U16(b, group->offset + 2), 1); // an icon group
    ASSERT_EQ(U16(b, group->offset + 4), 1); // with one image
    size_t entry = group->offset + 6;
    EXPECT_EQ(b[entry], 32);
    EXPECT_EQ(b[entry + 1], 32);
    EXPECT_EQ(b[entry + 2], 16);
    EXPECT_EQ(U16(b, entry + 6), 4);
    const Resource *icon = Find(*resources, RT_ICON, U16(b, entry + 12));
    ASSERT_NE(icon, nullptr);
    // The image itself: a BITMAPINFOHEADER with the AND mask doubling the height.
    EXPECT_EQ(U32(b, icon->offset), 40u);
    EXPECT_EQ(U32(b, icon->offset + 4), 32u);
    EXPECT_EQ(U32(b, icon->offset + 8), 64u);
    EXPECT_EQ(U16(b, icon->offset + 14), 4);
  }
}

TEST_F(InstallerImage, VersionBlockNames5710AndTheDescription) {
  const Resource *r = Find(*resources, RT_VERSION, 1);
  ASSERT_NE(r, nullptr);
  const Bytes &b = image->bytes;
  // VS_VERSIONINFO: header, L"VS_VERSION_INFO", padding, then VS_FIXEDFILEINFO.
  size_t fixed = r->offset + 6 + 2 * 16;
  fixed = r->offset + ((fixed - r->offset + 3) & ~size_t(3));
  ASSERT_EQ(U32(b, fixed), 0xFEEF04BDu);
  EXPECT_EQ(U32(b, fixed + 8), 0x00050007u);  // file version 5.7
  EXPECT_EQ(U32(b, fixed + 12), 0x00010000u); // .1.0
  EXPECT_EQ(U32(b, fixed + 16), 0x00050007u); // product version 5.7
  EXPECT_EQ(U32(b, fixed + 20), 0x00010000u); // .1.0
  // The string table holds FileDescription = "Vorq Installer", as UTF-16.
  std::string wide;
  for (size_t i = r->offset; i + 1 < r->offset + r->size; i += 2)
    wide += static_cast<char>(b[i + 1] == 0 && b[i] != 0 ? b[i] : '\1');
  size_t key = wide.find("FileDescription");
  ASSERT_NE(key, std::string::npos);
  EXPECT_NE(wide.find("Vorq Installer", key), std::string::npos);
  EXPECT_LT(wide.find("Vorq Installer", key), key + 24);
}

} // namespace
