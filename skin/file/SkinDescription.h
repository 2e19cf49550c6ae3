// The skin description: an INI text naming the skin's bitmaps and settings, parsed in memory into
// TSkinObjects. Section and key names match without regard to letter case.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/file/SkinObjects.h"
#include "util/Exceptions.h"

namespace zelvo {

class TIniFile;

class ESkinDescriptionError : public Exception {
 public:
  using Exception::Exception;
};

// Where the description's bitmaps come from: the container's entries, or files in tools and tests.
class ISkinEntrySource {
 public:
  virtual ~ISkinEntrySource() = default;
  // Finds the entry whose lower-cased name equals the lower-cased `name` and gives a view of its
  // bytes, valid as long as the source is unchanged; False (and an empty view) when none.
  virtual bool FindByName(std::string_view name, std::span<const uint8_t>& bytes) const = 0;
};

// Entries held in memory, looked up by lower-cased name; the first added of a name wins.
class TMemorySkinEntries : public ISkinEntrySource {
 public:
  void Add(std::string_view name, std::vector<uint8_t> bytes);
  bool FindByName(std::string_view name, std::span<const uint8_t>& bytes) const override;

 private:
  std::map<std::string, std::vector<uint8_t>> entries_;
};

// Limits that keep a hostile description from multiplying work: sections beyond these counts are
// ignored (and noted in TSkinObjects::Warnings). Every caption button is drawn over the caption
// strip at each paint of the frame, so their number bounds the time a paint takes (a skin has a
// handful).
inline constexpr size_t kMaxCaptionButtonSections = 64;
inline constexpr size_t kMaxExtraColours = 256;
// Pixel memory one skin may hold in all. Each bitmap entry is decoded once however many keys name
// it, and the pieces cut or mirrored from it count too; a description that would need more is
// refused before the allocation that would pass the limit.
inline constexpr size_t kSkinImageBudget = 64u * 1024u * 1024u;

// The numeric values a description may give. A size or offset in pixels never goes beyond what the
// platform takes as a window coordinate; a frame count is at least 1 and at most kSkinMaxFrames,
// far beyond what any piece holds (the scroll-bar arrows have the most, 23; drawing also keeps
// every frame at least a pixel wide).
inline constexpr int32_t kSkinMaxPixels = 32767;
inline constexpr int32_t kSkinMaxFrames = 1000;

// The range each numeric key is held to. A value outside it is brought to the nearer end and the
// change noted in TSkinObjects::Warnings; an absent or malformed value takes the key's default,
// which lies inside. So the drawing code can compute with every value as loaded. A key means the
// same in every section that has it; keys spanning all 32 bits select a behaviour or a colour and
// are only compared, never computed with.
struct TSkinKeyRange {
  std::string_view Key;  // as the description spells it; matched without regard to case
  int32_t Min;
  int32_t Max;
};
std::span<const TSkinKeyRange> SkinKeyRanges();
// The range of `key` (any case). Raises std::logic_error for a key the table lacks: the parser
// reads no number without a range.
const TSkinKeyRange& SkinKeyRangeOf(std::string_view key);
// Value notes beyond this many are counted in one last warning.
inline constexpr size_t kMaxValueWarnings = 50;

// Parses `description` into `skin` (which is reset first), fetching bitmaps from `entries`.
// Every value has its default when absent and is held to its key's range (SkinKeyRanges); named
// bitmaps that cannot be used leave that image empty and are listed in skin.ImageProblems. Raises
// ESkinDescriptionError for a text larger than an INI file may be and for bitmaps that together
// pass kSkinImageBudget.
void ParseSkinDescription(std::string_view description, const ISkinEntrySource& entries, TSkinObjects& skin);

// Section names of an INI text in file order, duplicates included, by the same line rules as
// TIniFile.
std::vector<std::string> IniSectionNames(std::string_view text);

// An integer setting: decimal, or hexadecimal after "$" or "0x", with an optional sign; an absent,
// empty or malformed value (or one outside 32 bits) gives `defaultValue`.
int32_t ReadSkinInteger(const TIniFile& ini, std::string_view section, std::string_view key,
                        int32_t defaultValue);

// Frame count of a caption button from its "frame" key, image and action, and whether its image
// is dropped (system-menu buttons with no frame count show the window's icon instead).
struct TCaptionButtonFrames {
  int32_t FrameCount;
  bool ClearImage;
};
TCaptionButtonFrames CaptionButtonFrames(int32_t frameKey, int32_t action, int32_t imageWidth,
                                         int32_t imageHeight);

// Frame count of a check-box or radio-button image when the description gives none (at least 4,
// at most kSkinMaxFrames).
int32_t CheckRadioFrames(int32_t imageWidth, int32_t imageHeight);

}  // namespace zelvo
