// The common-control skins on real controls under Wine: status-bar panels, tabs with the selected
// and hot frames, the track-bar channel and thumb, header sections (sorted and hot) and a list
// view handing its header to a header skin; the form skin's walk finds them by class.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ProgramSkinTest.h"
#include "../Win32TestSupport.h"
#include "skin/engine/ControlSkinsLists.h"
#include "skin/engine/FormSkin.h"
#include "skin/render/NinePart.h"
#include "skin/engine/SkinManage.h"

using namespace zelvo;
using zelvo::test::PrintWindowPixels;
using zelvo::test::TPrinted;

using zelvo::test::ProgramSkinTest;

namespace {

constexpr char kHostClass[] = "ZelvoListSkinsHost";

HWND MakeHost() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);
    registered = true;
  }
  return CreateWindowExA(0, kHostClass, "Lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 300, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

COLORREF Rgb(TPixel p) { return RGB(PixelRed(p), PixelGreen(p), PixelBlue(p)); }

// What the control draws for WM_PRINTCLIENT, read back.
TPrinted Print(HWND h) { return PrintWindowPixels(h, WM_PRINTCLIENT, PRF_CLIENT); }

// A point of the entry's fixed left corners (top-left, then bottom-left) where the two frames
// differ and neither is magenta: the pixel drawn there in a part tells which frame it shows.
struct Probe {
  int x = -1, y = -1;  // in the frame cell
  bool bottom = false;
  // Where the point lands in a part drawn over `r` (corners are copied, never stretched).
  int At(int left, int top, int bottomEdge, int imageHeight, int* py) const {
    *py = bottom ? bottomEdge - (imageHeight - y) : top + y;
    return left + x;
  }
};
Probe CornerProbe(const TDataSkinObject& e, int frames, int a, int b) {
  TRectI ca = FrameCell(e.Image, frames, a, false), cb = FrameCell(e.Image, frames, b, false);
  const int h = e.Image.Height;
  for (bool bottom : {false, true}) {
    const int rows = bottom ? e.BottomHeight : std::max(1, e.TopHeight);
    for (int r = 0; r < rows; ++r)
      for (int x = 0; x < std::max(1, e.LeftWidth); ++x) {
        const int y = bottom ? h - 1 - r : r;
        TPixel pa = e.Image.At(ca.left + x, y), pb = e.Image.At(cb.left + x, y);
        if (pa != kMagenta && pb != kMagenta && pa != pb) return {x, y, bottom};
      }
  }
  return {};
}
COLORREF FramePixel(const TDataSkinObject& e, int frames, int frame, Probe p) {
  TRectI c = FrameCell(e.Image, frames, frame, false);
  return Rgb(e.Image.At(c.left + p.x, c.top + p.y));
}
// The drawn pixel at the probe of a part drawn over (left, top)-(.., bottom).
COLORREF DrawnAt(const TPrinted& s, const TDataSkinObject& e, Probe p, int left, int top, int bottom) {
  int y = 0;
  const int x = p.At(left, top, bottom, e.Image.Height, &y);
  return s.At(x, y);
}

class ListSkinsTest : public ProgramSkinTest {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    ProgramSkinTest::SetUp();
    if (HasFatalFailure()) return;
    host = MakeHost();
  }
  void TearDown() override {
    skins.clear();
    if (IsWindow(host)) DestroyWindow(host);
    ProgramSkinTest::TearDown();
  }
  HWND Child(const char* cls, DWORD style, int x, int y, int w, int h) {
    HWND c = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, host, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
  }
  template <class T>
  T& Attach(HWND h) {
    auto s = std::make_unique<T>();
    s->AttachHandle(h, *data, nullptr);
    T& ref = *s;
    skins.push_back(std::move(s));
    return ref;
  }
  std::vector<std::unique_ptr<TSkinControl>> skins;
  HWND host = nullptr;
};

}  // namespace

// Panels over the bar: frame 2, the last one frame 3; texts in ButtonText.
TEST_F(ListSkinsTest, StatusBarPanelsAndText) {
  HWND bar = Child(STATUSCLASSNAMEA, SBARS_SIZEGRIP, 0, 0, 0, 0);
  int parts[] = {120, 240, -1};
  SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Ready"));
  SendMessageA(bar, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("Last"));
  Attach<TSkinStatusBar>(bar);
  const TDataSkinObject& e = *data->Skin().StatusBarEdges;
  Probe p = CornerProbe(e, 3, 2, 3);
  ASSERT_GE(p.x, 0);
  TPrinted s = Print(bar);
  RECT first{}, last{};
  SendMessageA(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
  SendMessageA(bar, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&last));
  EXPECT_EQ(DrawnAt(s, e, p, first.left, first.top, first.bottom), FramePixel(e, 3, 2, p));
  EXPECT_EQ(DrawnAt(s, e, p, last.left, last.top, last.bottom), FramePixel(e, 3, 3, p));
  int ink = 0;
  for (int y = first.top; y < first.bottom; ++y)
    for (int x = first.left; x < first.right; ++x) ink += s.At(x, y) == ColorToRGB(data->Colours().ButtonText);
  EXPECT_GT(ink, 5) << "the first panel's text";
}

// The selected tab shows frame 2 (raised by 2 pixels), the others frame 1, and the tab under the
// mouse frame 4 until the mouse leaves.
TEST_F(ListSkinsTest, TabsSelectedAndHot) {
  HWND tab = Child(WC_TABCONTROLA, 0, 10, 10, 360, 160);
  const char* names[] = {"First", "Second", "Third"};
  for (int i = 0; i < 3; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(names[i]);
    SendMessageA(tab, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(tab, TCM_SETCURSEL, 1, 0);
  auto& skin = Attach<TSkinTab>(tab);
  const TDataSkinBorder& e = *data->Skin().Tabs;
  RECT r0{}, r1{}, r2{};
  SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r0));
  SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r1));
  SendMessageA(tab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r2));
  Probe p = CornerProbe(e, 5, 1, 2);
  ASSERT_GE(p.x, 0);
  TPrinted s = Print(tab);
  EXPECT_EQ(DrawnAt(s, e, p, r0.left, r0.top, r0.bottom), FramePixel(e, 5, 1, p));
  EXPECT_EQ(DrawnAt(s, e, p, r1.left - 2, std::max<int>(0, r1.top - 2), r1.bottom + 1), FramePixel(e, 5, 2, p));

  Probe hp = CornerProbe(e, 5, 1, 4);
  ASSERT_GE(hp.x, 0);
  SendMessageA(tab, WM_MOUSEMOVE, 0, MAKELPARAM((r2.left + r2.right) / 2, (r2.top + r2.bottom) / 2));
  EXPECT_EQ(skin.HotTab(), 2);
  EXPECT_EQ(DrawnAt(Print(tab), e, hp, r2.left, r2.top, r2.bottom), FramePixel(e, 5, 4, hp));
  SendMessageA(tab, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skin.TabFrame(2), 1);
}

// The channel is a ButtonShadow frame on white; the thumb (pointing down for the default style)
// shows only colours of its frame, and frame 2 while the mouse holds it.
TEST_F(ListSkinsTest, TrackBarChannelAndThumb) {
  HWND track = Child(TRACKBAR_CLASSA, TBS_AUTOTICKS, 10, 10, 240, 40);
  SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageA(track, TBM_SETPOS, TRUE, 5);
  auto& skin = Attach<TSkinTrackBar>(track);
  ASSERT_EQ(skin.ThumbEntry(), data->Skin().TrackbarThumbDown.get());
  TPrinted s = Print(track);
  RECT channel{}, thumb{};
  SendMessageA(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  EXPECT_EQ(s.At(channel.left + 2, channel.top), ColorToRGB(data->Colours().ButtonShadow));
  if (channel.bottom - channel.top > 2) {
    EXPECT_EQ(s.At(channel.left + 2, channel.top + 1), RGB(255, 255, 255));
  }

  const TDataSkinObject& e = *skin.ThumbEntry();
  std::set<COLORREF> frame1;
  TRectI cell = FrameCell(e.Image, 5, 1, false);
  for (int y = cell.top; y < cell.bottom; ++y)
    for (int x = cell.left; x < cell.right; ++x)
      if (e.Image.At(x, y) != kMagenta) frame1.insert(Rgb(e.Image.At(x, y)));
  int foreign = 0, inThumb = 0;
  for (int y = thumb.top; y < thumb.bottom; ++y)
    for (int x = thumb.left; x < thumb.right; ++x) {
      COLORREF c = s.At(x, y);
      if (c == ColorToRGB(data->Colours().ButtonFace) || c == ColorToRGB(data->Colours().ButtonShadow) ||
          c == RGB(255, 255, 255))
        continue;  // behind a transparent pixel
      ++inThumb;
      foreign += frame1.count(c) == 0;
    }
  EXPECT_GT(inThumb, 10);
  EXPECT_EQ(foreign, 0);

  const LPARAM at = MAKELPARAM((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
  SendMessageA(track, WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(skin.ThumbFrame(), 2);
  SendMessageA(track, WM_LBUTTONUP, 0, at);
  EXPECT_NE(skin.ThumbFrame(), 2);
}

// Sections: frame 1, a sorted one frame 5, the hot one frame 4. A list view in report view gives
// its header a header skin, and the form skin's walk finds list view and status bar by class
// without skinning the list view's header twice.
TEST_F(ListSkinsTest, HeaderSectionsAndListViewWalk) {
  HWND list = Child(WC_LISTVIEWA, LVS_REPORT, 10, 10, 300, 150);
  const char* names[] = {"Name", "Size"};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 120;
    col.pszText = const_cast<char*>(names[i]);
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  HDITEMA sorted{};
  sorted.mask = HDI_FORMAT;
  sorted.fmt = HDF_STRING | HDF_LEFT | HDF_SORTUP;
  SendMessageA(header, HDM_SETITEMA, 1, reinterpret_cast<LPARAM>(&sorted));
  HWND bar = Child(STATUSCLASSNAMEA, 0, 0, 0, 0, 0);

  TFormSkin fs(*manager, host, *data, nullptr);
  fs.Attach();
  auto* lv = dynamic_cast<TSkinListView*>(FindControlSkin(fs, list));
  ASSERT_NE(lv, nullptr);
  EXPECT_NE(dynamic_cast<TSkinStatusBar*>(FindControlSkin(fs, bar)), nullptr);
  EXPECT_EQ(FindControlSkin(fs, header), nullptr) << "the list view's skin holds the header's";
  ASSERT_NE(lv->Header(), nullptr);
  EXPECT_EQ(lv->Header()->Handle(), header);

  const TDataSkinObject& e = *data->Skin().Headerbar;
  RECT s0{}, s1{};
  SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&s0));
  SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&s1));
  Probe p5 = CornerProbe(e, 5, 1, 5);
  ASSERT_GE(p5.x, 0);
  TPrinted s = Print(header);
  EXPECT_EQ(DrawnAt(s, e, p5, s0.left, 0, s.height), FramePixel(e, 5, 1, p5));
  EXPECT_EQ(DrawnAt(s, e, p5, s1.left, 0, s.height), FramePixel(e, 5, 5, p5));
  SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(s0.left + 30, (s0.top + s0.bottom) / 2));
  EXPECT_EQ(lv->Header()->SectionFrame(0), 4);

  fs.Detach();
  EXPECT_EQ(FindControlSkin(fs, list), nullptr);
}
