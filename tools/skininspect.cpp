// skininspect: shows what a skin file (or a folder of skin sources) holds and how the program
// reads it: entries and sizes, the parsed description (frame sides, caption buttons with their
// frame counts, colours, control pieces), which pieces are absent and which named bitmaps are
// missing or unreadable.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "skin/file/SkinSource.h"
#include "tools/toolutil_files.h"

using namespace zelvo;
using zelvo::tools::EscapedName;

namespace {

const char kUsage[] =
    "Usage: skininspect [--strict] [--check] SKIN\n"
    "\n"
    "Shows the contents of a skin: SKIN is a skin file (the compressed container) or a folder of\n"
    "skin sources (one .ini description and its .bmp files, as the pack tool takes them).\n"
    "\n"
    "Lists the entries, their sizes and what their headers say (no pixels are decoded for the\n"
    "list), then the description as the program reads it: frame\n"
    "sides, title settings, caption buttons with their frame counts, colours, each control piece\n"
    "(or that it is absent), and the problems: entries that cannot be read, named bitmaps that\n"
    "are missing or unreadable, and warnings about the description.\n"
    "\n"
    "Options:\n"
    "  --strict   exit with status 1 when a named bitmap is missing or unreadable\n"
    "  --check    also decode every .bmp entry, within the skin's memory budget, and say which\n"
    "             cannot be read (with --strict, any such entry gives status 1)\n"
    "  --help     show this text\n"
    "\n"
    "Exit status: 0 when the skin loads, 1 with --strict and bitmap problems, 2 when the skin\n"
    "cannot be loaded at all or the arguments are wrong.\n";

std::string Colour(TColor c) {
  char buf[64];
  if ((c & 0xFF000000u) == 0xFF000000u) {
    std::snprintf(buf, sizeof buf, "system colour %u", c & 0xFFFFFFu);
  } else if (c == clNone) {
    std::snprintf(buf, sizeof buf, "(none)");
  } else {
    std::snprintf(buf, sizeof buf, "%3u %3u %3u  #%02X%02X%02X", PixelRed(c), PixelGreen(c), PixelBlue(c),
                  PixelRed(c), PixelGreen(c), PixelBlue(c));
  }
  return buf;
}

std::string ImageText(const TBitmap32& img, int32_t frames) {
  if (img.Empty()) return "no image";
  std::string s = std::to_string(img.Width) + " x " + std::to_string(img.Height);
  if (frames > 1) {
    s += ", " + std::to_string(frames) + " frames";
    if (img.Width % frames != 0) s += " (width does not divide evenly)";
  }
  return s;
}

void PrintEntry(const char* section, const TDataSkinObject* o) {
  if (o == nullptr) {
    std::printf("  %-20s absent\n", section);
    return;
  }
  std::printf("  %-20s %s; edges L%d T%d R%d B%d; trans %d, %s", section, ImageText(o->Image, o->FrameCount).c_str(),
              o->LeftWidth, o->TopHeight, o->RightWidth, o->BottomHeight, o->Trans, o->Tile == 1 ? "tiled" : "stretched");
  if (o->Style != 0) std::printf(", style %d", o->Style);
  if (const auto* b = dynamic_cast<const TDataSkinBorder*>(o); b && !b->Image2.Empty()) {
    std::printf("; second image %s", ImageText(b->Image2, 1).c_str());
  }
  std::printf("\n");
}

void PrintSkin(const TSkinObjects& skin, const std::vector<std::string>& problems) {
  std::printf("\nDescription: %s\n", EscapedName(skin.DescriptionName).c_str());
  std::printf("Skin name:   %s\n", skin.SkinName.empty() ? "(none)" : EscapedName(skin.SkinName).c_str());

  std::printf("\nFrame sides:\n");
  for (const TDataSkinBorder* s : {&skin.Left, &skin.Right, &skin.Top, &skin.Bottom}) {
    const bool vertical = s == &skin.Left || s == &skin.Right;
    int32_t thickness = 0;
    if (!s->Image.Empty()) thickness = vertical ? s->Image.Width / s->FrameCount : s->Image.Height / s->FrameCount;
    std::printf("  %-7s %s; %s %d; fixed %s %d and %d; %s; trans %d\n", s->Name.c_str(),
                ImageText(s->Image, 1).c_str(), vertical ? "width" : "height", thickness,
                vertical ? "top/bottom" : "left/right", vertical ? s->TopHeight : s->LeftWidth,
                vertical ? s->BottomHeight : s->RightWidth, s->Tile == 1 ? "stretched" : "tiled", s->Trans);
    if (s->FrameCount > 1) std::printf("          %d frames %s\n", s->FrameCount, vertical ? "side by side" : "stacked");
  }

  const TDataSkinTitle& t = skin.Title;
  std::printf("\nTitle: text shift %d, vertical %d, right clip %d, alignment %d, font height %d\n", t.TextShift(),
              t.TextShiftVert(), t.TextRightClip(), t.TextAlignment, t.FontHeight);
  std::printf("  text back %s; fixed %d and %d\n", ImageText(t.TextBack(), 1).c_str(), t.TXTBackleft, t.TXTBackRight);
  std::printf("  active text %s; inactive text %s\n", Colour(t.ActiveTextColour).c_str(),
              Colour(t.InactiveTextColour).c_str());

  std::printf("\nCaption buttons (%zu):\n", skin.CaptionButtons.size());
  for (const auto& b : skin.CaptionButtons) {
    std::printf("  %-14s action %3d align %3d at %4d,%-4d visibility %d/%d combine %d, %d frames, %s\n",
                EscapedName(b->Name).c_str(), b->Action, b->Align, b->Xcoord, b->Ycoord, b->Visibility, b->Visibility1,
                b->CombineOp, b->FrameCount,
                b->Image.Empty() ? ((b->Action == 3 || b->Action == 11) ? "window icon" : "no image")
                                 : ImageText(b->Image, 1).c_str());
  }

  const TSkinColours& c = skin.Colours;
  std::printf("\nColours:\n");
  const std::pair<const char*, TColor> colours[] = {
      {"WindowText", c.WindowText},       {"ButtonFace", c.ButtonFace},       {"Scrollbar", c.Scrollbar},
      {"HilightText", c.HilightText},     {"Hilight", c.Hilight},             {"Menubar", c.Menubar},
      {"Menu", c.Menu},                   {"MenuText", c.MenuText},           {"ButtonText", c.ButtonText},
      {"ButtonHilight", c.ButtonHilight}, {"Buttonlight", c.Buttonlight},     {"ButtonShadow", c.ButtonShadow},
      {"ButtonDkShadow", c.ButtonDkShadow}, {"MenuBarText", c.MenuBarText}, {"TitleTextActive", c.TitleTextActive},
      {"TitleTextNoActive", c.TitleTextNoActive},
  };
  for (const auto& [name, value] : colours) std::printf("  %-18s %s\n", name, Colour(value).c_str());
  for (size_t i = 0; i < skin.ExtraColours.size(); ++i) {
    std::printf("  extra %-12zu %s\n", i + 1, Colour(skin.ExtraColours[i]).c_str());
  }

  const TDataSkinButton& b = skin.Buttons;
  std::printf("\nPieces:\n");
  PrintEntry("Buttons", &b);
  std::printf("  %-20s check box %s; radio button %s\n", "", ImageText(b.CheckImage, b.CheckButtonFrame).c_str(),
              ImageText(b.RadioImage, b.RadioButtonFrame).c_str());
  std::printf("  %-20s text %s / %s / %s\n", "", b.HasNormalColour2 ? Colour(b.NormalColour2).c_str() : "default",
              b.HasMouseOverColour2 ? Colour(b.MouseOverColour2).c_str() : "default",
              b.HasPressedColour2 ? Colour(b.PressedColour2).c_str() : "default");
  std::vector<const char*> absent;
  for (const auto& e : skin.OptionalEntries()) {
    PrintEntry(e.Section, e.Object);
    if (e.Object == nullptr) absent.push_back(e.Section);
  }
  std::printf("\nAbsent pieces (%zu)%s\n", absent.size(), absent.empty() ? "" : ":");
  for (const char* a : absent) std::printf("  %s\n", a);

  std::printf("\nProblems (%zu)%s\n", problems.size(), problems.empty() ? "" : ":");
  for (const std::string& p : problems) std::printf("  %s\n", EscapedName(p).c_str());
  std::printf("\nImage memory: %zu bytes (shared bitmaps counted once)\n", skin.ImageBytes);
}

std::string EntryText(const TSkinSourceEntry& e) {
  if (e.Note.empty()) return e.Problem;
  if (e.Problem.empty()) return e.Note;
  return e.Note + "; " + e.Problem;
}

int Inspect(const std::string& path, bool strict, bool check) {
  const TSkinSource s = LoadSkinSource(TStdSkinFiles(), path, check);
  if (!s.Loaded()) {
    std::fprintf(stderr, "skininspect: %s\n", EscapedName(s.Error).c_str());
    return 2;
  }
  if (s.Folder) {
    std::printf("Skin folder: %s\n", EscapedName(path).c_str());
  } else {
    std::printf("Skin file: %s (%zu bytes; entries hold %llu bytes)\n", EscapedName(path).c_str(), s.Container.size(),
                static_cast<unsigned long long>(s.EntryBytes));
  }
  std::printf("\nEntries (%zu):\n", s.Entries.size());
  for (const TSkinSourceEntry& e : s.Entries) {
    std::printf("  %-28s %9llu  %s\n", EscapedName(e.Name).c_str(), static_cast<unsigned long long>(e.Size),
                EntryText(e).c_str());
  }
  PrintSkin(s.Skin, s.Problems);
  return strict && StrictProblemCount(s) > 0 ? 1 : 0;
}

int Main(int argc, char** argv) {
  bool strict = false, check = false;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--strict") {
      strict = true;
    } else if (arg == "--check") {
      check = true;
    } else if (!arg.empty() && arg[0] == '-') {
      std::fprintf(stderr, "skininspect: unknown option %s\n\n%s", arg.c_str(), kUsage);
      return 2;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 1) {
    std::fprintf(stderr, "skininspect: give exactly one skin file or folder\n\n%s", kUsage);
    return 2;
  }
  return Inspect(paths[0], strict, check);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Main(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "skininspect: not enough memory\n");
    return 2;
  }
}
