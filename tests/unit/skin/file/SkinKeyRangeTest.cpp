// Each numeric key of a skin description, given the ends of its range and values beyond them:
// the loaded value is the nearer end of the range (with a warning naming the key) and a value
// inside loads as written. Every key the loader holds to a range is listed here.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <set>

#include "skin/file/SkinDescription.h"

namespace zelvo {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t P = kSkinMaxPixels;
constexpr int32_t F = kSkinMaxFrames;

using TField = std::function<int64_t(const TSkinObjects&)>;

struct TKeyCase {
  std::string Section;
  std::string Key;
  int32_t Min, Max;    // the range the key is held to
  const char* Others;  // further lines the section needs for the value to be read
  TField Field;
  // The loaded field for a held value, when the loader derives it (a frame count of 0 leaves the
  // choice to the image, the Tile rule turns values above 1 into 0).
  std::function<int64_t(int32_t)> Expected = [](int32_t v) { return v; };
};

int64_t Tile(int32_t v) { return v > 1 ? 0 : v; }
// The colour of three components keys when the other two are 0: the low 8 bits, or none below 0.
int64_t Component(int32_t v, int shift) { return v < 0 ? int64_t{clNone} : int64_t{(v & 0xFF) << shift}; }

// The loaded field a key fills.
#define FIELD(expr) [](const TSkinObjects& s) -> int64_t { return (expr); }

// The keys of the four window sides: Left and Right slicing gives their top and bottom heights,
// Top and Bottom slicing their left and right widths.
void AddSideCases(std::vector<TKeyCase>& cases) {
  static const char* const kSides[] = {"Left", "Right", "Top", "Bottom"};
  for (int i = 0; i < 4; ++i) {
    auto side = [i](const TSkinObjects& s) -> const TDataSkinBorder& {
      const TDataSkinBorder* sides[] = {&s.Left, &s.Right, &s.Top, &s.Bottom};
      return *sides[i];
    };
    const bool across = i >= 2;
    const std::string n = kSides[i];
    cases.push_back({"Personality", n + "TopHeight", 0, P, "",
                     [=](const TSkinObjects& s) { return across ? side(s).LeftWidth : side(s).TopHeight; }});
    cases.push_back({"Personality", n + "BotHeight", 0, P, "",
                     [=](const TSkinObjects& s) { return across ? side(s).RightWidth : side(s).BottomHeight; }});
    cases.push_back({"Personality", n + "Frame", 1, F, "", [=](const TSkinObjects& s) { return side(s).FrameCount; }});
    cases.push_back({"Personality", n + "Stretch", kMin, kMax, "", [=](const TSkinObjects& s) { return side(s).Tile; }});
    cases.push_back({"Personality", n + "Trans", kMin, kMax, "", [=](const TSkinObjects& s) { return side(s).Trans; }});
  }
}

const std::vector<TKeyCase>& Cases() {
  static const std::vector<TKeyCase> cases = [] {
    std::vector<TKeyCase> all = {
      // Caption text.
      {"Personality", "TextShift", -P, P, "", FIELD(s.Title.TextShift())},
      {"Personality", "TextShiftVert", -P, P, "", FIELD(s.Title.TextShiftVert())},
      {"Personality", "TextRightClip", -P, P, "", FIELD(s.Title.TextRightClip())},
      {"Personality", "TXTBackleft", 0, P, "", FIELD(s.Title.TXTBackleft)},
      {"Personality", "TXTBackRight", 0, P, "", FIELD(s.Title.TXTBackRight)},
      {"Personality", "TextAlignment", kMin, kMax, "", FIELD(s.Title.TextAlignment)},
      {"Personality", "Textbackground", kMin, kMax, "", FIELD(s.Title.Textbackground)},
      {"Fonts", "FontHeight", 1, 200, "", FIELD(s.Title.FontHeight)},
      {"Personality", "ActiveTextR", kMin, kMax, "ActiveTextG=0\nActiveTextB=0\n", FIELD(s.Title.ActiveTextColour),
       [](int32_t v) { return Component(v, 0); }},
      {"Personality", "ActiveTextG", kMin, kMax, "ActiveTextR=0\nActiveTextB=0\n", FIELD(s.Title.ActiveTextColour),
       [](int32_t v) { return Component(v, 8); }},
      {"Personality", "ActiveTextB", kMin, kMax, "ActiveTextR=0\nActiveTextG=0\n", FIELD(s.Title.ActiveTextColour),
       [](int32_t v) { return Component(v, 16); }},
      {"Personality", "InActiveTextR", kMin, kMax, "InActiveTextG=0\nInActiveTextB=0\n",
       FIELD(s.Title.InactiveTextColour), [](int32_t v) { return Component(v, 0); }},
      {"Personality", "InActiveTextG", kMin, kMax, "InActiveTextR=0\nInActiveTextB=0\n",
       FIELD(s.Title.InactiveTextColour), [](int32_t v) { return Component(v, 8); }},
      {"Personality", "InActiveTextB", kMin, kMax, "InActiveTextR=0\nInActiveTextG=0\n",
       FIELD(s.Title.InactiveTextColour), [](int32_t v) { return Component(v, 16); }},
      // Menu bar.
      {"Personality", "TileMenu", kMin, kMax, "menuBar=x.bmp\n", FIELD(s.MenuBar->Tile), Tile},
      {"Personality", "TileLeftMenu", 0, P, "menuBar=x.bmp\n", FIELD(s.MenuBar->LeftWidth)},
      {"Personality", "TileRightMenu", 0, P, "menuBar=x.bmp\n", FIELD(s.MenuBar->RightWidth)},
      // Caption buttons (the first section becomes the first button).
      {"Button1", "Action", kMin, kMax, "Visibility=0\n", FIELD(s.CaptionButtons[0]->Action)},
      {"Button1", "Align", kMin, kMax, "", FIELD(s.CaptionButtons[0]->Align)},
      {"Button1", "Xcoord", -P, P, "", FIELD(s.CaptionButtons[0]->Xcoord)},
      {"Button1", "Ycoord", -P, P, "", FIELD(s.CaptionButtons[0]->Ycoord)},
      {"Button1", "Visibility", kMin, kMax, "", FIELD(s.CaptionButtons[0]->Visibility)},
      {"Button1", "Visibility1", kMin, kMax, "", FIELD(s.CaptionButtons[0]->Visibility1)},
      {"Button1", "CombineOp", kMin, kMax, "", FIELD(s.CaptionButtons[0]->CombineOp)},
      // No image: a count of 0 leaves six frames.
      {"Button1", "frame", 0, F, "", FIELD(s.CaptionButtons[0]->FrameCount), [](int32_t v) { return v == 0 ? 6 : v; }},
      // Push buttons, check boxes and radio buttons.
      {"Buttons", "LeftWidth", 0, P, "", FIELD(s.Buttons.LeftWidth)},
      {"Buttons", "RightWidth", 0, P, "", FIELD(s.Buttons.RightWidth)},
      {"Buttons", "TopHeight", 0, P, "", FIELD(s.Buttons.TopHeight)},
      {"Buttons", "BottomHeight", 0, P, "", FIELD(s.Buttons.BottomHeight)},
      {"Buttons", "Trans", kMin, kMax, "", FIELD(s.Buttons.Trans)},
      {"Buttons", "Tile", kMin, kMax, "", FIELD(s.Buttons.Tile), Tile},
      {"Buttons", "NormalColour", kMin, kMax, "", FIELD(s.Buttons.NormalColour)},
      {"Buttons", "MouseOverColour", kMin, kMax, "", FIELD(s.Buttons.MouseOverColour)},
      {"Buttons", "PressedColour", kMin, kMax, "", FIELD(s.Buttons.PressedColour)},
      // No image: a count of 0 leaves the least, four.
      {"Buttons", "RadioButtonFrame", 0, F, "", FIELD(s.Buttons.RadioButtonFrame), [](int32_t v) { return v == 0 ? 4 : v; }},
      {"Buttons", "CheckButtonFrame", 0, F, "", FIELD(s.Buttons.CheckButtonFrame), [](int32_t v) { return v == 0 ? 4 : v; }},
      // Progress bars.
      {"Progress", "Style", kMin, kMax, "Bitmap=x.bmp\n", FIELD(s.Progress->Style)},
      {"Progress", "LeftWidth", 0, P, "Bitmap=x.bmp\n", FIELD(s.Progress->LeftWidth)},
      {"Progress", "BottomHeight", 0, P, "Bitmap=x.bmp\n", FIELD(s.Progress->BottomHeight)},
      {"Progress", "Trans", kMin, kMax, "Bitmap=x.bmp\n", FIELD(s.Progress->Trans)},
      {"Progress", "Tile", kMin, kMax, "Bitmap=x.bmp\n", FIELD(s.Progress->Tile), Tile},
      // Ordinary pieces, all read alike: the menu item stands for them.
      {"MenuItem", "Style", kMin, kMax, "Image=x.bmp\n", FIELD(s.MenuItem->Style)},
      {"MenuItem", "LeftWidth", 0, P, "Image=x.bmp\n", FIELD(s.MenuItem->LeftWidth)},
      {"MenuItem", "RightWidth", 0, P, "Image=x.bmp\n", FIELD(s.MenuItem->RightWidth)},
      {"MenuItem", "TopHeight", 0, P, "Image=x.bmp\n", FIELD(s.MenuItem->TopHeight)},
      {"MenuItem", "BottomHeight", 0, P, "Image=x.bmp\n", FIELD(s.MenuItem->BottomHeight)},
      {"MenuItem", "Trans", kMin, kMax, "Image=x.bmp\n", FIELD(s.MenuItem->Trans)},
      {"MenuItem", "Tile", kMin, kMax, "Image=x.bmp\n", FIELD(s.MenuItem->Tile), Tile},
      {"MenuItem", "NormalColour", kMin, kMax, "Image=x.bmp\n", FIELD(s.MenuItem->NormalColour)},
      {"MenuItem", "MouseOverColour", kMin, kMax, "Image=x.bmp\n", FIELD(s.MenuItem->MouseOverColour)},
      {"MenuItem", "PressedColour", kMin, kMax, "Image=x.bmp\n", FIELD(s.MenuItem->PressedColour)},
      {"GroupBox", "BackgroundAlignment", kMin, kMax, "Image=x.bmp\n", FIELD(s.GroupBox->BackgroundAlignment)},
      {"GroupBox", "BackgroundLeftShift", -P, P, "Image=x.bmp\n", FIELD(s.GroupBox->BackgroundLeftShift)},
      {"GroupBox", "BackgroundRightShift", -P, P, "Image=x.bmp\n", FIELD(s.GroupBox->BackgroundRightShift)},
      {"HorzScrollThumb", "FrameCount", 1, F, "Image=x.bmp\n", FIELD(s.HorzScrollThumb->FrameCount)},
      {"VertScrollThumb", "FrameCount", 1, F, "Image=x.bmp\n", FIELD(s.VertScrollThumb->FrameCount)},
    };
    AddSideCases(all);
    return all;
  }();
  return cases;
}

bool Mentions(const std::vector<std::string>& warnings, const std::string& key) {
  return std::any_of(warnings.begin(), warnings.end(),
                     [&](const std::string& w) { return w.find(" " + key + "=") != std::string::npos; });
}

TEST(SkinKeyRange, EachKeyIsHeldToItsRangeAndSaysSo) {
  for (const TKeyCase& c : Cases()) {
    std::set<int64_t> values = {kMin, kMax, c.Min, c.Max};
    if (c.Min > kMin) values.insert(int64_t{c.Min} - 1);
    if (c.Max < kMax) values.insert(int64_t{c.Max} + 1);
    for (int64_t v : values) {
      SCOPED_TRACE(c.Section + " " + c.Key + "=" + std::to_string(v));
      const std::string text = "[" + c.Section + "]\n" + c.Others + c.Key + "=" + std::to_string(v) + "\n";
      TSkinObjects skin;
      ParseSkinDescription(text, TMemorySkinEntries(), skin);
      const int32_t held = static_cast<int32_t>(std::clamp<int64_t>(v, c.Min, c.Max));
      EXPECT_EQ(c.Field(skin), c.Expected(held));
      EXPECT_EQ(Mentions(skin.Warnings, c.Key), held != v);
    }
  }
}

TEST(SkinKeyRange, EveryRangedKeyIsTestedAndTheRangesAgree) {
  std::set<std::string> tested;
  for (const TKeyCase& c : Cases()) {
    tested.insert(c.Key);
    const TSkinKeyRange& r = SkinKeyRangeOf(c.Key);
    EXPECT_EQ(r.Min, c.Min) << c.Key;
    EXPECT_EQ(r.Max, c.Max) << c.Key;
  }
  for (const TSkinKeyRange& r : SkinKeyRanges()) EXPECT_TRUE(tested.count(std::string(r.Key))) << r.Key;
  EXPECT_THROW(SkinKeyRangeOf("NoSuchKey"), std::logic_error);
}

TEST(SkinKeyRange, NotesBeyondTheLimitAreCounted) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "[Button" + std::to_string(i) + "]\nXcoord=99999\n";
  TSkinObjects skin;
  ParseSkinDescription(text, TMemorySkinEntries(), skin);
  // The notes on the sections read: the first ones, then one that counts the rest.
  ASSERT_EQ(skin.Warnings.size(), kMaxValueWarnings + 2);  // and the note on the sections left out
  EXPECT_EQ(skin.Warnings[0], "[Button0] Xcoord=99999 is above 32767: 32767 is used");
  EXPECT_EQ(skin.Warnings.back(), std::to_string(kMaxCaptionButtonSections - kMaxValueWarnings) +
                                      " more values were brought into their ranges");
}

}  // namespace
}  // namespace zelvo
