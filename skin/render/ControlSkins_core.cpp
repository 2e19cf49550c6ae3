#include "skin/render/ControlSkins_core.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdlib>

namespace zelvo {

namespace {

std::string Upper(std::string_view s) {
  std::string r(s);
  for (char& ch : r) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return r;
}

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& ch : r) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return r;
}

template <size_t N>
bool OneOf(const std::string& s, const std::array<const char*, N>& names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return s == n; });
}

// a * b / c rounded to nearest, halves away from zero, in 64 bits (c != 0).
int64_t MulDivRound64(int64_t a, int64_t b, int64_t c) {
  // Callers keep one factor within 31 bits and the other within 32, so the product (plus half
  // of c) stays below 2^63.
  int64_t p = a * b;
  bool negative = (p < 0) != (c < 0);
  int64_t ap = p < 0 ? -p : p, ac = c < 0 ? -c : c;
  int64_t q = (ap + ac / 2) / ac;
  return negative ? -q : q;
}

int ClampToInt(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

int SkinMulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t r = MulDivRound64(a, b, c);
  if (r > INT_MAX || r < INT_MIN) return -1;
  return static_cast<int>(r);
}

const char* ControlSkinClassName(ControlSkinClass c) {
  switch (c) {
    case ControlSkinClass::None: return "";
    case ControlSkinClass::TSkinButton: return "TSkinButton";
    case ControlSkinClass::TSkinBitButton: return "TSkinBitButton";
    case ControlSkinClass::TSkinSpeedButton: return "TSkinSpeedButton";
    case ControlSkinClass::TSkinCheckBox: return "TSkinCheckBox";
    case ControlSkinClass::TSkinRadioButton: return "TSkinRadioButton";
    case ControlSkinClass::TSkinComBox: return "TSkinComBox";
    case ControlSkinClass::TSkinEdit: return "TSkinEdit";
    case ControlSkinClass::TSkinUpDown: return "TSkinUpDown";
    case ControlSkinClass::TSkinGroupBox: return "TSkinGroupBox";
    case ControlSkinClass::TSkinBox: return "TSkinBox";
    case ControlSkinClass::TSkinStatusBar: return "TSkinStatusBar";
    case ControlSkinClass::TSkinTab: return "TSkinTab";
    case ControlSkinClass::TSkinTab31: return "TSkinTab31";
    case ControlSkinClass::TSkinProgress: return "TSkinProgress";
    case ControlSkinClass::TSkinTrackBar: return "TSkinTrackBar";
    case ControlSkinClass::TSkinHeader: return "TSkinHeader";
    case ControlSkinClass::TSkinScrollbar: return "TSkinScrollbar";
    case ControlSkinClass::TSkinScControl: return "TSkinScControl";
    case ControlSkinClass::TSkinListView: return "TSkinListView";
    case ControlSkinClass::TSkinSizer: return "TSkinSizer";
  }
  return "";
}

// ---------------------------------------------------------------------------------------------
// The choice

std::optional<std::string> Skin3rdKind(const std::vector<std::string>& lines, std::string_view className) {
  const std::string key = Lower(className) + "=";
  for (const std::string& line : lines) {
    if (line.size() < key.size()) continue;
    if (Lower(std::string_view(line).substr(0, key.size())) != key) continue;
    return Lower(std::string_view(line).substr(line.find('=') + 1, 50));
  }
  return std::nullopt;
}

bool IsPreviewForm(std::string_view formName, std::string_view formClassName) {
  if (Lower(formName).find("preview") != std::string::npos) return true;
  static constexpr std::array<const char*, 3> kPreviewClasses = {"TQRStandardPreview", "TppPrintPreview",
                                                                 "TdxfmStdPreview"};
  std::string cls(formClassName);
  return OneOf(cls, kPreviewClasses);
}

namespace {

ControlSkinChoice Decided(ControlChoiceAction action, ControlChoiceRule rule,
                          ControlSkinClass skin = ControlSkinClass::None) {
  ControlSkinChoice r;
  r.Action = action;
  r.Rule = rule;
  r.Skin = skin;
  return r;
}

ControlSkinChoice Skinned(ControlChoiceRule rule, ControlSkinClass skin, bool recolour = false) {
  ControlSkinChoice r = Decided(ControlChoiceAction::Skin, rule, skin);
  r.Recolour = recolour;
  return r;
}

// A matched Skin3rd line: the kind decides, or the control stays native.
ControlSkinChoice ChooseByKind(const std::string& kind, TSkinControlTypes sw, bool hasTabs) {
  using enum TSkinControlType;
  const auto rule = ControlChoiceRule::Skin3rd;
  ControlSkinChoice r = Decided(ControlChoiceAction::Native, rule);
  if (kind == "combobox" && sw.Contains(xcCombo)) {
    r = Skinned(rule, ControlSkinClass::TSkinComBox);
  } else if (kind == "edit" && sw.Contains(xcEdit)) {
    r = Skinned(rule, ControlSkinClass::TSkinEdit);
    r.ByHandle = true;
  } else if (kind == "radiobutton" && sw.Contains(xcRadioButton)) {
    r = Skinned(rule, ControlSkinClass::TSkinRadioButton);
  } else if (kind == "panel" && sw.Contains(xcPanel)) {
    r = Skinned(rule, ControlSkinClass::TSkinBox, true);
    r.SetTrueProperty = "Transparent";
  } else if (kind == "trackbar" && sw.Contains(xcButton)) {
    r = Skinned(rule, ControlSkinClass::TSkinTrackBar);
    r.SetTrueProperty = "Transparent";
  } else if (kind == "button" && sw.Contains(xcButton)) {
    r = Skinned(rule, ControlSkinClass::TSkinButton);
  } else if (kind == "tab" && sw.Contains(xcTab) && hasTabs) {
    r = Skinned(rule, ControlSkinClass::TSkinTab);
    r.ByHandle = true;
  } else if (kind == "progress" && sw.Contains(xcProgress)) {
    r = Skinned(rule, ControlSkinClass::TSkinProgress);
  } else if (kind == "scrollbar" && sw.Contains(xcScrollbar)) {
    r = Skinned(rule, ControlSkinClass::TSkinScrollbar);
    r.ThumbDragging = true;
  } else if (kind == "radiogroup" && sw.Contains(xcPanel)) {
    r = Skinned(rule, ControlSkinClass::TSkinGroupBox, true);
    if (sw.Contains(xcRadioButton)) r.ChildSkin = ControlSkinClass::TSkinRadioButton;
  } else if (kind == "checkgroup" && sw.Contains(xcPanel)) {
    // Check-group children follow the radio-button switch, not the check-box one.
    r = Skinned(rule, ControlSkinClass::TSkinGroupBox, true);
    if (sw.Contains(xcRadioButton)) r.ChildSkin = ControlSkinClass::TSkinCheckBox;
  } else if (kind == "checkbox" && sw.Contains(xcCheckBox)) {
    r = Skinned(rule, ControlSkinClass::TSkinCheckBox);
  }
  r.Skin3rdKind = kind;
  return r;
}

// The framework classes the skin knows by name or by kind, in the order they are tried.
std::optional<ControlSkinChoice> ChooseBuiltin(const ComponentDescription& c, const std::string& n,
                                               TSkinControlTypes sw) {
  using enum TSkinControlType;
  using K = ComponentKind;
  const auto rule = ControlChoiceRule::Builtin;
  if (n == "TMVCPANEL") return std::nullopt;
  if (n == "TTRACKBAR" && sw.Contains(xcButton)) return Skinned(rule, ControlSkinClass::TSkinTrackBar);
  if (n == "TUPDOWN" && sw.Contains(xcButton)) return Skinned(rule, ControlSkinClass::TSkinUpDown);
  if (c.Has(K::RadioGroup) && sw.Contains(xcRadioButton)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinGroupBox, true);
    r.ChildSkin = ControlSkinClass::TSkinRadioButton;
    return r;
  }
  if (n == "TDBNAVIGATOR" && sw.Contains(xcPanel)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinBox, true);
    r.SetTrueProperty = "Flat";
    return r;
  }
  if (c.Has(K::GroupBox) && sw.Contains(xcPanel)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinGroupBox, true);
    r.WalkChildrenAfter = true;
    return r;
  }
  if (c.Has(K::RadioButton) && sw.Contains(xcRadioButton)) return Skinned(rule, ControlSkinClass::TSkinRadioButton);
  // Plain check boxes of the framework (radio buttons derive from them, hence after).
  if (c.Has(K::CheckBox) && !c.Has(K::RadioButton) && sw.Contains(xcCheckBox))
    return Skinned(rule, ControlSkinClass::TSkinCheckBox);
  if (c.Has(K::ComboBox) && sw.Contains(xcCombo)) return Skinned(rule, ControlSkinClass::TSkinComBox);
  if (n == "TDATETIMEPICKER" && sw.Contains(xcEdit)) {
    return Skinned(rule, c.DateTimeKindTime ? ControlSkinClass::TSkinEdit : ControlSkinClass::TSkinComBox);
  }
  static constexpr std::array<const char*, 3> kRichEdits = {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"};
  if (sw.Contains(xcScrollbar) && OneOf(n, kRichEdits)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinScrollbar);
    r.ThumbDragging = true;
    return r;
  }
  if (c.Has(K::BitButton)) {
    if (sw.Contains(xcBitBtn)) return Skinned(rule, ControlSkinClass::TSkinBitButton);
    return Decided(ControlChoiceAction::Native, rule);  // never a plain push-button skin
  }
  if (c.Has(K::SpeedButton) && sw.Contains(xcSpeedButton)) return Skinned(rule, ControlSkinClass::TSkinSpeedButton);
  static constexpr std::array<const char*, 3> kGrids = {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"};
  if (sw.Contains(xcScrollbar) && OneOf(n, kGrids)) return Skinned(rule, ControlSkinClass::TSkinScrollbar);
  // The memo before the edit: a memo gets skinned scroll bars, not the edit border.
  if (sw.Contains(xcScrollbar) && c.Has(K::Memo)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinScrollbar);
    r.ThumbDragging = true;
    return r;
  }
  if (c.Has(K::PushButton) && sw.Contains(xcButton)) return Skinned(rule, ControlSkinClass::TSkinButton);
  if (c.Has(K::Edit) && sw.Contains(xcEdit)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinEdit);
    r.ByHandle = true;
    return r;
  }
  // The framework's bar controls and panels, by class name.
  if (n == "TPROGRESSBAR" && sw.Contains(xcProgress)) return Skinned(rule, ControlSkinClass::TSkinProgress);
  if (n == "TSCROLLBAR" && sw.Contains(xcScrollbar)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinScControl);
    r.ThumbDragging = true;
    return r;
  }
  if (n == "TPANEL" && sw.Contains(xcPanel)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinBox, true);
    r.WalkChildrenAfter = true;
    return r;
  }
  if (c.Has(K::EmbeddedForm)) {
    ControlSkinChoice r = Skinned(rule, ControlSkinClass::TSkinBox, true);
    r.WalkChildrenAfter = true;
    return r;
  }
  return std::nullopt;
}

bool ExemptByTag(const ComponentDescription& c, const ControlChoiceSettings& s) {
  return c.Tag % 100 == s.DisableTag;
}

}  // namespace

bool NeedsHandleCreation(const ComponentDescription& c, const ControlChoiceSettings& s,
                         const ControlChoiceState& state) {
  return c.Has(ComponentKind::WinControl) && !c.HasHandle && !ExemptByTag(c, s) && !state.AlreadyCovered &&
         !IsPreviewForm(s.FormName, s.FormClassName);
}

ControlSkinChoice ChooseControlSkin(const ComponentDescription& c, const ControlChoiceSettings& s,
                                    const ControlChoiceState& state) {
  using enum TSkinControlType;
  const TSkinControlTypes sw = s.SkinControls;

  if (ExemptByTag(c, s)) return Decided(ControlChoiceAction::Skip, ControlChoiceRule::DisabledTag);
  if (state.AlreadyCovered) return Decided(ControlChoiceAction::Skip, ControlChoiceRule::Covered);
  if (c.Has(ComponentKind::WinControl) && !c.HasHandle) {
    if (IsPreviewForm(s.FormName, s.FormClassName))
      return Decided(ControlChoiceAction::Skip, ControlChoiceRule::Covered);
    if (!c.GetsHandle) return Decided(ControlChoiceAction::Skip, ControlChoiceRule::NoHandle);
  }

  if (state.HandlerSuppliedSkin) return Decided(ControlChoiceAction::UseSupplied, ControlChoiceRule::Handler);

  const std::string n = Upper(c.ClassName);
  static constexpr std::array<const char*, 4> kChildrenOnly = {"TDBCOMBOBOXEH", "TQRPREVIEW", "TFRDESIGNERPAGE",
                                                               "TFRPBOX"};
  if (OneOf(n, kChildrenOnly)) return Decided(ControlChoiceAction::WalkChildren, ControlChoiceRule::ChildrenOnly);

  if (s.Skin3rd) {
    if (std::optional<std::string> kind = Skin3rdKind(*s.Skin3rd, n)) return ChooseByKind(*kind, sw, s.SkinHasTabs);
  }

  if (sw.Contains(xcTab) && s.SkinHasTabs) {
    if (n == "TTABSET") return Skinned(ControlChoiceRule::TabSet, ControlSkinClass::TSkinTab31);
    if (n == "TTABBEDNOTEBOOK") return Decided(ControlChoiceAction::WalkPages, ControlChoiceRule::TabSet);
  }

  if (std::optional<ControlSkinChoice> builtin = ChooseBuiltin(c, n, sw)) return *builtin;

  if (c.Has(ComponentKind::PopupMenu) && sw.Contains(xcPopupMenu) && sw.Contains(xcMainMenu))
    return Decided(ControlChoiceAction::OwnerDrawMenu, ControlChoiceRule::PopupMenu);

  return Decided(ControlChoiceAction::Native, ControlChoiceRule::NoRule);
}

ForeignChildChoice ChooseForeignChildSkin(const ForeignChildDescription& w) {
  const std::string cls = Lower(w.WindowClass);
  auto skin = [](ControlSkinClass c) { return ForeignChildChoice{ForeignChildAction::Skin, c}; };
  if (cls == "button") {
    // The low four bits are the button's type, a number rather than flags: reading them as bits
    // would make owner-drawn buttons (11) and push boxes (10) check boxes and split buttons (12)
    // radio buttons.
    const uint32_t type = w.Style & 0x0F;
    switch (type) {
      case 7: return {};   // group box
      case 11: return {};  // owner-drawn: its owner paints it, a skinned face would hide that
      case 2: case 3: case 5: case 6: return skin(ControlSkinClass::TSkinCheckBox);
      case 4: case 9: return skin(ControlSkinClass::TSkinRadioButton);
      default: return skin(ControlSkinClass::TSkinButton);
    }
  }
  if (cls == "combobox") {
    if ((w.Style & 0x03) == 1) return {};  // simple combo box: no button to draw
    return skin(ControlSkinClass::TSkinComBox);
  }
  if (cls == "comboboxex32") return {ForeignChildAction::SkinFirstChild, ControlSkinClass::TSkinComBox};
  if (cls == "scrollbar") return skin(ControlSkinClass::TSkinSizer);
  if (cls == "systabcontrol32") {
    if ((w.Style & 0x2000) != 0) return {};  // owner-drawn tabs draw themselves
    return skin(ControlSkinClass::TSkinTab);
  }
  if (cls == "edit") return skin(ControlSkinClass::TSkinEdit);
  return {};
}

bool IsUpDownCompanionClass(std::string_view windowClass) {
  const std::string cls = Lower(windowClass);
  return cls == "msctls_updown32" || cls == "tspinbutton" || cls == "trzspinbuttons";
}

// ---------------------------------------------------------------------------------------------
// Buttons

int ButtonFrame(const ControlState& st) {
  if (!st.Enabled) return 3;
  if (st.Pressed) return 2;
  if (st.Focused || st.Hot) return 4;
  return 1;
}

TColor PushButtonTextColour(const TDataSkinButton& buttons, const TSkinColours& colours, int frame) {
  switch (frame) {
    case 2: return buttons.PressedColour2;
    case 3: return colours.ButtonShadow;
    case 4: return buttons.MouseOverColour2;
    default: return buttons.NormalColour2;
  }
}

TColor BitButtonTextColour(const TDataSkinButton& buttons, const TSkinColours& colours, int frame,
                           TColor fontColour) {
  switch (frame) {
    case 2: return buttons.HasPressedColour2 ? buttons.PressedColour2 : fontColour;
    case 3: return colours.ButtonShadow;
    case 4: return buttons.HasMouseOverColour2 ? buttons.MouseOverColour2 : fontColour;
    default: return buttons.HasNormalColour2 ? buttons.NormalColour2 : fontColour;
  }
}

// ---------------------------------------------------------------------------------------------
// Check boxes

int CheckBoxFrame(CheckState state, bool enabled) {
  switch (state) {
    case CheckState::Indeterminate: return 4;
    case CheckState::Checked: return enabled ? 2 : 4;
    case CheckState::Unchecked: break;
  }
  return enabled ? 1 : 3;
}

bool CheckedFromPropertyText(std::string_view text) { return Lower(text) == "true"; }

CheckBoxGeometry LayoutCheckBox(int w, int h, int menuCheckWidth, TSizeI cell, bool rightButton) {
  constexpr int kCell = 14;
  const int strip = menuCheckWidth + 3;
  CheckBoxGeometry g;
  g.Strip = rightButton ? TRectI{w - strip, 0, w, h} : TRectI{0, 0, strip, h};
  int left;
  if (cell.cx < 15) {
    left = (rightButton ? w - kCell : 0) + (kCell - cell.cx) / 2;
  } else {
    left = rightButton ? w - cell.cx : 0;
  }
  const int top = (h - cell.cy) / 2;
  g.Image = {left, top, left + cell.cx, top + cell.cy};
  return g;
}

// ---------------------------------------------------------------------------------------------
// Combo boxes, edits, group boxes

ComboGeometry LayoutCombo(const ComboInput& in) {
  const int e = in.Edge, w = in.Width, h = in.Height;
  const int bw = std::clamp(in.ButtonWidth, 0, std::max(0, w - 2 * e));
  ComboGeometry g;
  g.Mirrored = in.LeftScrollBar;
  if (in.LeftScrollBar) {
    g.Button = {e, e, e + bw, h - e};
    g.Text = {e + bw, e, w - e, h - e};
  } else {
    g.Button = {w - e - bw, e, w - e, h - e};
    g.Text = {e, e, w - e - bw, h - e};
  }
  if (in.Flat) {
    g.OuterFrame = {0, 0, w, h};
    g.InsetFrame = {1, 1, w - 1, h - 1};
  }
  return g;
}

bool EditBorderDrawn(int windowW, int windowH, int clientW, int clientH) {
  return windowW >= clientW + 2 && windowH >= clientH + 2;
}

GroupBoxGeometry LayoutGroupBox(int w, int h, int zeroHeight, TSizeI caption) {
  GroupBoxGeometry g;
  const int top = zeroHeight / 2;
  g.Frame = {0, top, w, h};
  g.Wipe1 = g.Frame;
  g.Wipe2 = {1, top + 1, w - 1, h - 1};
  if (caption.cx > 0 && caption.cy > 0) {
    g.Caption = {kGroupBoxCaptionLeft, 0, std::min(w, kGroupBoxCaptionLeft + caption.cx), caption.cy};
  }
  return g;
}

// ---------------------------------------------------------------------------------------------
// Progress bars

int ProgressFillWidth(int position, int upperLimit, int barWidth) {
  if (position <= 0 || upperLimit <= 0 || barWidth <= 0) return 0;
  const int64_t fill = static_cast<int64_t>(position) * barWidth / upperLimit;
  return static_cast<int>(std::min<int64_t>(fill, barWidth));
}

std::vector<int> ProgressChunkLefts(int fillWidth, int chunkWidth, int leftWidth) {
  std::vector<int> lefts;
  if (fillWidth <= 0 || chunkWidth <= 0) return lefts;
  const int count = fillWidth / chunkWidth + 1;
  lefts.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) lefts.push_back(leftWidth + i * chunkWidth);
  return lefts;
}

int ProgressChunkTop(int barHeight, int chunkHeight) { return (barHeight - chunkHeight) / 2; }

TRectI ProgressFillRect(int w, int h, int position, int upperLimit, bool vertical) {
  if (w <= 0 || h <= 0) return {};
  if (vertical) {
    const int fill = ProgressFillWidth(position, upperLimit, h);
    return fill > 0 ? TRectI{0, h - fill, w, h} : TRectI{};
  }
  const int fill = ProgressFillWidth(position, upperLimit, w);
  return fill > 0 ? TRectI{0, 0, fill, h} : TRectI{};
}

// ---------------------------------------------------------------------------------------------
// Up-down buttons

UpDownGeometry LayoutUpDown(int w, int h, bool horizontal) {
  w = std::max(0, w);
  h = std::max(0, h);
  if (horizontal) {
    const int half = w / 2;
    return {{0, 0, half, h}, {half, 0, w, h}};
  }
  const int half = h / 2;
  return {{0, 0, w, half}, {0, half, w, h}};
}

int UpDownFrame(bool second, bool enabled, bool pressed, bool hot) {
  const int look = !enabled ? 4 : pressed ? 2 : hot ? 3 : 1;
  return look + (second ? 4 : 0);
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

ScrollBarParts LayoutScrollBar(int length, int arrowLength, int minThumb, const ScrollInfo& si) {
  ScrollBarParts p;
  p.Length = std::max(0, length);
  int arrow = std::max(0, arrowLength);
  if (p.Length < 2 * arrow) arrow = p.Length / 2;
  p.ArrowLength = arrow;
  p.TrackStart = arrow;
  p.TrackEnd = p.Length - arrow;
  p.ThumbStart = p.ThumbEnd = p.TrackStart;

  const int track = p.TrackEnd - p.TrackStart;
  const int64_t range = static_cast<int64_t>(si.Max) - si.Min + 1;
  const int64_t page = std::max(0, si.Page);
  if (range <= 0 || page >= range) return p;

  int64_t thumb = page > 0 ? MulDivRound64(track, page, range) : minThumb;
  thumb = std::max<int64_t>(thumb, std::max(1, minThumb));
  if (thumb > track) return p;

  const int64_t maxPos = page > 0 ? static_cast<int64_t>(si.Max) - page + 1 : si.Max;
  const int64_t span = maxPos - si.Min;
  const int64_t pos = std::clamp<int64_t>(si.Pos, si.Min, std::max<int64_t>(si.Min, maxPos));
  const int64_t free = track - thumb;
  int64_t offset = span > 0 ? MulDivRound64(free, pos - si.Min, span) : 0;
  offset = std::clamp<int64_t>(offset, 0, free);

  p.HasThumb = true;
  p.ThumbStart = p.TrackStart + static_cast<int>(offset);
  p.ThumbEnd = p.ThumbStart + static_cast<int>(thumb);
  return p;
}

ScrollHit ClassifyScrollPoint(const ScrollBarParts& parts, int along) {
  if (along < parts.TrackStart) return ScrollHit::LineUp;
  if (along < parts.ThumbStart) return ScrollHit::PageUp;
  if (along < parts.ThumbEnd) return ScrollHit::Thumb;
  if (along < parts.TrackEnd) return ScrollHit::PageDown;
  return ScrollHit::LineDown;
}

const char* ScrollHitTraceName(ScrollHit hit) {
  switch (hit) {
    case ScrollHit::LineUp: return " SB_LINEUp";
    case ScrollHit::PageUp: return " SB_PAGEUp";
    case ScrollHit::Thumb: return " SB_THUMBTRACK";
    case ScrollHit::PageDown: return " SB_PAGEDown";
    case ScrollHit::LineDown: return " SB_LINEDown";
  }
  return "";
}

int ScrollArrowFrame(bool horizontal, bool second, bool held) {
  const int base = horizontal ? (second ? 5 : 1) : (second ? 13 : 9);
  return base + (held ? 1 : 0);
}

std::optional<int> ThumbDragPosition(int startOffset, int cursorDelta, int usableLength, const ScrollInfo& si) {
  const int64_t range = static_cast<int64_t>(si.Max) - si.Min;
  if (usableLength <= 0 || range <= 0) return std::nullopt;
  // The offset is bounded by the usable length here so that the product below stays in 64 bits
  // whatever the cursor did; the clamp after it would cut any larger value back anyway.
  const int64_t offset = std::clamp<int64_t>(static_cast<int64_t>(startOffset) + cursorDelta, 0, usableLength);
  int64_t pos = si.Min + MulDivRound64(offset, range, usableLength);
  int64_t hi = si.Page > 0 ? static_cast<int64_t>(si.Max) - si.Page + 1 : si.Max;
  hi = std::max<int64_t>(hi, si.Min);
  return ClampToInt(std::clamp<int64_t>(pos, si.Min, hi));
}

}  // namespace zelvo
