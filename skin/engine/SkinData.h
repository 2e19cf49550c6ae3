// TSkinData: the non-visual component a form owns to switch the skin engine on. It holds the skin
// (from the container stored with the form, or from a skin file named at run time), the switches
// saying which kinds of control are skinned, the class-name mapping for foreign controls and three
// events, and hands over to the process-wide skin manager once its form has been read.
//
// The skin itself is portable (skin/file/SkinLoad.h); this unit adds what needs the platform: the
// ButtonFace brush, the menu-glyph image list, GDI bitmaps made from the skin's images on demand,
// and the wide/ANSI text-drawing routine the drawing code uses.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Text.h"
#include "skin/file/SkinLoad.h"
#include "skin/engine/SkinManagerSeam.h"
#include "skin/file/SkinObjects.h"
#include "skin/file/SkinControlTypes.h"
#include "skin/file/SkinRead.h"

namespace zelvo {

class TForm;
class TSkinData;

// Which windows a component serves.
enum class TSkinFormType : uint8_t { sfMainform, sfOnlyThisForm, sfDialog };

// Decides per window class whether a window is skinned; DoSkin arrives True.
using TOnFormSkin = std::function<void(TComponent& sender, const std::string& aName, bool& DoSkin)>;
// Lets the application supply the skin object for a control; SkinnedControl arrives empty and the
// handler may hand over an object (the form skin then owns it).
using TOnSkinControl =
    std::function<void(TComponent& sender, TSkinData& skinData, TWinControl* form, TWinControl* control,
                       const std::string& controlClass, std::unique_ptr<TComponent>& SkinnedControl)>;

// ---------------------------------------------------------------------------------------------
// How the component tells the user that a skin could not be used.
class ISkinLoadReporter {
 public:
  virtual ~ISkinLoadReporter() = default;
  // A container of an older format: the framework's simple message box with one OK button.
  virtual void OlderVersion(const std::string& text) = 0;
  // A damaged skin found while the form is being read (there is no caller to raise to): the
  // application's error reporter.
  virtual void Failure(const std::string& text) = 0;
};

class TWindowsSkinLoadReporter : public ISkinLoadReporter {
 public:
  void OlderVersion(const std::string& text) override;
  void Failure(const std::string& text) override;
};

// A skin that cannot be loaded from a skin file (damaged, unreadable, too large).
class ESkinLoadError : public Exception {
 public:
  using Exception::Exception;
};

// The property values a form's layout stores for its skin component, applied in stored order.
struct TSkinDataStored {
  bool Active = false;
  int32_t DisableTag = 99;
  TSkinControlTypes SkinControls = kDefaultSkinControls;
  std::vector<std::string> Skin3rd = BuiltinSkin3rd();
  TSkinFormType SkinFormtype = TSkinFormType::sfMainform;
  bool MenuUpdate = true;
  std::string Version;
  // The raw SkinStream property: a 4-byte count, then that many container bytes.
  TByteSpan SkinStream;
};

// Menu glyphs: 16 x 16 images cut from the bitmap resource "SKINMENUGLYPHS" (64 x 16, white is
// transparent). The skinned system menu uses glyph index = item tag.
inline constexpr int kMenuGlyphSize = 16;
inline constexpr int kMenuGlyphCount = 4;
inline constexpr char kMenuGlyphResource[] = "SKINMENUGLYPHS";

class TSkinData : public TComponent {
 public:
  static constexpr char kVersion[] = "2.62.5.26";

  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;
  const char* ClassName() const override { return "TSkinData"; }

  // Published properties.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag() const { return disableTag_; }
  void SetDisableTag(int32_t value) { disableTag_ = value; }
  TSkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControlTypes value) { skinControls_ = value; }
  const std::vector<std::string>& Skin3rd() const { return skin3rd_; }
  void SetSkin3rd(const std::vector<std::string>& lines) { skin3rd_ = lines; }  // copies
  const std::string& SkinFile() const { return skinFile_; }
  // Loads the named skin file at once and schedules re-skinning. A file that does not exist
  // leaves the skin empty. A damaged or unreadable file raises ESkinLoadError (the skin stays
  // empty); an older-format file is reported to the user and leaves it empty too.
  void SetSkinFile(const std::string& path);
  // Makes a skin loaded elsewhere (a skin folder, or a skin file a program read and checked
  // itself) the current one and schedules re-skinning, as setting SkinFile does after a good
  // load. `container` is what WriteSkinStream stores from then on (empty for a folder).
  void AdoptSkin(TSkinObjects skin, TByteVector container);
  std::string SkinStore() const;            // "(none)" at run time
  void SetSkinStore(const std::string&) {}  // status text only; writes are ignored
  TSkinFormType SkinFormtype() const { return formType_; }
  void SetSkinFormtype(TSkinFormType value) { formType_ = value; }
  const std::string& Version() const { return version_; }
  void SetVersion(const std::string&) {}    // fixed; writes are ignored
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool value) { menuUpdate_ = value; }

  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  // Ordinal published properties by name: Active, MenuUpdate and SkinFormtype (enumerations),
  // DisableTag and SkinControls (the set's bits). The string properties and the events exist
  // but are not ordinal.
  TPropInfo GetPropInfo(std::string_view name) const override;
  bool GetOrdProp(std::string_view name, int32_t& value) const override;
  bool SetOrdProp(std::string_view name, int32_t value) override;

  // Reading from a form's layout: the stored values in stored order while the component is
  // being read (Active is taken as stored; Loaded settles it), then the stored skin stream.
  void ReadStored(const TSkinDataStored& stored);
  // The SkinStream property: a 4-byte count, then the container. Reading it loads the skin;
  // damage is recorded in LastLoad() and shown through the reporter. Never raises for bad data.
  void ReadSkinStream(TByteSpan stored);
  TByteVector WriteSkinStream() const;
  // Called once the owning form has been read: hands over to the skin manager.
  void Loaded();
  bool Reading() const { return reading_; }

  // The loaded skin (read access for the drawing code).
  bool SkinEmpty() const { return skinEmpty_; }
  const TSkinObjects& Skin() const { return skin_; }
  const TSkinColours& Colours() const { return skin_.Colours; }
  const TByteVector& Container() const { return container_; }
  // What the last load gave (none before the first load).
  const std::optional<TSkinLoadResult>& LastLoad() const { return lastLoad_; }

  HBRUSH ButtonFaceBrush() const { return buttonFaceBrush_.Get(); }
  HIMAGELIST MenuGlyphs() const { return menuGlyphs_.Get(); }
  // Draws menu glyph `index` with its top-left at (x, y); a disabled glyph is drawn embossed in
  // the system's highlight and shadow colours. False when there is no such glyph.
  bool DrawMenuGlyph(HDC dc, int x, int y, int index, bool enabled) const;
  // A GDI bitmap of one of the skin's images, made on first use and kept until the next load;
  // nullptr for an empty image.
  HBITMAP GdiBitmap(const TBitmap32& image) const;

  // Replaces how load failures reach the user (tests record them instead).
  void SetReporter(std::unique_ptr<ISkinLoadReporter> reporter);

 private:
  // Decodes the container bytes into the skin; the skin is empty until this succeeds.
  TSkinLoadResult LoadFromContainer();
  // The skin just loaded is in use: the brush follows it.
  void SkinReady();
  // Every window this component serves re-skins with the new skin after the usual delay.
  void ScheduleSkinChanged();
  void ScheduleForActive(bool on);

  bool active_ = false;
  int32_t disableTag_ = 99;
  TSkinControlTypes skinControls_ = kDefaultSkinControls;
  std::vector<std::string> skin3rd_;
  std::string skinFile_;
  TSkinFormType formType_ = TSkinFormType::sfMainform;
  std::string version_ = kVersion;
  bool menuUpdate_ = true;

  bool reading_ = false;
  bool skinEmpty_ = true;
  TByteVector container_;
  TSkinObjects skin_;
  std::optional<TSkinLoadResult> lastLoad_;
  UniqueGdi<HBRUSH> buttonFaceBrush_;
  UniqueImageList menuGlyphs_;
  UniqueGdi<HBITMAP> menuGlyphMask_;
  mutable std::map<const TBitmap32*, UniqueGdi<HBITMAP>> gdiBitmaps_;
  std::unique_ptr<ISkinLoadReporter> reporter_;
};

// A 32-bit top-down DIB section holding the bitmap's pixels (nullptr for an empty bitmap).
UniqueGdi<HBITMAP> CreateGdiBitmap(const TBitmap32& bitmap);

// The skin's text routine: draws a wide string with the wide text call on NT-family systems,
// otherwise converted to the ANSI code page with the ANSI call; same rectangle and flags (with
// DT_CALCRECT the rectangle is updated). Returns the text height as the system call does.
int SkinDrawText(HDC dc, std::wstring_view text, RECT& rect, UINT format);
enum class TTextCall : uint8_t { Wide, Ansi };
int SkinDrawTextWith(TTextCall call, HDC dc, std::wstring_view text, RECT& rect, UINT format);
// Whether the process runs on an NT-family system (the wide call is available).
bool IsNtPlatform();

// The stored SkinStream of a window whose layout carries one: the RCDATA resource `name` of this
// program, or an empty span when it has none.
TByteSpan StoredSkinStream(const char* name);

}  // namespace zelvo
