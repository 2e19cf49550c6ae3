// Container bytes -> loaded skin objects: decode the container, find its description, parse it
// with the container's bitmaps. Portable; the Windows skin component wraps it and turns the
// bitmaps into GDI objects.
#pragma once

#include <string>
#include <string_view>

#include "skin/file/SkinDescription.h"
#include "skin/file/SkinObjects.h"
#include "skin/file/SkinRead.h"

namespace zelvo {

inline constexpr char kSkinNoMemoryText[] = "Not enough memory to load the skin";

// A container's entries as the description's bitmap source.
class TSkinReaderEntries : public ISkinEntrySource {
 public:
  explicit TSkinReaderEntries(const TSkinReader& reader) : reader_(reader) {}
  bool FindByName(std::string_view name, std::span<const uint8_t>& bytes) const override {
    return reader_.FindByName(name, bytes);
  }

 private:
  const TSkinReader& reader_;
};

enum class TSkinLoadStatus {
  Loaded,
  OlderVersion,   // the container's version is not the current one
  Damaged,        // the container or its description cannot be read
  NoDescription,  // the container holds no ".ini" entry
};

struct TSkinLoadResult {
  TSkinLoadStatus Status = TSkinLoadStatus::Damaged;
  // For the user: kSkinOlderVersionText for an old container, else what is wrong. Empty when
  // loaded.
  std::string Message;
  bool Ok() const { return Status == TSkinLoadStatus::Loaded; }
};

// Loads a whole skin from container bytes. On success `skin` holds the new skin (bitmaps that
// could not be used are empty and listed in skin.ImageProblems); on failure `skin` is reset to
// an empty skin. Never raises for bad data, nor when memory runs out (that is reported as
// Damaged with kSkinNoMemoryText).
TSkinLoadResult LoadSkin(TByteSpan container, TSkinObjects& skin);

// The same from a reader that has already loaded a container (the inspect tool lists its entries
// too).
TSkinLoadResult LoadSkinFromReader(const TSkinReader& reader, TSkinObjects& skin);

}  // namespace zelvo
