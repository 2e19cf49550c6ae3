// Menu items of framework menus drawn by the skin on a skinned form: a popup menu's items are
// measured wider by the skin's rule and drawn from the MenuItem picture and the skin's colours,
// an item that draws itself keeps its handler, detaching gives everything back; main-menu items
// are measured by the main-menu rule with their own measure handler left out; a disabled item of
// a skin whose ButtonShadow equals MenuText is drawn in the system button-shadow colour.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "ProgramSkinTest.h"
#include "skin/file/Bmp.h"
#include "skin/engine/FormSkin.h"
#include "skin/engine/MenuSkin.h"
#include "skin/render/MenuSkin_core.h"
#include "skin/render/NinePart.h"
#include "skin/engine/SkinManage.h"
#include "skin/file/SkinRead.h"

using namespace zelvo;

using zelvo::test::ProgramSkinTest;

namespace {

COLORREF Rgb(TPixel p) { return RGB(PixelRed(p), PixelGreen(p), PixelBlue(p)); }

// An item drawn through the form's WM_DRAWITEM into a memory DIB, read back.
struct ItemShot {
  int w = 0, h = 0;
  std::vector<COLORREF> px;
  COLORREF At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  int Count(COLORREF c) const {
    int n = 0;
    for (COLORREF p : px) n += p == c;
    return n;
  }
};
ItemShot DrawThrough(HWND window, const TMenuItem& item, int w, int h, bool selected) {
  ItemShot s{w, h, {}};
  HDC mem = CreateCompatibleDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  RECT all{0, 0, w, h};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  DRAWITEMSTRUCT dis{ODT_MENU, 0, item.Command(), ODA_DRAWENTIRE, selected ? static_cast<UINT>(ODS_SELECTED) : 0u,
                     nullptr, mem, {0, 0, w, h}, item.Command()};
  EXPECT_TRUE(SendMessageA(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
  s.px.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.px[static_cast<size_t>(y) * w + x] = GetPixel(mem, x, y);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  return s;
}

int MeasuredWidth(HWND window, const TMenuItem& item) {
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.Command(), 0, 0, item.Command()};
  EXPECT_TRUE(SendMessageA(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
  return static_cast<int>(mis.itemWidth);
}

class MenuSkinTest : public ProgramSkinTest {
 protected:
  void SetUp() override {
    ProgramSkinTest::SetUp();
    if (HasFatalFailure()) return;
    form = std::make_unique<TForm>(nullptr);
    form->BorderStyle = TFormBorderStyle::bsSingle;
    form->SetBounds(60, 60, 300, 200);
  }
  void TearDown() override {
    form.reset();
    ProgramSkinTest::TearDown();
  }
  std::unique_ptr<TForm> form;
};

// The colours of row `y` of a frame's top edge between the fixed corners (stretched along the
// item, never up or down).
std::vector<COLORREF> TopEdgeColours(const TDataSkinObject& e, int frame, int y) {
  TRectI c = FrameCell(e.Image, 5, frame, false);
  std::vector<COLORREF> out;
  for (int x = c.left + e.LeftWidth; x < c.right - e.RightWidth; ++x)
    if (e.Image.At(x, c.top + y) != kMagenta) out.push_back(Rgb(e.Image.At(x, c.top + y)));
  return out;
}

}  // namespace

TEST_F(MenuSkinTest, PopupMenuItemsMeasuredAndDrawnFromTheSkin) {
  auto* popup = form->Create<TPopupMenu>();
  TMenuItem* open = popup->Items()->Add("&Open");
  open->ShortCut = MakeShortCut('O', scCtrl);
  TMenuItem* line = popup->Items()->Add("-");
  TMenuItem* sub = popup->Items()->Add("More");
  TMenuItem* deep = sub->Add("Deeper");
  sub->OnMeasureItem = [](TMenuItem&, HDC, int&, int&) {};  // its own measuring, given back on detach
  TMenuItem* own = popup->Items()->Add("Own");
  int ownDraws = 0;
  own->OnDrawItem = [&](TMenuItem&, HDC, const RECT&, bool) { ++ownDraws; };
  form->Show();
  HWND h = form->Handle();
  const int plainOpen = MeasuredWidth(h, *open);

  TFormSkin fs(*manager, h, *data, form.get());
  fs.Attach();
  ASSERT_TRUE(popup->OwnerDraw);
  EXPECT_TRUE(deep->OnDrawItem) << "items of submenus too";
  const TDataSkinObject* entry = data->Skin().MenuItem.get();
  ASSERT_TRUE(entry && !entry->Image.Empty());
  // No image list: 35 wider, plus the entry's LeftWidth.
  EXPECT_EQ(MeasuredWidth(h, *open), plainOpen + 35 + entry->LeftWidth);

  // The MenuItem picture's frame 1 (transparent in this skin: the Menu colour shows, there being
  // no popup window behind a memory DC), frame 4 when selected; the caption in MenuText,
  // HilightText when selected; the Ctrl+O shortcut's ink ends before the 11-pixel margin.
  const int w = 180, ih = 22;
  ASSERT_GT(entry->TopHeight, 1);
  for (bool selected : {false, true}) {
    ItemShot s = DrawThrough(h, *open, w, ih, selected);
    std::vector<COLORREF> edge = TopEdgeColours(*entry, selected ? 4 : 1, 1);
    if (edge.empty()) edge.push_back(ColorToRGB(data->Colours().Menu));
    EXPECT_NE(std::find(edge.begin(), edge.end(), s.At(w / 2, 1)), edge.end()) << "selected " << selected;
    COLORREF ink = ColorToRGB(selected ? data->Colours().HilightText : data->Colours().MenuText);
    int rightmost = -1;
    for (int y = 0; y < ih; ++y)
      for (int x = 0; x < w; ++x)
        if (s.At(x, y) == ink) rightmost = std::max(rightmost, x);
    EXPECT_GE(rightmost, w - 11 - 4) << "the shortcut is right-aligned";
    EXPECT_LT(rightmost, w - 11);
  }
  // The separator: no caption ink, and the picture's second frame in its bottom rows.
  ItemShot sep = DrawThrough(h, *line, w, 8, false);
  EXPECT_EQ(sep.Count(ColorToRGB(data->Colours().MenuText)), 0);
  // Row 4 of an 8-pixel separator is row ih - 4 of the second frame (no vertical stretching).
  const int fw = entry->Image.Width / 5;
  const int sx = fw + entry->LeftWidth, sy = entry->Image.Height - 4;
  if (entry->Image.Height >= 8 && entry->Image.At(sx, sy) != kMagenta) {
    EXPECT_EQ(sep.At(entry->LeftWidth, 4), Rgb(entry->Image.At(sx, sy)));
  }

  // The item with its own drawing keeps it.
  DrawThrough(h, *own, w, ih, false);
  EXPECT_EQ(ownDraws, 1);

  fs.Detach();
  EXPECT_FALSE(popup->OwnerDraw);
  EXPECT_FALSE(open->OnDrawItem);
  EXPECT_FALSE(deep->OnMeasureItem);
  EXPECT_TRUE(own->OnDrawItem);
  EXPECT_TRUE(sub->OnMeasureItem);
  EXPECT_FALSE(sub->OnDrawItem);
  EXPECT_EQ(MeasuredWidth(h, *open), plainOpen);
  form->Hide();
}

// Main-menu items: the bar's entries stay the system's, their submenu items are owner-drawn and
// measured by the main-menu rule, the item's own measure handler switched off for the call and
// back afterwards.
TEST_F(MenuSkinTest, MainMenuItemsMeasuredByTheMainMenuRule) {
  auto* menu = form->Create<TMainMenu>();
  form->Menu = menu;
  TMenuItem* file = menu->Items()->Add("&File");
  TMenuItem* exit = file->Add("E&xit");
  int ownMeasures = 0;
  exit->OnMeasureItem = [&](TMenuItem&, HDC, int& width, int&) {
    ++ownMeasures;
    width += 1000;
  };
  form->Show();
  HWND h = form->Handle();
  ASSERT_EQ(GetMenu(h), menu->Handle());

  // The framework's own measuring, without the handler.
  int plain = 0, height = 0;
  {
    TMenuMeasureItemEvent saved = exit->OnMeasureItem;
    exit->OnMeasureItem = nullptr;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, SkinMenuFont());
    exit->MeasureItem(screen, plain, height);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    exit->OnMeasureItem = saved;
  }

  TFormSkin fs(*manager, h, *data, form.get());
  fs.Attach();
  auto ownerDrawn = [](HMENU m, int pos) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(m, static_cast<UINT>(pos), TRUE, &mi);
    return (mi.fType & MFT_OWNERDRAW) != 0;
  };
  HMENU bar = menu->Handle();
  EXPECT_FALSE(ownerDrawn(bar, 0)) << "the bar's entries";
  EXPECT_TRUE(ownerDrawn(GetSubMenu(bar, 0), 0));
  EXPECT_EQ(MeasuredWidth(h, *exit), plain + 35 + data->Skin().MenuItem->LeftWidth);
  EXPECT_EQ(ownMeasures, 0);
  EXPECT_TRUE(exit->OnMeasureItem) << "the item's handler is back";
  ItemShot s = DrawThrough(h, *exit, 160, 22, false);
  EXPECT_GT(s.Count(ColorToRGB(data->Colours().MenuText)), 0);

  fs.Detach();
  EXPECT_FALSE(ownerDrawn(GetSubMenu(menu->Handle(), 0), 0));
  form->Hide();
}

// A skin whose ButtonShadow equals its MenuText: a disabled item would look enabled in it, so it
// is drawn in the system button-shadow colour instead. Without a MenuItem entry the item lies on
// the Menu colour.
TEST_F(MenuSkinTest, DisabledItemFallsBackToTheSystemShadowColour) {
  TSkinWriter writer;
  auto bytes = [](std::string_view t) { return TByteVector(t.begin(), t.end()); };
  writer.Add("Grey.ini", bytes("[TitlebarSkin]\r\nSkinName=Grey\r\n"
                               "[Personality]\r\nLeft=left.bmp\r\nLeftFrame=2\r\n"
                               "[Colours]\r\nMenu=250 250 240\r\nMenuText=90 90 90\r\nButtonShadow=90 90 90\r\n"));
  writer.Add("left.bmp", WriteBmp24(TBitmap32(8, 4, MakePixel(0, 0, 255))));
  TByteVector container = writer.Container();
  TByteVector stream(4);
  const uint32_t n = static_cast<uint32_t>(container.size());
  for (int i = 0; i < 4; ++i) stream[static_cast<size_t>(i)] = static_cast<uint8_t>(n >> (8 * i));
  stream.insert(stream.end(), container.begin(), container.end());
  TSkinData grey(nullptr);
  grey.ReadSkinStream(stream);
  ASSERT_FALSE(grey.SkinEmpty());
  ASSERT_EQ(grey.Skin().MenuItem, nullptr);
  ASSERT_NE(GetSysColor(COLOR_BTNSHADOW), RGB(90, 90, 90));

  auto* popup = form->Create<TPopupMenu>();
  TMenuItem* on = popup->Items()->Add("Enabled item");
  TMenuItem* off = popup->Items()->Add("Disabled item");
  off->Enabled = false;
  form->Show();
  TFormSkin fs(*manager, form->Handle(), grey, form.get());
  fs.Attach();
  ItemShot enabled = DrawThrough(form->Handle(), *on, 160, 22, false);
  ItemShot disabled = DrawThrough(form->Handle(), *off, 160, 22, false);
  EXPECT_EQ(enabled.At(0, 0), RGB(250, 250, 240)) << "the Menu colour";
  EXPECT_GT(enabled.Count(RGB(90, 90, 90)), 10);
  EXPECT_EQ(disabled.Count(RGB(90, 90, 90)), 0);
  EXPECT_GT(disabled.Count(GetSysColor(COLOR_BTNSHADOW)), 10);
  fs.Detach();
  form->Hide();
}

// An owner-drawn item of a menu the framework did not build, drawn from what its menu says:
// caption and shortcut split at the tab; in a right-to-left menu the glyph box stands against the
// right edge, the caption ends 3 pixels before it and the shortcut starts 11 pixels in.
TEST_F(MenuSkinTest, ForeignItemRebuiltFromItsMenuAndMirrored) {
  const TDataSkinObject* entry = data->Skin().MenuItem.get();
  ASSERT_NE(entry, nullptr);
  const int lw = entry->LeftWidth;
  const int w = 200, ih = 22;
  const COLORREF ink = ColorToRGB(data->Colours().MenuText);
  for (bool rtl : {false, true}) {
    HMENU menu = CreatePopupMenu();
    char text[] = "Open\tCtrl+O";
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    mi.fType = MFT_OWNERDRAW | (rtl ? MFT_RIGHTORDER : 0);
    mi.wID = 77;
    mi.dwTypeData = text;
    ASSERT_TRUE(InsertMenuItemA(menu, 0, TRUE, &mi));
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -ih, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    DRAWITEMSTRUCT dis{ODT_MENU, 0, 77, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(menu), mem, {0, 0, w, ih}, 0};
    ASSERT_TRUE(DrawSkinnedForeignItem(*data, dis));
    int left = w, right = -1;
    for (int y = 0; y < ih; ++y)
      for (int x = 0; x < w; ++x)
        if (GetPixel(mem, x, y) == ink) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    DestroyMenu(menu);
    const int glyphRight = 1 + lw + 16;  // left-to-right glyph box: 1 + LeftWidth, 16 wide
    if (rtl) {
      EXPECT_GE(left, 11) << "the shortcut starts 11 pixels in";
      EXPECT_LE(left, 11 + 3);
      EXPECT_LT(right, w - glyphRight - 3 + 1) << "the caption ends 3 pixels before the glyph box";
      EXPECT_GE(right, w - glyphRight - 3 - 4);
    } else {
      EXPECT_GE(left, glyphRight + 3) << "the caption starts 3 pixels after the glyph box";
      EXPECT_LE(left, glyphRight + 3 + 3);
      EXPECT_LT(right, w - 11) << "the shortcut ends 11 pixels before the edge";
      EXPECT_GE(right, w - 11 - 4);
    }
  }
}
