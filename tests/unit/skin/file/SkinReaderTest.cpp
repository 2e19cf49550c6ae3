// The skin container: reading, lookups, the writer, and damaged containers.
#include <gtest/gtest.h>

#include <string>

#include "skin/file/SkinRead.h"
#include "tests/unit/skin/file/LhaSupport.h"

namespace zelvo {
namespace {

TByteVector Text(const std::string& s) { return TByteVector(s.begin(), s.end()); }

void PutU32(TByteVector& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A payload laid out by hand: header, name list as given, sizes, data.
TByteVector HandPayload(const std::string& names, std::initializer_list<uint32_t> sizes,
                        const std::string& data, uint32_t version = 20000) {
  TByteVector p;
  PutU32(p, version);
  PutU32(p, static_cast<uint32_t>(names.size()));
  PutU32(p, 0xDEADBEEF);  // reserved values are ignored
  PutU32(p, 7);
  p.insert(p.end(), names.begin(), names.end());
  for (uint32_t s : sizes) PutU32(p, s);
  p.insert(p.end(), data.begin(), data.end());
  return p;
}

std::string EntryText(const TSkinReader& r, size_t i) {
  const TByteSpan e = r.Entry(i);
  return std::string(e.begin(), e.end());
}

TEST(SkinReader, ReadsHandMadePayload) {
  TSkinReader r;
  ASSERT_TRUE(r.LoadPayload(HandPayload("Frame.BMP\r\nskin.ini\r\nframe.bmp\r\n", {3, 5, 2},
                                        "abc[Per]zz")));
  ASSERT_EQ(r.Count(), 3u);
  EXPECT_EQ(r.Name(0), "frame.bmp");  // lower-cased on reading
  EXPECT_EQ(r.Size(1), 5u);
  EXPECT_EQ(EntryText(r, 1), "[Per]");

  TByteVector out = Text("old");
  EXPECT_TRUE(r.ExtractByName("FRAME.bmp", out));
  EXPECT_EQ(out, Text("abc")) << "the first of two equal names wins";
  EXPECT_FALSE(r.ExtractByName("frame", out));
  EXPECT_TRUE(out.empty());

  std::string name = "old";
  EXPECT_TRUE(r.ExtractByPart(".INI", out, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(out, Text("[Per]"));
  EXPECT_TRUE(r.ExtractByPart(".bmp", out, name));
  EXPECT_EQ(name, "frame.bmp");
  EXPECT_FALSE(r.ExtractByPart(".gif", out, name));
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(name.empty());
}

TEST(SkinReader, NameListLineBreaks) {
  // CR LF, LF or CR end a line; a final break adds no line; an empty line is an entry.
  TSkinReader r;
  ASSERT_TRUE(r.LoadPayload(HandPayload("a\nb\rc\r\n\r\ne", {1, 1, 1, 0, 1}, "ABCE")));
  ASSERT_EQ(r.Count(), 5u);
  EXPECT_EQ(r.Name(2), "c");
  EXPECT_EQ(r.Name(3), "");
  EXPECT_EQ(EntryText(r, 4), "E");
  ASSERT_TRUE(r.LoadPayload(HandPayload("", {}, "")));
  EXPECT_EQ(r.Count(), 0u);
  // Bytes after the last entry are tolerated.
  ASSERT_TRUE(r.LoadPayload(HandPayload("x", {1}, "Xtrailing")));
  EXPECT_EQ(EntryText(r, 0), "X");
}

TEST(SkinReader, OlderVersionIsRefused) {
  TSkinReader r;
  ASSERT_TRUE(r.LoadPayload(HandPayload("a", {1}, "A")));
  EXPECT_FALSE(r.LoadPayload(HandPayload("a", {1}, "A", 19999)));
  EXPECT_EQ(r.Count(), 0u) << "a refused load leaves the reader empty";
  EXPECT_EQ(std::string(kSkinOlderVersionText),
            "This is Older Skin File\rPlease update to new version !");
}

void ExpectDamaged(const TByteVector& payload, const std::string& fragment) {
  TSkinReader r;
  ASSERT_TRUE(r.LoadPayload(HandPayload("keep", {1}, "K")));
  try {
    r.LoadPayload(payload);
    ADD_FAILURE() << "no exception, expected: " << fragment;
  } catch (const ESkinFileError& e) {
    EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
  }
  EXPECT_EQ(r.Count(), 0u);
}

TEST(SkinReader, DamagedPayloadsAreRejected) {
  TByteVector header = HandPayload("", {}, "");
  header.resize(15);
  ExpectDamaged(header, "header needs 16 bytes");
  TByteVector longList = HandPayload("abc", {}, "");
  longList[4] = 4;  // name list claims one byte more than there is
  ExpectDamaged(longList, "name list of 4 bytes goes beyond");
  ExpectDamaged(HandPayload("a\r\nb", {1}, ""), "size table of 2 entries");
  ExpectDamaged(HandPayload("a\r\nb", {2, 2}, "abc"), "entry \"b\" of 2 bytes goes beyond");
  ExpectDamaged(HandPayload("a\r\nb", {0xFFFFFFFF, 0xFFFFFFFF}, "abc"), "entry \"a\"");
}

TEST(SkinReader, EntryCountLimit) {
  std::string names;
  for (uint32_t i = 0; i < kSkinMaxEntries; ++i) names += "n" + std::to_string(i) + "\r\n";
  TByteVector ok = HandPayload(names, {}, "");
  TSkinReader r;
  ok.resize(ok.size() + 4 * kSkinMaxEntries, 0);  // all sizes 0
  ASSERT_TRUE(r.LoadPayload(ok));
  EXPECT_EQ(r.Count(), kSkinMaxEntries);

  TByteVector tooMany = HandPayload(names + "one.more", {}, "");
  tooMany.resize(tooMany.size() + 4 * (kSkinMaxEntries + 1), 0);
  ExpectDamaged(tooMany, "holds 1002 entries; at most 1001");
}

TEST(SkinWriter, RoundTripThroughContainer) {
  test::TestData gen(21);
  TSkinWriter w;
  w.Add("Skin.INI", Text("[Personality]\r\nLeft=left.bmp\r\n"));
  const TByteVector pixels = gen.Pixels(20000);
  w.Add("left.bmp", pixels);
  w.Add("empty.bmp", {});
  const TByteVector container = w.Container();
  const TByteVector payload = w.Payload();
  ASSERT_GE(container.size(), 4u);
  EXPECT_EQ(test::Le32(container, 0), payload.size());
  EXPECT_LT(container.size(), payload.size() / 2);

  TSkinReader r;
  ASSERT_TRUE(r.Load(container));
  ASSERT_EQ(r.Count(), 3u);
  EXPECT_EQ(r.Name(0), "skin.ini");
  TByteVector out;
  ASSERT_TRUE(r.ExtractByName("LEFT.BMP", out));
  EXPECT_EQ(out, pixels);
  EXPECT_TRUE(r.ExtractByName("empty.bmp", out));
  EXPECT_TRUE(out.empty());
}

TEST(SkinWriter, RefusesWhatCannotBeRead) {
  TSkinWriter w;
  EXPECT_THROW(w.Add("", {}), ESkinFileError);
  EXPECT_THROW(w.Add("a\r\nb", {}), ESkinFileError);
  EXPECT_THROW(w.Add("a\nb", {}), ESkinFileError);
  for (uint32_t i = 0; i < kSkinMaxEntries; ++i) w.Add("e" + std::to_string(i), {});
  EXPECT_THROW(w.Add("extra", {}), ESkinFileError);
  EXPECT_EQ(w.Count(), kSkinMaxEntries);
}

TEST(SkinContainer, DamagedContainersAreRejected) {
  TSkinReader r;
  EXPECT_THROW(r.Load(TByteVector{1, 2, 3}), ESkinFileError);
  // Declared size above the limit: rejected before anything is allocated.
  TByteVector huge;
  PutU32(huge, 0xFFFFFFFF);
  huge.push_back(0xC5);
  EXPECT_THROW(r.Load(huge), ElzhException);
  // A valid container cut in half.
  TSkinWriter w;
  w.Add("noise.bmp", test::TestData(22).Noise(50000));
  TByteVector cut = w.Container();
  cut.resize(cut.size() / 2);
  EXPECT_THROW(r.Load(cut), ElzhException);
  EXPECT_EQ(r.Count(), 0u);
  // Garbage that decodes to something without a valid header.
  TByteVector junk;
  PutU32(junk, 10);
  junk.push_back(0x00);
  EXPECT_THROW(r.Load(junk), ESkinFileError);
}

}  // namespace
}  // namespace zelvo
