// The frame of the program's own skin (packed from resources/skin and read with the skin loader),
// and the preview tool run as a skin author runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/file/SkinLoad.h"
#include "skin/render/SkinPreview.h"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
const fs::path kSkinDir = fs::path(ZELVO_SOURCE_DIR) / "resources" / "skin";

TByteVector ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TByteVector((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TByteVector PackOwnSkin() {
  TSkinWriter writer;
  writer.Add("skin.ini", ReadFile(kSkinDir / "skin.ini"));
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(kSkinDir)) {
    if (e.path().extension() == ".bmp") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& f : files) writer.Add(f.filename().string(), ReadFile(f));
  return writer.Container();
}

const TSkinObjects& OwnSkin() {
  static const TSkinObjects skin = [] {
    TSkinObjects s;
    EXPECT_TRUE(LoadSkin(PackOwnSkin(), s).Ok());
    return s;
  }();
  return skin;
}

int FindButton(const TSkinObjects& skin, int32_t action, int32_t visibility) {
  for (size_t i = 0; i < skin.CaptionButtons.size(); ++i) {
    if (skin.CaptionButtons[i]->Action == action && skin.CaptionButtons[i]->Visibility == visibility) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

TEST(ProgramSkinFrame, SizeableWindowLayoutButtonsAndRoundedCorners) {
  const TSkinObjects& skin = OwnSkin();
  TFrameInput in;
  in.Width = 418;
  in.Height = 275;
  in.Style = wstyle::kCaption | wstyle::kSysMenu | wstyle::kThickFrame | wstyle::kMinimizeBox | wstyle::kMaximizeBox;
  in.HasSystemMenu = true;
  in.CaptionTextWidth = 90;
  in.CaptionTextHeight = 15;
  const TBitmap32 icon(16, 16, MakePixel(0, 200, 0));
  in.Icon = &icon;
  const TFrameLayout layout = LayoutFrame(skin, in);
  EXPECT_EQ(layout.Thickness, (TFrameThickness{4, 28, 4, 4}));

  const int close = FindButton(skin, 0, 200), maximize = FindButton(skin, 1, 2), restore = FindButton(skin, 1, 1),
            minimize = FindButton(skin, 2, 8), sysmenu = FindButton(skin, 3, 0);
  ASSERT_TRUE(close >= 0 && maximize >= 0 && restore >= 0 && minimize >= 0 && sysmenu >= 0);
  const auto& b = layout.Buttons;
  EXPECT_TRUE(b[close].Visible && b[maximize].Visible && b[minimize].Visible && b[sysmenu].Visible);
  EXPECT_FALSE(b[restore].Visible);
  EXPECT_EQ(b[close].Rect, (TRectI{418 - 34, 5, 418 - 34 + 26, 25}));
  EXPECT_EQ(b[sysmenu].Rect, (TRectI{8, 7, 24, 23}));  // the window icon, one frame
  EXPECT_EQ(layout.Text.Box, (TRectI{26, 6, 26 + 96, 21}));

  TBitmap32 window(418, 275, MakePixel(1, 1, 1));
  ComposeFrame(window, skin, layout, in);
  EXPECT_EQ(window.At(10, 10), MakePixel(0, 200, 0));
  // Close button: its first frame where the image is not magenta.
  const TBitmap32& image = skin.CaptionButtons[static_cast<size_t>(close)]->Image;
  int compared = 0;
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 26; ++x) {
      if (image.At(x, y) == kMagenta) {
        ASSERT_NE(window.At(384 + x, 5 + y), kMagenta) << x << "," << y;  // the caption side shows
        continue;
      }
      ASSERT_EQ(window.At(384 + x, 5 + y), image.At(x, y)) << x << "," << y;
      ++compared;
    }
  EXPECT_GT(compared, 20);  // the glyph itself

  // The magenta corners of the sides are cut from the region; the interior and edges stay.
  const auto region = FrameRegion(skin, layout, in, &window);
  EXPECT_FALSE(RegionContains(region, 0, 0));
  EXPECT_FALSE(RegionContains(region, 417, 0));
  EXPECT_TRUE(RegionContains(region, 3, 1));
  EXPECT_TRUE(RegionContains(region, 200, 0));
  EXPECT_TRUE(RegionContains(region, 200, 150));
  EXPECT_TRUE(RegionContains(region, 0, 150));
  EXPECT_LT(RegionArea(region), 418 * 275);
  EXPECT_GT(RegionArea(region), 418 * 275 - 40);
}

// ---- The preview tool ----

int RunPreview(const std::string& args) {
  const std::string command = std::string(ZELVO_SKINPREVIEW) + " " + args + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SkinPreviewTool, WritesTheFrameTheCoreComposes) {
  const fs::path dir = fs::path(testing::TempDir()) / "skinpreview_test";
  fs::create_directories(dir);
  const fs::path skn = dir / "own.skn";
  const TByteVector container = PackOwnSkin();
  std::ofstream(skn, std::ios::binary).write(reinterpret_cast<const char*>(container.data()),
                                             static_cast<std::streamsize>(container.size()));
  const fs::path fromFolder = dir / "folder.bmp", fromFile = dir / "file.bmp";
  const std::string options = " --size 418x275 --caption Notes --text-width 90 --text-height 15 --inactive";
  ASSERT_EQ(RunPreview(kSkinDir.string() + " " + fromFolder.string() + options), 0);
  ASSERT_EQ(RunPreview(skn.string() + " " + fromFile.string() + options), 0);
  const TBitmap32 folderBmp = ReadBmp(ReadFile(fromFolder));
  EXPECT_EQ(folderBmp, ReadBmp(ReadFile(fromFile)));

  TPreviewOptions o;
  o.Caption = "Notes";
  o.TextWidth = 90;
  o.TextHeight = 15;
  o.Active = false;
  const TPreview expected = RenderPreview(OwnSkin(), o);
  EXPECT_EQ(folderBmp, expected.Bitmap);

  // Inside the region and outside the caption text: the composed frame over the client colour;
  // outside the region: the backdrop.
  TFrameInput in;
  in.Width = 418;
  in.Height = 275;
  in.Style = o.Style;
  in.HasSystemMenu = true;
  in.Active = false;
  in.CaptionTextWidth = 90;
  in.CaptionTextHeight = 15;
  TBitmap32 frame(418, 275, PreviewColour(OwnSkin().Colours.ButtonFace));
  const TFrameLayout layout = LayoutFrame(OwnSkin(), in);
  ComposeFrame(frame, OwnSkin(), layout, in, PreviewColour(OwnSkin().Colours.Menubar));
  int differing = 0;
  for (int32_t y = 0; y < 275; ++y)
    for (int32_t x = 0; x < 418; ++x) {
      if (!RegionContains(expected.Region, x, y)) {
        ASSERT_EQ(folderBmp.At(x, y), o.Backdrop) << x << "," << y;
      } else if (!layout.Text.TextRect.Contains(x, y)) {
        ASSERT_EQ(folderBmp.At(x, y), frame.At(x, y)) << x << "," << y;
      } else if (folderBmp.At(x, y) != frame.At(x, y)) {
        ++differing;
      }
    }
  EXPECT_GT(differing, 0);  // the caption placeholder
}

TEST(SkinPreviewTool, HostileCaptionAndSizesAreClamped) {
  TPreviewOptions o;
  o.Caption.assign(100000, 'W');
  o.TextWidth = 999999999;
  o.TextHeight = 999999999;
  o.Width = -4;
  o.Height = 100000;
  o.ExStyle = wstyle::kExLeftScrollBar;
  const TPreview p = RenderPreview(OwnSkin(), o);
  EXPECT_EQ(p.Bitmap.Width, 1);
  EXPECT_EQ(p.Bitmap.Height, kPreviewMaxSide);
  o.Width = 418;
  o.Height = 275;
  const TPreview wide = RenderPreview(OwnSkin(), o);
  // The right-to-left caption is cut at the strip's right clip, never past the window.
  EXPECT_LE(wide.Layout.Text.TextRect.right, 418);
  EXPECT_GE(wide.Layout.Text.TextRect.Width(), 0);
}

TEST(SkinPreviewTool, RefusesBadInputAndWritesNothing) {
  const fs::path dir = fs::path(testing::TempDir()) / "skinpreview_bad";
  fs::remove_all(dir);
  fs::create_directories(dir / "empty");
  const fs::path out = dir / "out.bmp";
  const fs::path junk = dir / "junk.skn";
  std::ofstream(junk, std::ios::binary) << "not a skin at all";
  EXPECT_EQ(RunPreview((dir / "missing.skn").string() + " " + out.string()), 2);
  EXPECT_EQ(RunPreview((dir / "empty").string() + " " + out.string()), 2);
  EXPECT_EQ(RunPreview(junk.string() + " " + out.string()), 2);
  EXPECT_EQ(RunPreview(kSkinDir.string() + " " + out.string() + " --size 5000x10"), 2);
  EXPECT_EQ(RunPreview(kSkinDir.string() + " " + out.string() + " --size 10"), 2);
  EXPECT_EQ(RunPreview(kSkinDir.string() + " " + out.string() + " --style round"), 2);
  EXPECT_EQ(RunPreview(kSkinDir.string()), 2);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(RunPreview(kSkinDir.string() + " " + (dir / "no" / "such" / "out.bmp").string()), 2);
  EXPECT_TRUE(fs::is_empty(dir / "empty"));
}

}  // namespace
}  // namespace zelvo
