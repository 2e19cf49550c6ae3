// The skin gallery under Wine, as a skin author uses it: a skin folder opened and followed while
// one of its bitmaps is rewritten (whole, and in two halves that must never show), a damaged skin
// refused with its reason while the skin on show stays, About as a skinned system message box,
// and a system dialog whose buttons the skin draws.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../Win32TestSupport.h"
#include "framework/Handles.h"
#include "framework/Menus.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/SkinMessages.h"
#include "skin/render/FormSkin_core.h"
#include "skin/file/Bmp.h"
#include "tools/skingallery/GalleryForm.h"
#include "tools/skingallery/SampleDialog.h"
#include "util/Geometry.h"

using namespace zelvo;
using namespace zelvo::gallery;
using namespace zelvo::test;

namespace {

// The bitmap with every opaque pixel in one colour.
TByteVector Recoloured(const TByteVector& bmp, TPixel colour) {
  TBitmap32 image = ReadBmp(bmp);
  for (TPixel& p : image.MutablePixels()) {
    if (p != kMagenta) p = colour;
  }
  return WriteBmp24(image);
}

// Lets the application run until `done` holds or the limit passes; the milliseconds it took, or -1.
int WaitFor(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > kWaitLimitMs) return -1;
    Pump(20);
  }
  return static_cast<int>(GetTickCount() - start);
}

COLORREF Rgb(TPixel p) { return RGB(PixelRed(p), PixelGreen(p), PixelBlue(p)); }

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// What the screen shows of a window (window coordinates, frame included): the window's pixels
// as they were last painted, not drawn anew for the asking.
COLORREF OnScreen(HWND w, int x, int y) {
  const WindowDC dc = WindowDC::Whole(w);
  return GetPixel(dc.Get(), x, y);
}

// The share of the pixels of a part of a window that show the colour on the screen.
double ShareOnScreen(HWND w, const TRectI& part, COLORREF colour) {
  const WindowDC dc = WindowDC::Whole(w);
  int in = 0;
  for (int y = part.top; y < part.bottom; ++y)
    for (int x = part.left; x < part.right; ++x) in += GetPixel(dc.Get(), x, y) == colour;
  const int all = part.Width() * part.Height();
  return all > 0 ? static_cast<double>(in) / all : 0.0;
}

class GalleryTest : public testing::Test {
 protected:
  void SetUp() override {
    DestroySkinManager();
    UseSkinManage();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "zelvo_gallery_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    // The program's skin sources, through Wine's drive for "/".
    std::string sources = std::string("Z:") + ZELVO_SOURCE_DIR + "/resources/skin/";
    for (char& c : sources)
      if (c == '/') c = '\\';
    WIN32_FIND_DATAA f;
    UniqueFindHandle find(FindFirstFileA((sources + "*").c_str(), &f));
    ASSERT_TRUE(find) << sources;
    do {
      if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ASSERT_TRUE(CopyFileA((sources + f.cFileName).c_str(), (folder + "\\" + f.cFileName).c_str(), FALSE));
      }
    } while (FindNextFileA(find.Get(), &f));
    gallery = std::make_unique<TGalleryForm>(nullptr, "", false);
    gallery->Show();
    ASSERT_GE(WaitFor([&] { return SendMessageA(gallery->Handle(), SKIN_QUERY, 0, 0) == 1; }), 0);
  }
  void TearDown() override {
    DestroySkinManager();
    gallery.reset();
    WIN32_FIND_DATAA f;
    UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &f));
    if (find) {
      do {
        DeleteFileA((folder + "\\" + f.cFileName).c_str());
      } while (FindNextFileA(find.Get(), &f));
    }
    find.Reset();
    RemoveDirectoryA(folder.c_str());
  }

  std::string Title() const {
    char text[512] = "";
    GetWindowTextA(gallery->Handle(), text, sizeof text);
    return text;
  }
  // Whether the screen shows the colour on the window's left frame side, half-way down.
  bool LeftSideShows(TPixel colour) const {
    const RECT r = WindowRectOf(gallery->Handle());
    for (int x = 0; x < 8; ++x) {
      if (OnScreen(gallery->Handle(), x, (r.bottom - r.top) / 2) == Rgb(colour)) return true;
    }
    return false;
  }
  // Whether most of the push button shows the colour on the screen.
  bool ButtonShows(TPixel colour) const {
    HWND button = gallery->Find<TWinControl>("PushButton")->Handle();
    const RECT r = WindowRectOf(button);
    return ShareOnScreen(button, TRectI{0, 0, r.right - r.left, r.bottom - r.top}, Rgb(colour)) > 0.5;
  }

  std::string folder;
  std::unique_ptr<TGalleryForm> gallery;
};

constexpr TPixel kFirst = MakePixel(10, 200, 30), kSecond = MakePixel(200, 30, 110);

TEST_F(GalleryTest, AFolderIsFollowedAsItsBitmapsAreSavedAndABrokenSkinIsRefused) {
  ASSERT_TRUE(gallery->OpenSkin(folder + "\\skin.ini")) << "a description stands for its folder";
  EXPECT_TRUE(gallery->Watching());
  EXPECT_EQ(gallery->Shown().Path, folder);
  EXPECT_TRUE(gallery->Shown().Folder);
  const std::string title = std::string(kGalleryTitle) + " - " + PathName(folder);
  EXPECT_EQ(Title(), title);
  EXPECT_EQ(gallery->StatusText(0), "No problems");
  const std::string side = folder + "\\frame_left.bmp", button = folder + "\\button.bmp";
  const TByteVector original = ReadFileBytes(side);
  ASSERT_FALSE(LeftSideShows(kFirst));
  ASSERT_FALSE(ButtonShows(kFirst));

  // Saved whole: the frame and the controls on the screen follow.
  ASSERT_TRUE(WriteFileBytes(button, Recoloured(ReadFileBytes(button), kFirst)));
  ASSERT_TRUE(WriteFileBytes(side, Recoloured(original, kFirst)));
  const int followed = WaitFor([&] { return LeftSideShows(kFirst) && ButtonShows(kFirst); });
  ASSERT_GE(followed, 0) << "frame " << LeftSideShows(kFirst) << ", button " << ButtonShows(kFirst)
                         << "; status: " << gallery->StatusText(2);
  std::printf("The screen followed the saved bitmaps after %d ms\n", followed);
  EXPECT_EQ(gallery->StatusText(0), "No problems");

  // Saved in two halves with a pause between: the first half never shows, nor does the frame
  // lose the side it had; once the rest is written, the new side shows.
  const TByteVector second = Recoloured(original, kSecond);
  ASSERT_TRUE(WriteFileBytes(side, TByteSpan(second.data(), second.size() / 2)));
  const DWORD halfWritten = GetTickCount();
  while (GetTickCount() - halfWritten < 1200) {
    Pump(50);
    ASSERT_TRUE(LeftSideShows(kFirst)) << "after " << GetTickCount() - halfWritten << " ms of a half-written bitmap";
  }
  ASSERT_TRUE(WriteFileBytes(side, second));
  EXPECT_GE(WaitFor([&] { return LeftSideShows(kSecond); }), 0) << gallery->StatusText(2);
  EXPECT_EQ(gallery->StatusText(0), "No problems");

  // A damaged skin file is refused in a skinned message box that names it and says why; the
  // folder stays on show and followed.
  const std::string broken = folder + "\\broken.skn";
  ASSERT_TRUE(WriteFileBytes(broken, TByteVector(40, 0x5A)));
  std::string text;
  LRESULT skinned = 0;
  bool opened = true;
  const bool seen = WithSystemDialog(
      [&] { opened = gallery->OpenSkin(broken); },
      [&](HWND box) {
        skinned = SendMessageA(box, SKIN_QUERY, 0, 0);
        char buffer[2048] = "";
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        text = buffer;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      kGalleryTitle);
  ASSERT_TRUE(seen);
  EXPECT_FALSE(opened);
  EXPECT_EQ(skinned, 1);
  EXPECT_NE(text.find(broken + ": "), std::string::npos) << text;
  EXPECT_NE(text.find("keeps the skin"), std::string::npos) << text;
  EXPECT_EQ(Title(), title);
  EXPECT_TRUE(gallery->Watching());
  Pump(400);
  EXPECT_TRUE(LeftSideShows(kSecond));
}

// A popup menu open while a bitmap of the folder is saved: the system runs the menu's own loop
// meanwhile, and the change still reaches the gallery, which re-skins the open menu.
struct TOpenMenuProbe {
  std::function<void()> save;
  bool saved = false;
  HWND menu = nullptr;
  double before = 0, after = 0;
  DWORD savedAt = 0;
  int followedMs = -1;
};
TOpenMenuProbe* g_probe = nullptr;

BOOL CALLBACK FindMenuWindow(HWND h, LPARAM found) {
  char cls[16] = "";
  GetClassNameA(h, cls, sizeof cls);
  if (std::string(cls) != "#32768" || !IsWindowVisible(h)) return TRUE;
  *reinterpret_cast<HWND*>(found) = h;
  return FALSE;
}

// The share of the menu's border that shows the colour on the screen.
double MenuBorderShare(HWND menu, COLORREF colour) {
  const RECT r = WindowRectOf(menu);
  double share = 0;
  for (const TRectI& strip : PopupMenuBorderRects(r.right - r.left, r.bottom - r.top))
    share += ShareOnScreen(menu, strip, colour) / 4;
  return share;
}

void CALLBACK ProbeOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  TOpenMenuProbe& p = *g_probe;
  if (!p.menu) {
    EnumThreadWindows(GetCurrentThreadId(), &FindMenuWindow, reinterpret_cast<LPARAM>(&p.menu));
    return;
  }
  if (!p.saved) {
    p.before = MenuBorderShare(p.menu, Rgb(kFirst));
    p.save();
    p.saved = true;
    p.savedAt = GetTickCount();
    return;
  }
  p.after = MenuBorderShare(p.menu, Rgb(kFirst));
  const int waited = static_cast<int>(GetTickCount() - p.savedAt);
  if (p.after > 0.9 || waited > 10000) {
    if (p.after > 0.9) p.followedMs = waited;
    KillTimer(nullptr, id);
    EndMenu();
  }
}

TEST_F(GalleryTest, AnOpenPopupMenuFollowsTheSavedSkin) {
  ASSERT_TRUE(gallery->OpenSkin(folder));
  Pump(500);
  const std::string background = folder + "\\menu_background.bmp";
  TOpenMenuProbe probe;
  probe.save = [&] { WriteFileBytes(background, Recoloured(ReadFileBytes(background), kFirst)); };
  g_probe = &probe;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &ProbeOpenMenu);
  const RECT r = WindowRectOf(gallery->Handle());
  gallery->Popup().Popup(r.left + 100, r.top + 100);  // returns when the menu closes
  KillTimer(nullptr, timer);
  g_probe = nullptr;
  ASSERT_NE(probe.menu, nullptr) << "the popup menu never showed";
  ASSERT_TRUE(probe.saved);
  EXPECT_LT(probe.before, 0.1);
  EXPECT_GE(probe.followedMs, 0) << "the open menu's border shows " << probe.after << " of the saved colour";
  std::printf("The open popup menu followed the saved bitmap after %d ms\n", probe.followedMs);
}

// About is the system's message box (a "#32770" window), skinned as every dialog of the process.
TEST_F(GalleryTest, AboutIsASkinnedSystemMessageBox) {
  char cls[16] = "";
  LRESULT skinned = 0;
  const bool seen = WithSystemDialog([&] { gallery->ShowAbout(); },
                                     [&](HWND box) {
                                       GetClassNameA(box, cls, sizeof cls);
                                       skinned = SendMessageA(box, SKIN_QUERY, 0, 0);
                                       PostMessageA(box, WM_COMMAND, IDOK, 0);
                                     },
                                     "About the gallery");
  ASSERT_TRUE(seen);
  EXPECT_STREQ(cls, "#32770");
  EXPECT_EQ(skinned, 1);
}

// The share of a control's pixels in the colours of one of the skin's images.
double ShareInColours(const TPrinted& shot, const TBitmap32& image) {
  std::vector<COLORREF> colours;
  for (TPixel p : image.Pixels()) colours.push_back(RGB(PixelRed(p), PixelGreen(p), PixelBlue(p)));
  int in = 0;
  for (COLORREF c : shot.pixels) in += std::find(colours.begin(), colours.end(), c) != colours.end();
  return shot.pixels.empty() ? 0.0 : static_cast<double>(in) / static_cast<double>(shot.pixels.size());
}

// The system dialog's buttons are drawn from the skin's button image through the path for
// windows the program did not make; the dialog itself is skinned.
TEST_F(GalleryTest, TheSystemDialogsButtonsAreSkinned) {
  const TBitmap32& buttons = gallery->SkinData().Skin().Buttons.Image;
  ASSERT_FALSE(buttons.Empty());
  LRESULT skinned = 0;
  double ok = 0, cancel = 0;
  const bool seen = WithSystemDialog([&] { gallery->ShowSystemDialog(); },
                                     [&](HWND dialog) {
                                       skinned = SendMessageA(dialog, SKIN_QUERY, 0, 0);
                                       Pump(300);
                                       auto share = [&](int id) {
                                         HWND button = GetDlgItem(dialog, id);
                                         return ShareInColours(PrintWindowPixels(button, WM_PRINTCLIENT, PRF_CLIENT),
                                                               buttons);
                                       };
                                       ok = share(IDOK);
                                       cancel = share(IDCANCEL);
                                       PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                                     },
                                     kSampleDialogTitle);
  ASSERT_TRUE(seen);
  EXPECT_EQ(skinned, 1);
  EXPECT_GT(ok, 0.7);
  EXPECT_GT(cancel, 0.7);
}

}  // namespace
