// Any bytes as a BMP file: the reader either refuses them with a reason or returns a bitmap of
// the size it claims, and what it returns survives a write and read-back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "fuzz/fuzz_limits.h"
#include "skin/file/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zelvo::TBitmap32 bmp;
  std::string reason;
  if (!zelvo::TryReadBmp(std::span<const uint8_t>(data, size), bmp, reason)) {
    if (reason.empty() || !bmp.Empty()) std::abort();
    return 0;
  }
  if (bmp.Empty() || bmp.Pixels().size() != static_cast<size_t>(bmp.Width) * static_cast<size_t>(bmp.Height)) {
    std::abort();
  }
  if (!(zelvo::ReadBmp(zelvo::WriteBmp24(bmp)) == bmp)) std::abort();
  return 0;
}
