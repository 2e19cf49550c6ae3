// Skins built to exhaust memory or time: each bitmap entry is decoded once and shared by every key
// naming it, the skin as a whole stays within its pixel budget, and runs past a row's end cost
// nothing per pixel.
#include <gtest/gtest.h>

#include "skin/file/SkinLoad.h"
#include "tests/unit/skin/file/HostileSkins.h"

namespace zelvo {
namespace {

constexpr TPixel kRed = MakePixel(255, 0, 0);

TEST(HostileSkin, OneBitmapNamedByEveryKeyIsDecodedOnceAndShared) {
  TSkinObjects skin;
  const TSkinLoadResult r = LoadSkin(test::OneBigBitmapEverywhere().Bytes, skin);
  ASSERT_TRUE(r.Ok()) << r.Message;
  EXPECT_TRUE(skin.ImageProblems.empty());
  const TBitmap32& first = skin.Left.Image;
  ASSERT_EQ(first.Width, 16384);
  ASSERT_EQ(first.Height, 512);
  EXPECT_EQ(skin.ImageBytes, 16384u * 512u * sizeof(TPixel));

  std::vector<const TBitmap32*> images = {&skin.Right.Image, &skin.Top.Image, &skin.Bottom.Image,
                                          &skin.Title.TextBack(), &skin.Buttons.Image,
                                          &skin.Buttons.CheckImage, &skin.Buttons.RadioImage,
                                          &skin.Progress->Image, &skin.Progress->Image2, &skin.MenuBar->Image,
                                          &skin.Scrollbar->Image, &skin.Tabs->Image};
  size_t named = 0;
  for (const auto& b : skin.CaptionButtons) {
    if (!b->Image.Empty()) {
      images.push_back(&b->Image);
      ++named;
    }
  }
  EXPECT_EQ(named, kMaxCaptionButtonSections);
  for (const TBitmap32* image : images) EXPECT_TRUE(image->SharesPixelsWith(first));
}

TEST(HostileSkin, WritingToASharedBitmapLeavesTheOthersAlone) {
  TSkinObjects skin;
  ASSERT_TRUE(LoadSkin(test::OneBigBitmapEverywhere().Bytes, skin).Ok());
  skin.Right.Image.At(3, 2) = kRed;
  EXPECT_FALSE(skin.Right.Image.SharesPixelsWith(skin.Left.Image));
  EXPECT_EQ(skin.Left.Image.At(3, 2), TPixel{0});
  EXPECT_EQ(skin.Right.Image.At(3, 2), kRed);
  EXPECT_TRUE(skin.Top.Image.SharesPixelsWith(skin.Left.Image));
  // Reading through a non-const bitmap does not unshare it.
  TBitmap32& top = skin.Top.Image;
  EXPECT_EQ(static_cast<TPixel>(top.At(0, 0)), TPixel{0});
  EXPECT_TRUE(top.SharesPixelsWith(skin.Left.Image));
}

TEST(HostileSkin, LongRunsPastTheRowEndDecodeToTheVisiblePixel) {
  TSkinObjects skin;
  const TSkinLoadResult r = LoadSkin(test::LongRunsFourTimes(200000).Bytes, skin);
  ASSERT_TRUE(r.Ok()) << r.Message;
  ASSERT_EQ(skin.Left.Image.Width, 1);
  EXPECT_EQ(skin.Left.Image.At(0, 0), kRed);
  EXPECT_TRUE(skin.Bottom.Image.SharesPixelsWith(skin.Left.Image));
  EXPECT_EQ(skin.ImageBytes, sizeof(TPixel));
}

TEST(HostileSkin, BitmapsBeyondTheBudgetRefuseTheSkin) {
  TSkinObjects skin;
  const TSkinLoadResult r = LoadSkin(test::OverBudget().Bytes, skin);
  EXPECT_EQ(r.Status, TSkinLoadStatus::Damaged);
  EXPECT_NE(r.Message.find("64 MiB"), std::string::npos) << r.Message;
  EXPECT_NE(r.Message.find("c.bmp"), std::string::npos) << r.Message;
  EXPECT_TRUE(skin.Left.Image.Empty());
  EXPECT_EQ(skin.ImageBytes, 0u);
}

TEST(HostileSkin, CutAndMirroredPiecesCountTowardsTheBudget) {
  // 32 MiB of bitmap and the three strips of the MDI buttons cut from it (almost 32 MiB) fit;
  // the combo button's 32 MiB mirror does not.
  const std::string ini = "[ComboButton]\r\nImage=big.bmp\r\n[MDICONTROLS]\r\nImage=big.bmp\r\n";
  TSkinObjects skin;
  const TSkinLoadResult r = LoadSkin(test::Container(ini, {{"big.bmp", test::Rle8Bitmap(16384, 512)}}), skin);
  EXPECT_EQ(r.Status, TSkinLoadStatus::Damaged);
  EXPECT_NE(r.Message.find("mirrored combo button"), std::string::npos) << r.Message;

  // A smaller strip fits, and the pieces are counted.
  TSkinObjects small;
  ASSERT_TRUE(LoadSkin(test::Container(ini, {{"big.bmp", test::Rle8Bitmap(120, 10)}}), small).Ok());
  EXPECT_EQ(small.ImageBytes, (120u * 10u * 2u + 3u * 40u * 10u) * sizeof(TPixel));
}

TEST(HostileSkin, AnUnreadableEntryIsReportedForEveryKeyNamingIt) {
  TSkinObjects skin;
  const std::string ini = "[Personality]\r\nLeft=bad.bmp\r\nRight=bad.bmp\r\n";
  ASSERT_TRUE(LoadSkin(test::Container(ini, {{"bad.bmp", TByteVector{'B', 'M', 1, 2}}}), skin).Ok());
  ASSERT_EQ(skin.ImageProblems.size(), 2u);
  EXPECT_EQ(skin.ImageProblems[0].Reason, skin.ImageProblems[1].Reason);
  EXPECT_EQ(skin.ImageProblems[1].Key, "Right");
  EXPECT_EQ(skin.ImageBytes, 0u);
}

}  // namespace
}  // namespace zelvo
