// Container bytes -> skin objects, with the program's own skin packed from its sources, and the
// ways a container can fail to give a skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/file/SkinLoad.h"

namespace zelvo {
namespace {

const std::filesystem::path kSkinDir = std::filesystem::path(ZELVO_SOURCE_DIR) / "resources" / "skin";

TByteVector ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TByteVector((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The program's skin as the build packs it: every file of the folder, description first.
TByteVector PackOwnSkin() {
  TSkinWriter writer;
  writer.Add("skin.ini", ReadFile(kSkinDir / "skin.ini"));
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(kSkinDir)) {
    if (e.path().extension() == ".bmp") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& f : files) writer.Add(f.filename().string(), ReadFile(f));
  return writer.Container();
}

TEST(SkinLoad, ProgramSkinLoadsCompletely) {
  TSkinObjects skin;
  const TSkinLoadResult r = LoadSkin(PackOwnSkin(), skin);
  ASSERT_TRUE(r.Ok()) << r.Message;
  EXPECT_EQ(skin.DescriptionName, "skin.ini");
  EXPECT_EQ(skin.SkinName, "Zelvo");
  for (const auto& p : skin.ImageProblems) ADD_FAILURE() << p.Section << "/" << p.Key << ": " << p.Reason;
  EXPECT_TRUE(skin.Warnings.empty());

  // Every piece exists and its image divides into its frames.
  auto check = [](const TDataSkinObject& o, const std::string& what) {
    ASSERT_FALSE(o.Image.Empty()) << what;
    ASSERT_GE(o.FrameCount, 1) << what;
    EXPECT_EQ(o.Image.Width % o.FrameCount, 0) << what << " width " << o.Image.Width << " / " << o.FrameCount;
    // The fixed edges leave room in each frame.
    EXPECT_LE(o.LeftWidth + o.RightWidth, o.Image.Width / o.FrameCount) << what;
  };
  for (const auto& e : skin.OptionalEntries()) {
    ASSERT_NE(e.Object, nullptr) << e.Section;
    if (std::string(e.Section) == "Personality/menuBar") {
      EXPECT_EQ(e.Object->Image.Height % 2, 0);  // two frames stacked
      continue;
    }
    check(*e.Object, e.Section);
    EXPECT_LE(e.Object->TopHeight + e.Object->BottomHeight, e.Object->Image.Height) << e.Section;
  }
  check(skin.Buttons, "Buttons");
  EXPECT_EQ(skin.Buttons.CheckImage.Width, 13 * skin.Buttons.CheckButtonFrame);
  EXPECT_EQ(skin.Buttons.RadioImage.Width, 13 * skin.Buttons.RadioButtonFrame);
  EXPECT_FALSE(skin.Progress->Image2.Empty());
  EXPECT_FALSE(skin.Tabs->Image2.Empty());
  EXPECT_FALSE(skin.UpDownHorz->Image2.Empty());
  EXPECT_FALSE(skin.UpDownVert->Image2.Empty());
  EXPECT_EQ(skin.UpDownVert->Image2.Width % 8, 0);
  EXPECT_FALSE(skin.ComboButton->Image2.Empty());
  EXPECT_FALSE(skin.Title.TextBack().Empty());
  EXPECT_EQ(skin.Title.TextBack().Height % 2, 0);
  EXPECT_EQ(skin.Title.ActiveTextColour, MakePixel(255, 255, 255));

  // The frame: Left and Right side by side, Top and Bottom stacked, rounded top corners cut out
  // with magenta, and the side thicknesses meeting the caption strip.
  for (const TDataSkinBorder* side : {&skin.Left, &skin.Right, &skin.Top, &skin.Bottom}) {
    ASSERT_FALSE(side->Image.Empty()) << side->Name;
    EXPECT_EQ(side->FrameCount, 2) << side->Name;
    EXPECT_EQ(side->Trans, 1) << side->Name;
  }
  const int32_t leftWidth = skin.Left.Image.Width / 2, topHeight = skin.Top.Image.Height / 2;
  EXPECT_EQ(leftWidth, skin.Right.Image.Width / 2);
  EXPECT_EQ(skin.Left.TopHeight, topHeight);
  EXPECT_EQ(skin.Left.Image.At(0, 0), kMagenta);
  EXPECT_EQ(skin.Right.Image.At(leftWidth - 1, 0), kMagenta);
  EXPECT_NE(skin.Left.Image.At(0, skin.Left.Image.Height - 1), kMagenta);  // square bottom corners

  // Caption buttons: close, maximize, restore, minimize, the system menu, then the MDI three.
  ASSERT_EQ(skin.CaptionButtons.size(), 8u);
  const int actions[] = {0, 1, 1, 2, 3, 7, 8, 9};
  for (size_t i = 0; i < 8; ++i) {
    const TDataSkinSysButton& b = *skin.CaptionButtons[i];
    EXPECT_EQ(b.Action, actions[i]) << b.Name;
    if (b.Action == 3) {
      EXPECT_TRUE(b.Image.Empty());  // the window's own icon is shown
      continue;
    }
    ASSERT_FALSE(b.Image.Empty()) << b.Name;
    EXPECT_EQ(b.FrameCount, 4) << b.Name;
    EXPECT_EQ(b.Image.Width % 4, 0) << b.Name;
    if (b.Align == 1) {
      EXPECT_LE(b.Ycoord + b.Image.Height, topHeight) << b.Name;  // inside the caption strip
    }
  }

  EXPECT_EQ(skin.Colours.ButtonFace, MakePixel(221, 229, 236));
  EXPECT_EQ(skin.Colours.Hilight, MakePixel(31, 122, 140));
  EXPECT_EQ(skin.ExtraColours, std::vector<TColor>{MakePixel(245, 166, 35)});
}

TEST(SkinLoad, MenuGlyphBitmapHoldsFourGlyphsOnWhite) {
  const TBitmap32 glyphs = ReadBmp(ReadFile(std::filesystem::path(ZELVO_SOURCE_DIR) / "resources" / "skin_menu_glyphs.bmp"));
  ASSERT_EQ(glyphs.Width, 64);
  ASSERT_EQ(glyphs.Height, 16);
  const TPixel white = MakePixel(255, 255, 255);
  for (int g = 0; g < 4; ++g) {
    int inked = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) inked += glyphs.At(16 * g + x, y) != white;
    }
    EXPECT_GT(inked, 10) << "glyph " << g;
    EXPECT_EQ(glyphs.At(16 * g, 0), white) << "glyph " << g;  // the mask colour around it
  }
}

TEST(SkinLoad, FailuresLeaveAnEmptySkinWithAMessage) {
  TSkinObjects skin;
  ASSERT_TRUE(LoadSkin(PackOwnSkin(), skin).Ok());

  // An older container version.
  TSkinWriter writer;
  writer.Add("a.ini", {'[', 'x', ']'});
  TByteVector payload = writer.Payload();
  payload[0] = 0x1F;  // version 19999
  TSkinLoadResult r = LoadSkin(SkinContainerEncode(payload), skin);
  EXPECT_EQ(r.Status, TSkinLoadStatus::OlderVersion);
  EXPECT_EQ(r.Message, kSkinOlderVersionText);
  EXPECT_TRUE(skin.Left.Image.Empty());
  EXPECT_TRUE(skin.CaptionButtons.empty());

  // Bytes that are no container at all.
  ASSERT_TRUE(LoadSkin(PackOwnSkin(), skin).Ok());
  const TByteVector junk = {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3};
  r = LoadSkin(junk, skin);
  EXPECT_EQ(r.Status, TSkinLoadStatus::Damaged);
  EXPECT_FALSE(r.Message.empty());
  EXPECT_TRUE(skin.Left.Image.Empty());
  EXPECT_EQ(LoadSkin(TByteVector{}, skin).Status, TSkinLoadStatus::Damaged);

  // A container without a description.
  TSkinWriter bare;
  bare.Add("left.bmp", WriteBmp24(TBitmap32(2, 2)));
  r = LoadSkin(bare.Container(), skin);
  EXPECT_EQ(r.Status, TSkinLoadStatus::NoDescription);
  EXPECT_NE(r.Message.find(".ini"), std::string::npos);
}

TEST(SkinLoad, EntryNamesMatchWithoutLetterCase) {
  TSkinWriter writer;
  writer.Add("Skin.INI", TByteVector{});
  const std::string ini = "[Personality]\nLeft=frames\\LEFT.bmp\n";
  writer.Add("Skin.INI", TByteVector(ini.begin(), ini.end()));  // only the first of a name counts
  TSkinWriter w2;
  w2.Add("Skin.INI", TByteVector(ini.begin(), ini.end()));
  w2.Add("Left.Bmp", WriteBmp24(TBitmap32(6, 3)));
  TSkinObjects skin;
  ASSERT_TRUE(LoadSkin(w2.Container(), skin).Ok());
  EXPECT_EQ(skin.DescriptionName, "skin.ini");
  EXPECT_EQ(skin.Left.Image.Width, 6);
  ASSERT_TRUE(LoadSkin(writer.Container(), skin).Ok());
  EXPECT_TRUE(skin.Left.Image.Empty());
}

}  // namespace
}  // namespace zelvo
