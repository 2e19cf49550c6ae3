// Builders of hostile skins: small containers that would cost gigabytes or minutes if a loader
// decoded each reference anew or clipped long runs pixel by pixel. Made in memory by the tests,
// and written out by bench_skin_load --write-hostile for measurements and fuzz seeds.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "skin/file/SkinDescription.h"
#include "skin/file/SkinRead.h"

namespace zelvo::test {

// An RLE8 bitmap of width x height with a one-colour palette (red) whose data is `codes`; without
// codes the stream is just "end of bitmap", so every pixel is black.
inline TByteVector Rle8Bitmap(int32_t width, int32_t height, const TByteVector& codes = {0, 1}) {
  TByteVector b;
  auto u16 = [&b](uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto u32 = [&](uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  const uint32_t offset = 14 + 40 + 4;
  b.push_back('B');
  b.push_back('M');
  u32(offset + static_cast<uint32_t>(codes.size()));
  u32(0);
  u32(offset);
  u32(40);
  u32(static_cast<uint32_t>(width));
  u32(static_cast<uint32_t>(height));
  u16(1);
  u16(8);
  u32(1);  // RLE8
  u32(static_cast<uint32_t>(codes.size()));
  u32(0);
  u32(0);
  u32(1);  // one palette entry
  u32(0);
  u32(0x00FF0000);  // red (blue, green, red, reserved)
  b.insert(b.end(), codes.begin(), codes.end());
  return b;
}

// `count` runs of 255 pixels of colour 0, all past the right edge of a 1-pixel-wide row after the
// first, then end of bitmap.
inline TByteVector LongRuns(size_t count) {
  TByteVector codes;
  codes.reserve(2 * count + 2);
  for (size_t i = 0; i < count; ++i) {
    codes.push_back(255);
    codes.push_back(0);
  }
  codes.push_back(0);
  codes.push_back(1);
  return codes;
}

// A description whose caption buttons, frame sides and pieces all name `bitmap`.
inline std::string EveryKeyNames(const std::string& bitmap, int buttons) {
  std::string ini = "[TitlebarSkin]\r\nSkinName=hostile\r\n[Personality]\r\n";
  for (const char* side : {"Left", "Right", "Top", "Bottom", "TextBack", "menuBar"}) {
    ini += std::string(side) + "=" + bitmap + "\r\n";
  }
  ini += "[Buttons]\r\nBitmap=" + bitmap + "\r\nCheckButton=" + bitmap + "\r\nRadioButton=" + bitmap + "\r\n";
  ini += "[Progress]\r\nBitmap=" + bitmap + "\r\nChunk=" + bitmap + "\r\n";
  for (const char* s : {"ScrollBar", "MenuItem", "Tabs", "SunkEdge", "HorzScroll", "VertScroll"}) {
    ini += "[" + std::string(s) + "]\r\nImage=" + bitmap + "\r\n";
  }
  for (int i = 0; i < buttons; ++i) {
    ini += "[Button" + std::to_string(i) + "]\r\nAction=1\r\nframe=3\r\nButtonImage=" + bitmap + "\r\n";
  }
  return ini;
}

inline TByteVector Container(const std::string& ini, std::vector<std::pair<std::string, TByteVector>> bitmaps) {
  TSkinWriter w;
  w.Add("skin.ini", TByteVector(ini.begin(), ini.end()));
  for (auto& [name, bytes] : bitmaps) w.Add(name, std::move(bytes));
  return w.Container();
}

// The cases, by name: each is small on disk.
struct HostileSkin {
  std::string Name;
  TByteVector Bytes;
};

// 16384 x 512 pixels (32 MiB decoded) named by 256 caption-button sections (the first
// kMaxCaptionButtonSections of them are read) and every other key.
inline HostileSkin OneBigBitmapEverywhere() {
  return {"big_shared.skn", Container(EveryKeyNames("big.bmp", 256), {{"big.bmp", Rle8Bitmap(16384, 512)}})};
}

// A 1 x 1 bitmap carrying `runs` runs past its row end, named by four keys.
inline HostileSkin LongRunsFourTimes(size_t runs) {
  const std::string ini =
      "[Personality]\r\nLeft=runs.bmp\r\nRight=runs.bmp\r\nTop=runs.bmp\r\nBottom=runs.bmp\r\n";
  return {"long_runs.skn", Container(ini, {{"runs.bmp", Rle8Bitmap(1, 1, LongRuns(runs))}})};
}

// Three different 32 MiB bitmaps: more than a skin may hold in all.
inline HostileSkin OverBudget() {
  const std::string ini = "[Personality]\r\nLeft=a.bmp\r\nRight=b.bmp\r\nTop=c.bmp\r\n";
  return {"over_budget.skn", Container(ini, {{"a.bmp", Rle8Bitmap(16384, 512)},
                                             {"b.bmp", Rle8Bitmap(16384, 512)},
                                             {"c.bmp", Rle8Bitmap(16384, 512)}})};
}

// Bitmaps of odd sizes for descriptions to name, each a few bytes on disk: a 40 x 10 all-magenta
// strip (every pixel transparent), a 75 x 21 and a 120 x 14 strip, a single pixel, one row of
// 300, one column of 300, a 64 x 32 pattern with magenta holes, and four large when decoded:
// 2048 x 1024 and 8192 x 256 (8 MiB each), 16384 x 16 and 16 x 16384 (1 MiB each). The fuzz
// targets' descriptions name them: their corpora depend on these names and sizes.
inline const TMemorySkinEntries& OddSizedBitmaps() {
  static const TMemorySkinEntries entries = [] {
    TMemorySkinEntries e;
    e.Add("a.bmp", WriteBmp24(TBitmap32(40, 10, kMagenta)));
    e.Add("b.bmp", WriteBmp24(TBitmap32(75, 21, 0x123456)));
    e.Add("m.bmp", WriteBmp24(TBitmap32(120, 14, 0x00FF00)));
    e.Add("s.bmp", WriteBmp24(TBitmap32(1, 1)));
    e.Add("row.bmp", WriteBmp24(TBitmap32(300, 1, 0x0000FF)));
    e.Add("col.bmp", WriteBmp24(TBitmap32(1, 300, 0xFF0000)));
    TBitmap32 holes(64, 32, 0x336699);
    for (int32_t y = 0; y < holes.Height; ++y) {
      for (int32_t x = 0; x < holes.Width; ++x) {
        if ((x * 7 + y * 3) % 11 < 4) holes.At(x, y) = kMagenta;
      }
    }
    e.Add("p.bmp", WriteBmp24(holes));
    e.Add("h.bmp", Rle8Bitmap(2048, 1024));
    e.Add("w.bmp", Rle8Bitmap(8192, 256));
    e.Add("wide.bmp", Rle8Bitmap(16384, 16));
    e.Add("tall.bmp", Rle8Bitmap(16, 16384));
    return e;
  }();
  return entries;
}

// `count` entries of 8M pixels each (about 25 bytes on disk apiece), none of them named.
inline HostileSkin ManyHugeEntries(int count) {
  std::vector<std::pair<std::string, TByteVector>> bitmaps;
  for (int i = 0; i < count; ++i) bitmaps.emplace_back("e" + std::to_string(i) + ".bmp", Rle8Bitmap(4096, 2048));
  return {"many_entries.skn", Container("[Personality]\r\n", std::move(bitmaps))};
}

}  // namespace zelvo::test
