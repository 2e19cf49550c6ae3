// The skin component under Wine: its defaults and accessor rules, the main window's stored skin,
// skin files loaded at run time (good, older, damaged), the menu glyphs and the text routine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "../Win32TestSupport.h"
#include "app/Main.h"
#include "skin/engine/SkinData.h"
#include "skin/file/SkinDescription.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

class NoShell : public IShell {
 public:
  uintptr_t Execute(HWND, const char*, const std::string&, const char*, const char*, int) override { return 33; }
};

struct Reports {
  std::vector<std::string> older, failures;
};
class RecordingReporter : public ISkinLoadReporter {
 public:
  explicit RecordingReporter(Reports* r) : r_(r) {}
  void OlderVersion(const std::string& text) override { r_->older.push_back(text); }
  void Failure(const std::string& text) override { r_->failures.push_back(text); }

 private:
  Reports* r_;
};

// Every test starts without a skin manager, so the one a component creates is the null manager.
class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override { DestroySkinManager(); }
  void TearDown() override { DestroySkinManager(); }
  // The null manager the components made; a failure when there is none.
  static TNullSkinManager& Manager() {
    auto* m = dynamic_cast<TNullSkinManager*>(SkinManager());
    if (!m) throw std::runtime_error("no skin manager has been made");
    return *m;
  }
};

std::string TempFile(const std::string& name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + "zelvo_skin_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

void WriteBytes(const std::string& path, const TByteVector& bytes) { ASSERT_TRUE(WriteFileBytes(path, bytes)) << path; }

TByteVector Bytes(std::string_view text) { return TByteVector(text.begin(), text.end()); }

constexpr TPixel kRed = MakePixel(255, 0, 0), kGreen = MakePixel(0, 255, 0), kBlue = MakePixel(0, 0, 255);

// A small skin: a two-frame left side whose top-left pixel is green, left half red, right half
// blue; one caption button 75 x 21 (three frames); scroll arrows; ButtonFace 10 20 30.
TSkinWriter SmallSkinWriter() {
  TBitmap32 left(8, 4, kRed);
  for (int y = 0; y < 4; ++y) {
    for (int x = 4; x < 8; ++x) left.At(x, y) = kBlue;
  }
  left.At(0, 0) = kGreen;
  TSkinWriter w;
  w.Add("Test.ini", Bytes("[TitlebarSkin]\r\nSkinName=Small\r\n"
                          "[Personality]\r\nLeft=left.bmp\r\nLeftFrame=2\r\n"
                          "[Colours]\r\nButtonFace=10 20 30\r\n"
                          "[Button1]\r\nAction=0\r\nButtonImage=close.bmp\r\n"
                          "[Scrollbar]\r\nImage=arrows.bmp\r\n"));
  w.Add("left.bmp", WriteBmp24(left));
  w.Add("close.bmp", WriteBmp24(TBitmap32(75, 21, kGreen)));
  w.Add("arrows.bmp", WriteBmp24(TBitmap32(23 * 4, 4, kBlue)));
  return w;
}

COLORREF PixelOf(HBITMAP bmp, int x, int y) {
  UniqueDC mem = CompatibleDC(nullptr);
  ScopedSelect sel(mem.Get(), bmp);
  return GetPixel(mem.Get(), x, y);
}

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof lb, &lb);
  return lb.lbColor;
}

// The skin sources of the program, read from the source tree through Wine's drive for "/".
std::vector<std::pair<std::string, TByteVector>> ReadSkinSources() {
  std::string dir = std::string("Z:") + ZELVO_SOURCE_DIR + "/resources/skin/";
  std::replace(dir.begin(), dir.end(), '/', '\\');
  std::vector<std::pair<std::string, TByteVector>> files;
  WIN32_FIND_DATAA fd;
  UniqueFindHandle search(FindFirstFileA((dir + "*").c_str(), &fd));
  if (!search) return files;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.emplace_back(fd.cFileName, ReadFileBytes(dir + fd.cFileName));
  } while (FindNextFileA(search.Get(), &fd));
  return files;
}

void ExpectSameObject(const TDataSkinObject& a, const TDataSkinObject& b, const std::string& what) {
  EXPECT_EQ(a.FrameCount, b.FrameCount) << what;
  EXPECT_EQ(a.Image.Width, b.Image.Width) << what;
  EXPECT_EQ(a.Image.Height, b.Image.Height) << what;
  EXPECT_TRUE(a.Image == b.Image) << what;
  EXPECT_EQ(std::make_tuple(a.LeftWidth, a.TopHeight, a.RightWidth, a.BottomHeight, a.Trans, a.Tile),
            std::make_tuple(b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight, b.Trans, b.Tile))
      << what;
}

}  // namespace

TEST_F(SkinDataTest, DefaultsAndPublishedProperties) {
  TSkinData data(nullptr);
  EXPECT_STREQ(data.ClassName(), "TSkinData");
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag(), 99);
  for (int i = 0; i < kSkinControlTypeCount; ++i) {
    const auto m = static_cast<TSkinControlType>(i);
    EXPECT_EQ(data.SkinControls().Contains(m), m != TSkinControlType::xcFastReport) << i;
  }
  EXPECT_EQ(data.Skin3rd(), BuiltinSkin3rd());
  EXPECT_EQ(data.Skin3rd().size(), 80u);
  EXPECT_EQ(data.SkinFile(), "");
  EXPECT_EQ(data.SkinStore(), "(none)");
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfMainform);
  EXPECT_EQ(data.Version(), "2.62.5.26");
  EXPECT_TRUE(data.MenuUpdate());
  EXPECT_TRUE(data.SkinEmpty());
  EXPECT_FALSE(data.LastLoad().has_value());
  EXPECT_TRUE(data.Container().empty());
  EXPECT_EQ(data.WriteSkinStream(), (TByteVector{0, 0, 0, 0}));  // always written, count only
  ASSERT_NE(data.ButtonFaceBrush(), nullptr);
  EXPECT_EQ(BrushColour(data.ButtonFaceBrush()), GetSysColor(COLOR_BTNFACE));
  ASSERT_NE(data.MenuGlyphs(), nullptr);
  EXPECT_EQ(ImageList_GetImageCount(data.MenuGlyphs()), 4);
  // Creating the component hands nothing over yet.
  EXPECT_EQ(SkinManager(), nullptr);

  // Version and SkinStore ignore writes; Skin3rd takes a copy.
  data.SetVersion("1.0");
  data.SetSkinStore("(Good)");
  EXPECT_EQ(data.Version(), "2.62.5.26");
  EXPECT_EQ(data.SkinStore(), "(none)");
  std::vector<std::string> lines{"TFoo=Edit"};
  data.SetSkin3rd(lines);
  lines.push_back("TBar=Panel");
  EXPECT_EQ(data.Skin3rd(), std::vector<std::string>{"TFoo=Edit"});

  // Published properties by name.
  EXPECT_TRUE(data.GetPropInfo("Active").exists);
  EXPECT_TRUE(data.GetPropInfo("Active").isEnum);
  EXPECT_TRUE(data.GetPropInfo("SkinFormtype").isEnum);
  EXPECT_TRUE(data.GetPropInfo("MenuUpdate").isEnum);
  EXPECT_TRUE(data.GetPropInfo("DisableTag").exists);
  EXPECT_FALSE(data.GetPropInfo("DisableTag").isEnum);
  EXPECT_TRUE(data.GetPropInfo("OnSkinControl").exists);
  EXPECT_FALSE(data.GetPropInfo("Checked").exists);
  int32_t v = -1;
  EXPECT_TRUE(data.GetOrdProp("SkinControls", v));
  EXPECT_EQ(v, (1 << 18) - 1);  // bits 0..17: every member but xcFastReport (18)
  EXPECT_TRUE(data.GetOrdProp("DisableTag", v));
  EXPECT_EQ(v, 99);
  EXPECT_FALSE(data.GetOrdProp("SkinFile", v));
  EXPECT_FALSE(data.GetOrdProp("Flat", v));
  EXPECT_TRUE(data.SetOrdProp("SkinFormtype", 2));
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfDialog);
  EXPECT_THROW(data.SetOrdProp("SkinFormtype", 3), Exception);
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfDialog);
  EXPECT_TRUE(data.SetOrdProp("SkinControls", 1 << 18));
  EXPECT_TRUE(data.SkinControls().Contains(TSkinControlType::xcFastReport));
  EXPECT_FALSE(data.SkinControls().Contains(TSkinControlType::xcMainMenu));
  EXPECT_THROW(data.SetOrdProp("SkinControls", 1 << 19), Exception);
  EXPECT_FALSE(data.SetOrdProp("Checked", 1));
}

TEST_F(SkinDataTest, MainWindowLoadsItsStoredSkinAtStartUp) {
  TMainForm form(nullptr, std::make_unique<NoShell>());
  ASSERT_NE(form.SkinData, nullptr);
  TSkinData& data = *form.SkinData;
  std::vector<TComponent*> comps = form.Components();
  ASSERT_EQ(comps.size(), 3u);
  EXPECT_EQ(comps[2], &data);
  EXPECT_EQ(form.Find<TSkinData>("SkinData"), &data);
  EXPECT_EQ(data.Owner(), &form);

  // The window's stored settings.
  EXPECT_TRUE(data.Active());
  EXPECT_EQ(data.DisableTag(), 99);
  EXPECT_EQ(data.SkinFormtype(), TSkinFormType::sfMainform);
  EXPECT_TRUE(data.MenuUpdate());
  EXPECT_EQ(data.Version(), "2.62.5.26");
  EXPECT_EQ(data.SkinControls(), kDefaultSkinControls);
  EXPECT_EQ(data.Skin3rd(), MainFormSkin3rd());
  EXPECT_EQ(data.Skin3rd().size(), 95u);
  EXPECT_FALSE(data.Reading());

  // The stored skin was decoded while the window was read.
  ASSERT_TRUE(data.LastLoad().has_value());
  ASSERT_TRUE(data.LastLoad()->Ok()) << data.LastLoad()->Message;
  ASSERT_FALSE(data.SkinEmpty());
  const TByteSpan stored = StoredSkinStream("MAINFORM_SKINSTREAM");
  EXPECT_EQ(data.WriteSkinStream(), TByteVector(stored.begin(), stored.end()));

  // It holds exactly the skin sources of the program, and loads to the same skin as they do.
  const auto sources = ReadSkinSources();
  ASSERT_GT(sources.size(), 40u) << "skin sources not found through Z:";
  TSkinReader reader;
  ASSERT_TRUE(reader.Load(data.Container()));
  EXPECT_EQ(reader.Count(), sources.size());
  TMemorySkinEntries entries;
  std::string description;
  for (const auto& [name, bytes] : sources) {
    TByteVector packed;
    EXPECT_TRUE(reader.ExtractByName(name, packed)) << name;
    EXPECT_EQ(packed, bytes) << name;
    if (name.find(".ini") != std::string::npos) description.assign(bytes.begin(), bytes.end());
    entries.Add(name, bytes);
  }
  TSkinObjects expected;
  ParseSkinDescription(description, entries, expected);
  const TSkinObjects& skin = data.Skin();
  EXPECT_EQ(skin.SkinName, "Zelvo");
  for (const TDataSkinBorder* side : {&skin.Left, &skin.Right, &skin.Top, &skin.Bottom}) {
    const TDataSkinBorder& e = *(side == &skin.Left ? &expected.Left : side == &skin.Right ? &expected.Right
                                 : side == &skin.Top ? &expected.Top : &expected.Bottom);
    ExpectSameObject(*side, e, side->Name);
  }
  ExpectSameObject(skin.Title, expected.Title, "Title");
  ExpectSameObject(skin.Buttons, expected.Buttons, "Buttons");
  EXPECT_EQ(skin.Buttons.CheckButtonFrame, expected.Buttons.CheckButtonFrame);
  ASSERT_EQ(skin.CaptionButtons.size(), expected.CaptionButtons.size());
  for (size_t i = 0; i < skin.CaptionButtons.size(); ++i) {
    ExpectSameObject(*skin.CaptionButtons[i], *expected.CaptionButtons[i], skin.CaptionButtons[i]->Name);
    EXPECT_EQ(skin.CaptionButtons[i]->Action, expected.CaptionButtons[i]->Action);
  }
  const auto got = skin.OptionalEntries(), want = expected.OptionalEntries();
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_NE(got[i].Object, nullptr) << got[i].Section;
    ExpectSameObject(*got[i].Object, *want[i].Object, got[i].Section);
  }
  EXPECT_EQ(std::memcmp(&skin.Colours, &expected.Colours, sizeof skin.Colours), 0);
  EXPECT_EQ(skin.ExtraColours, expected.ExtraColours);

  // Frame counts the loader sets per kind, and the skin's own colours.
  EXPECT_EQ(skin.Title.FrameCount, 2);
  EXPECT_EQ(skin.Buttons.FrameCount, 5);
  EXPECT_EQ(skin.Scrollbar->FrameCount, 23);
  EXPECT_EQ(skin.UpDownHorz->FrameCount, 8);
  EXPECT_EQ(skin.MenuBackground->FrameCount, 1);
  EXPECT_EQ(skin.Left.FrameCount, 2);
  EXPECT_EQ(data.Colours().ButtonFace, MakePixel(221, 229, 236));
  EXPECT_EQ(BrushColour(data.ButtonFaceBrush()), RGB(221, 229, 236));

  // Handed over to the manager: registered, hook asked for, skinning of all forms scheduled.
  TNullSkinManager& m = Manager();
  EXPECT_EQ(m.Registered(), std::vector<TSkinData*>{&data});
  EXPECT_TRUE(m.HookInstalled());
  EXPECT_EQ(m.ScheduledAction(), TSkinAction::SkinAll);
  EXPECT_EQ(m.ScheduledInterval(), 250u);
  EXPECT_TRUE(m.SkinningEnabled());
}

TEST_F(SkinDataTest, ComponentLeavesTheManagerWhenFreed) {
  {
    TMainForm form(nullptr, std::make_unique<NoShell>());
    ASSERT_EQ(Manager().Registered().size(), 1u);
  }
  EXPECT_TRUE(Manager().Registered().empty());
}

TEST_F(SkinDataTest, ActiveIsRefusedWhileTheSkinIsEmpty) {
  Reports reports;
  // Stored Active True with an empty stream: Loaded switches it off.
  TSkinData data(nullptr);
  data.SetReporter(std::make_unique<RecordingReporter>(&reports));
  TSkinDataStored stored;
  stored.Active = true;
  data.ReadStored(stored);
  EXPECT_TRUE(data.Reading());
  EXPECT_TRUE(data.Active());  // taken as stored while reading
  data.Loaded();
  EXPECT_FALSE(data.Active());
  EXPECT_FALSE(Manager().ScheduledAction().has_value());
  // Later attempts change nothing, by accessor or by name.
  data.SetActive(true);
  EXPECT_FALSE(data.Active());
  EXPECT_TRUE(data.SetOrdProp("Active", 1));
  int32_t v = -1;
  ASSERT_TRUE(data.GetOrdProp("Active", v));
  EXPECT_EQ(v, 0);
  EXPECT_FALSE(Manager().ScheduledAction().has_value());

  // With a skin it switches, and each change schedules skinning or unskinning of all forms.
  const std::string path = TempFile("active.skn");
  WriteBytes(path, SmallSkinWriter().Container());
  data.SetSkinFile(path);
  DeleteFileA(path.c_str());
  ASSERT_FALSE(data.SkinEmpty());
  data.SetActive(true);
  EXPECT_TRUE(data.Active());
  EXPECT_EQ(Manager().ScheduledAction(), TSkinAction::SkinAll);
  EXPECT_EQ(Manager().Pending(), &data);
  data.SetActive(false);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(Manager().ScheduledAction(), TSkinAction::UnskinAll);
  EXPECT_TRUE(reports.failures.empty());
  EXPECT_TRUE(reports.older.empty());
}

TEST_F(SkinDataTest, NonMainComponentStartsTheManagerAtOnce) {
  TSkinData data(nullptr);
  TSkinDataStored stored;
  stored.SkinFormtype = TSkinFormType::sfDialog;
  data.ReadStored(stored);
  data.Loaded();
  EXPECT_TRUE(Manager().SkinningEnabled());
  EXPECT_TRUE(Manager().Started());
  EXPECT_FALSE(Manager().HookInstalled());  // only the main component installs the hook
}

TEST_F(SkinDataTest, SkinFileLoadsAtRunTime) {
  TSkinData data(nullptr);
  const std::string path = TempFile("small.skn");
  WriteBytes(path, SmallSkinWriter().Container());
  data.SetSkinFile(path);
  DeleteFileA(path.c_str());
  EXPECT_EQ(data.SkinFile(), path);
  ASSERT_FALSE(data.SkinEmpty()) << (data.LastLoad() ? data.LastLoad()->Message : "");
  const TSkinObjects& skin = data.Skin();
  EXPECT_EQ(skin.SkinName, "Small");
  EXPECT_EQ(skin.DescriptionName, "test.ini");
  EXPECT_EQ(data.Colours().ButtonFace, MakePixel(10, 20, 30));
  EXPECT_EQ(BrushColour(data.ButtonFaceBrush()), RGB(10, 20, 30));
  EXPECT_EQ(skin.Left.FrameCount, 2);
  ASSERT_EQ(skin.CaptionButtons.size(), 4u);  // Button1 and the three MDI buttons
  EXPECT_EQ(skin.CaptionButtons[0]->FrameCount, 3);
  ASSERT_NE(skin.Scrollbar, nullptr);
  EXPECT_EQ(skin.Scrollbar->FrameCount, 23);
  EXPECT_EQ(skin.MenuItem, nullptr);

  // The loaded skin was handed over: the manager exists (made through Loaded) and re-skins.
  EXPECT_EQ(Manager().Registered(), std::vector<TSkinData*>{&data});
  EXPECT_EQ(Manager().Pending(), &data);
  EXPECT_EQ(Manager().ScheduledAction(), TSkinAction::SkinChanged);
  EXPECT_EQ(Manager().ScheduledInterval(), 250u);

  // GDI bitmaps of the skin's images keep colours and orientation, and are made once per load.
  HBITMAP left = data.GdiBitmap(skin.Left.Image);
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(BitmapSize(left).cx, 8);
  EXPECT_EQ(BitmapSize(left).cy, 4);
  EXPECT_EQ(PixelOf(left, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(PixelOf(left, 0, 3), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(left, 7, 0), RGB(0, 0, 255));
  EXPECT_EQ(data.GdiBitmap(skin.Left.Image), left);
  EXPECT_EQ(data.GdiBitmap(skin.Title.TextBack()), nullptr);  // empty image

  // The stored form of the skin reads back into another component as the same skin.
  Reports reports;
  TSkinData copy(nullptr);
  copy.SetReporter(std::make_unique<RecordingReporter>(&reports));
  const TByteVector stream = data.WriteSkinStream();
  ASSERT_EQ(stream.size(), data.Container().size() + 4);
  copy.ReadSkinStream(stream);
  ASSERT_FALSE(copy.SkinEmpty());
  EXPECT_EQ(copy.Colours().ButtonFace, MakePixel(10, 20, 30));
  EXPECT_TRUE(copy.Skin().Left.Image == skin.Left.Image);
  EXPECT_TRUE(reports.failures.empty());

  // A name that does not exist leaves the component empty, without a report.
  const std::string missing = TempFile("missing.skn");
  data.SetSkinFile(missing);
  EXPECT_EQ(data.SkinFile(), missing);
  EXPECT_TRUE(data.SkinEmpty());
  data.SetActive(true);
  EXPECT_FALSE(data.Active());
}

TEST_F(SkinDataTest, DamagedSkinFileIsReportedAndLeavesTheSkinEmpty) {
  Reports reports;
  TSkinData data(nullptr);
  data.SetReporter(std::make_unique<RecordingReporter>(&reports));
  const TByteVector good = SmallSkinWriter().Container();

  auto loadFails = [&](const TByteVector& bytes, const std::string& name, const std::string& expected) {
    SCOPED_TRACE(name);
    const std::string path = TempFile(name);
    WriteBytes(path, good);
    data.SetSkinFile(path);
    ASSERT_FALSE(data.SkinEmpty());

    WriteBytes(path, bytes);
    try {
      data.SetSkinFile(path);
      ADD_FAILURE() << "no error";
    } catch (const ESkinLoadError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
    DeleteFileA(path.c_str());
    EXPECT_TRUE(data.SkinEmpty());
    EXPECT_TRUE(data.Skin().Left.Image.Empty());
    EXPECT_TRUE(data.Skin().CaptionButtons.empty());
    ASSERT_TRUE(data.LastLoad().has_value());
    EXPECT_FALSE(data.LastLoad()->Ok());
    data.SetActive(true);
    EXPECT_FALSE(data.Active());
  };

  // Cut short: the stream runs out long before its declared size.
  loadFails(TByteVector(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 3)), "short.skn", "");
  // A declared size far beyond any skin.
  loadFails(TByteVector{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3}, "huge.skn", "");
  // Only part of the count.
  loadFails(TByteVector{7, 0}, "tiny.skn", "");
  // A container without a description.
  TSkinWriter noIni;
  noIni.Add("left.bmp", WriteBmp24(TBitmap32(2, 2, kRed)));
  loadFails(noIni.Container(), "noini.skn", "description");
  EXPECT_TRUE(reports.failures.empty());  // raised to the caller, not reported on the side
  EXPECT_TRUE(reports.older.empty());

  // An older container format is shown to the user (no exception) and leaves the skin empty.
  TByteVector older = SmallSkinWriter().Payload();
  older[0] = 0x1F;  // version 19999 instead of 20000
  older[1] = 0x4E;
  const std::string path = TempFile("older.skn");
  WriteBytes(path, SkinContainerEncode(older));
  EXPECT_NO_THROW(data.SetSkinFile(path));
  DeleteFileA(path.c_str());
  EXPECT_TRUE(data.SkinEmpty());
  EXPECT_EQ(reports.older, std::vector<std::string>{kSkinOlderVersionText});
}

TEST_F(SkinDataTest, DamagedStoredSkinIsReportedAndTheWindowCarriesOnUnskinned) {
  const TByteVector container = SmallSkinWriter().Container();

  // Count and data disagree, or the data is damaged: recorded and reported, never raised.
  struct Case {
    const char* name;
    TByteVector stream;
  };
  const auto n = static_cast<uint32_t>(container.size() + 10);
  TByteVector longer;
  for (int shift = 0; shift < 32; shift += 8) longer.push_back(static_cast<uint8_t>(n >> shift));
  longer.insert(longer.end(), container.begin(), container.end());
  // Five container bytes: 4096 decoded bytes declared, one byte of stream to make them from.
  const TByteVector damaged{5, 0, 0, 0, 0x00, 0x10, 0, 0, 0x55};
  const Case cases[] = {{"count beyond data", longer}, {"three bytes", TByteVector{1, 2, 3}},
                        {"damaged container", damaged}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reports reports;
    TSkinData data(nullptr);
    data.SetReporter(std::make_unique<RecordingReporter>(&reports));
    TSkinDataStored stored;
    stored.Active = true;
    stored.SkinStream = c.stream;
    EXPECT_NO_THROW(data.ReadStored(stored));
    data.Loaded();
    EXPECT_TRUE(data.SkinEmpty());
    EXPECT_FALSE(data.Active());
    ASSERT_EQ(reports.failures.size(), 1u);
    EXPECT_NE(reports.failures[0].find("skin cannot be loaded"), std::string::npos) << reports.failures[0];
    ASSERT_TRUE(data.LastLoad().has_value());
    EXPECT_EQ(data.LastLoad()->Status, TSkinLoadStatus::Damaged);
  }

  // Through the program's own reporter the failure reaches the user in the "Error" dialog.
  TSkinData data(nullptr);
  std::string shown, title;
  bool seen = WithDialog([&] { data.ReadSkinStream(longer); },
                         [&](TMessageForm& dlg) {
                           title = dlg.Caption();
                           if (auto* l = dlg.Find<TLabel>("Message")) shown = l->Caption();
                           dlg.ModalResult = 1;
                         });
  ASSERT_TRUE(seen);
  EXPECT_EQ(title, "Error");
  EXPECT_NE(shown.find("The window's skin cannot be loaded"), std::string::npos) << shown;
  EXPECT_TRUE(data.SkinEmpty());
}

TEST_F(SkinDataTest, MenuGlyphsDrawThroughTheirWhiteMask) {
  TSkinData data(nullptr);
  UniqueGdi<HBITMAP> source = LoadBitmapResource(kMenuGlyphResource);
  ASSERT_EQ(BitmapSize(source.Get()).cx, 64);
  ASSERT_EQ(BitmapSize(source.Get()).cy, 16);
  UniqueDC src = CompatibleDC(nullptr);
  ScopedSelect selSrc(src.Get(), source.Get());
  const COLORREF white = RGB(255, 255, 255), red = RGB(255, 0, 0);

  // Enabled: every glyph's pixels as in the resource, its white parts leaving the red ground.
  UniqueGdi<HBITMAP> target = CreateGdiBitmap(TBitmap32(64, 16, kRed));
  UniqueDC dst = CompatibleDC(nullptr);
  {
    ScopedSelect sel(dst.Get(), target.Get());
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(data.DrawMenuGlyph(dst.Get(), 16 * i, 0, i, true));
    int glyphPixels = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 64; ++x) {
        const COLORREF s = GetPixel(src.Get(), x, y);
        glyphPixels += s != white;
        ASSERT_EQ(GetPixel(dst.Get(), x, y), s == white ? red : s) << x << "," << y;
      }
    }
    EXPECT_GT(glyphPixels, 4 * 10);
    EXPECT_FALSE(data.DrawMenuGlyph(dst.Get(), 0, 0, 4, true));
    EXPECT_FALSE(data.DrawMenuGlyph(dst.Get(), 0, 0, -1, true));
  }

  // Disabled: the close glyph's shape in the shadow colour over its highlight copy one pixel
  // down and right.
  UniqueGdi<HBITMAP> greyed = CreateGdiBitmap(TBitmap32(17, 17, kRed));
  ScopedSelect sel(dst.Get(), greyed.Get());
  ASSERT_TRUE(data.DrawMenuGlyph(dst.Get(), 0, 0, 3, false));
  auto inGlyph = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < 16 && y < 16 && GetPixel(src.Get(), 48 + x, y) != white;
  };
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; x < 17; ++x) {
      const COLORREF want = inGlyph(x, y)           ? GetSysColor(COLOR_BTNSHADOW)
                            : inGlyph(x - 1, y - 1) ? GetSysColor(COLOR_BTNHIGHLIGHT)
                                                    : red;
      ASSERT_EQ(GetPixel(dst.Get(), x, y), want) << x << "," << y;
    }
  }
}

TEST(SkinText, WideAndAnsiCallsMeasureAndDrawAlike) {
  EXPECT_TRUE(IsNtPlatform());
  UniqueGdi<HFONT> font(CreateFontFromSpec(TFontSpec{}));
  UniqueDC dc = CompatibleDC(nullptr);
  ScopedSelect selFont(dc.Get(), font.Get());
  const UINT measure = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;
  const std::wstring text = AnsiToWide("Close\tShift+F4");
  EXPECT_EQ(text, L"Close\tShift+F4");
  RECT wide{0, 0, 0, 0}, ansi{0, 0, 0, 0}, automatic{0, 0, 0, 0};
  SkinDrawTextWith(TTextCall::Wide, dc.Get(), text, wide, measure);
  SkinDrawTextWith(TTextCall::Ansi, dc.Get(), text, ansi, measure);
  SkinDrawText(dc.Get(), text, automatic, measure);
  EXPECT_GT(wide.right, 40);
  EXPECT_GT(wide.bottom, 8);
  EXPECT_TRUE(EqualRect(&wide, &ansi));
  EXPECT_TRUE(EqualRect(&wide, &automatic));

  auto draw = [&](TTextCall call) {
    TBitmap32 canvas(160, 20, MakePixel(255, 255, 255));
    UniqueGdi<HBITMAP> bmp = CreateGdiBitmap(canvas);
    {
      ScopedSelect sel(dc.Get(), bmp.Get());
      SetBkMode(dc.Get(), TRANSPARENT);
      SetTextColor(dc.Get(), RGB(0, 0, 0));
      RECT r{0, 0, 160, 20};
      SkinDrawTextWith(call, dc.Get(), text, r, DT_EXPANDTABS | DT_SINGLELINE);
    }
    std::vector<COLORREF> pixels;
    ScopedSelect sel(dc.Get(), bmp.Get());
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 160; ++x) pixels.push_back(GetPixel(dc.Get(), x, y));
    }
    return pixels;
  };
  const auto a = draw(TTextCall::Wide), b = draw(TTextCall::Ansi);
  EXPECT_EQ(a, b);
  EXPECT_GT(std::count(a.begin(), a.end(), RGB(0, 0, 0)), 20);
}
