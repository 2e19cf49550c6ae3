// The date field's popup calendar on a real form: Alt+Down and the button open it, keys browse it,
// Escape reverts, Enter and clicks hand a date over, Tab moves on; a screenshot of it is saved.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "DateControlsTestSupport.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

struct PopupForm : DateForm {
  PopupForm() {
    date->OnPopupOpen = [this](TComponent&) { ++opened; };
    date->OnPopupClose = [this](TComponent&) { ++closed; };
  }
  // Alt+Down in the focused field.
  void Open() {
    date->SetFocus();
    PostAltKey(date->Handle(), VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return PopupShown() && GetFocus() == Calendar(); }));
    Pump(30);
  }
  TZcCalendarCore& Core() { return date->Calendar().Core(); }
  int opened = 0;
  int closed = 0;
};

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The calendar window as the screen shows it, 24 bits per pixel, rows top-down.
struct Capture {
  int width = 0, height = 0;
  std::vector<uint8_t> bgr;
  COLORREF Pixel(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return RGB(bgr[i + 2], bgr[i + 1], bgr[i]);
  }
  bool Contains(const RECT& r, COLORREF c) const {
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, height); ++y)
      for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, width); ++x)
        if (Pixel(x, y) == c) return true;
    return false;
  }
};

Capture CaptureWindow(HWND w) {
  RECT wr;
  GetWindowRect(w, &wr);
  Capture cap;
  cap.width = wr.right - wr.left;
  cap.height = wr.bottom - wr.top;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = cap.width;
  bi.bmiHeader.biHeight = -cap.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  WindowDC screen(nullptr);
  UniqueGdi<HBITMAP> dib(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueDC mem = CompatibleDC(screen.Get());
  {
    ScopedSelect sel(mem.Get(), dib.Get());
    // The window's own rendering, frame included; the screen's copy where that is not available.
    if (!PrintWindow(w, mem.Get(), 0)) {
      BitBlt(mem.Get(), 0, 0, cap.width, cap.height, screen.Get(), wr.left, wr.top, SRCCOPY);
    }
  }
  GdiFlush();
  const size_t stride = (static_cast<size_t>(cap.width) * 3 + 3) & ~size_t{3};
  cap.bgr.resize(static_cast<size_t>(cap.width) * static_cast<size_t>(cap.height) * 3);
  for (int y = 0; y < cap.height; ++y) {
    const auto* row = static_cast<const uint8_t*>(bits) + stride * static_cast<size_t>(y);
    std::copy(row, row + cap.width * 3, cap.bgr.begin() + static_cast<ptrdiff_t>(y) * cap.width * 3);
  }
  return cap;
}

// Writes the capture as a 24-bit BMP; the folder comes from ZELVO_SCREENSHOT_DIR (a Unix path is
// reached through Wine's Z: drive) or is "screenshots" beside the test program.
std::string SaveBmp(const Capture& cap, const std::string& name) {
  std::string dir;
  if (const char* env = std::getenv("ZELVO_SCREENSHOT_DIR"); env && *env) {
    dir = env;
    if (dir[0] == '/') dir = "Z:" + dir;
  } else {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    dir = std::string(path, n);
    dir = dir.substr(0, dir.find_last_of("\\/")) + "\\screenshots";
  }
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string file = dir + "\\" + name;
  const uint32_t stride = (static_cast<uint32_t>(cap.width) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * static_cast<uint32_t>(cap.height);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  fh.bfSize = fh.bfOffBits + imageSize;
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = cap.width;
  ih.biHeight = cap.height;  // bottom-up rows
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biSizeImage = imageSize;
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
  std::vector<char> row(stride, 0);
  for (int y = cap.height - 1; y >= 0; --y) {
    std::copy(cap.bgr.begin() + static_cast<ptrdiff_t>(y) * cap.width * 3,
              cap.bgr.begin() + static_cast<ptrdiff_t>(y + 1) * cap.width * 3, row.begin());
    out.write(row.data(), stride);
  }
  return out ? file : std::string();
}

}  // namespace

TEST(DatePopup, AltDownOpensPageDownBrowsesAndEscapeReverts) {
  PopupForm f;
  const TStDate today = ZcToday();
  f.date->SetDate(Serial(today));
  f.Open();
  HWND cal = f.Calendar();
  EXPECT_TRUE(f.date->PopupActive());
  EXPECT_EQ(GetCapture(), cal) << "the popup holds the mouse";
  EXPECT_EQ(f.Core().Julian(), today) << "the field's date";
  EXPECT_EQ(GetWindowLongA(cal, GWL_STYLE) & WS_CHILD, 0) << "a top-level popup";
  EXPECT_NE(GetWindowLongA(cal, GWL_STYLE) & WS_BORDER, 0);
  EXPECT_EQ(GetAncestor(cal, GA_ROOT), cal);
  ASSERT_TRUE(PumpUntil([&] { return f.opened == 1; })) << "OnPopupOpen arrives after the opening";
  EXPECT_EQ(f.closed, 0);

  // Below the field, lined up with its left edge (3 pixels further left than the client area).
  POINT origin{0, 0};
  ClientToScreen(f.date->HandleIfCreated(), &origin);
  RECT cr;
  GetWindowRect(cal, &cr);
  EXPECT_EQ(cr.left, origin.x - 3);
  EXPECT_EQ(cr.top, origin.y + f.date->Height() - 4);
  EXPECT_EQ(cr.right - cr.left, 200);
  EXPECT_EQ(cr.bottom - cr.top, 140);

  PostKey(cal, VK_NEXT);
  const TStDate nextMonth = IncDateTrunc(today, 1, 0);
  ASSERT_TRUE(PumpUntil([&] { return f.Core().Julian() == nextMonth; }));
  EXPECT_TRUE(f.PopupShown()) << "browsing keeps the popup open";
  EXPECT_EQ(f.date->Date(), Serial(nextMonth)) << "and the field follows";

  PostKey(cal, VK_ESCAPE);
  PostChars(cal, "\x1B");
  ASSERT_TRUE(PumpUntil([&] { return !f.PopupShown(); }));
  EXPECT_EQ(f.Core().Julian(), today) << "Escape goes back to the date the popup opened with";
  EXPECT_EQ(f.date->Date(), Serial(today));
  EXPECT_EQ(f.date->Text(), UsShown(today));
  EXPECT_EQ(GetFocus(), f.date->HandleIfCreated());
  EXPECT_NE(GetCapture(), cal);
  EXPECT_FALSE(f.date->PopupActive());
  EXPECT_TRUE(PumpUntil([&] { return f.closed == 1; }));
}

TEST(DatePopup, PlusMovesTheHighlightOnlyAndEnterHandsTheDateOver) {
  PopupForm f;
  const TStDate today = ZcToday();
  f.Open();  // empty box: the calendar starts at today
  HWND cal = f.Calendar();
  EXPECT_EQ(f.Core().Julian(), today);
  PostChars(cal, "+");
  ASSERT_TRUE(PumpUntil([&] { return f.Core().Julian() == today + 1; }));
  Pump(50);
  EXPECT_EQ(f.date->Date(), 0.0) << "'+' in the calendar does not tell the field";
  EXPECT_TRUE(f.PopupShown());

  PostKey(cal, VK_RETURN);
  PostChars(cal, "\r");
  ASSERT_TRUE(PumpUntil([&] { return !f.PopupShown(); }));
  EXPECT_EQ(f.date->Date(), Serial(today + 1));
  EXPECT_EQ(f.date->Text(), UsShown(today + 1));
  EXPECT_EQ(GetFocus(), f.date->HandleIfCreated());
  EXPECT_EQ(f.date->SelStart(), static_cast<int>(f.date->Text().size())) << "caret at the end";
  EXPECT_EQ(f.date->SelLength(), 0);
  EXPECT_TRUE(f.date->Modified());
}

TEST(DatePopup, AGreyDayOfTheNextMonthKeepsThePopupOpenADayOfTheMonthClosesIt) {
  PopupForm f;
  const TStDate today = ZcToday();
  f.date->SetDate(Serial(today));
  f.Open();
  HWND cal = f.Calendar();
  TZcCalendarCore& core = f.Core();
  const int greyCell = core.LastCell() + 1;  // always within the six shown weeks
  ASSERT_LE(greyCell, 42);
  const TStDate grey = core.CellDate(greyCell);
  POINT p = Centre(f.date->Calendar().CellRect(greyCell));
  PostClick(cal, p.x, p.y);
  ASSERT_TRUE(PumpUntil([&] { return core.Julian() == grey; }));
  Pump(50);
  EXPECT_TRUE(f.PopupShown());
  EXPECT_EQ(f.date->Date(), Serial(grey));
  int gy, gm, gd;
  Parts(grey, gy, gm, gd);
  EXPECT_EQ(core.Month(), gm) << "the calendar moved to that month";

  // The 15th of the month now shown: chosen, closed.
  const int cell15 = core.FirstCell() + 14;
  const TStDate fifteenth = core.CellDate(cell15);
  p = Centre(f.date->Calendar().CellRect(cell15));
  PostClick(cal, p.x, p.y);
  ASSERT_TRUE(PumpUntil([&] { return !f.PopupShown(); }));
  EXPECT_EQ(f.date->Date(), Serial(fifteenth));
  EXPECT_EQ(GetFocus(), f.date->HandleIfCreated());
}

TEST(DatePopup, TabInTheCalendarClosesAndMovesTheFocusOn) {
  PopupForm f;
  f.Open();
  PostKey(f.Calendar(), VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == f.after->HandleIfCreated(); }));
  EXPECT_FALSE(f.PopupShown());
  EXPECT_FALSE(f.date->PopupActive());
}

TEST(DatePopup, TheButtonOpensWithoutTakingTheFocusAndAPressOutsideCloses) {
  PopupForm f;
  f.after->SetFocus();
  HWND button = f.date->Button().Handle();
  RECT br;
  GetClientRect(button, &br);
  PostClick(button, br.right / 2, br.bottom / 2);
  ASSERT_TRUE(PumpUntil([&] { return f.PopupShown(); }));
  EXPECT_EQ(GetFocus(), f.Calendar());

  // A press far outside both windows (client coordinates of the capturing calendar).
  PostClick(f.Calendar(), -150, 400);
  ASSERT_TRUE(PumpUntil([&] { return !f.PopupShown(); }));
  EXPECT_EQ(GetFocus(), f.date->HandleIfCreated()) << "the field takes the focus";
  EXPECT_EQ(f.date->Date(), 0.0) << "nothing was chosen";

  // Read-only: the button is disabled and Alt+Down opens nothing.
  f.date->SetReadOnly(true);
  f.date->SetFocus();
  PostAltKey(f.date->HandleIfCreated(), VK_DOWN);
  PostClick(button, br.right / 2, br.bottom / 2);
  Pump(150);
  EXPECT_FALSE(f.PopupShown());
}

TEST(DatePopup, ScreenshotOfTheOpenCalendar) {
  PopupForm f;
  f.date->SetDate(Serial(ZcToday()));
  f.Open();
  HWND cal = f.Calendar();
  UpdateWindow(cal);
  Pump(100);
  Capture cap = CaptureWindow(cal);
  std::string file = SaveBmp(cap, "calendar.bmp");
  EXPECT_FALSE(file.empty()) << "the screenshot was written";
  std::printf("calendar screenshot: %s\n", file.c_str());

  // Painted as configured: client area offset by the frame.
  POINT offset{0, 0};
  ClientToScreen(cal, &offset);
  RECT wr;
  GetWindowRect(cal, &wr);
  auto toWindow = [&](RECT r) {
    OffsetRect(&r, offset.x - wr.left, offset.y - wr.top);
    return r;
  };
  TZcCalendar& c = f.date->Calendar();
  TZcCalendarCore& core = c.Core();
  EXPECT_TRUE(cap.Contains(toWindow(c.CellRect(core.ActiveCell())), RGB(255, 0, 0)))
      << "the current day's number in ActiveDay red";
  EXPECT_TRUE(cap.Contains(toWindow(ToRect(core.Layout().headerBox)), RGB(0, 0, 255)))
      << "month and year in blue";
  EXPECT_TRUE(cap.Contains(toWindow(c.ButtonRect(TZcCalButton::PrevYear)), RGB(0x12, 0x32, 0x4A)))
      << "the previous-year glyph";
  EXPECT_TRUE(cap.Contains(toWindow(c.ButtonRect(TZcCalButton::Today)), RGB(0x1F, 0x7A, 0x8C)))
      << "the Today glyph";
  const int grey = core.LastCell() + 1;
  EXPECT_TRUE(cap.Contains(toWindow(c.CellRect(grey)), RGB(0x80, 0x80, 0x80))) << "next month's days in grey";
}
