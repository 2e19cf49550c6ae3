// Control skins on real controls under Wine: the pixels a skinned push button shows in each
// state, the clicks its mouse and keyboard give, the edit border (and none on a memo), a check
// box drawn from its "Checked" property, and a message box whose buttons are skinned and still
// reach the dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/EditCtrls.h"
#include "framework/Forms.h"
#include "framework/ProgressBars.h"
#include "framework/SpeedButtons.h"
#include "framework/StdCtrls.h"
#include "framework/Subclass.h"
#include "skin/engine/ControlSkins.h"
#include "skin/engine/ControlSkinsLists.h"
#include "skin/engine/ControlSkinsScroll.h"
#include "skin/engine/FormSkin.h"
#include "skin/engine/MenuSkin.h"
#include "skin/render/MenuSkin_core.h"
#include "skin/render/NinePart.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/WindowFacts.h"
#include "../Win32TestSupport.h"
#include "ProgramSkinTest.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

constexpr char kParentClass[] = "ZelvoControlSkinsTestParent";

// WM_COMMAND notifications the parent received: (control id, notification code).
std::vector<std::pair<int, int>>* g_commands = nullptr;

// WM_VSCROLL notifications from scroll-bar controls: (scroll code, position).
std::vector<std::pair<int, int>> g_scrolls;

LRESULT CALLBACK ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && g_commands) g_commands->push_back({LOWORD(wp), HIWORD(wp)});
  if (msg == WM_VSCROLL && lp) g_scrolls.push_back({LOWORD(wp), static_cast<short>(HIWORD(wp))});
  return DefWindowProcA(h, msg, wp, lp);
}

HWND MakeParent() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kParentClass;
    RegisterClassA(&wc);
    registered = true;
  }
  HWND h = CreateWindowExA(0, kParentClass, "Controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 200, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(h);
  return h;
}

COLORREF Rgb(TPixel p) { return RGB(PixelRed(p), PixelGreen(p), PixelBlue(p)); }

// A control of the form at the given place.
template <class T>
T* Placed(TForm& form, int x, int y, int w, int h) {
  T* c = form.Create<T>();
  c->SetParent(&form);
  c->SetBounds(x, y, w, h);
  return c;
}

class ControlSkinsTest : public ProgramSkinTest {
 protected:
  void SetUp() override {
    ProgramSkinTest::SetUp();
    if (HasFatalFailure()) return;
    g_commands = &commands;
    parent = MakeParent();
  }
  void TearDown() override {
    g_commands = nullptr;
    skins.clear();
    if (IsWindow(parent)) DestroyWindow(parent);
    ProgramSkinTest::TearDown();
  }
  HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, DWORD ex = 0) {
    HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
  }
  template <class T>
  T& AttachByHandle(HWND h) {
    auto s = std::make_unique<T>();
    s->AttachHandle(h, *data, nullptr);
    T& ref = *s;
    skins.push_back(std::move(s));
    return ref;
  }
  // The class of the control skin the form skin gave a control ("none" without one).
  static std::string SkinOf(TSkinHost& fs, TWinControl* c) {
    TSkinControl* s = FindControlSkin(fs, c->Handle());
    return s ? s->ClassName() : "none";
  }
  int Clicks(int id) const {
    int n = 0;
    for (auto& c : commands) n += c.first == id && c.second == BN_CLICKED;
    return n;
  }

  std::vector<std::unique_ptr<TSkinControl>> skins;
  std::vector<std::pair<int, int>> commands;
  HWND parent = nullptr;
};

// A point in the Buttons image's fixed top-left corner where frames 1 to 4 all differ, so a
// pixel there tells which frame was drawn.
struct Probe {
  int x = -1, y = -1;
};
Probe FrameProbe(const TDataSkinButton& b) {
  int frames = b.FrameCount > 1 ? b.FrameCount : 5;
  for (int y = 0; y < b.TopHeight; ++y)
    for (int x = 0; x < b.LeftWidth; ++x) {
      TPixel p[4];
      bool usable = true;
      for (int f = 0; f < 4 && usable; ++f) {
        TRectI cell = FrameCell(b.Image, frames, f + 1, false);
        p[f] = b.Image.At(cell.left + x, cell.top + y);
        usable = p[f] != kMagenta;
      }
      if (usable && p[0] != p[1] && p[0] != p[2] && p[0] != p[3] && p[1] != p[2] && p[1] != p[3] && p[2] != p[3])
        return {x, y};
    }
  return {};
}
COLORREF FramePixel(const TDataSkinButton& b, int frame, Probe at) {
  TRectI cell = FrameCell(b.Image, b.FrameCount > 1 ? b.FrameCount : 5, frame, false);
  return Rgb(b.Image.At(cell.left + at.x, cell.top + at.y));
}

// A skinned flat speed button under the mouse, read at the probe point: the face colour at rest
// (no frame), the hot frame once the mouse is over it, the pressed frame while pressed; released
// over it at the end.
void ExpectFlatSpeedButtonStates(const TSkinData& data, HWND button) {
  const TDataSkinButton& b = data.Skin().Buttons;
  const Probe at = FrameProbe(b);
  ASSERT_GE(at.x, 0);
  const COLORREF face = ColorToRGB(data.Colours().ButtonFace);
  ASSERT_NE(FramePixel(b, 4, at), face);
  auto shown = [&] { return PrintWindowPixels(button, WM_PRINTCLIENT, PRF_CLIENT).At(at.x, at.y); };
  EXPECT_EQ(shown(), face) << "flat at rest: no frame";
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(shown(), FramePixel(b, 4, at)) << "hot";
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(shown(), FramePixel(b, 2, at)) << "pressed";
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// A check or radio box drawn into `shot` against frame `frame` of its picture (`frames` side by
// side), placed as the box layout places it: the picture's pixels compared (magenta left out)
// and how many of them differ.
struct TBoxCompare {
  int compared = 0, differ = 0;
};
TBoxCompare CompareBox(const TPrinted& shot, const TBitmap32& image, int frames, int frame) {
  TRectI cell = FrameCell(image, frames, frame, false);
  CheckBoxGeometry g = LayoutCheckBox(shot.width, shot.height, GetSystemMetrics(SM_CXMENUCHECK),
                                      TSizeI{cell.Width(), cell.Height()}, false);
  TBoxCompare r;
  for (int y = 0; y < cell.Height(); ++y)
    for (int x = 0; x < cell.Width(); ++x) {
      TPixel p = image.At(cell.left + x, cell.top + y);
      if (p == kMagenta) continue;
      ++r.compared;
      r.differ += shot.At(g.Image.left + x, g.Image.top + y) != Rgb(p);
    }
  return r;
}

}  // namespace

// Each state of a push button shows its own frame of the Buttons image: normal 1, pressed 2,
// disabled 3, hot or focused 4; the caption is drawn in the state's colour over it.
TEST_F(ControlSkinsTest, PushButtonShowsTheFrameOfEachState) {
  const TDataSkinButton& b = data->Skin().Buttons;
  Probe at = FrameProbe(b);
  ASSERT_GE(at.x, 0) << "the skin's button frames differ in their corner";
  HWND other = Child("BUTTON", "Other", BS_PUSHBUTTON, 120, 10, 90, 30, 2);
  HWND btn = Child("BUTTON", "&Register", BS_PUSHBUTTON, 10, 10, 100, 30, 1);
  SetFocus(other);
  TSkinButton& s = AttachByHandle<TSkinButton>(btn);
  auto shown = [&] { return PrintWindowPixels(btn, WM_PRINTCLIENT, PRF_CLIENT).At(at.x, at.y); };

  EXPECT_EQ(s.CurrentFrame(), 1);
  EXPECT_EQ(shown(), FramePixel(b, 1, at)) << "normal";
  // The caption is drawn: some pixel in the middle row has the normal text colour.
  TPrinted normal = PrintWindowPixels(btn, WM_PRINTCLIENT, PRF_CLIENT);
  COLORREF text = ColorToRGB(PushButtonTextColour(b, data->Colours(), 1));
  int textPixels = 0;
  for (int x = 0; x < normal.width; ++x)
    for (int y = normal.height / 3; y < normal.height * 2 / 3; ++y) textPixels += normal.At(x, y) == text;
  EXPECT_GT(textPixels, 5);

  SendMessageA(btn, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(shown(), FramePixel(b, 4, at)) << "hot";
  SendMessageA(btn, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(shown(), FramePixel(b, 1, at)) << "left";

  SendMessageA(btn, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(s.Pressed());
  EXPECT_EQ(GetFocus(), btn) << "pressing focuses the button";
  EXPECT_EQ(shown(), FramePixel(b, 2, at)) << "pressed";
  SendMessageA(btn, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(shown(), FramePixel(b, 4, at)) << "focused, no longer pressed";

  SetFocus(other);
  EXPECT_EQ(shown(), FramePixel(b, 1, at)) << "focus gone";
  EnableWindow(btn, FALSE);
  EXPECT_EQ(shown(), FramePixel(b, 3, at)) << "disabled";
  EnableWindow(btn, TRUE);
  EXPECT_EQ(shown(), FramePixel(b, 1, at)) << "enabled again";
}

// A flat speed button shows only the ButtonFace colour at rest and the button frames when hot or
// pressed; a box erases to ButtonFace; a size grip gets the skin's grip lines, a plain scroll bar
// keeps its own look.
TEST_F(ControlSkinsTest, SpeedButtonBoxAndSizerPixels) {
  const COLORREF face = ColorToRGB(data->Colours().ButtonFace);
  const COLORREF shadow = ColorToRGB(data->Colours().ButtonShadow);

  HWND speed = Child("BUTTON", "", BS_PUSHBUTTON, 10, 10, 60, 30, 11);
  TSkinSpeedButton& s = AttachByHandle<TSkinSpeedButton>(speed);
  ASSERT_TRUE(s.Flat()) << "a button without a Flat property counts as flat";
  ExpectFlatSpeedButtonStates(*data, speed);

  HWND box = Child("STATIC", "", SS_NOTIFY, 80, 10, 50, 40, 12);
  AttachByHandle<TSkinBox>(box);
  EXPECT_EQ(PrintWindowPixels(box, WM_ERASEBKGND, 0).At(25, 20), face);

  HWND grip = Child("SCROLLBAR", "", SBS_SIZEGRIP, 140, 10, 20, 20, 13);
  HWND plain = Child("SCROLLBAR", "", SBS_HORZ, 170, 10, 80, 18, 14);
  AttachByHandle<TSkinSizer>(grip);
  AttachByHandle<TSkinSizer>(plain);
  TPrinted g = PrintWindowPixels(grip, WM_PRINTCLIENT, PRF_CLIENT);
  EXPECT_EQ(g.At(2, 2), face) << "away from the corner";
  EXPECT_EQ(g.At(19, 17), shadow) << "first grip line";
  EXPECT_EQ(g.At(19, 15), face) << "between the lines";
  EXPECT_EQ(g.At(19, 13), shadow) << "second grip line";
  TPrinted p = PrintWindowPixels(plain, WM_PRINTCLIENT, PRF_CLIENT);
  int skinColoured = 0;
  for (int x = 0; x < p.width; ++x) skinColoured += p.At(x, p.height / 2) == face;
  EXPECT_LT(skinColoured, p.width) << "a plain scroll bar is not painted over";
}

// The real mouse (input events, so the hot state is tracked as for a user, leave included) moves
// from the bare window onto a skinned button among others, across it and off it: only that
// button repaints, once as it turns hot and once as it turns normal again; its window, the other
// buttons and the edit get no paint message at all.
TEST_F(ControlSkinsTest, HoverRepaintsOnlyThatButton) {
  HWND left = Child("BUTTON", "Left", BS_PUSHBUTTON, 10, 10, 90, 30, 1);
  HWND target = Child("BUTTON", "Target", BS_PUSHBUTTON, 110, 60, 90, 30, 2);
  HWND right = Child("BUTTON", "Right", BS_PUSHBUTTON, 210, 10, 90, 30, 3);
  HWND edit = Child("EDIT", "text", WS_BORDER, 10, 110, 150, 22, 4);
  AttachByHandle<TSkinButton>(left);
  TSkinButton& hovered = AttachByHandle<TSkinButton>(target);
  AttachByHandle<TSkinButton>(right);
  SetForegroundWindow(parent);
  PumpFor(100);

  struct Paints {
    int paint = 0, ncpaint = 0, erase = 0;
  };
  std::map<HWND, Paints> seen;
  std::vector<TWindowSubclass> counters;  // in front of the skins: every paint message is seen
  for (HWND w : {parent, left, target, right, edit}) {
    counters.emplace_back(w, [&seen](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
      if (msg == WM_PAINT) ++seen[h].paint;
      if (msg == WM_NCPAINT) ++seen[h].ncpaint;
      if (msg == WM_ERASEBKGND) ++seen[h].erase;
      return TWindowSubclass::CallNext(h, msg, wp, lp);
    });
  }
  auto moveTo = [](POINT client, HWND of) {
    ClientToScreen(of, &client);
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((client.x * 65535LL + w / 2) / (w - 1));
    in.mi.dy = static_cast<LONG>((client.y * 65535LL + h / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    PumpFor(10);
  };
  auto others = [&] {
    std::string text;
    for (HWND w : {parent, left, right, edit}) {
      const Paints& n = seen[w];
      if (n.paint || n.ncpaint || n.erase) {
        text += WindowClassName(w) + " paint " + std::to_string(n.paint) + " ncpaint " +
                std::to_string(n.ncpaint) + " erase " + std::to_string(n.erase) + "; ";
      }
    }
    return text;
  };

  const int y = 75;  // the target's middle row; nothing else lies on it
  moveTo(POINT{80, y}, parent);
  ASSERT_EQ(WindowFromPoint([&] { POINT p{80, y}; ClientToScreen(parent, &p); return p; }()), parent)
      << "the path starts over the bare window";
  PumpFor(150);
  seen.clear();

  for (int x = 80; x <= 160; x += 5) moveTo(POINT{x, y}, parent);
  PumpFor(100);
  EXPECT_TRUE(hovered.Hot());
  EXPECT_EQ(seen[target].paint, 1) << "turning hot repaints the button once";
  EXPECT_LE(seen[target].ncpaint, 1);
  EXPECT_EQ(others(), "") << "only the hovered button repaints";

  for (int x = 165; x <= 240; x += 5) moveTo(POINT{x, y}, parent);
  PumpFor(600);  // the leave notice may wait for the tracking timer
  EXPECT_FALSE(hovered.Hot()) << "leaving the button ends the hot state";
  EXPECT_EQ(seen[target].paint, 2) << "turning normal repaints it once more";
  EXPECT_LE(seen[target].ncpaint, 2);
  EXPECT_EQ(others(), "") << "only the hovered button repaints";
}

// The mouse clicks a skinned button only when pressed and released on it; the keyboard clicks it
// natively; a disabled button gets no click.
TEST_F(ControlSkinsTest, PushButtonClicksOnlyOnPressReleaseAndSpace) {
  HWND btn = Child("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 100, 30, 7);
  TSkinButton& s = AttachByHandle<TSkinButton>(btn);
  auto down = [&] { SendMessageA(btn, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); };
  auto up = [&](int x, int y) { SendMessageA(btn, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); };

  down();
  SendMessageA(btn, WM_MOUSELEAVE, 0, 0);
  up(5, 5);
  PumpFor(30);
  EXPECT_EQ(Clicks(7), 0) << "press, leave, release";

  down();
  up(-20, 50);
  PumpFor(30);
  EXPECT_EQ(Clicks(7), 0) << "released outside";

  down();
  up(5, 5);
  PumpFor(30);
  EXPECT_EQ(Clicks(7), 1) << "press and release";
  EXPECT_EQ(s.Clicks(), 1);

  commands.clear();
  SetFocus(btn);
  SendMessageA(btn, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(s.Pressed()) << "Space shows the pressed frame";
  SendMessageA(btn, WM_KEYUP, VK_SPACE, 0);
  PumpFor(30);
  EXPECT_FALSE(s.Pressed());
  EXPECT_EQ(Clicks(7), 1) << "Space clicks once";

  commands.clear();
  EnableWindow(btn, FALSE);
  down();
  up(5, 5);
  PumpFor(30);
  EXPECT_EQ(Clicks(7), 0) << "disabled";
}

// A destroyed button leaves a dead skin that draws nothing and is harmless to free.
TEST_F(ControlSkinsTest, DestroyedControlLeavesADeadSkin) {
  HWND btn = Child("BUTTON", "Gone", BS_PUSHBUTTON, 10, 10, 80, 30, 3);
  TSkinButton& s = AttachByHandle<TSkinButton>(btn);
  DestroyWindow(btn);
  EXPECT_TRUE(s.Dead());
  s.Paint(nullptr);  // must not touch the (possibly reused) handle
  s.Refresh();
  skins.clear();
}

namespace {
// A control skin whose drawing fails half-way, after it has changed the DC it draws into.
class TFailingSkin : public TSkinControl {
 public:
  void DrawControl(HDC dc, const RECT&) override {
    ++draws;
    dcs.insert(dc);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SetTextColor(dc, RGB(1, 2, 3));
    IntersectClipRect(dc, 1, 1, 2, 2);
    throw std::runtime_error("drawing failed");
  }
  int draws = 0;
  std::set<HDC> dcs;
};
}  // namespace

// A drawing that throws is swallowed and leaves nothing behind: the caller's DC gets its brush,
// colours and clipping back, and painting through the window's own DC gives that DC back (the
// system's cache then hands out the same few DCs again instead of a new one for each paint).
TEST_F(ControlSkinsTest, FailedPaintLeavesTheDcAndTheHandlesAsTheyWere) {
  HWND label = Child("STATIC", "Label", SS_LEFT, 10, 10, 80, 20, 9);
  TFailingSkin& s = AttachByHandle<TFailingSkin>(label);
  PrintPixels(label, [&](HDC dc) {
    const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
    const COLORREF text = GetTextColor(dc);
    const int draws = s.draws;
    s.Paint(dc);
    EXPECT_EQ(s.draws, draws + 1);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetTextColor(dc), text);
    UniqueGdi<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(dc, clip.Get()), 0) << "the DC is left clipped";
  });
  HANDLE self = GetCurrentProcess();
  const DWORD gdi = GetGuiResources(self, GR_GDIOBJECTS);
  const long owned = OwnedHandles(THandleResource::Gdi);
  const int draws = s.draws;
  s.dcs.clear();
  for (int i = 0; i < 50; ++i) s.Paint(nullptr);
  EXPECT_EQ(s.draws, draws + 50);
  EXPECT_LE(s.dcs.size(), 5u) << "window DCs kept";
  EXPECT_EQ(GetGuiResources(self, GR_GDIOBJECTS), gdi);
  EXPECT_EQ(OwnedHandles(THandleResource::Gdi), owned);
}

// The edit border: ButtonShadow outside, white inside, over an edit with a sunken edge; an edit
// without an edge gets none.
TEST_F(ControlSkinsTest, EditBorderOnlyOverARealEdge) {
  HWND edged = Child("EDIT", "text", ES_AUTOHSCROLL, 10, 10, 120, 24, 4, WS_EX_CLIENTEDGE);
  HWND plain = Child("EDIT", "text", ES_AUTOHSCROLL, 10, 50, 120, 24, 5);
  TSkinEdit& e1 = AttachByHandle<TSkinEdit>(edged);
  TSkinEdit& e2 = AttachByHandle<TSkinEdit>(plain);
  EXPECT_TRUE(e1.BorderDrawn());
  EXPECT_FALSE(e2.BorderDrawn());
  COLORREF shadow = ColorToRGB(data->Colours().ButtonShadow);
  ASSERT_NE(shadow, RGB(255, 255, 255));
  TPrinted a = PrintWindowPixels(edged, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(a.At(0, 0), shadow);
  EXPECT_EQ(a.At(a.width - 1, a.height / 2), shadow);
  EXPECT_EQ(a.At(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(a.At(a.width / 2, a.height - 2), RGB(255, 255, 255));
  TPrinted b = PrintWindowPixels(plain, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_NE(b.At(0, 0), shadow);
}

// On a framework form the walk gives the edit its border skin, the memo none, and the check box
// a box drawn from its "Checked" property.
TEST_F(ControlSkinsTest, FormWalkSkinsEditNotMemoAndCheckBoxFromChecked) {
  TForm form{nullptr};
  form.Name = "Walked";
  form.SetBounds(60, 60, 360, 220);
  auto* edit = Placed<TEdit>(form, 10, 10, 150, 22);
  auto* memo = Placed<TMemo>(form, 10, 40, 150, 80);
  auto* check = Placed<TCheckBox>(form, 180, 10, 140, 20);
  check->SetCaption("Agree");
  auto* exempt = Placed<TEdit>(form, 180, 40, 140, 22);
  exempt->Tag = 199;
  form.Show();
  PumpFor(30);

  TFormSkin fs(*manager, form.Handle(), *data, &form);
  AttachControlSkins(fs);
  EXPECT_EQ(SkinOf(fs, edit), "TSkinEdit");
  EXPECT_EQ(SkinOf(fs, memo), "TSkinScrollbar") << "a memo gets scroll-bar skinning, never the edit border";
  EXPECT_EQ(SkinOf(fs, check), "TSkinCheckBox");
  EXPECT_EQ(SkinOf(fs, exempt), "none") << "Tag 199 is exempt";

  auto* cs = static_cast<TSkinCheckBox*>(FindControlSkin(fs, check->Handle()));
  const TDataSkinButton& b = data->Skin().Buttons;
  ASSERT_FALSE(b.CheckImage.Empty());
  int frames = b.CheckButtonFrame > 0 ? b.CheckButtonFrame : 4;
  // The checked state comes from the property; the pixels are the checked frame's.
  for (bool checked : {false, true}) {
    check->SetChecked(checked);
    EXPECT_EQ(cs->CurrentFrame(), checked ? 2 : 1);
    TBoxCompare box = CompareBox(PrintWindowPixels(check->Handle(), WM_PRINTCLIENT, PRF_CLIENT), b.CheckImage,
                                 frames, checked ? 2 : 1);
    EXPECT_GT(box.compared, 20);
    EXPECT_EQ(box.differ, 0) << "checked " << checked;
  }

  // Detaching frees the skins and the controls draw natively again.
  DetachControlSkins(fs);
  EXPECT_TRUE(fs.ControlSkins().empty());
  EXPECT_EQ(FindControlSkin(fs, edit->Handle()), nullptr);
  form.Hide();
}


// Controls skinned while their window waits for its set-up (attached on activation, the frame's
// sizing and first paint still to come) are painted once, with that first paint, however many
// state changes the activation brings; and what the screen then shows is the skin's drawing.
TEST_F(ControlSkinsTest, ControlsAttachedBeforeTheSetUpPaintOnceWithIt) {
  TForm form{nullptr};
  form.Name = "Deferred";
  form.SetBounds(60, 60, 360, 220);
  auto* button = form.Create<TButton>();
  button->SetParent(&form);
  button->SetBounds(20, 20, 120, 30);
  button->SetCaption("Register");
  form.Show();
  PumpFor(50);
  HWND btn = button->Handle();
  int paints = 0;
  TWindowSubclass counter(btn, [&paints](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    paints += msg == WM_PAINT;
    return TWindowSubclass::CallNext(h, msg, wp, lp);
  });

  TFormSkin fs(*manager, form.Handle(), *data, &form);
  fs.Attach();
  ASSERT_NE(FindControlSkin(fs, btn), nullptr);
  ASSERT_EQ(fs.State(), TFormSkinState::New);
  SetFocus(btn);                                // the activation's focus and default-button changes
  SendMessageA(btn, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(paints, 0) << "nothing is painted before the set-up";
  PostMessageA(form.Handle(), SKIN_INIT, 0, kSkinInitLParam);
  PumpFor(100);
  ASSERT_EQ(fs.State(), TFormSkinState::Active);
  EXPECT_EQ(paints, 1) << "one paint, with the window's first paint";

  TPrinted printed = PrintWindowPixels(btn, WM_PRINTCLIENT, PRF_CLIENT);
  HDC dc = GetDC(btn);
  int differ = 0;
  for (int y = 0; y < printed.height; y += 2)
    for (int x = 0; x < printed.width; x += 2) differ += GetPixel(dc, x, y) != printed.At(x, y);
  ReleaseDC(btn, dc);
  EXPECT_EQ(differ, 0) << "the screen shows the skinned button";
  fs.Detach();
  form.Hide();
}

// A system message box skinned as a foreign window: its buttons get button skins, and clicking
// the skinned OK button with the mouse closes the box with IDOK (the skin posts WM_COMMAND).
TEST_F(ControlSkinsTest, MessageBoxButtonsAreSkinnedAndClickTheDialog) {
  std::unique_ptr<TFormSkin> fs;
  int skinnedButtons = 0;
  auto onBox = [&](HWND box) {
    fs = std::make_unique<TFormSkin>(*manager, box, *data, nullptr);
    fs->Attach();
    SendMessageA(box, SKIN_INIT, 0, kSkinInitLParam);
    for (auto& c : fs->ControlSkins()) skinnedButtons += dynamic_cast<TSkinButton*>(c.get()) != nullptr;
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok || !FindControlSkin(*fs, ok)) {
      PostMessageA(box, WM_COMMAND, IDCANCEL, 0);  // fail below, without hanging
      return;
    }
    SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  };
  int answer = 0;
  const bool seen =
      WithSystemDialog([&] { answer = MessageBoxA(parent, "Skin me", "Skinned box", MB_OKCANCEL); }, onBox, "Skinned box");
  fs.reset();
  ASSERT_TRUE(seen);
  EXPECT_EQ(skinnedButtons, 2) << "OK and Cancel";
  EXPECT_EQ(answer, IDOK);
}

// The skinned system menu of a window without minimize and maximize boxes: " Restore ", the
// separator and " Close "; " Close " is measured wider by the skin's rule and drawn with
// "Shift+F4" ending 11 pixels before the item's right edge.
TEST_F(ControlSkinsTest, SystemMenuItemsMeasuredAndDrawn) {
  HWND h = CreateWindowExA(0, kParentClass, "No boxes", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 50, 50,
                           300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  TFormSkin fs(*manager, h, *data, nullptr);
  fs.Attach();
  SendMessageA(h, SKIN_INIT, 0, kSkinInitLParam);
  HMENU menu = fs.SystemMenuPopup();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  auto dataOf = [&](int i) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_DATA | MIIM_ID | MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mi);
    return mi;
  };
  EXPECT_EQ(dataOf(0).wID, static_cast<UINT>(SC_RESTORE));
  EXPECT_TRUE(dataOf(1).fType & MFT_SEPARATOR);
  EXPECT_EQ(dataOf(2).wID, static_cast<UINT>(SC_CLOSE));

  // Measured: the texts in the menu font, widened by the popup rule (glyph list: + 12, + LeftWidth).
  MEASUREITEMSTRUCT close{ODT_MENU, 0, SC_CLOSE, 0, 0, dataOf(2).dwItemData};
  ASSERT_TRUE(SendMessageA(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&close)));
  HDC screen = GetDC(nullptr);
  NONCLIENTMETRICSA m{};
  m.cbSize = sizeof(m);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(m), &m, 0);
  HFONT font = CreateFontIndirectA(&m.lfMenuFont);
  HGDIOBJ old = SelectObject(screen, font);
  SIZE text{}, shortcut{};
  GetTextExtentPoint32A(screen, " Close ", 7, &text);
  GetTextExtentPoint32A(screen, "Shift+F4", 8, &shortcut);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  int leftWidth = MenuItemLeftWidth(data->Skin()).value_or(0);
  EXPECT_EQ(static_cast<int>(close.itemWidth), text.cx + shortcut.cx + 16 + 12 + leftWidth);

  // Drawn into memory DCs: the ink " Close " has and " Restore " (no shortcut) lacks at the same
  // place is the shortcut; it ends within the 11 pixels before the right edge, never inside them.
  const int w = 200, ih = 22;
  auto draw = [&](int index, UINT id) {
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -ih, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBmp = SelectObject(mem, dib);
    DRAWITEMSTRUCT dis{ODT_MENU, 0, id, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(menu), mem, {0, 0, w, ih},
                       dataOf(index).dwItemData};
    EXPECT_TRUE(SendMessageA(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
    std::vector<COLORREF> px(static_cast<size_t>(w) * ih);
    for (int y = 0; y < ih; ++y)
      for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = GetPixel(mem, x, y);
    SelectObject(mem, oldBmp);
    DeleteObject(dib);
    DeleteDC(mem);
    return px;
  };
  std::vector<COLORREF> closePx = draw(2, SC_CLOSE), restorePx = draw(0, SC_RESTORE);
  COLORREF ink = ColorToRGB(MenuItemTextColour(data->Colours(), true, false));
  int rightmostInk = -1;
  for (int x = w / 2; x < w; ++x)
    for (int y = 0; y < ih; ++y) {
      size_t i = static_cast<size_t>(y) * w + x;
      if (closePx[i] == ink && restorePx[i] != ink) rightmostInk = std::max(rightmostInk, x);
    }
  // Where the ink of "Shift+F4" ends when the platform right-aligns it at w - 11 in the menu
  // font (glyph bearings differ from font to font, so no fixed margin is assumed).
  int expectedInk = -1;
  {
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -ih, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBmp = SelectObject(mem, dib);
    HGDIOBJ oldFont = SelectObject(mem, SkinMenuFont());
    RECT all{0, 0, w, ih}, textRect{0, 0, w - 11, ih};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(mem, RGB(0, 0, 0));
    SetBkMode(mem, TRANSPARENT);
    DrawTextA(mem, "Shift+F4", 8, &textRect, DT_RIGHT);
    for (int x = 0; x < w; ++x)
      for (int y = 0; y < ih; ++y)
        if (GetPixel(mem, x, y) != RGB(255, 255, 255)) expectedInk = std::max(expectedInk, x);
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
    DeleteObject(dib);
    DeleteDC(mem);
  }
  ASSERT_GT(expectedInk, w / 2);
  EXPECT_EQ(rightmostInk, expectedInk) << "right-aligned shortcut";
  EXPECT_LT(rightmostInk, w - 11);
  fs.Detach();
  DestroyWindow(h);
}

namespace {

// A memo of `lines` numbered lines, no line break after the last.
std::string NumberedLines(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "Line " + std::to_string(i) + (i + 1 < lines ? "\r\n" : "");
  return text;
}

// Colours of one frame of an image (magenta left out).
std::vector<COLORREF> FrameColours(const TBitmap32& image, int frames, int frame) {
  std::vector<COLORREF> colours;
  TRectI cell = FrameCell(image, frames, frame, false);
  for (int y = cell.top; y < cell.bottom; ++y)
    for (int x = cell.left; x < cell.right; ++x) {
      TPixel p = image.At(x, y);
      COLORREF c = Rgb(p);
      if (p != kMagenta && std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
    }
  return colours;
}
bool In(const std::vector<COLORREF>& set, COLORREF c) { return std::find(set.begin(), set.end(), c) != set.end(); }

// What a control skin paints over its whole window, on a black memory DC.
TPrinted SkinPaint(TSkinControl& skin) {
  return PrintPixels(skin.Handle(), [&](HDC dc) { skin.Paint(dc); });
}

// The thumb's centre in screen coordinates.
POINT ThumbCentre(HWND h, const TScrollBarView& bar) {
  RECT wr{};
  GetWindowRect(h, &wr);
  return POINT{wr.left + (bar.Rect.left + bar.Rect.right) / 2,
               wr.top + bar.Rect.top + (bar.Parts.ThumbStart + bar.Parts.ThumbEnd) / 2};
}

// Presses a window's vertical thumb, moves the mouse far below the bar and releases it there
// (the moves are queued first: the skin's drag loop reads them).
void DragVerticalThumbFarDown(HWND h, const TScrollBarView& bar) {
  POINT down = ThumbCentre(h, bar);
  POINT below{down.x, down.y + 2000};
  ScreenToClient(h, &below);
  PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(below.x, below.y));
  PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(below.x, below.y));
  SendMessageA(h, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(down.x, down.y));
}

bool g_safetyFired = false;
HWND g_victim = nullptr;
void CALLBACK ReleaseCaptureSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ReleaseCapture();
}
void CALLBACK DestroyVictimSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  DestroyWindow(g_victim);
}
// Ends a drag loop that failed to end by itself, so that the test fails instead of hanging.
void CALLBACK Safety(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_safetyFired = true;
  PostThreadMessageA(GetCurrentThreadId(), WM_LBUTTONUP, 0, 0);
}

}  // namespace

// A radio button's box is the skin's radio picture for its state; a combo box gets the skin's
// combo button at its right, or at its left with the mirrored picture under WS_EX_LEFTSCROLLBAR.
TEST_F(ControlSkinsTest, RadioButtonAndComboBoxWithItsMirror) {
  const TDataSkinButton& b = data->Skin().Buttons;
  ASSERT_FALSE(b.RadioImage.Empty());
  HWND radio = Child("BUTTON", "Radio", BS_AUTORADIOBUTTON, 10, 10, 120, 20, 31);
  auto& rs = AttachByHandle<TSkinRadioButton>(radio);
  const int frames = b.RadioButtonFrame > 0 ? b.RadioButtonFrame : 4;
  for (bool checked : {false, true}) {
    SendMessageA(radio, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    const int frame = rs.CurrentFrame();
    EXPECT_EQ(frame, checked ? 2 : 1);
    TBoxCompare box = CompareBox(PrintWindowPixels(radio, WM_PRINTCLIENT, PRF_CLIENT), b.RadioImage, frames, frame);
    EXPECT_GT(box.compared, 20);
    EXPECT_EQ(box.differ, 0) << "checked " << checked;
  }

  const auto* combo = data->Skin().ComboButton.get();
  ASSERT_TRUE(combo && !combo->Image.Empty());
  const int comboFrames = combo->FrameCount > 1 ? combo->FrameCount : 4;
  for (bool mirrored : {false, true}) {
    HWND h = Child("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 10, mirrored ? 80 : 40, 160, 200, mirrored ? 33 : 32,
                   mirrored ? WS_EX_LEFTSCROLLBAR : 0);
    auto& cs = AttachByHandle<TSkinComBox>(h);
    const ComboGeometry g = cs.Geometry();
    EXPECT_EQ(g.Mirrored, mirrored);
    TPrinted shot = PrintWindowPixels(h, WM_PRINTCLIENT, PRF_CLIENT);
    ASSERT_GT(g.Button.right, g.Button.left);
    EXPECT_EQ(mirrored, g.Button.right <= shot.width / 2) << "the button's side";
    const TBitmap32& image = mirrored && !combo->Image2.Empty() ? combo->Image2 : combo->Image;
    // Just inside the button's outer edge, half-way down: a pixel of the normal frame's picture.
    const int x = mirrored ? g.Button.right - 2 : g.Button.left + 1;
    EXPECT_TRUE(In(FrameColours(image, comboFrames, 1), shot.At(x, (g.Button.top + g.Button.bottom) / 2)))
        << (mirrored ? "mirrored" : "standard");
  }
}

// A bitmap button on a framework form is drawn from the Buttons picture with its glyph whole
// (its transparent colour left out), centred in height, left of the caption, the pair centred.
TEST_F(ControlSkinsTest, BitButtonGlyphAndCaptionLaidOut) {
  TForm form{nullptr};
  form.Name = "BitButtons";
  form.SetBounds(60, 60, 300, 160);
  auto* ok = form.Create<TBitBtn>();
  ok->SetParent(&form);
  ok->SetBounds(20, 20, 120, 40);
  ok->SetKind(TBitBtnKind::bkOK);
  form.Show();
  PumpFor(30);
  TFormSkin fs(*manager, form.Handle(), *data, &form);
  AttachControlSkins(fs);
  auto* skin = dynamic_cast<TSkinBitButton*>(FindControlSkin(fs, ok->Handle()));
  ASSERT_NE(skin, nullptr);
  ASSERT_NE(ok->Glyph(), nullptr);

  // The glyph's first cell, read back.
  BITMAP info{};
  GetObjectA(ok->Glyph(), sizeof info, &info);
  const int gw = info.bmWidth / std::max(1, ok->NumGlyphs()), gh = info.bmHeight;
  std::vector<COLORREF> glyph(static_cast<size_t>(gw) * gh);
  {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, ok->Glyph());
    for (int y = 0; y < gh; ++y)
      for (int x = 0; x < gw; ++x) glyph[static_cast<size_t>(y) * gw + x] = GetPixel(mem, x, y);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  const COLORREF transparent = glyph[static_cast<size_t>(gh - 1) * gw];
  TPrinted shot = PrintWindowPixels(ok->Handle(), WM_PRINTCLIENT, PRF_CLIENT);
  // Where the glyph's opaque pixels all are, exactly.
  auto fits = [&](int ox, int oy) {
    for (int y = 0; y < gh; ++y)
      for (int x = 0; x < gw; ++x) {
        const COLORREF c = glyph[static_cast<size_t>(y) * gw + x];
        if (c != transparent && shot.At(ox + x, oy + y) != c) return false;
      }
    return true;
  };
  int gx = -1, gy = -1;
  for (int oy = 0; oy + gh <= shot.height && gx < 0; ++oy)
    for (int ox = 0; ox + gw <= shot.width; ++ox)
      if (fits(ox, oy)) {
        gx = ox;
        gy = oy;
        break;
      }
  ASSERT_GE(gx, 0) << "the glyph is not drawn whole";
  EXPECT_LE(std::abs(gy - (shot.height - gh) / 2), 1) << "centred in height";
  // The caption's ink, in the caption colour of the button's state, lies right of the glyph,
  // and the glyph and caption together sit in the middle.
  const COLORREF text = ColorToRGB(
      BitButtonTextColour(data->Skin().Buttons, data->Colours(), skin->CurrentFrame(), ok->EffectiveFont().color));
  int inkLeft = shot.width, inkRight = -1;
  for (int y = gy; y < gy + gh; ++y)
    for (int x = 0; x < shot.width; ++x)
      if (shot.At(x, y) == text && !(x >= gx && x < gx + gw)) {
        inkLeft = std::min(inkLeft, x);
        inkRight = std::max(inkRight, x);
      }
  ASSERT_GE(inkRight, 0) << "no caption ink";
  EXPECT_GT(inkLeft, gx + gw - 1) << "the caption is right of the glyph";
  EXPECT_LE(std::abs((gx + inkRight) - (shot.width - 1)), 6) << "glyph and caption centred together";
  DetachControlSkins(fs);
  form.Hide();
}

// On a framework form the memo's vertical bar is skinned with thumb dragging; dragging the thumb
// far below the bar scrolls to maximum - page + 1, which shows the last line at the bottom.
TEST_F(ControlSkinsTest, MemoThumbDraggedToTheEndShowsTheLastLine) {
  TForm form{nullptr};
  form.Name = "Dragged";
  form.SetBounds(60, 60, 360, 220);
  auto* memo = form.Create<TMemo>();
  memo->SetParent(&form);
  memo->SetBounds(10, 10, 200, 120);
  memo->ScrollBars = TScrollStyle::ssVertical;
  form.Show();
  PumpFor(30);
  const HWND h = memo->Handle();
  SetWindowTextA(h, NumberedLines(60).c_str());

  TFormSkin fs(*manager, form.Handle(), *data, &form);
  AttachControlSkins(fs);
  auto* s = dynamic_cast<TSkinScrollbar*>(FindControlSkin(fs, h));
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->ThumbDragging());
  std::optional<TScrollBarView> bar = s->Bar(false);
  ASSERT_TRUE(bar.has_value());
  ASSERT_TRUE(bar->Parts.HasThumb);
  EXPECT_FALSE(s->Bar(true).has_value()) << "no horizontal bar";

  // The skin draws the bar where the window has it: thumb and shaft differ, the arrows sit at both ends.
  {
    const TSkinObjects& skin = data->Skin();
    ASSERT_TRUE(skin.Scrollbar && skin.VertScroll && skin.VertScrollThumb);
    TPrinted shot = SkinPaint(*s);
    const int x = (bar->Rect.left + bar->Rect.right) / 2;
    const int top = bar->Rect.top;
    EXPECT_TRUE(In(FrameColours(skin.VertScrollThumb->Image, skin.VertScrollThumb->FrameCount, 1),
                   shot.At(x, top + (bar->Parts.ThumbStart + bar->Parts.ThumbEnd) / 2)))
        << "thumb";
    EXPECT_TRUE(In(FrameColours(skin.VertScroll->Image, 4, 1), shot.At(x, top + bar->Parts.TrackEnd - 3))) << "shaft";
    EXPECT_TRUE(In(FrameColours(skin.Scrollbar->Image, 23, 9), shot.At(x, top + bar->Parts.ArrowLength / 2)))
        << "up arrow";
    EXPECT_TRUE(In(FrameColours(skin.Scrollbar->Image, 23, 13), shot.At(x, bar->Rect.bottom - bar->Parts.ArrowLength / 2)))
        << "down arrow";
  }

  DragVerticalThumbFarDown(h, *bar);

  EXPECT_FALSE(s->Dragging());
  EXPECT_NE(GetCapture(), h);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &si));
  ASSERT_GT(si.nPage, 0u);
  EXPECT_EQ(si.nPos, si.nMax - static_cast<int>(si.nPage) + 1);
  EXPECT_EQ(SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0), si.nPos) << "the memo scrolled with the thumb";
  // The last line is inside the client area.
  LRESULT lastChar = SendMessageA(h, EM_LINEINDEX, 59, 0);
  LRESULT at = SendMessageA(h, EM_POSFROMCHAR, static_cast<WPARAM>(lastChar), 0);
  RECT cr{};
  GetClientRect(h, &cr);
  EXPECT_GE(static_cast<short>(HIWORD(at)), 0);
  EXPECT_LT(static_cast<short>(HIWORD(at)), cr.bottom);

  bar = s->Bar(false);
  ASSERT_TRUE(bar.has_value());
  EXPECT_EQ(bar->Parts.ThumbEnd, bar->Parts.TrackEnd) << "the drawn thumb sits at the end of its track";
  DetachControlSkins(fs);
}

// A report list view's bar is the skin's too; its drag scrolls the list (which takes no position
// from SB_THUMBTRACK) so that the last item ends up at the bottom.
TEST_F(ControlSkinsTest, ListViewThumbDraggedToTheEndShowsTheLastItem) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HWND list = Child(WC_LISTVIEWA, "", LVS_REPORT | WS_BORDER, 10, 10, 220, 120, 41);
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.cx = 150;
  col.pszText = const_cast<char*>("Item");
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  constexpr int kItems = 80;
  for (int i = 0; i < kItems; ++i) {
    std::string text = "Item " + std::to_string(i);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = text.data();
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  auto& s = AttachByHandle<TSkinListView>(list);
  EXPECT_TRUE(s.ThumbDragging());
  std::optional<TScrollBarView> bar = s.Bar(false);
  ASSERT_TRUE(bar.has_value());
  ASSERT_TRUE(bar->Parts.HasThumb);

  DragVerticalThumbFarDown(list, *bar);
  PumpFor(20);

  const auto perPage = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(perPage, 0);
  ASSERT_LT(perPage, kItems);
  EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), kItems - perPage) << "the list scrolled to its end";
  bar = s.Bar(false);
  ASSERT_TRUE(bar.has_value());
  EXPECT_EQ(bar->Parts.ThumbEnd, bar->Parts.TrackEnd) << "the drawn thumb sits at the end of its track";
  // And the rows on the screen moved with it: they are what the list draws afresh for its state.
  UpdateWindow(list);
  RECT cr{}, hr{};
  GetClientRect(list, &cr);
  GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &hr);
  const int rowsTop = hr.bottom - hr.top;  // the header is a child window the print leaves out
  auto read = [&](HDC from) {
    std::vector<COLORREF> px;
    for (int y = rowsTop; y < cr.bottom; y += 2)
      for (int x = 0; x < cr.right; x += 2) px.push_back(GetPixel(from, x, y));
    return px;
  };
  HDC dc = GetDC(list);
  const std::vector<COLORREF> onScreen = read(dc);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, cr.right, cr.bottom);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
  const std::vector<COLORREF> fresh = read(mem);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(list, dc);
  size_t differ = 0;
  for (size_t i = 0; i < fresh.size(); ++i) differ += fresh[i] != onScreen[i];
  EXPECT_EQ(differ, 0u) << "of " << fresh.size() << " sampled pixels";
}

namespace {
// What the procedure below a scroll-bar skin is given to paint on WM_NCPAINT.
struct TNcPaintSeen {
  POINT bar{}, edge{};  // screen points to look up in the region
  int calls = 0;
  bool barIn = false, edgeIn = false;
};
LRESULT CALLBACK RecordNcPaint(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_NCPAINT) {
    auto* seen = reinterpret_cast<TNcPaintSeen*>(ref);
    ++seen->calls;
    const auto region = reinterpret_cast<HRGN>(wp);
    seen->barIn = seen->barIn || wp == 1 || PtInRegion(region, seen->bar.x, seen->bar.y);
    seen->edgeIn = seen->edgeIn || wp == 1 || PtInRegion(region, seen->edge.x, seen->edge.y);
  }
  return DefSubclassProc(h, msg, wp, lp);
}
}  // namespace

// The control's own frame painting is kept off the skinned bars (no native bar shows for a
// moment before the skin's), but still reaches the rest of the frame.
TEST_F(ControlSkinsTest, NativeFramePaintLeavesTheSkinnedBarsAlone) {
  HWND memo = Child("EDIT", NumberedLines(40).c_str(), ES_MULTILINE | WS_VSCROLL, 10, 10, 200, 120, 21,
                    WS_EX_CLIENTEDGE);
  TNcPaintSeen seen;
  ASSERT_TRUE(SetWindowSubclass(memo, RecordNcPaint, 1, reinterpret_cast<DWORD_PTR>(&seen)));
  auto& s = AttachByHandle<TSkinScrollbar>(memo);
  std::optional<TScrollBarView> bar = s.Bar(false);
  ASSERT_TRUE(bar.has_value());
  RECT wr{};
  GetWindowRect(memo, &wr);
  seen.bar = POINT{wr.left + (bar->Rect.left + bar->Rect.right) / 2, wr.top + (bar->Rect.top + bar->Rect.bottom) / 2};
  seen.edge = POINT{wr.left, (wr.top + wr.bottom) / 2};
  RedrawWindow(memo, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(seen.calls, 0);
  EXPECT_FALSE(seen.barIn);
  EXPECT_TRUE(seen.edgeIn);
  skins.clear();
  RemoveWindowSubclass(memo, RecordNcPaint, 1);
}

// The drag's local loop ends without a button release when the capture goes elsewhere and when
// the window is destroyed meanwhile.
TEST_F(ControlSkinsTest, ThumbDragEndsOnLostCaptureAndOnDestroy) {
  for (bool destroy : {false, true}) {
    HWND memo = Child("EDIT", "", ES_MULTILINE | WS_VSCROLL | WS_BORDER, 10, 10, 200, 120, 7);
    SetWindowTextA(memo, NumberedLines(40).c_str());
    TSkinScrollbar& s = AttachByHandle<TSkinScrollbar>(memo);
    s.SetThumbDragging(true);
    std::optional<TScrollBarView> bar = s.Bar(false);
    ASSERT_TRUE(bar.has_value());
    ASSERT_TRUE(bar->Parts.HasThumb);
    POINT down = ThumbCentre(memo, *bar);
    g_safetyFired = false;
    g_victim = memo;
    SetTimer(nullptr, 0, 50, destroy ? DestroyVictimSoon : ReleaseCaptureSoon);
    UINT_PTR safety = SetTimer(nullptr, 0, 3000, Safety);
    SendMessageA(memo, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(down.x, down.y));
    KillTimer(nullptr, safety);
    EXPECT_FALSE(g_safetyFired) << (destroy ? "destroyed" : "capture lost") << ": the loop waited for a release";
    EXPECT_EQ(IsWindow(memo) == FALSE, destroy);
    if (destroy) {
      EXPECT_TRUE(s.Dead());
    } else {
      EXPECT_FALSE(s.Dragging());
      DestroyWindow(memo);
    }
    g_victim = nullptr;
  }
}

namespace {
// The chunked look, whatever the skin's Progress style says.
class ChunkedProgress : public TSkinProgress {
 protected:
  int Style() const override { return 1; }
};

}  // namespace

// Filled style: half a horizontal bar shows the second frame from the left, the rest the first;
// a vertical bar fills from the bottom.
TEST_F(ControlSkinsTest, ProgressFilledStylePixels) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  const TDataSkinBorder* pr = data->Skin().Progress.get();
  ASSERT_NE(pr, nullptr);
  std::vector<COLORREF> empty = FrameColours(pr->Image, 2, 1), filled = FrameColours(pr->Image, 2, 2);
  for (COLORREF c : filled) ASSERT_FALSE(In(empty, c)) << "the skin's two progress frames share a colour";

  HWND horz = Child(PROGRESS_CLASSA, "", 0, 10, 10, 200, 18, 8);
  HWND vert = Child(PROGRESS_CLASSA, "", PBS_VERTICAL, 220, 10, 18, 160, 9);
  for (HWND p : {horz, vert}) {
    SendMessageA(p, PBM_SETRANGE32, 0, 100);
    SendMessageA(p, PBM_SETPOS, 25, 0);
    AttachByHandle<TSkinProgress>(p);
  }
  TPrinted h = PrintWindowPixels(horz, WM_PRINTCLIENT, PRF_CLIENT);
  for (int x = 0; x < h.width; ++x) {
    const bool inFill = x < 50;  // 25 of 100 of 200 pixels
    EXPECT_TRUE(In(inFill ? filled : empty, h.At(x, h.height / 2))) << "x " << x;
  }
  TPrinted v = PrintWindowPixels(vert, WM_PRINTCLIENT, PRF_CLIENT);
  for (int y = 0; y < v.height; ++y) {
    const bool inFill = y >= 120;  // the bottom 40 of 160
    EXPECT_TRUE(In(inFill ? filled : empty, v.At(v.width / 2, y))) << "y " << y;
  }
  // Nothing filled at position 0.
  SendMessageA(horz, PBM_SETPOS, 0, 0);
  EXPECT_TRUE(In(empty, PrintWindowPixels(horz, WM_PRINTCLIENT, PRF_CLIENT).At(10, 9)));
}

// Chunked style: chunks side by side from LeftWidth, one more than the filled width holds, each
// with its magenta column showing the bar beneath.
TEST_F(ControlSkinsTest, ProgressChunkedStylePixels) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  const TDataSkinBorder* pr = data->Skin().Progress.get();
  ASSERT_NE(pr, nullptr);
  ASSERT_FALSE(pr->Image2.Empty());
  const TBitmap32& chunk = pr->Image2;
  // The chunk's colour on the middle row, and how many opaque pixels a chunk has there.
  const int chunkRow = chunk.Height / 2;
  COLORREF chunkColour = 0;
  int opaque = 0;
  for (int x = 0; x < chunk.Width; ++x)
    if (chunk.At(x, chunkRow) != kMagenta) {
      chunkColour = Rgb(chunk.At(x, chunkRow));
      ++opaque;
    }
  ASSERT_GT(opaque, 0);
  for (COLORREF c : FrameColours(pr->Image, 1, 1)) ASSERT_NE(c, chunkColour) << "chunk and bar share a colour";

  HWND p = Child(PROGRESS_CLASSA, "", 0, 10, 10, 200, 18, 8);
  SendMessageA(p, PBM_SETRANGE32, 0, 100);
  SendMessageA(p, PBM_SETPOS, 50, 0);
  auto s = std::make_unique<ChunkedProgress>();
  s->AttachHandle(p, *data, nullptr);
  skins.push_back(std::move(s));
  TPrinted shot = PrintWindowPixels(p, WM_PRINTCLIENT, PRF_CLIENT);
  const int row = ProgressChunkTop(shot.height, chunk.Height) + chunkRow;
  const int fill = 100, count = fill / chunk.Width + 1;
  int chunkPixels = 0, last = -1;
  for (int x = 0; x < shot.width; ++x)
    if (shot.At(x, row) == chunkColour) {
      ++chunkPixels;
      last = x;
    }
  EXPECT_EQ(chunkPixels, count * opaque);
  EXPECT_EQ(last, pr->LeftWidth + (count - 1) * chunk.Width + opaque - 1);
  EXPECT_EQ(shot.At(pr->LeftWidth, row), chunkColour) << "the first chunk starts at LeftWidth";
  EXPECT_NE(shot.At(pr->LeftWidth - 1, row), chunkColour);
}

// The framework's speed button and progress bars are reached by a form's walk: the flat speed
// button shows nothing of the button image at rest, the skin's hot frame under the mouse, the
// pressed frame while pressed, and a release over it clicks; both bars, across and upright, are
// drawn from the Progress entry and follow their position.
TEST_F(ControlSkinsTest, FormWalkSkinsTheSpeedButtonAndBothProgressBars) {
  const TDataSkinBorder* pr = data->Skin().Progress.get();
  ASSERT_NE(pr, nullptr);
  const std::vector<COLORREF> empty = FrameColours(pr->Image, 2, 1), filled = FrameColours(pr->Image, 2, 2);

  TForm form{nullptr};
  form.Name = "Gallery";
  form.SetBounds(60, 60, 360, 240);
  auto* speed = Placed<TSpeedButton>(form, 10, 10, 60, 30);
  speed->SetFlat(true);
  int clicks = 0;
  speed->OnClick = [&](TComponent&) { ++clicks; };
  auto* across = Placed<TProgressBar>(form, 10, 60, 200, 18);
  auto* upright = Placed<TProgressBar>(form, 220, 60, 18, 160);
  upright->Orientation = TProgressBarOrientation::pbVertical;
  for (TProgressBar* p : {across, upright}) p->SetPosition(25);
  form.Show();
  PumpFor(30);

  TFormSkin fs(*manager, form.Handle(), *data, &form);
  AttachControlSkins(fs);
  ASSERT_EQ(SkinOf(fs, speed), "TSkinSpeedButton");
  ASSERT_EQ(SkinOf(fs, across), "TSkinProgress");
  ASSERT_EQ(SkinOf(fs, upright), "TSkinProgress");

  ExpectFlatSpeedButtonStates(*data, speed->Handle());
  EXPECT_EQ(clicks, 1);

  TPrinted h = PrintWindowPixels(across->Handle(), WM_PRINTCLIENT, PRF_CLIENT);
  for (int x = 0; x < h.width; ++x) EXPECT_TRUE(In(x < 50 ? filled : empty, h.At(x, h.height / 2))) << "x " << x;
  TPrinted v = PrintWindowPixels(upright->Handle(), WM_PRINTCLIENT, PRF_CLIENT);
  for (int y = 0; y < v.height; ++y) EXPECT_TRUE(In(y >= 120 ? filled : empty, v.At(v.width / 2, y))) << "y " << y;
  across->SetPosition(100);
  EXPECT_TRUE(In(filled, PrintWindowPixels(across->Handle(), WM_PRINTCLIENT, PRF_CLIENT).At(190, 9)));

  DetachControlSkins(fs);
  form.Hide();
}

// A foreign window's edit brings its up-down buddy into the walk; the skinned up-down draws the
// button under a pressed mouse in its pressed look and leaves the other button as it was.
TEST_F(ControlSkinsTest, UpDownBuddyOfAForeignEditIsSkinnedAndShowsThePress) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
  HWND edit = Child("EDIT", "5", WS_BORDER, 10, 10, 80, 22, 11);
  HWND spin = Child(UPDOWN_CLASSA, "", UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 0, 0, 12);
  SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessageA(spin, UDM_SETRANGE32, 0, 100);
  TFormSkin fs(*manager, parent, *data, nullptr);
  AttachControlSkins(fs);
  ASSERT_NE(FindControlSkin(fs, edit), nullptr);
  auto* s = dynamic_cast<TSkinUpDown*>(FindControlSkin(fs, spin));
  ASSERT_NE(s, nullptr) << "the buddy up-down";

  RECT cr{};
  GetClientRect(spin, &cr);
  UpDownGeometry g = LayoutUpDown(cr.right, cr.bottom, false);
  auto half = [](const TPrinted& shot, const TRectI& r) {
    std::vector<COLORREF> px;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) px.push_back(shot.At(x, y));
    return px;
  };
  TPrinted before = PrintWindowPixels(spin, WM_PRINTCLIENT, PRF_CLIENT);
  SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cr.right / 2, 2));
  EXPECT_EQ(s->HeldButton(), 1);
  TPrinted held = PrintWindowPixels(spin, WM_PRINTCLIENT, PRF_CLIENT);
  SendMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(cr.right / 2, 2));
  EXPECT_EQ(s->HeldButton(), 0);
  TPrinted after = PrintWindowPixels(spin, WM_PRINTCLIENT, PRF_CLIENT);
  EXPECT_NE(half(before, g.First), half(held, g.First)) << "the pressed look";
  EXPECT_EQ(half(before, g.Second), half(held, g.Second)) << "the other button";
  EXPECT_EQ(half(before, g.First), half(after, g.First)) << "released";
  DetachControlSkins(fs);
}

// A scroll-bar control dragged by its skinned thumb: the parent hears SB_THUMBTRACK positions
// from the control, then SB_THUMBPOSITION and SB_ENDSCROLL, the last position maximum - page + 1.
TEST_F(ControlSkinsTest, ScrollBarControlThumbDraggedToTheEnd) {
  HWND bar = Child("SCROLLBAR", "", SBS_VERT, 250, 10, 17, 150, 13);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = 99;
  si.nPage = 10;
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  auto s = MakeControlSkin(ControlSkinClass::TSkinScControl, true);
  auto* sc = dynamic_cast<TSkinScControl*>(s.get());
  ASSERT_NE(sc, nullptr);
  sc->AttachHandle(bar, *data, nullptr);
  skins.push_back(std::move(s));
  std::optional<TScrollBarView> view = sc->ControlBar();
  ASSERT_TRUE(view && view->Parts.HasThumb);
  const int middle = (view->Parts.ThumbStart + view->Parts.ThumbEnd) / 2;
  g_scrolls.clear();
  PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, middle + 20));
  PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, middle + 1000));
  PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(8, middle + 1000));
  SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, middle));
  PumpFor(20);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 90);
  ASSERT_EQ(g_scrolls.size(), 4u);
  EXPECT_EQ(g_scrolls[0].first, SB_THUMBTRACK);
  EXPECT_GT(g_scrolls[0].second, 0);
  EXPECT_LT(g_scrolls[0].second, 90);
  EXPECT_EQ(g_scrolls[1], (std::pair<int, int>{SB_THUMBTRACK, 90}));
  EXPECT_EQ(g_scrolls[2], (std::pair<int, int>{SB_THUMBPOSITION, 90}));
  EXPECT_EQ(g_scrolls[3].first, SB_ENDSCROLL);
}
