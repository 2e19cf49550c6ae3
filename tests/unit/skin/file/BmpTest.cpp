// BMP reader: files written by ImageMagick in several depths and header kinds (fixtures made by
// data/make_bmp_fixtures.sh), hand-built files for what ImageMagick does not write (top-down,
// RLE4, odd masks), and damaged files that must be refused without reading out of bounds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

#include "skin/file/Bmp.h"

namespace zelvo {
namespace {

const std::string kData = std::string(ZELVO_TESTDATA_DIR) + "/bmp/";

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Plain-text PPM (P3), as the fixture script writes it.
TBitmap32 ReadPpm(const std::string& path) {
  std::ifstream in(path);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  EXPECT_EQ(magic, "P3");
  TBitmap32 bmp(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int r, g, b;
      in >> r >> g >> b;
      bmp.At(x, y) = MakePixel(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
    }
  }
  return bmp;
}

void ExpectNear(const TBitmap32& got, const TBitmap32& want, int tolerance, const std::string& what) {
  ASSERT_EQ(got.Width, want.Width) << what;
  ASSERT_EQ(got.Height, want.Height) << what;
  for (int y = 0; y < want.Height; ++y) {
    for (int x = 0; x < want.Width; ++x) {
      TPixel g = got.At(x, y), w = want.At(x, y);
      ASSERT_EQ(g >> 24, 0u) << what;
      ASSERT_NEAR(PixelRed(g), PixelRed(w), tolerance) << what << " at " << x << "," << y;
      ASSERT_NEAR(PixelGreen(g), PixelGreen(w), tolerance) << what << " at " << x << "," << y;
      ASSERT_NEAR(PixelBlue(g), PixelBlue(w), tolerance) << what << " at " << x << "," << y;
    }
  }
}

TEST(Bmp, ReadsImageMagickFilesOfEveryDepth) {
  struct Case {
    const char* file;
    const char* ref;
    int bits;
    int tolerance;  // 16-bit files keep 5 or 6 bits per channel (ImageMagick truncates)
  };
  const Case cases[] = {
      {"im_1bit.bmp", "ref2.ppm", 1, 0},         {"im_4bit.bmp", "ref16.ppm", 4, 0},
      {"im_8bit.bmp", "ref40.ppm", 8, 0},        {"im_rle8.bmp", "ref40.ppm", 8, 0},
      {"im_16bit_565.bmp", "ref16.ppm", 16, 9},  {"im_16bit_555.bmp", "ref16.ppm", 16, 9},
      {"im_24bit.bmp", "ref16.ppm", 24, 0},      {"im_32bit_v5.bmp", "ref16.ppm", 32, 0},
      {"im_24bit_os2.bmp", "ref16.ppm", 24, 0},  {"im_8bit_os2.bmp", "ref40.ppm", 8, 0},
  };
  for (const Case& c : cases) {
    TBitmap32 bmp = ReadBmp(ReadFile(kData + c.file));
    EXPECT_EQ(bmp.SourceBits, c.bits) << c.file;
    ExpectNear(bmp, ReadPpm(kData + c.ref), c.tolerance, c.file);
  }
}

// ---- hand-built files ------------------------------------------------------------------------

void Put16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

struct BmpSpec {
  int32_t width = 1, height = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<uint32_t> masks;    // written after a 40-byte header
  std::vector<uint8_t> pixels;
};

std::vector<uint8_t> Build(const BmpSpec& s) {
  std::vector<uint8_t> v = {'B', 'M'};
  const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(s.masks.size() + s.palette.size());
  Put32(v, offset + static_cast<uint32_t>(s.pixels.size()));
  Put32(v, 0);
  Put32(v, offset);
  Put32(v, 40);
  Put32(v, static_cast<uint32_t>(s.width));
  Put32(v, static_cast<uint32_t>(s.height));
  Put16(v, 1);
  Put16(v, s.bits);
  Put32(v, s.compression);
  Put32(v, static_cast<uint32_t>(s.pixels.size()));
  Put32(v, 0);
  Put32(v, 0);
  Put32(v, static_cast<uint32_t>(s.palette.size()));
  Put32(v, 0);
  for (uint32_t m : s.masks) Put32(v, m);
  for (uint32_t c : s.palette) Put32(v, c);
  v.insert(v.end(), s.pixels.begin(), s.pixels.end());
  return v;
}

constexpr TPixel kRed = MakePixel(255, 0, 0), kGreen = MakePixel(0, 255, 0), kBlue = MakePixel(0, 0, 255),
                 kBlack = 0;

TEST(Bmp, TopDownRowsAndMissingLastPadding) {
  BmpSpec s;
  s.width = 2;
  s.height = -2;  // first stored row is the top one
  s.pixels = {0, 0, 255, 0, 255, 0, 0, 0,   // top: red, green, padding
              255, 0, 0, 0, 0, 0};          // bottom: blue, black, last padding missing
  TBitmap32 bmp = ReadBmp(Build(s));
  EXPECT_EQ(bmp.At(0, 0), kRed);
  EXPECT_EQ(bmp.At(1, 0), kGreen);
  EXPECT_EQ(bmp.At(0, 1), kBlue);
  EXPECT_EQ(bmp.At(1, 1), kBlack);
}

TEST(Bmp, Rle4RunsLiteralsJumpsAndEndOfLine) {
  BmpSpec s;
  s.width = 6;
  s.height = 3;
  s.bits = 4;
  s.compression = 2;
  s.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  s.pixels = {
      5, 0x12,             // bottom row: 1 2 1 2 1
      0, 0,                // end of line
      0, 3, 0x31, 0x20,    // literal 3 1 2 (padded to a word)
      0, 2, 2, 1,          // jump 2 right, 1 up: to x = 5 of the top row
      1, 0x30,             // one pixel 3
      0, 1,                // end of bitmap
  };
  TBitmap32 bmp = ReadBmp(Build(s));
  const TPixel row2[6] = {kRed, kGreen, kRed, kGreen, kRed, kBlack};
  const TPixel row1[6] = {kBlue, kRed, kGreen, kBlack, kBlack, kBlack};
  const TPixel row0[6] = {kBlack, kBlack, kBlack, kBlack, kBlack, kBlue};
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(bmp.At(x, 2), row2[x]) << x;
    EXPECT_EQ(bmp.At(x, 1), row1[x]) << x;
    EXPECT_EQ(bmp.At(x, 0), row0[x]) << x;
  }
}

TEST(Bmp, Rle8RunsPastTheRowAreClippedAndOutOfPaletteIndicesAreBlack) {
  BmpSpec s;
  s.width = 3;
  s.height = 1;
  s.bits = 8;
  s.compression = 1;
  s.palette = {0x000000, 0x00FF00};
  s.pixels = {2, 1, 200, 9};  // two green, then a long run of an index the palette lacks; no end code
  TBitmap32 bmp = ReadBmp(Build(s));
  EXPECT_EQ(bmp.At(0, 0), kGreen);
  EXPECT_EQ(bmp.At(1, 0), kGreen);
  EXPECT_EQ(bmp.At(2, 0), kBlack);
}

TEST(Bmp, BitFieldMasksOfAnyWidth) {
  BmpSpec s;
  s.width = 1;
  s.height = 1;
  s.bits = 32;
  s.compression = 3;
  s.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};  // 10 bits per channel
  // red full, green half (511/1023), blue zero
  const uint32_t v = (0x3FFu << 20) | (511u << 10);
  Put32(s.pixels, v);
  TBitmap32 bmp = ReadBmp(Build(s));
  EXPECT_EQ(PixelRed(bmp.At(0, 0)), 255);
  EXPECT_EQ(PixelGreen(bmp.At(0, 0)), 127);
  EXPECT_EQ(PixelBlue(bmp.At(0, 0)), 0);
}

TEST(Bmp, WriterRoundTripsAndImageMagickReadsIt) {
  TBitmap32 bmp(5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) bmp.At(x, y) = MakePixel(uint8_t(x * 50), uint8_t(y * 100), uint8_t(x + y));
  }
  const std::vector<uint8_t> file = WriteBmp24(bmp);
  EXPECT_EQ(file.size(), 14u + 40u + 3u * 16u);  // rows of 15 bytes padded to 16
  EXPECT_EQ(ReadBmp(file), bmp);
  EXPECT_THROW(WriteBmp24(TBitmap32()), EBmpError);

  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick not installed";
  const auto dir = std::filesystem::temp_directory_path();
  const auto bmpPath = dir / ("zelvo_bmp_" + std::to_string(::getpid()) + ".bmp");
  const auto ppmPath = dir / ("zelvo_bmp_" + std::to_string(::getpid()) + ".ppm");
  std::ofstream(bmpPath, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                 static_cast<std::streamsize>(file.size()));
  const std::string cmd = "convert " + bmpPath.string() + " -compress none " + ppmPath.string();
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  ExpectNear(ReadPpm(ppmPath.string()), bmp, 0, "ImageMagick's reading of our file");
  std::filesystem::remove(bmpPath);
  std::filesystem::remove(ppmPath);
}

TEST(Bmp, CopiesColumnsAndMirrors) {
  TBitmap32 bmp(3, 1);
  bmp.At(0, 0) = kRed;
  bmp.At(1, 0) = kGreen;
  bmp.At(2, 0) = kBlue;
  TBitmap32 m = bmp.Mirrored();
  EXPECT_EQ(m.At(0, 0), kBlue);
  EXPECT_EQ(m.At(2, 0), kRed);
  TBitmap32 c = bmp.Columns(1, 5);  // clipped to the two columns that exist
  ASSERT_EQ(c.Width, 2);
  EXPECT_EQ(c.At(0, 0), kGreen);
  EXPECT_TRUE(bmp.Columns(3, 2).Empty());
}

// ---- damaged files -----------------------------------------------------------------------------

std::string ErrorOf(const std::vector<uint8_t>& file) {
  TBitmap32 bmp;
  std::string reason;
  EXPECT_FALSE(TryReadBmp(file, bmp, reason));
  EXPECT_TRUE(bmp.Empty());
  return reason;
}

void SetU32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

TEST(Bmp, DamagedFilesAreRefusedWithAReason) {
  BmpSpec good;
  good.width = 4;
  good.height = 4;
  good.pixels.assign(16 * 3, 0x80);
  const std::vector<uint8_t> base = Build(good);
  ASSERT_NO_THROW(ReadBmp(base));

  struct Mutation {
    const char* expect;
    void (*apply)(std::vector<uint8_t>&);
  };
  const Mutation mutations[] = {
      {"no \"BM\"", [](std::vector<uint8_t>& v) { v[0] = 'X'; }},
      {"too short", [](std::vector<uint8_t>& v) { v.erase(v.begin() + 10, v.end()); }},
      {"ends inside the bitmap header", [](std::vector<uint8_t>& v) { v.erase(v.begin() + 30, v.end()); }},
      {"header size 64", [](std::vector<uint8_t>& v) { SetU32(v, 14, 64); }},
      {"width 0", [](std::vector<uint8_t>& v) { SetU32(v, 18, 0); }},
      {"width -4", [](std::vector<uint8_t>& v) { SetU32(v, 18, static_cast<uint32_t>(-4)); }},
      {"height is 0", [](std::vector<uint8_t>& v) { SetU32(v, 22, 0); }},
      {"too large", [](std::vector<uint8_t>& v) { SetU32(v, 18, 20000); }},
      {"too large", [](std::vector<uint8_t>& v) { SetU32(v, 18, 4000); SetU32(v, 22, 4000); }},
      {"too large", [](std::vector<uint8_t>& v) { SetU32(v, 22, 0x80000000u); }},
      {"bit depth 7", [](std::vector<uint8_t>& v) { v[28] = 7; }},
      {"RLE8 compression needs 8 bits", [](std::vector<uint8_t>& v) { SetU32(v, 30, 1); }},
      {"bit-field masks need 16 or 32", [](std::vector<uint8_t>& v) { SetU32(v, 30, 3); }},
      {"JPEG", [](std::vector<uint8_t>& v) { SetU32(v, 30, 4); }},
      {"compression 9", [](std::vector<uint8_t>& v) { SetU32(v, 30, 9); }},
      {"truncated", [](std::vector<uint8_t>& v) { v.erase(v.end() - 13, v.end()); }},
      // A claimed 8000 x 1000 picture with a few bytes of data: refused before allocating.
      {"truncated", [](std::vector<uint8_t>& v) { SetU32(v, 18, 8000); SetU32(v, 22, 1000); }},
      {"outside the file", [](std::vector<uint8_t>& v) { SetU32(v, 10, 100000); }},
      {"outside the file", [](std::vector<uint8_t>& v) { SetU32(v, 10, 20); }},
  };
  for (const Mutation& m : mutations) {
    std::vector<uint8_t> v = base;
    m.apply(v);
    const std::string reason = ErrorOf(v);
    EXPECT_NE(reason.find(m.expect), std::string::npos) << "expected \"" << m.expect << "\", got: " << reason;
  }
}

TEST(Bmp, DamagedPalettesAndRleStreamsAreRefused) {
  BmpSpec pal;
  pal.width = 2;
  pal.height = 1;
  pal.bits = 8;
  pal.palette = {0xFF0000, 0x00FF00};
  pal.pixels = {0, 1, 0, 0};
  std::vector<uint8_t> v = Build(pal);
  SetU32(v, 46, 2000);  // colours used beyond 256: clamped to 256, which the file lacks
  EXPECT_NE(ErrorOf(v).find("colour table"), std::string::npos);

  BmpSpec rle;
  rle.width = 4;
  rle.height = 2;
  rle.bits = 8;
  rle.compression = 1;
  rle.palette = {0};
  rle.pixels = {0, 6, 1, 2};  // a literal run of six announced, two bytes present
  EXPECT_NE(ErrorOf(Build(rle)).find("literal run"), std::string::npos);
  rle.pixels = {0, 2, 5};  // a jump cut short
  EXPECT_NE(ErrorOf(Build(rle)).find("position jump"), std::string::npos);
  rle.pixels = {4, 0, 3};  // a stray byte after a complete code
  EXPECT_NE(ErrorOf(Build(rle)).find("inside a code"), std::string::npos);
  rle.height = -2;
  rle.pixels = {0, 1};
  EXPECT_NE(ErrorOf(Build(rle)).find("top-down"), std::string::npos);
}

}  // namespace
}  // namespace zelvo
