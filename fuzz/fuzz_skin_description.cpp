// Any text as a skin description, with bitmaps of odd sizes to name and the input itself offered
// as a bitmap too: the parser must finish with every piece consistent, every value within its
// key's range, and never read out of bounds. Some of the bitmaps are large when decoded but tiny
// as files (two of 8 MiB), so a description naming them from many keys tests that each is decoded
// once (256 copies would pass the memory limit many times over) and the skin's budget holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_limits.h"
#include "skin/file/SkinDescription.h"
#include "tests/unit/skin/file/HostileSkins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zelvo::TMemorySkinEntries entries = zelvo::test::OddSizedBitmaps();
  entries.Add("self.bmp", std::vector<uint8_t>(data, data + size));
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
  auto sliced = [](const zelvo::TDataSkinObject& o) {
    for (int32_t v : {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}) {
      if (v < 0 || v > zelvo::kSkinMaxPixels) std::abort();
    }
  };
  for (const zelvo::TDataSkinBorder* side : {&skin.Left, &skin.Right, &skin.Top, &skin.Bottom}) sliced(*side);
  sliced(skin.Buttons);
  for (const auto& e : skin.OptionalEntries()) {
    if (e.Object == nullptr) continue;
    if (e.Object->FrameCount < 1 || e.Object->FrameCount > zelvo::kSkinMaxFrames) std::abort();
    sliced(*e.Object);
  }
  return 0;
}
