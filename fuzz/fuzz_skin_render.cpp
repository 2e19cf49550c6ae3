// Any bytes as a skin, drawn whole: a skin file when they are one, else a skin description whose
// bitmaps are a fixed set of odd sizes (one pixel, one row, one column, all magenta, large strips)
// and the input itself. Whatever the skin holds, drawing every piece of it (the window frame of
// each kind and state with its region, the preview, the controls' pieces, the menu bar and menu
// items, at sizes from one pixel up) must end without a fault, within the memory limit, and keep
// the drawing's promises (frame sides within their bound, region inside the window, menu items at
// least as wide as their text).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_limits.h"
#include "skin/file/SkinLoad.h"
#include "tests/unit/skin/file/HostileSkins.h"
#include "tests/unit/skin/hostile/DrawWholeSkin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zelvo::TSkinObjects skin;
  if (!zelvo::LoadSkin(zelvo::TByteSpan(data, size), skin).Ok()) {
    zelvo::TMemorySkinEntries entries = zelvo::test::OddSizedBitmaps();
    entries.Add("self.bmp", std::vector<uint8_t>(data, data + size));
    try {
      zelvo::ParseSkinDescription(std::string_view(reinterpret_cast<const char*>(data), size), entries, skin);
    } catch (const zelvo::ESkinDescriptionError&) {
      return 0;
    }
  }
  // Windows of at most 100 pixels a side: the skin's values meet the same limits there as in a
  // large window (and in the one-pixel ones drawn too), and small windows let the fuzzer try
  // many more skins a second.
  const zelvo::test::TSkinDrawing drawing = zelvo::test::DrawWholeSkin(skin, 100, false);
  for (const std::string& fault : drawing.Faults) std::fprintf(stderr, "drawing fault: %s\n", fault.c_str());
  if (!drawing.Faults.empty()) std::abort();
  return 0;
}
