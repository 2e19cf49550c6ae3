// The skin description: values and their defaults, colour strings, bitmap lookup, caption-button
// rules, frame counts after loading, and the built-in class-name lists.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/file/SkinDescription.h"
#include "util/IniFile.h"
#include "util/Util.h"

namespace zelvo {
namespace {

std::vector<uint8_t> SolidBmp(int w, int h, TPixel colour = MakePixel(1, 2, 3)) {
  return WriteBmp24(TBitmap32(w, h, colour));
}

TSkinObjects Parse(std::string_view text, const TMemorySkinEntries& entries = {}) {
  TSkinObjects skin;
  ParseSkinDescription(text, entries, skin);
  return skin;
}

constexpr TColor Rgb(int r, int g, int b) { return MakePixel(uint8_t(r), uint8_t(g), uint8_t(b)); }

TEST(ColourString, ComponentsAndTheTrailingNumberRule) {
  EXPECT_EQ(ParseColourString("10 20 30"), Rgb(10, 20, 30));
  EXPECT_EQ(ParseColourString("  10,20;30  "), Rgb(10, 20, 30));
  EXPECT_EQ(ParseColourString("10 20 30 "), Rgb(10, 20, 30));
  // A number still open at the end counts only as the third component.
  EXPECT_EQ(ParseColourString("10 20"), Rgb(10, 0, 0));
  EXPECT_EQ(ParseColourString("10 20 "), Rgb(10, 0, 0));  // trimmed first
  EXPECT_EQ(ParseColourString("10 20;"), Rgb(10, 20, 0));
  EXPECT_EQ(ParseColourString("10"), Rgb(0, 0, 0));
  EXPECT_EQ(ParseColourString("1 2 3 4 5"), Rgb(1, 2, 3));
  EXPECT_EQ(ParseColourString("r=300 g=-1 b=2x"), Rgb(300 & 255, 1, 2));
  EXPECT_EQ(ParseColourString("   "), Rgb(0, 0, 0));
  EXPECT_EQ(ParseColourString("99999999999 0 0 "), Rgb(int(99999999999ull % (1ull << 32)) & 255, 0, 0));
}

TEST(SkinDescription, IntegersTakeDecimalAndHexAndFallBackOnAnythingElse) {
  const TIniFile ini("[S]\na=12\nb=-7\nc=$1F\nd=0x10\ne=12abc\nf=\ng=2147483648\nh=-2147483648\ni=$FFFFFFFF\nj=+3\n");
  EXPECT_EQ(ReadSkinInteger(ini, "s", "A", 99), 12);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "b", 99), -7);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "c", 99), 31);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "d", 99), 16);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "e", 99), 99);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "f", 99), 99);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "g", 99), 99);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "h", 99), INT32_MIN);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "i", 99), -1);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "j", 99), 3);
  EXPECT_EQ(ReadSkinInteger(ini, "S", "missing", 99), 99);
}

TEST(SkinDescription, SectionNamesFollowTheIniReadersLineRules) {
  const std::string text = "x=1\r\n[ One ]\r\n;[Comment]\n[Two]\r[One]\n[]\n[Three\n  [Four]  ";
  const std::vector<std::string> want = {"One", "Two", "One", "", "Four"};
  EXPECT_EQ(IniSectionNames(text), want);
}

TEST(SkinDescription, EmptyDescriptionGivesEveryDefault) {
  TSkinObjects skin = Parse("");
  EXPECT_EQ(skin.SkinName, "");
  for (const TDataSkinBorder* side : {&skin.Left, &skin.Right, &skin.Top, &skin.Bottom}) {
    EXPECT_EQ(side->FrameCount, 1) << side->Name;
    EXPECT_EQ(side->Tile, 1) << side->Name;  // Stretch
    EXPECT_EQ(side->Trans, 1) << side->Name;
    EXPECT_TRUE(side->Image.Empty());
  }
  const TSkinColours& c = skin.Colours;
  EXPECT_EQ(c.WindowText, 0xFF000008u);
  EXPECT_EQ(c.ButtonFace, 0xFF00000Fu);
  EXPECT_EQ(c.Scrollbar, 0xFF000000u);
  EXPECT_EQ(c.Menubar, 0xFF00000Fu);
  EXPECT_EQ(c.Buttonlight, 0xFF000014u);  // the button highlight, not the 3-D light
  EXPECT_EQ(c.ButtonDkShadow, 0xFF000015u);
  EXPECT_EQ(c.TitleTextNoActive, 0xFF000013u);
  EXPECT_TRUE(skin.ExtraColours.empty());

  // Only the three MDI buttons, with nothing to show.
  ASSERT_EQ(skin.CaptionButtons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *skin.CaptionButtons[static_cast<size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_TRUE(b.Image.Empty());
  }

  EXPECT_EQ(skin.Buttons.FrameCount, 5);
  EXPECT_EQ(skin.Buttons.NormalColour, -1);
  EXPECT_EQ(skin.Buttons.NormalColour2, 0xFF000012u);
  EXPECT_FALSE(skin.Buttons.HasNormalColour2);
  EXPECT_EQ(skin.Buttons.RadioButtonFrame, 4);  // no image: the minimum
  EXPECT_EQ(skin.Buttons.CheckButtonFrame, 4);
  EXPECT_EQ(skin.Title.FontHeight, 14);
  EXPECT_EQ(skin.Title.FrameCount, 2);
  EXPECT_EQ(skin.Title.ActiveTextColour, clNone);
  for (const auto& e : skin.OptionalEntries()) EXPECT_EQ(e.Object, nullptr) << e.Section;
  EXPECT_TRUE(skin.ImageProblems.empty());
}

TEST(SkinDescription, ColourTableAndExtraColours) {
  TSkinObjects skin = Parse(
      "[colours]\nButtonFace=1 2 3\nHilight=\nMenuText=9 9 9\n"
      "[Colour2]\ncolor=7 8 9\n[COLOURS2]\n[Other]\n[colourA]\nColor=1 1 1\n");
  EXPECT_EQ(skin.Colours.ButtonFace, Rgb(1, 2, 3));
  EXPECT_EQ(skin.Colours.Menubar, Rgb(1, 2, 3));   // follows the ButtonFace just read
  EXPECT_EQ(skin.Colours.Hilight, 0xFF00000Du);    // empty value: default
  EXPECT_EQ(skin.Colours.MenuText, Rgb(9, 9, 9));
  EXPECT_EQ(skin.Colours.MenuBarText, 0xFF000007u);
  const std::vector<TColor> extra = {Rgb(7, 8, 9), 0xFF000008u, Rgb(1, 1, 1)};
  EXPECT_EQ(skin.ExtraColours, extra);
}

TEST(SkinDescription, FrameSidesReadTheirKeysFromPersonality) {
  TMemorySkinEntries e;
  e.Add("top.bmp", SolidBmp(30, 40));
  TSkinObjects skin = Parse(
      "[Personality]\nTop=skins\\Top.bmp\nTopTopHeight=5\nTopBotHeight=6\nTopFrame=2\nTopStretch=0\nTopTrans=0\n"
      "LeftTopHeight=20\nLeftBotHeight=3\nLeftFrame=0\n",
      e);
  EXPECT_EQ(skin.Top.LeftWidth, 5);
  EXPECT_EQ(skin.Top.RightWidth, 6);
  EXPECT_EQ(skin.Top.TopHeight, 0);
  EXPECT_EQ(skin.Top.FrameCount, 2);
  EXPECT_EQ(skin.Top.Tile, 0);
  EXPECT_EQ(skin.Top.Trans, 0);
  EXPECT_EQ(skin.Top.Image.Width, 30);  // the directory part is dropped
  EXPECT_EQ(skin.Left.TopHeight, 20);
  EXPECT_EQ(skin.Left.BottomHeight, 3);
  EXPECT_EQ(skin.Left.LeftWidth, 0);
  EXPECT_EQ(skin.Left.FrameCount, 1);  // 0 would divide the image by nothing
}

TEST(SkinDescription, BitmapLookupAndItsProblems) {
  TMemorySkinEntries e;
  e.Add("name.bmp", SolidBmp(4, 4));
  e.Add("empty.bmp", {});
  e.Add("junk.bmp", {'B', 'M', 1, 2, 3});
  TSkinObjects skin = Parse(
      "[Personality]\nLeft=Sub\\Name.bmp\nRight=NAME.BMP\nTop=missing.bmp\nBottom=junk.bmp\nTextBack=empty.bmp\n"
      "menuBar=dir\\\n[Buttons]\nBitmap=\n",
      e);
  EXPECT_EQ(skin.Left.Image.Width, 4);
  EXPECT_TRUE(skin.Right.Image.Empty());
  EXPECT_TRUE(skin.Top.Image.Empty());
  EXPECT_TRUE(skin.Bottom.Image.Empty());
  EXPECT_TRUE(skin.Title.TextBack().Empty());
  ASSERT_TRUE(skin.MenuBar);  // the key is there, so the entry exists, without an image
  EXPECT_TRUE(skin.MenuBar->Image.Empty());

  auto reason = [&](const std::string& key) {
    auto it = std::find_if(skin.ImageProblems.begin(), skin.ImageProblems.end(),
                           [&](const TSkinImageProblem& p) { return p.Key == key; });
    return it == skin.ImageProblems.end() ? std::string("(none)") : it->Reason;
  };
  EXPECT_NE(reason("Right").find(".bmp"), std::string::npos);
  EXPECT_NE(reason("Top").find("no entry \"missing.bmp\""), std::string::npos);
  EXPECT_NE(reason("Bottom").find("Bitmap:"), std::string::npos);
  EXPECT_NE(reason("TextBack").find("is empty"), std::string::npos);
  EXPECT_NE(reason("menuBar").find("no file name"), std::string::npos);
  EXPECT_EQ(reason("Bitmap"), "(none)");  // an empty value names nothing
  EXPECT_EQ(skin.ImageProblems.size(), 5u);
}

TEST(SkinDescription, CaptionButtonSectionsKeptAndDropped) {
  TSkinObjects skin = Parse(
      "[Buttons]\n[Button.Radio]\n[BUTTON.CHECKBOX]\n[button]\n[MyButton]\n"
      "[ButtonA]\nAction=-1\nVisibility=2\n"
      "[ButtonB]\nAction=-1\nVisibility=0\n"
      "[ButtonC]\nAction=-1\n"
      "[buttonD]\nAction=1\nAlign=1\nXcoord=30\nYcoord=4\nVisibility=2\nVisibility1=6\nCombineOp=3\nframe=4\n"
      "[ButtonE]\n");
  std::vector<std::string> names;
  for (const auto& b : skin.CaptionButtons) names.push_back(b->Name);
  const std::vector<std::string> want = {"BUTTONB", "BUTTOND", "BUTTONE", "MDIMINIMIZE", "MDIRESTORE", "MDICLOSE"};
  EXPECT_EQ(names, want);

  const TDataSkinSysButton& b = *skin.CaptionButtons[0];
  EXPECT_EQ(b.Visibility, 0);
  EXPECT_EQ(b.Visibility1, -1);  // Action -1 changes this default
  const TDataSkinSysButton& d = *skin.CaptionButtons[1];
  EXPECT_EQ(d.Action, 1);
  EXPECT_EQ(d.Align, 1);
  EXPECT_EQ(d.Xcoord, 30);
  EXPECT_EQ(d.Ycoord, 4);
  EXPECT_EQ(d.Visibility, 2);
  EXPECT_EQ(d.Visibility1, 6);
  EXPECT_EQ(d.CombineOp, 3);
  EXPECT_EQ(d.FrameCount, 4);
  const TDataSkinSysButton& e = *skin.CaptionButtons[2];
  EXPECT_EQ(e.Action, 0);
  EXPECT_EQ(e.Visibility1, 0);
  EXPECT_EQ(e.CombineOp, -1);
  EXPECT_EQ(e.FrameCount, 6);  // no count, no image
}

TEST(SkinDescription, CaptionButtonFrameCountsFromTheImage) {
  // 75 x 21 is 3.57 times as wide as high: three frames; 140 x 21: six.
  EXPECT_EQ(CaptionButtonFrames(0, 0, 75, 21).FrameCount, 3);
  EXPECT_EQ(CaptionButtonFrames(0, 0, 140, 21).FrameCount, 6);
  EXPECT_EQ(CaptionButtonFrames(0, 0, 76, 20).FrameCount, 3);  // exactly 3.8
  EXPECT_EQ(CaptionButtonFrames(0, 0, 77, 20).FrameCount, 6);
  EXPECT_EQ(CaptionButtonFrames(0, -2, 75, 21).FrameCount, 6);  // a negative action: six anyway
  EXPECT_EQ(CaptionButtonFrames(0, 0, 0, 0).FrameCount, 6);
  EXPECT_EQ(CaptionButtonFrames(2, -2, 75, 21).FrameCount, 2);
  // System-menu buttons without a count lose their image (the window's icon is shown).
  EXPECT_TRUE(CaptionButtonFrames(0, 3, 48, 16).ClearImage);
  EXPECT_TRUE(CaptionButtonFrames(0, 11, 48, 16).ClearImage);
  EXPECT_FALSE(CaptionButtonFrames(3, 3, 48, 16).ClearImage);
  EXPECT_FALSE(CaptionButtonFrames(0, 2, 48, 16).ClearImage);

  TMemorySkinEntries e;
  e.Add("min.bmp", SolidBmp(75, 21));
  e.Add("sys.bmp", SolidBmp(48, 16));
  TSkinObjects skin = Parse("[Button1]\nButtonImage=min.bmp\nAction=2\n[Button2]\nButtonImage=sys.bmp\nAction=3\n", e);
  EXPECT_EQ(skin.CaptionButtons[0]->FrameCount, 3);
  EXPECT_EQ(skin.CaptionButtons[0]->Image.Width, 75);
  EXPECT_EQ(skin.CaptionButtons[1]->FrameCount, 3);
  EXPECT_TRUE(skin.CaptionButtons[1]->Image.Empty());
}

TEST(SkinDescription, MdiButtonsAreCutFromOneStrip) {
  TBitmap32 strip(120, 14);  // a = 10: three buttons of 4 x 10 columns
  for (int x = 0; x < 120; ++x) {
    for (int y = 0; y < 14; ++y) strip.At(x, y) = MakePixel(uint8_t(x), 0, 0);
  }
  TMemorySkinEntries e;
  e.Add("mdi.bmp", WriteBmp24(strip));
  TSkinObjects skin = Parse("[MDICONTROLS]\nImage=mdi.bmp\n", e);
  ASSERT_EQ(skin.CaptionButtons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *skin.CaptionButtons[static_cast<size_t>(i)];
    EXPECT_EQ(b.Xcoord, 14 * (3 - i));
    ASSERT_EQ(b.Image.Width, 40);
    EXPECT_EQ(b.Image.Height, 14);
    EXPECT_EQ(PixelRed(b.Image.At(0, 0)), 40 * i);
    EXPECT_EQ(PixelRed(b.Image.At(39, 13)), 40 * i + 39);
  }
}

TEST(SkinDescription, ButtonsEntry) {
  TMemorySkinEntries e;
  e.Add("b.bmp", SolidBmp(100, 20));
  e.Add("check.bmp", SolidBmp(130, 13));
  e.Add("radio.bmp", SolidBmp(96, 16));
  TSkinObjects skin = Parse(
      "[Colours]\nButtonText=5 5 5\n"
      "[Buttons]\nBitmap=b.bmp\nCheckButton=check.bmp\nRadioButton=radio.bmp\nLeftWidth=3\nBottomHeight=2\n"
      "Trans=1\nTile=3\nNormalColour=255\nMouseOverColour2=1 2 3\nPressedColour2=\n",
      e);
  const TDataSkinButton& b = skin.Buttons;
  EXPECT_EQ(b.Image.Width, 100);
  EXPECT_EQ(b.LeftWidth, 3);
  EXPECT_EQ(b.BottomHeight, 2);
  EXPECT_EQ(b.Trans, 1);
  EXPECT_EQ(b.Tile, 0);  // above 1 means stretch
  EXPECT_EQ(b.NormalColour, 255);
  EXPECT_EQ(b.PressedColour, -1);
  EXPECT_FALSE(b.HasNormalColour2);
  EXPECT_TRUE(b.HasMouseOverColour2);
  EXPECT_FALSE(b.HasPressedColour2);
  EXPECT_EQ(b.NormalColour2, Rgb(5, 5, 5));  // the skin's ButtonText
  EXPECT_EQ(b.MouseOverColour2, Rgb(1, 2, 3));
  EXPECT_EQ(b.CheckButtonFrame, 10);  // 130 div 13 for an image under 16 high
  EXPECT_EQ(b.RadioButtonFrame, 6);   // 96 div 16 from 16 high
  TSkinObjects given = Parse("[Buttons]\nCheckButton=check.bmp\nCheckButtonFrame=2\n", e);
  EXPECT_EQ(given.Buttons.CheckButtonFrame, 2);
}

TEST(SkinDescription, TitleSettings) {
  TSkinObjects skin = Parse(
      "[Personality]\nTextShift=20\nTextShiftVert=-2\nTextRightClip=90\nTextAlignment=1\nTXTBackleft=3\n"
      "ActiveTextR=257\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=1\nInActiveTextG=2\n[Fonts]\nFontHeight=11\n");
  const TDataSkinTitle& t = skin.Title;
  EXPECT_EQ(t.TextShift(), 20);
  EXPECT_EQ(t.TextShiftVert(), -2);
  EXPECT_EQ(t.TextRightClip(), 90);
  EXPECT_EQ(t.TextAlignment, 1);
  EXPECT_EQ(t.TXTBackleft, 3);
  EXPECT_EQ(t.TXTBackRight, 0);
  EXPECT_EQ(t.FontHeight, 11);
  EXPECT_EQ(t.ActiveTextColour, Rgb(1, 2, 3));         // low 8 bits of each
  EXPECT_EQ(t.InactiveTextColour, clNone);      // blue missing
}

TEST(SkinDescription, EntriesExistOnlyWithTheirImageKey) {
  TMemorySkinEntries e;
  e.Add("i.bmp", SolidBmp(40, 10));
  TSkinObjects skin = Parse(
      "[Personality]\nmenuBar=i.bmp\n"
      "[Progress]\nChunk=i.bmp\n"
      "[Tabs]\nImage=i.bmp\nBorder=i.bmp\nStyle=3\nTile=1\nTrans=1\nNormalColour2=4 5 6\n"
      "[SunkEdge]\nStyle=2\n"
      "[ComboButton]\nImage=i.bmp\nStyle=1\n"
      "[GroupBox]\nImage=i.bmp\nBackgroundAlignment=2\nBackgroundLeftShift=7\n"
      "[HorzScrollThumb]\nImage=i.bmp\n[VertScrollThumb]\nImage=i.bmp\nFrameCount=2\n"
      "[UpDown.Vert]\nImage=i.bmp\nGlyphImage=i.bmp\n",
      e);
  ASSERT_TRUE(skin.MenuBar);
  EXPECT_EQ(skin.MenuBar->LeftWidth, 1);
  EXPECT_EQ(skin.MenuBar->RightWidth, 1);
  EXPECT_EQ(skin.MenuBar->Tile, 0);
  EXPECT_EQ(skin.MenuBar->FrameCount, 2);
  EXPECT_FALSE(skin.Progress);  // needs its "Bitmap" key
  EXPECT_FALSE(skin.SunkEdge);  // needs its "Image" key
  ASSERT_TRUE(skin.Tabs);
  EXPECT_EQ(skin.Tabs->Style, 0);  // Tabs reads no Style
  EXPECT_EQ(skin.Tabs->Tile, 1);
  EXPECT_EQ(skin.Tabs->Image2.Width, 40);
  EXPECT_EQ(skin.Tabs->FrameCount, 5);
  EXPECT_EQ(skin.Tabs->NormalColour2, Rgb(4, 5, 6));
  ASSERT_TRUE(skin.ComboButton);
  EXPECT_EQ(skin.ComboButton->Style, 0);
  EXPECT_EQ(skin.ComboButton->FrameCount, 4);
  ASSERT_TRUE(skin.GroupBox);
  EXPECT_EQ(skin.GroupBox->BackgroundAlignment, 2);
  EXPECT_EQ(skin.GroupBox->BackgroundLeftShift, 7);
  EXPECT_EQ(skin.GroupBox->FrameCount, 1);
  EXPECT_EQ(skin.HorzScrollThumb->FrameCount, 3);
  EXPECT_EQ(skin.VertScrollThumb->FrameCount, 2);
  ASSERT_TRUE(skin.UpDownVert);
  EXPECT_EQ(skin.UpDownVert->FrameCount, 8);
  EXPECT_EQ(skin.UpDownVert->Image2.Width, 40);
}

TEST(SkinDescription, ComboButtonGetsAMirroredCopy) {
  TBitmap32 img(3, 2);
  img.At(0, 0) = MakePixel(9, 0, 0);
  TMemorySkinEntries e;
  e.Add("c.bmp", WriteBmp24(img));
  TSkinObjects skin = Parse("[ComboButton]\nImage=c.bmp\n", e);
  ASSERT_TRUE(skin.ComboButton);
  EXPECT_EQ(skin.ComboButton->Image2, skin.ComboButton->Image.Mirrored());
  EXPECT_EQ(skin.ComboButton->Image2.At(2, 0), MakePixel(9, 0, 0));
  EXPECT_EQ(skin.ComboButton->Image2.SourceBits, 24);
  EXPECT_TRUE(Parse("[ComboButton]\nImage=none.bmp\n").ComboButton->Image2.Empty());
}

TEST(SkinDescription, LimitsOnHostileDescriptions) {
  std::string many;
  for (int i = 0; i < 300; ++i) many += "[Button" + std::to_string(i) + "]\n[Colour" + std::to_string(i) + "]\n";
  TSkinObjects skin = Parse(many);
  EXPECT_EQ(skin.CaptionButtons.size(), kMaxCaptionButtonSections + 3);
  EXPECT_EQ(skin.ExtraColours.size(), kMaxExtraColours);
  EXPECT_EQ(skin.Warnings.size(), 2u);

  TSkinObjects out;
  EXPECT_THROW(ParseSkinDescription(std::string(TIniFile::kMaxSize + 1, ' '), TMemorySkinEntries(), out),
               ESkinDescriptionError);
}

TEST(Skin3rd, BuiltInAndMainWindowLists) {
  const auto& builtin = BuiltinSkin3rd();
  ASSERT_EQ(builtin.size(), 80u);
  auto count = [](const std::vector<std::string>& list, const std::string& kind) {
    return std::count_if(list.begin(), list.end(), [&](const std::string& line) {
      return LowerAscii(line.substr(line.find('=') + 1)) == kind;
    });
  };
  EXPECT_EQ(count(builtin, "panel"), 10);
  EXPECT_EQ(count(builtin, "radiogroup"), 7);
  EXPECT_EQ(count(builtin, "checkbox"), 8);
  EXPECT_EQ(count(builtin, "edit"), 25);
  EXPECT_EQ(count(builtin, "combobox"), 20);
  EXPECT_EQ(builtin.front(), "TTBDock=Panel");

  const auto& main = MainFormSkin3rd();
  ASSERT_EQ(main.size(), 95u);
  for (const char* dropped : {"TcxDBRadioGroup=", "TcxRadioGroup=", "TcxDBCheckBox=", "TcxCheckBox="}) {
    EXPECT_EQ(std::count_if(main.begin(), main.end(), [&](const std::string& l) { return l.rfind(dropped, 0) == 0; }), 0);
  }
  EXPECT_EQ(count(main, "combobox"), 30);
  EXPECT_EQ(count(main, "edit"), 34);
  EXPECT_EQ(main.back(), "TDXHYPERLINKEDIT=Edit");
  // The kept built-in lines come first, in the same order.
  EXPECT_TRUE(std::equal(main.begin(), main.begin() + 21, builtin.begin()));
}

}  // namespace
}  // namespace zelvo
