// Any text as a skin description, with a few bitmaps to name and the input itself offered as a
// bitmap too: the parser must finish with every piece consistent and never read out of bounds.
// Two of the bitmaps are large when decoded but tiny as files (2048 x 1024 and 8192 x 256 RLE
// bitmaps, 8 MiB each), so a description naming them from many keys tests that each is decoded
// once (256 copies would pass the memory limit many times over) and the skin's budget holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_limits.h"
#include "skin/file/SkinDescription.h"
#include "tests/unit/skin/file/HostileSkins.h"

namespace {

const zelvo::TMemorySkinEntries& Entries(const uint8_t* data, size_t size, zelvo::TMemorySkinEntries& withSelf) {
  static const zelvo::TMemorySkinEntries fixed = [] {
    zelvo::TMemorySkinEntries e;
    e.Add("a.bmp", zelvo::WriteBmp24(zelvo::TBitmap32(40, 10, zelvo::kMagenta)));
    e.Add("b.bmp", zelvo::WriteBmp24(zelvo::TBitmap32(75, 21, 0x123456)));
    e.Add("m.bmp", zelvo::WriteBmp24(zelvo::TBitmap32(120, 14, 0x00FF00)));
    e.Add("s.bmp", zelvo::WriteBmp24(zelvo::TBitmap32(1, 1)));
    e.Add("h.bmp", zelvo::test::Rle8Bitmap(2048, 1024));
    e.Add("w.bmp", zelvo::test::Rle8Bitmap(8192, 256));
    return e;
  }();
  withSelf = fixed;
  withSelf.Add("self.bmp", std::vector<uint8_t>(data, data + size));
  return withSelf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zelvo::TMemorySkinEntries entries;
  Entries(data, size, entries);
  zelvo::TSkinObjects skin;
  try {
    zelvo::ParseSkinDescription(std::string_view(reinterpret_cast<const char*>(data), size), entries, skin);
  } catch (const zelvo::ESkinDescriptionError&) {
    return 0;
  }
  for (const zelvo::TDataSkinObject* side : {&skin.Left, &skin.Right, &skin.Top, &skin.Bottom}) {
    if (side->FrameCount < 1) std::abort();
  }
  if (skin.CaptionButtons.size() < 3) std::abort();
  for (const auto& b : skin.CaptionButtons) {
    if (b->FrameCount < 1) std::abort();
  }
  if (skin.ImageBytes > zelvo::kSkinImageBudget) std::abort();
  if (skin.Buttons.CheckButtonFrame < 1 || skin.Buttons.RadioButtonFrame < 1) std::abort();
  for (const auto& e : skin.OptionalEntries()) {
    if (e.Object != nullptr && e.Object->FrameCount < 1) std::abort();
  }
  return 0;
}
