#include "skin/engine/SkinData.h"

#include <algorithm>
#include <climits>
#include <new>

#include "framework/Forms.h"

namespace zelvo {

// ---------------------------------------------------------------------------------------------
// Reporting

void TWindowsSkinLoadReporter::OlderVersion(const std::string& text) {
  HWND owner = Application ? Application->Handle() : nullptr;
  const std::string title = Application ? Application->Title() : std::string();
  MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK);
}

void TWindowsSkinLoadReporter::Failure(const std::string& text) {
  const ESkinLoadError e(text);
  if (Application) {
    Application->HandleException(e);
  } else {
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONSTOP);
  }
}

// ---------------------------------------------------------------------------------------------
// Platform pieces

namespace {

// A skin file is never larger than the largest payload the decoder accepts; anything bigger is
// refused before it is read.
constexpr uint64_t kMaxSkinFileSize = kLzhMaxDecodedSize;

bool FileExists(const std::string& path) {
  const DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

TByteVector ReadSkinFileBytes(const std::string& path) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw ESkinLoadError("Cannot open the skin file \"" + path + "\"");
  HANDLE f = file.Get();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f, &size)) throw ESkinLoadError("Cannot read the skin file \"" + path + "\"");
  if (static_cast<uint64_t>(size.QuadPart) > kMaxSkinFileSize) {
    throw ESkinLoadError("The skin file \"" + path + "\" is " + std::to_string(size.QuadPart) +
                         " bytes long, more than a skin file can be (" +
                         std::to_string(kMaxSkinFileSize) + ")");
  }
  TByteVector data;
  try {
    data.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    throw ESkinLoadError("Not enough memory to read the skin file \"" + path + "\"");
  }
  DWORD read = 0;
  if (!data.empty() &&
      (!ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) || read != data.size())) {
    throw ESkinLoadError("Cannot read the skin file \"" + path + "\"");
  }
  return data;
}

uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The menu glyphs as an image list, and their shapes as a monochrome mask (1 where the glyph is
// transparent) for drawing disabled glyphs.
void LoadMenuGlyphs(UniqueImageList& list, UniqueGdi<HBITMAP>& mask) {
  auto bmp = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), kMenuGlyphResource, IMAGE_BITMAP, 0,
                                             0, LR_CREATEDIBSECTION));
  if (!bmp) return;
  UniqueGdi<HBITMAP> owned(bmp);
  const SIZE size = BitmapSize(bmp);
  {
    // Colour to monochrome: pixels of the source's background colour (white) become 1.
    UniqueGdi<HBITMAP> bits(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    UniqueDC src = CompatibleDC(nullptr);
    UniqueDC dst = CompatibleDC(nullptr);
    ScopedSelect selSrc(src.Get(), bmp);
    ScopedSelect selDst(dst.Get(), bits.Get());
    SetBkColor(src.Get(), RGB(255, 255, 255));
    if (bits && BitBlt(dst.Get(), 0, 0, size.cx, size.cy, src.Get(), 0, 0, SRCCOPY)) mask = std::move(bits);
  }
  UniqueImageList glyphs(
      ImageList_Create(kMenuGlyphSize, kMenuGlyphSize, ILC_COLOR24 | ILC_MASK, kMenuGlyphCount, 0));
  if (!glyphs.Get()) return;
  // White is the mask colour: those pixels become transparent.
  if (ImageList_AddMasked(glyphs.Get(), owned.Get(), RGB(255, 255, 255)) < 0) return;
  list = std::move(glyphs);
}

}  // namespace

UniqueGdi<HBITMAP> CreateGdiBitmap(const TBitmap32& bitmap) {
  if (bitmap.Empty()) return {};
  TDib32 dib = CreateDib32(bitmap.Width, bitmap.Height);  // top-down, like TBitmap32
  if (!dib.bitmap) {
    throw Exception("Cannot create a bitmap of " + std::to_string(bitmap.Width) + " x " +
                    std::to_string(bitmap.Height) + " pixels");
  }
  // TPixel keeps red in the low byte; a 32-bit DIB keeps blue there.
  const size_t count = static_cast<size_t>(bitmap.Width) * static_cast<size_t>(bitmap.Height);
  for (size_t i = 0; i < count; ++i) {
    const TPixel p = bitmap.Pixels()[i];
    dib.bits[i] = (static_cast<uint32_t>(PixelRed(p)) << 16) | (static_cast<uint32_t>(PixelGreen(p)) << 8) |
                  PixelBlue(p);
  }
  return std::move(dib.bitmap);
}

bool IsNtPlatform() { return (GetVersion() & 0x80000000u) == 0; }

int SkinDrawTextWith(TTextCall call, HDC dc, std::wstring_view text, RECT& rect, UINT format) {
  // The caller's text is read-only: it may not be rewritten with an ellipsis.
  format &= ~static_cast<UINT>(DT_MODIFYSTRING);
  if (call == TTextCall::Wide) {
    const int len = static_cast<int>(std::min<size_t>(text.size(), INT_MAX / 4));
    return DrawTextW(dc, text.data(), len, &rect, format);
  }
  const std::string ansi = WideToAnsi(text).value_or(std::string());
  return DrawTextA(dc, ansi.data(), static_cast<int>(ansi.size()), &rect, format);
}

int SkinDrawText(HDC dc, std::wstring_view text, RECT& rect, UINT format) {
  return SkinDrawTextWith(IsNtPlatform() ? TTextCall::Wide : TTextCall::Ansi, dc, text, rect, format);
}

TByteSpan StoredSkinStream(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!res) return {};
  HGLOBAL global = LoadResource(module, res);
  const void* data = global ? LockResource(global) : nullptr;
  if (!data) return {};
  return TByteSpan(static_cast<const uint8_t*>(data), SizeofResource(module, res));
}

// ---------------------------------------------------------------------------------------------
// TSkinData

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner), skin3rd_(BuiltinSkin3rd()), reporter_(std::make_unique<TWindowsSkinLoadReporter>()) {
  buttonFaceBrush_.Reset(CreateSolidBrush(ColorToRGB(skin_.Colours.ButtonFace)));
  LoadMenuGlyphs(menuGlyphs_, menuGlyphMask_);
}

TSkinData::~TSkinData() {
  if (ISkinManager* m = SkinManager()) m->Unregister(*this);
}

void TSkinData::SetReporter(std::unique_ptr<ISkinLoadReporter> reporter) {
  if (reporter) reporter_ = std::move(reporter);
}

std::string TSkinData::SkinStore() const { return "(none)"; }

void TSkinData::SetActive(bool value) {
  if (reading_) {
    // Taken as stored; Loaded switches it off again when the skin turned out empty.
    active_ = value;
    return;
  }
  if (value == active_) return;
  if (value && skinEmpty_) {
    // Refused: an empty skin cannot be switched on.
    if (ISkinManager* m = SkinManager(); m && formType_ == TSkinFormType::sfOnlyThisForm) m->SetPending(this);
    return;
  }
  active_ = value;
  ScheduleForActive(value);
}

void TSkinData::ScheduleForActive(bool on) {
  ISkinManager* m = SkinManager();
  if (!m) return;  // not handed over yet; Loaded schedules what Active says
  const TSkinAction action = on ? TSkinAction::SkinAll : TSkinAction::UnskinAll;
  switch (formType_) {
    case TSkinFormType::sfOnlyThisForm:
      m->SetPending(this);
      m->Schedule(action, kSkinActionDelayMs);
      break;
    case TSkinFormType::sfMainform:
      m->Schedule(action, kSkinActionDelayMs);
      m->SetPending(this);
      break;
    case TSkinFormType::sfDialog:
      break;
  }
}

TSkinLoadResult TSkinData::LoadFromContainer() {
  skinEmpty_ = true;
  gdiBitmaps_.clear();
  TSkinLoadResult result;
  try {
    result = LoadSkin(container_, skin_);
  } catch (const std::bad_alloc&) {
    skin_ = TSkinObjects();
    result.Status = TSkinLoadStatus::Damaged;
    result.Message = "Not enough memory to load the skin";
  }
  lastLoad_ = result;
  if (result.Ok()) SkinReady();
  return result;
}

void TSkinData::SkinReady() {
  buttonFaceBrush_.Reset(CreateSolidBrush(ColorToRGB(skin_.Colours.ButtonFace)));
  skinEmpty_ = false;
}

void TSkinData::ScheduleSkinChanged() {
  if (!SkinManager()) Loaded();
  ISkinManager& m = *SkinManager();
  m.SetPending(this);
  m.DropCaptionButtons();
  m.Schedule(TSkinAction::SkinChanged, kSkinActionDelayMs);
}

void TSkinData::AdoptSkin(TSkinObjects skin, TByteVector container) {
  gdiBitmaps_.clear();
  skin_ = std::move(skin);
  container_ = std::move(container);
  lastLoad_ = TSkinLoadResult{TSkinLoadStatus::Loaded, {}};
  SkinReady();
  ScheduleSkinChanged();
}

void TSkinData::SetSkinFile(const std::string& path) {
  skinEmpty_ = true;
  skinFile_ = path;
  if (path.empty() || !FileExists(path)) return;
  container_.clear();
  try {
    container_ = ReadSkinFileBytes(path);
  } catch (const ESkinLoadError& e) {
    gdiBitmaps_.clear();
    skin_ = TSkinObjects();
    lastLoad_ = TSkinLoadResult{TSkinLoadStatus::Damaged, e.Message()};
    throw;
  }
  const TSkinLoadResult r = LoadFromContainer();
  if (r.Status == TSkinLoadStatus::OlderVersion) {
    reporter_->OlderVersion(r.Message);
    return;
  }
  if (!r.Ok()) throw ESkinLoadError("The skin file \"" + path + "\" cannot be loaded: " + r.Message);
  ScheduleSkinChanged();
}

void TSkinData::ReadStored(const TSkinDataStored& stored) {
  reading_ = true;
  SetActive(stored.Active);
  SetDisableTag(stored.DisableTag);
  SetSkinControls(stored.SkinControls);
  SetSkin3rd(stored.Skin3rd);
  SetSkinFormtype(stored.SkinFormtype);
  SetMenuUpdate(stored.MenuUpdate);
  SetVersion(stored.Version);
  ReadSkinStream(stored.SkinStream);
}

void TSkinData::ReadSkinStream(TByteSpan stored) {
  if (stored.empty()) return;  // nothing stored
  auto fail = [this](const std::string& message) {
    skinEmpty_ = true;
    gdiBitmaps_.clear();
    skin_ = TSkinObjects();
    container_.clear();
    lastLoad_ = TSkinLoadResult{TSkinLoadStatus::Damaged, message};
    reporter_->Failure("The window's skin cannot be loaded: " + message);
  };
  if (stored.size() < 4) {
    fail("the stored skin is " + std::to_string(stored.size()) + " bytes long, too short for its byte count");
    return;
  }
  const uint32_t count = ReadLe32(stored.data());
  if (count != stored.size() - 4) {
    fail("the stored skin declares " + std::to_string(count) + " bytes but holds " +
         std::to_string(stored.size() - 4));
    return;
  }
  if (count == 0) return;
  container_.assign(stored.begin() + 4, stored.end());
  const TSkinLoadResult r = LoadFromContainer();
  if (r.Status == TSkinLoadStatus::OlderVersion) {
    reporter_->OlderVersion(r.Message);
  } else if (!r.Ok()) {
    reporter_->Failure("The window's skin cannot be loaded: " + r.Message);
  }
}

TByteVector TSkinData::WriteSkinStream() const {
  const auto count = static_cast<uint32_t>(container_.size());
  TByteVector out;
  out.reserve(4 + container_.size());
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(count >> shift));
  out.insert(out.end(), container_.begin(), container_.end());
  return out;
}

void TSkinData::Loaded() {
  reading_ = false;
  ISkinManager& m = EnsureSkinManager();
  m.Register(*this);
  if (formType_ != TSkinFormType::sfMainform) {
    m.EnableSkinning(true);
    m.MarkStarted();
    if (auto* form = dynamic_cast<TForm*>(Owner())) m.AttachForm(*form);
    return;
  }
  m.InstallHook();
  if (active_) {
    if (skinEmpty_) {
      active_ = false;
    } else {
      m.Schedule(TSkinAction::SkinAll, kSkinActionDelayMs);
    }
  }
}

HBITMAP TSkinData::GdiBitmap(const TBitmap32& image) const {
  if (image.Empty()) return nullptr;
  auto it = gdiBitmaps_.find(&image);
  if (it == gdiBitmaps_.end()) it = gdiBitmaps_.emplace(&image, CreateGdiBitmap(image)).first;
  return it->second.Get();
}

bool TSkinData::DrawMenuGlyph(HDC dc, int x, int y, int index, bool enabled) const {
  HIMAGELIST list = menuGlyphs_.Get();
  if (!list || index < 0 || index >= ImageList_GetImageCount(list)) return false;
  if (enabled) return ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT) != FALSE;

  // Disabled: the glyph's shape embossed, highlight one pixel down-right, shadow on top. The
  // mask is 1 where the glyph is transparent; blitted with black text and white background
  // colours, the raster operation "pattern where the source is black, destination elsewhere"
  // paints only the glyph's shape.
  if (!menuGlyphMask_) return false;
  UniqueDC mem = CompatibleDC(dc);
  ScopedSelect selMask(mem.Get(), menuGlyphMask_.Get());
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  constexpr DWORD kPatternWhereSourceBlack = 0x00B8074A;
  const int left = index * kMenuGlyphSize;
  for (const auto& [dx, colour] : {std::pair{1, COLOR_BTNHIGHLIGHT}, std::pair{0, COLOR_BTNSHADOW}}) {
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(GetSysColor(colour)));
    ScopedSelect sel(dc, brush.Get());
    BitBlt(dc, x + dx, y + dx, kMenuGlyphSize, kMenuGlyphSize, mem.Get(), left, 0, kPatternWhereSourceBlack);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Published properties by name

namespace {
enum class Prop { None, Active, DisableTag, SkinControls, Skin3rd, SkinFile, SkinStore, SkinFormtype, Version,
                  MenuUpdate, OnFormSkin, OnSkinChanged, OnSkinControl };
Prop FindProp(std::string_view name) {
  static constexpr std::pair<std::string_view, Prop> kProps[] = {
      {"Active", Prop::Active},          {"DisableTag", Prop::DisableTag},
      {"SkinControls", Prop::SkinControls}, {"Skin3rd", Prop::Skin3rd},
      {"SkinFile", Prop::SkinFile},      {"SkinStore", Prop::SkinStore},
      {"SkinFormtype", Prop::SkinFormtype}, {"Version", Prop::Version},
      {"MenuUpdate", Prop::MenuUpdate},  {"OnFormSkin", Prop::OnFormSkin},
      {"OnSkinChanged", Prop::OnSkinChanged}, {"OnSkinControl", Prop::OnSkinControl},
  };
  for (const auto& [n, p] : kProps) {
    if (n == name) return p;
  }
  return Prop::None;
}
}  // namespace

TPropInfo TSkinData::GetPropInfo(std::string_view name) const {
  switch (FindProp(name)) {
    case Prop::None: return {};
    case Prop::Active:
    case Prop::MenuUpdate:
    case Prop::SkinFormtype: return {true, true};
    default: return {true, false};
  }
}

bool TSkinData::GetOrdProp(std::string_view name, int32_t& value) const {
  switch (FindProp(name)) {
    case Prop::Active: value = active_ ? 1 : 0; return true;
    case Prop::MenuUpdate: value = menuUpdate_ ? 1 : 0; return true;
    case Prop::SkinFormtype: value = static_cast<int32_t>(formType_); return true;
    case Prop::DisableTag: value = disableTag_; return true;
    case Prop::SkinControls: value = static_cast<int32_t>(skinControls_.Bits()); return true;
    default: return false;
  }
}

bool TSkinData::SetOrdProp(std::string_view name, int32_t value) {
  switch (FindProp(name)) {
    case Prop::Active: SetActive(value != 0); return true;
    case Prop::MenuUpdate: SetMenuUpdate(value != 0); return true;
    case Prop::DisableTag: SetDisableTag(value); return true;
    case Prop::SkinFormtype:
      if (value < 0 || value > static_cast<int32_t>(TSkinFormType::sfDialog)) {
        throw Exception("Invalid value " + std::to_string(value) + " for property SkinFormtype");
      }
      SetSkinFormtype(static_cast<TSkinFormType>(value));
      return true;
    case Prop::SkinControls:
      if (static_cast<uint32_t>(value) != TSkinControlTypes::FromBits(static_cast<uint32_t>(value)).Bits()) {
        throw Exception("Invalid value " + std::to_string(value) + " for property SkinControls");
      }
      SetSkinControls(TSkinControlTypes::FromBits(static_cast<uint32_t>(value)));
      return true;
    default: return false;
  }
}

}  // namespace zelvo
