// Any bytes as a whole skin file, loaded as the program loads one: container, description and
// every bitmap it names. Whatever it holds, the load must end with a skin or a message, within
// the memory limit, and a loaded skin must hold no more pixel memory than its budget.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_limits.h"
#include "skin/file/SkinLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zelvo::TSkinObjects skin;
  const zelvo::TSkinLoadResult r = zelvo::LoadSkin(zelvo::TByteSpan(data, size), skin);
  if (r.Ok() != r.Message.empty()) std::abort();
  if (!r.Ok() && (skin.ImageBytes != 0 || !skin.Left.Image.Empty())) std::abort();
  if (skin.ImageBytes > zelvo::kSkinImageBudget) std::abort();
  return 0;
}
