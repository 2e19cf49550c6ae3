#include "skin/file/SkinDescription.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "util/IniFile.h"
#include "util/Util.h"

namespace zelvo {

namespace {

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool ParseInteger(std::string_view s, int32_t& out) {
  s = TrimText(s);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s[0] == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  uint64_t value = 0;
  for (char c : s) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return false;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return false;
  }
  if (base == 16) {
    // Hexadecimal spells the 32 bits directly ($FFFFFFFF is -1).
    uint32_t bits = static_cast<uint32_t>(value);
    if (negative) bits = 0u - bits;
    out = static_cast<int32_t>(bits);
    return true;
  }
  const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
  if (value > limit) return false;
  out = negative ? static_cast<int32_t>(-static_cast<int64_t>(value)) : static_cast<int32_t>(value);
  return true;
}

// Every numeric key of a description with the values it may take (see TSkinKeyRange).
constexpr int32_t kAnyMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kAnyMax = std::numeric_limits<int32_t>::max();
constexpr TSkinKeyRange kKeyRanges[] = {
    // Fixed edges of a piece's nine-part slicing, in pixels.
    {"LeftWidth", 0, kSkinMaxPixels},
    {"RightWidth", 0, kSkinMaxPixels},
    {"TopHeight", 0, kSkinMaxPixels},
    {"BottomHeight", 0, kSkinMaxPixels},
    // The window sides' fixed edges: top and bottom heights of Left and Right, left and right
    // widths of Top and Bottom.
    {"LeftTopHeight", 0, kSkinMaxPixels},
    {"LeftBotHeight", 0, kSkinMaxPixels},
    {"RightTopHeight", 0, kSkinMaxPixels},
    {"RightBotHeight", 0, kSkinMaxPixels},
    {"TopTopHeight", 0, kSkinMaxPixels},
    {"TopBotHeight", 0, kSkinMaxPixels},
    {"BottomTopHeight", 0, kSkinMaxPixels},
    {"BottomBotHeight", 0, kSkinMaxPixels},
    // Fixed ends of the menu bar and of the caption text plate.
    {"TileLeftMenu", 0, kSkinMaxPixels},
    {"TileRightMenu", 0, kSkinMaxPixels},
    {"TXTBackleft", 0, kSkinMaxPixels},
    {"TXTBackRight", 0, kSkinMaxPixels},
    // Positions, shifts and margins, in pixels either way.
    {"TextShift", -kSkinMaxPixels, kSkinMaxPixels},
    {"TextShiftVert", -kSkinMaxPixels, kSkinMaxPixels},
    {"TextRightClip", -kSkinMaxPixels, kSkinMaxPixels},
    {"Xcoord", -kSkinMaxPixels, kSkinMaxPixels},
    {"Ycoord", -kSkinMaxPixels, kSkinMaxPixels},
    {"BackgroundLeftShift", -kSkinMaxPixels, kSkinMaxPixels},
    {"BackgroundRightShift", -kSkinMaxPixels, kSkinMaxPixels},
    // Frame counts: a bitmap holds at least one frame.
    {"LeftFrame", 1, kSkinMaxFrames},
    {"RightFrame", 1, kSkinMaxFrames},
    {"TopFrame", 1, kSkinMaxFrames},
    {"BottomFrame", 1, kSkinMaxFrames},
    {"FrameCount", 1, kSkinMaxFrames},
    // Frame counts where 0 leaves the count to the image's proportions.
    {"frame", 0, kSkinMaxFrames},
    {"RadioButtonFrame", 0, kSkinMaxFrames},
    {"CheckButtonFrame", 0, kSkinMaxFrames},
    // Caption font height, in pixels.
    {"FontHeight", 1, 200},
    // Actions, placements, visibility rules, switches and colours: taken as written.
    {"Action", kAnyMin, kAnyMax},
    {"Align", kAnyMin, kAnyMax},
    {"Visibility", kAnyMin, kAnyMax},
    {"Visibility1", kAnyMin, kAnyMax},
    {"CombineOp", kAnyMin, kAnyMax},
    {"Style", kAnyMin, kAnyMax},
    {"Trans", kAnyMin, kAnyMax},
    {"Tile", kAnyMin, kAnyMax},
    {"TileMenu", kAnyMin, kAnyMax},
    {"LeftStretch", kAnyMin, kAnyMax},
    {"RightStretch", kAnyMin, kAnyMax},
    {"TopStretch", kAnyMin, kAnyMax},
    {"BottomStretch", kAnyMin, kAnyMax},
    {"LeftTrans", kAnyMin, kAnyMax},
    {"RightTrans", kAnyMin, kAnyMax},
    {"TopTrans", kAnyMin, kAnyMax},
    {"BottomTrans", kAnyMin, kAnyMax},
    {"TextAlignment", kAnyMin, kAnyMax},
    {"Textbackground", kAnyMin, kAnyMax},
    {"BackgroundAlignment", kAnyMin, kAnyMax},
    {"NormalColour", kAnyMin, kAnyMax},
    {"MouseOverColour", kAnyMin, kAnyMax},
    {"PressedColour", kAnyMin, kAnyMax},
    {"ActiveTextR", kAnyMin, kAnyMax},
    {"ActiveTextG", kAnyMin, kAnyMax},
    {"ActiveTextB", kAnyMin, kAnyMax},
    {"InActiveTextR", kAnyMin, kAnyMax},
    {"InActiveTextG", kAnyMin, kAnyMax},
    {"InActiveTextB", kAnyMin, kAnyMax},
};

// Reads one description with its bitmap source; gathers the problems found on the way.
class TDescriptionParser {
 public:
  TDescriptionParser(const TIniFile& ini, const ISkinEntrySource& entries, TSkinObjects& skin)
      : ini_(ini), entries_(entries), skin_(skin) {}

  // A number held to its key's range; a value brought into it is noted.
  int32_t Int(std::string_view section, std::string_view key, int32_t def) {
    const TSkinKeyRange& range = SkinKeyRangeOf(key);
    int32_t value;
    if (!ParseInteger(ini_.ReadString(section, key, ""), value)) return def;
    const int32_t held = std::clamp(value, range.Min, range.Max);
    if (held != value) NoteValue(section, key, value, held);
    return held;
  }
  void NoteValue(std::string_view section, std::string_view key, int32_t value, int32_t held) {
    if (++valueNotes_ > kMaxValueWarnings) return;
    skin_.Warnings.push_back("[" + std::string(section) + "] " + std::string(key) + "=" + std::to_string(value) +
                             " is " + (value < held ? "below " : "above ") + std::to_string(held) + ": " +
                             std::to_string(held) + " is used");
  }
  // The count of notes left out, as one last warning.
  void FinishValueNotes() {
    if (valueNotes_ > kMaxValueWarnings) {
      skin_.Warnings.push_back(std::to_string(valueNotes_ - kMaxValueWarnings) +
                               " more values were brought into their ranges");
    }
  }
  // Tile values above 1 mean "stretch".
  int32_t TileValue(std::string_view section, std::string_view key = "Tile") {
    int32_t t = Int(section, key, 0);
    return t > 1 ? 0 : t;
  }
  TColor Colour(std::string_view section, std::string_view key, TColor def) const {
    std::string value = ini_.ReadString(section, key, "");
    return value.empty() ? def : ParseColourString(value);
  }
  bool Has(std::string_view section, std::string_view key) const { return ini_.ValueExists(section, key); }

  // The bitmap a description value names: only its file-name part (after the last backslash)
  // counts, and only an extension of exactly ".bmp" names a bitmap entry. Each entry is decoded
  // once; later keys naming it share its pixels (and its problem, if it has one).
  TBitmap32 Bitmap(std::string_view section, std::string_view key) {
    const std::string value = ini_.ReadString(section, key, "");
    if (value.empty()) return {};
    size_t slash = value.rfind('\\');
    std::string name = slash == std::string::npos ? value : value.substr(slash + 1);
    size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    if (name.empty()) return Problem(section, key, value, "no file name");
    if (ext != ".bmp") return Problem(section, key, value, "not a \".bmp\" name (the extension is matched exactly)");
    auto [it, added] = decoded_.try_emplace(LowerAscii(name));
    if (added) it->second = Decode(name);
    if (!it->second.Reason.empty()) return Problem(section, key, value, it->second.Reason);
    return it->second.Image;
  }

  // Memory for `bytes` more pixel storage, or ESkinDescriptionError when the skin would pass its
  // budget.
  void Charge(size_t bytes, const std::string& what) {
    if (bytes > kSkinImageBudget - spent_) {
      throw ESkinDescriptionError("The skin's bitmaps need more than " +
                                  std::to_string(kSkinImageBudget >> 20) + " MiB in all (" + what +
                                  " would bring them to " + std::to_string((spent_ + bytes) >> 20) +
                                  " MiB)");
    }
    spent_ += bytes;
  }

  // The columns [left, left + width) of a shared bitmap as a piece of their own, charged.
  TBitmap32 Cut(const TBitmap32& strip, int32_t left, int32_t width, const std::string& what) {
    const int32_t l = std::clamp(left, 0, strip.Width);
    const int32_t w = std::clamp(width, 0, strip.Width - l);
    Charge(static_cast<size_t>(w) * static_cast<size_t>(strip.Height) * sizeof(TPixel), what);
    return strip.Columns(l, w);
  }
  TBitmap32 Mirror(const TBitmap32& image, const std::string& what) {
    Charge(image.PixelBytes(), what);
    return image.Mirrored();
  }

  size_t Spent() const { return spent_; }

  TBitmap32 Problem(std::string_view section, std::string_view key, const std::string& value,
                    std::string reason) {
    skin_.ImageProblems.push_back({std::string(section), std::string(key), value, std::move(reason)});
    return {};
  }

  void FrameSide(TDataSkinBorder& side) {
    const std::string& n = side.Name;
    const std::string_view p = "Personality";
    if (n == "Top" || n == "Bottom") {
      side.LeftWidth = Int(p, n + "TopHeight", 0);
      side.RightWidth = Int(p, n + "BotHeight", 0);
      side.TopHeight = side.BottomHeight = 0;
    } else {
      side.TopHeight = Int(p, n + "TopHeight", 0);
      side.BottomHeight = Int(p, n + "BotHeight", 0);
      side.LeftWidth = side.RightWidth = 0;
    }
    side.FrameCount = Int(p, n + "Frame", 1);
    side.Tile = Int(p, n + "Stretch", 1);
    side.Trans = Int(p, n + "Trans", 1);
    side.Image = Bitmap(p, n);
  }

  void ColourTable(const std::vector<std::string>& sections) {
    TSkinColours& c = skin_.Colours;
    const std::string_view s = "Colours";
    c.WindowText = Colour(s, "WindowText", SystemColour(syscolour::WindowText));
    c.ButtonFace = Colour(s, "ButtonFace", SystemColour(syscolour::BtnFace));
    c.Scrollbar = Colour(s, "Scrollbar", SystemColour(syscolour::Scrollbar));
    c.HilightText = Colour(s, "HilightText", SystemColour(syscolour::HighlightText));
    c.Hilight = Colour(s, "Hilight", SystemColour(syscolour::Highlight));
    c.Menubar = Colour(s, "Menubar", c.ButtonFace);
    c.Menu = Colour(s, "Menu", SystemColour(syscolour::Menu));
    c.MenuText = Colour(s, "MenuText", SystemColour(syscolour::MenuText));
    c.ButtonText = Colour(s, "ButtonText", SystemColour(syscolour::BtnText));
    c.ButtonHilight = Colour(s, "ButtonHilight", SystemColour(syscolour::BtnHighlight));
    c.Buttonlight = Colour(s, "Buttonlight", SystemColour(syscolour::BtnHighlight));
    c.ButtonShadow = Colour(s, "ButtonShadow", SystemColour(syscolour::BtnShadow));
    c.ButtonDkShadow = Colour(s, "ButtonDkShadow", SystemColour(syscolour::DkShadow3D));
    c.MenuBarText = Colour(s, "MenuBarText", SystemColour(syscolour::MenuText));
    c.TitleTextActive = Colour(s, "TitleTextActive", SystemColour(syscolour::CaptionText));
    c.TitleTextNoActive = Colour(s, "TitleTextNoActive", SystemColour(syscolour::InactiveCaptionText));

    for (const std::string& section : sections) {
      std::string up = UpperAscii(section);
      if (up.rfind("COLOUR", 0) != 0 || up == "COLOURS") continue;
      if (skin_.ExtraColours.size() == kMaxExtraColours) {
        skin_.Warnings.push_back("more than " + std::to_string(kMaxExtraColours) +
                                 " extra colour sections; the rest are ignored");
        break;
      }
      skin_.ExtraColours.push_back(Colour(section, "color", SystemColour(syscolour::WindowText)));
    }
  }

  void CaptionButtons(const std::vector<std::string>& sections) {
    size_t examined = 0;
    for (const std::string& section : sections) {
      const std::string up = UpperAscii(section);
      if (up == "BUTTONS" || up == "BUTTON.RADIO" || up == "BUTTON.CHECKBOX" || up == "BUTTON") continue;
      if (up.rfind("BUTTON", 0) != 0) continue;
      if (++examined > kMaxCaptionButtonSections) {
        skin_.Warnings.push_back("more than " + std::to_string(kMaxCaptionButtonSections) +
                                 " caption-button sections; the rest are ignored");
        break;
      }
      const int32_t action = Int(section, "Action", 0);
      if (action == -1 && Int(section, "Visibility", -1) != 0) continue;  // a disabled button

      auto b = std::make_unique<TDataSkinSysButton>(up);
      b->Action = action;
      b->Align = Int(section, "Align", 0);
      b->Xcoord = Int(section, "Xcoord", 0);
      b->Ycoord = Int(section, "Ycoord", 0);
      b->Visibility = Int(section, "Visibility", 0);
      b->Visibility1 = Int(section, "Visibility1", action == -1 ? -1 : 0);
      b->CombineOp = Int(section, "CombineOp", -1);
      const int32_t frames = Int(section, "frame", 0);
      b->Image = Bitmap(section, "ButtonImage");
      const TCaptionButtonFrames f = CaptionButtonFrames(frames, action, b->Image.Width, b->Image.Height);
      b->FrameCount = f.FrameCount;
      if (f.ClearImage) b->Image.Clear();
      skin_.CaptionButtons.push_back(std::move(b));
    }

    // The three buttons a maximized MDI child shows in the menu bar: minimize, restore, close,
    // cut from one strip of twelve frames.
    const TBitmap32 strip = Bitmap("MDICONTROLS", "Image");
    static const char* const kMdiNames[3] = {"MDIMINIMIZE", "MDIRESTORE", "MDICLOSE"};
    for (int i = 0; i < 3; ++i) {
      auto b = std::make_unique<TDataSkinSysButton>(kMdiNames[i]);
      b->Action = 7 + i;
      b->Align = 100;
      b->Visibility = 100;
      b->Visibility1 = 100;
      b->FrameCount = 4;
      if (!strip.Empty()) {
        const int32_t a = strip.Width / 12;
        b->Xcoord = (a + 4) * (3 - i);
        b->Image = Cut(strip, 4 * a * i, 4 * a, std::string("the ") + kMdiNames[i] + " button");
      }
      skin_.CaptionButtons.push_back(std::move(b));
    }
  }

  void ButtonsEntry() {
    TDataSkinButton& b = skin_.Buttons;
    const std::string_view s = "Buttons";
    b.LeftWidth = Int(s, "LeftWidth", 0);
    b.RightWidth = Int(s, "RightWidth", 0);
    b.TopHeight = Int(s, "TopHeight", 0);
    b.BottomHeight = Int(s, "BottomHeight", 0);
    b.Trans = Int(s, "Trans", 0);
    b.Image = Bitmap(s, "Bitmap");
    b.Tile = TileValue(s);
    b.CheckImage = Bitmap(s, "CheckButton");
    b.RadioImage = Bitmap(s, "RadioButton");
    b.NormalColour = Int(s, "NormalColour", -1);
    b.MouseOverColour = Int(s, "MouseOverColour", -1);
    b.PressedColour = Int(s, "PressedColour", -1);
    b.RadioButtonFrame = Int(s, "RadioButtonFrame", 0);
    b.CheckButtonFrame = Int(s, "CheckButtonFrame", 0);
    const TColor text = skin_.Colours.ButtonText;
    b.HasNormalColour2 = !ini_.ReadString(s, "NormalColour2", "").empty();
    b.HasMouseOverColour2 = !ini_.ReadString(s, "MouseOverColour2", "").empty();
    b.HasPressedColour2 = !ini_.ReadString(s, "PressedColour2", "").empty();
    b.NormalColour2 = Colour(s, "NormalColour2", text);
    b.MouseOverColour2 = Colour(s, "MouseOverColour2", text);
    b.PressedColour2 = Colour(s, "PressedColour2", text);
  }

  void TitleEntry() {
    TDataSkinTitle& t = skin_.Title;
    const std::string_view p = "Personality";
    t.TextBack() = Bitmap(p, "TextBack");
    t.TextShift() = Int(p, "TextShift", 0);
    t.TextShiftVert() = Int(p, "TextShiftVert", 0);
    t.TextRightClip() = Int(p, "TextRightClip", 0);
    t.TextAlignment = Int(p, "TextAlignment", 0);
    t.Textbackground = Int(p, "Textbackground", 0);
    t.TXTBackleft = Int(p, "TXTBackleft", 0);
    t.TXTBackRight = Int(p, "TXTBackRight", 0);
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    t.ActiveTextColour = RgbKeys(p, "ActiveText");
    t.InactiveTextColour = RgbKeys(p, "InActiveText");
  }

  // A colour from three integer keys prefix+"R"/"G"/"B"; set only when all three are given.
  TColor RgbKeys(std::string_view section, const std::string& prefix) {
    const int32_t r = Int(section, prefix + "R", -1);
    const int32_t g = Int(section, prefix + "G", -1);
    const int32_t b = Int(section, prefix + "B", -1);
    if (r < 0 || g < 0 || b < 0) return clNone;
    return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
           (static_cast<TColor>(b & 0xFF) << 16);
  }

  void ProgressEntry() {
    const std::string_view s = "Progress";
    if (!Has(s, "Bitmap")) return;
    auto o = std::make_unique<TDataSkinBorder>("Progress");
    o->Image = Bitmap(s, "Bitmap");
    o->Image2 = Bitmap(s, "Chunk");
    o->Style = Int(s, "Style", 0);
    Slicing(s, *o);
    o->Trans = Int(s, "Trans", 0);
    o->Tile = TileValue(s);
    skin_.Progress = std::move(o);
  }

  void MenuBarEntry() {
    const std::string_view p = "Personality";
    if (!Has(p, "menuBar")) return;
    auto o = std::make_unique<TDataSkinObject>("menuBar");
    o->Image = Bitmap(p, "menuBar");
    o->TopHeight = o->BottomHeight = 0;
    o->Tile = TileValue(p, "TileMenu");
    o->LeftWidth = Int(p, "TileLeftMenu", 1);
    o->RightWidth = Int(p, "TileRightMenu", 1);
    skin_.MenuBar = std::move(o);
  }

  void Slicing(std::string_view s, TDataSkinObject& o) {
    o.LeftWidth = Int(s, "LeftWidth", 0);
    o.RightWidth = Int(s, "RightWidth", 0);
    o.TopHeight = Int(s, "TopHeight", 0);
    o.BottomHeight = Int(s, "BottomHeight", 0);
  }

  // An ordinary entry: present only when its section has an "Image" key.
  template <class T>
  std::unique_ptr<T> General(std::string_view section, bool hasStyle = true) {
    if (!Has(section, "Image")) return nullptr;
    auto o = std::make_unique<T>(std::string(section));
    o->Image = Bitmap(section, "Image");
    if (hasStyle) o->Style = Int(section, "Style", 0);
    Slicing(section, *o);
    o->Trans = Int(section, "Trans", 0);
    o->Tile = TileValue(section);
    o->NormalColour = Int(section, "NormalColour", -1);
    o->MouseOverColour = Int(section, "MouseOverColour", -1);
    o->PressedColour = Int(section, "PressedColour", -1);
    const TColor text = skin_.Colours.ButtonText;
    o->NormalColour2 = Colour(section, "NormalColour2", text);
    o->MouseOverColour2 = Colour(section, "MouseOverColour2", text);
    o->PressedColour2 = Colour(section, "PressedColour2", text);
    return o;
  }

  void GeneralEntries() {
    TSkinObjects& k = skin_;
    k.GroupBoxEdge = General<TDataSkinObject>("GroupBoxEdge");
    k.GroupBox = General<TDataSkinBoxLabel>("GroupBox");
    if (k.GroupBox) {
      k.GroupBox->BackgroundAlignment = Int("GroupBox", "BackgroundAlignment", 0);
      k.GroupBox->BackgroundLeftShift = Int("GroupBox", "BackgroundLeftShift", 0);
      k.GroupBox->BackgroundRightShift = Int("GroupBox", "BackgroundRightShift", 0);
    }
    k.Toolbars = General<TDataSkinObject>("Toolbars");
    k.Tabs = General<TDataSkinBorder>("Tabs", false);
    if (k.Tabs) k.Tabs->Image2 = Bitmap("Tabs", "Border");
    k.StatusBarEdges = General<TDataSkinObject>("StatusBarEdges");
    k.ComboButton = General<TDataSkinBorder>("ComboButton", false);
    k.SunkEdge = General<TDataSkinObject>("SunkEdge");
    k.ExtraImages = General<TDataSkinObject>("ExtraImages");
    k.Headerbar = General<TDataSkinObject>("Headerbar");
    k.MenuItem = General<TDataSkinObject>("MenuItem");
    k.MenuBackground = General<TDataSkinObject>("MenuBackground");
    k.Scrollbar = General<TDataSkinObject>("Scrollbar");
    k.HorzScroll = General<TDataSkinObject>("HorzScroll");
    k.VertScroll = General<TDataSkinObject>("VertScroll");
    k.HorzScrollThumb = General<TDataSkinObject>("HorzScrollThumb");
    k.VertScrollThumb = General<TDataSkinObject>("VertScrollThumb");
    k.TrackbarThumbHorz = General<TDataSkinObject>("Trackbar.ThumbHorz");
    k.TrackbarThumbVert = General<TDataSkinObject>("Trackbar.ThumbVert");
    k.TrackbarThumbLeft = General<TDataSkinObject>("Trackbar.ThumbLeft");
    k.TrackbarThumbRight = General<TDataSkinObject>("Trackbar.ThumbRight");
    k.TrackbarThumbUp = General<TDataSkinObject>("Trackbar.ThumbUp");
    k.TrackbarThumbDown = General<TDataSkinObject>("Trackbar.ThumbDown");
    k.UpDownHorz = General<TDataSkinBorder>("UpDown.Horz", false);
    if (k.UpDownHorz) k.UpDownHorz->Image2 = Bitmap("UpDown.Horz", "GlyphImage");
    k.UpDownVert = General<TDataSkinBorder>("UpDown.Vert", false);
    if (k.UpDownVert) k.UpDownVert->Image2 = Bitmap("UpDown.Vert", "GlyphImage");
  }

  void FrameCounts() {
    TSkinObjects& k = skin_;
    auto set = [](TDataSkinObject* o, int32_t n) {
      if (o) o->FrameCount = n;
    };
    k.Title.FrameCount = 2;
    k.Buttons.FrameCount = 5;
    set(k.MenuBar.get(), 2);
    set(k.Progress.get(), 2);
    set(k.GroupBoxEdge.get(), 2);
    set(k.GroupBox.get(), 1);
    set(k.Toolbars.get(), 5);
    set(k.Tabs.get(), 5);
    set(k.StatusBarEdges.get(), 3);
    set(k.ComboButton.get(), 4);
    set(k.SunkEdge.get(), 4);
    set(k.ExtraImages.get(), 5);
    set(k.Headerbar.get(), 5);
    set(k.MenuItem.get(), 5);
    set(k.MenuBackground.get(), 1);
    set(k.Scrollbar.get(), 23);
    set(k.HorzScroll.get(), 4);
    set(k.VertScroll.get(), 4);
    set(k.HorzScrollThumb.get(), Int("HorzScrollThumb", "FrameCount", 3));
    set(k.VertScrollThumb.get(), Int("VertScrollThumb", "FrameCount", 3));
    for (TDataSkinObject* o : {k.TrackbarThumbHorz.get(), k.TrackbarThumbVert.get(), k.TrackbarThumbLeft.get(),
                               k.TrackbarThumbRight.get(), k.TrackbarThumbUp.get(), k.TrackbarThumbDown.get()}) {
      set(o, 5);
    }
    set(k.UpDownHorz.get(), 8);
    set(k.UpDownVert.get(), 8);

    TDataSkinButton& b = k.Buttons;
    if (b.RadioButtonFrame == 0) b.RadioButtonFrame = CheckRadioFrames(b.RadioImage.Width, b.RadioImage.Height);
    if (b.CheckButtonFrame == 0) b.CheckButtonFrame = CheckRadioFrames(b.CheckImage.Width, b.CheckImage.Height);
  }

 private:
  struct Decoded {
    TBitmap32 Image;
    std::string Reason;  // why the entry cannot be used; empty when Image holds it
  };

  Decoded Decode(const std::string& name) {
    std::span<const uint8_t> bytes;
    if (!entries_.FindByName(name, bytes)) return {{}, "no entry \"" + name + "\" in the skin"};
    if (bytes.empty()) return {{}, "entry \"" + name + "\" is empty"};
    TBmpSize size;
    try {
      size = ReadBmpSize(bytes);
    } catch (const EBmpError& e) {
      return {{}, e.Message()};
    }
    Charge(size.PixelBytes(), "\"" + name + "\" of " + std::to_string(size.Width) + " x " +
                                  std::to_string(size.Height) + " pixels");
    Decoded d;
    if (!TryReadBmp(bytes, d.Image, d.Reason)) spent_ -= size.PixelBytes();
    return d;
  }

  const TIniFile& ini_;
  const ISkinEntrySource& entries_;
  TSkinObjects& skin_;
  std::map<std::string, Decoded> decoded_;  // by lower-cased entry name
  size_t spent_ = 0;                         // bytes of pixel storage held by the skin
  size_t valueNotes_ = 0;                    // values brought into their ranges
};

}  // namespace

void TMemorySkinEntries::Add(std::string_view name, std::vector<uint8_t> bytes) {
  entries_.emplace(LowerAscii(std::string(name)), std::move(bytes));
}

bool TMemorySkinEntries::FindByName(std::string_view name, std::span<const uint8_t>& bytes) const {
  auto it = entries_.find(LowerAscii(std::string(name)));
  if (it == entries_.end()) {
    bytes = {};
    return false;
  }
  bytes = it->second;
  return true;
}

std::span<const TSkinKeyRange> SkinKeyRanges() { return kKeyRanges; }

const TSkinKeyRange& SkinKeyRangeOf(std::string_view key) {
  for (const TSkinKeyRange& r : kKeyRanges) {
    if (SameTextAscii(r.Key, key)) return r;
  }
  throw std::logic_error("no range for the description key " + std::string(key));
}

std::vector<std::string> IniSectionNames(std::string_view text) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = TrimText(text.substr(pos, end - pos));
    pos = end + 1;
    if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      names.emplace_back(TrimText(line.substr(1, line.size() - 2)));
    }
  }
  return names;
}

int32_t ReadSkinInteger(const TIniFile& ini, std::string_view section, std::string_view key,
                        int32_t defaultValue) {
  int32_t value;
  return ParseInteger(ini.ReadString(section, key, ""), value) ? value : defaultValue;
}

TCaptionButtonFrames CaptionButtonFrames(int32_t frameKey, int32_t action, int32_t imageWidth,
                                         int32_t imageHeight) {
  if (frameKey > 0) return {frameKey, false};
  // No count given (a negative one counts as none): judge from the image's proportions; a
  // strip up to 3.8 times as wide as high holds three frames, a wider one six.
  int32_t frames = 6;
  if (imageWidth > 0 && imageHeight > 0) {
    frames = static_cast<int64_t>(imageWidth) * 5 <= static_cast<int64_t>(imageHeight) * 19 ? 3 : 6;
    if (action < 0) frames = 6;
  }
  return {frames, action == 3 || action == 11};
}

int32_t CheckRadioFrames(int32_t imageWidth, int32_t imageHeight) {
  const int32_t frames = imageHeight < 16 ? imageWidth / 13 : imageWidth / 16;
  return std::clamp(frames, 4, kSkinMaxFrames);
}

void ParseSkinDescription(std::string_view description, const ISkinEntrySource& entries, TSkinObjects& skin) {
  if (description.size() > TIniFile::kMaxSize) {
    throw ESkinDescriptionError("The skin description is " + std::to_string(description.size()) +
                                " bytes long; at most " + std::to_string(TIniFile::kMaxSize) + " are accepted");
  }
  skin = TSkinObjects();
  const TIniFile ini(description);
  const std::vector<std::string> sections = IniSectionNames(description);
  TDescriptionParser p(ini, entries, skin);

  skin.SkinName = ini.ReadString("TitlebarSkin", "SkinName", "");
  for (TDataSkinBorder* side : {&skin.Left, &skin.Right, &skin.Top, &skin.Bottom}) p.FrameSide(*side);
  p.ColourTable(sections);
  p.CaptionButtons(sections);
  p.ButtonsEntry();
  p.TitleEntry();
  p.ProgressEntry();
  p.MenuBarEntry();
  p.GeneralEntries();

  // The combo button drawn on the left (right-to-left windows) uses a mirrored copy.
  if (skin.ComboButton && !skin.ComboButton->Image.Empty()) {
    skin.ComboButton->Image2 = p.Mirror(skin.ComboButton->Image, "the mirrored combo button");
    skin.ComboButton->Image2.SourceBits = 24;
  }
  p.FrameCounts();
  p.FinishValueNotes();
  skin.ImageBytes = p.Spent();
}

}  // namespace zelvo
