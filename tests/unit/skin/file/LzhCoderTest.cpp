// The -lh1- coder: hand-made bit streams, the position code, round trips and hostile input.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "skin/file/LzhTables.h"
#include "skin/file/SkinRead.h"
#include "tests/unit/skin/file/LhaSupport.h"

namespace zelvo {
namespace {

using test::TestData;

TByteVector Bytes(std::initializer_list<int> v) {
  TByteVector out;
  for (int b : v) out.push_back(static_cast<uint8_t>(b));
  return out;
}

TByteVector Blanks(size_t n) { return TByteVector(n, ' '); }

// The streams below were worked out by hand from the starting tree (314 leaves of weight 1 paired
// bottom-up): symbol 0 is 110001100, 'A' (65) is 111001101, the 60-byte match (313) is 11000101.
TEST(LzhDecode, HandMadeStreams) {
  EXPECT_EQ(LzhDecode(Bytes({0xC6, 0x00}), 1), Bytes({0x00}));
  EXPECT_EQ(LzhDecode(Bytes({0xE6, 0x80}), 1), Bytes({'A'}));
  // The last bit of symbol 0 and the whole position of the match come from the zero padding.
  EXPECT_EQ(LzhDecode(Bytes({0xC6}), 1), Bytes({0x00}));
  // Match of 60 from position 0, i.e. the blank just before the first write position.
  EXPECT_EQ(LzhDecode(Bytes({0xC5}), 60), Blanks(60));
  // Match of 60 from position 4095 (code 11111111 then 111111): the ring's last 60 bytes, which
  // start as blanks too.
  EXPECT_EQ(LzhDecode(Bytes({0xC5, 0xFF, 0xFC}), 60), Blanks(60));
  // Output stops at the declared size even inside a match.
  EXPECT_EQ(LzhDecode(Bytes({0xC5}), 7), Blanks(7));
  EXPECT_TRUE(LzhDecode({}, 0).empty());
}

TEST(LzhDecode, PositionCode) {
  const auto& pc = lzh::kPositionCode;
  // Boundaries of each code-length group: first and last 8-bit pattern.
  EXPECT_EQ(pc.upper[0x00], 0x00); EXPECT_EQ(pc.length[0x1F], 3);
  EXPECT_EQ(pc.upper[0x20], 0x01); EXPECT_EQ(pc.length[0x20], 4);
  EXPECT_EQ(pc.upper[0x4F], 0x03); EXPECT_EQ(pc.length[0x4F], 4);
  EXPECT_EQ(pc.upper[0x50], 0x04); EXPECT_EQ(pc.length[0x50], 5);
  EXPECT_EQ(pc.upper[0x8F], 0x0B); EXPECT_EQ(pc.length[0x8F], 5);
  EXPECT_EQ(pc.upper[0x90], 0x0C); EXPECT_EQ(pc.length[0x90], 6);
  EXPECT_EQ(pc.upper[0xBF], 0x17); EXPECT_EQ(pc.length[0xBF], 6);
  EXPECT_EQ(pc.upper[0xC0], 0x18); EXPECT_EQ(pc.length[0xC0], 7);
  EXPECT_EQ(pc.upper[0xEF], 0x2F); EXPECT_EQ(pc.length[0xEF], 7);
  EXPECT_EQ(pc.upper[0xF0], 0x30); EXPECT_EQ(pc.length[0xF0], 8);
  EXPECT_EQ(pc.upper[0xFF], 0x3F); EXPECT_EQ(pc.length[0xFF], 8);
  // The encoder's codes read back as the same value.
  for (int v = 0; v < 64; ++v) {
    const int len = pc.encodeLength[v];
    const int pattern = pc.encodeBits[v] << (8 - len);
    EXPECT_EQ(pc.upper[pattern], v);
    EXPECT_EQ(pc.length[pattern], len);
  }
}

void ExpectRoundTrip(const TByteVector& data, const char* what) {
  const TByteVector packed = LzhEncode(data);
  EXPECT_EQ(LzhDecode(packed, static_cast<uint32_t>(data.size())), data) << what;
}

TEST(LzhRoundTrip, SmallAndEdgeInputs) {
  ExpectRoundTrip({}, "empty");
  EXPECT_TRUE(LzhEncode({}).empty());
  ExpectRoundTrip(Bytes({0}), "one zero byte");
  ExpectRoundTrip(Bytes({' '}), "one blank");
  ExpectRoundTrip(Bytes({'a', 'b'}), "two bytes");
  ExpectRoundTrip(Blanks(5000), "blanks, matched against the prefill");
  TByteVector all;
  for (int i = 0; i < 256 * 3; ++i) all.push_back(static_cast<uint8_t>(i));
  ExpectRoundTrip(all, "every byte value");
}

TEST(LzhRoundTrip, EveryDistance) {
  // A random block repeated after a gap of d - 64 bytes puts the only match at distance d.
  TestData gen(7);
  for (uint32_t d = 64; d <= 4096; d += 61) {
    TByteVector data = gen.Noise(64);
    const TByteVector gap = gen.Noise(d - 64);
    data.insert(data.end(), gap.begin(), gap.end());
    data.insert(data.end(), data.begin(), data.begin() + 64);
    ExpectRoundTrip(data, ("distance " + std::to_string(d)).c_str());
  }
  for (uint32_t d = 1; d < 64; ++d) {  // short periods: overlapping copies
    TByteVector data = gen.Noise(d);
    while (data.size() < 500) data.push_back(data[data.size() - d]);
    ExpectRoundTrip(data, ("period " + std::to_string(d)).c_str());
  }
}

TEST(LzhRoundTrip, ABlockRepeatedAFullRingLaterIsCopied) {
  // The only matches lie exactly 4096 bytes back: the whole second block must be copies.
  TestData gen(8);
  TByteVector data = gen.Noise(4096);
  data.insert(data.end(), data.begin(), data.end());
  const TByteVector packed = LzhEncode(data);
  EXPECT_EQ(LzhDecode(packed, static_cast<uint32_t>(data.size())), data);
  const size_t once = LzhEncode(TByteSpan(data).first(4096)).size();
  EXPECT_LT(packed.size(), once + 4096 / 60 * 3) << "about three bytes per 60-byte copy";
  // One byte short of a full ring is not a match at all: the blocks share nothing.
  TByteVector shifted(data.begin(), data.begin() + 4096);
  shifted.push_back(0x55);
  shifted.insert(shifted.end(), data.begin(), data.begin() + 4096);
  EXPECT_GT(LzhEncode(shifted).size(), once + 4096 / 60 * 3);
}

TEST(LzhRoundTrip, LargeMixedDataRebuildsTheTree) {
  TestData gen(1);
  // Far more than 0x8000 symbols, so the tree is rebuilt many times on both sides.
  const TByteVector mixed = gen.Mixed(3 << 20);
  const TByteVector packed = LzhEncode(mixed);
  EXPECT_EQ(LzhDecode(packed, static_cast<uint32_t>(mixed.size())), mixed);
  EXPECT_LT(packed.size(), mixed.size() / 3);
  const TByteVector noise = gen.Noise(200000);
  ExpectRoundTrip(noise, "noise");
  EXPECT_LT(LzhEncode(noise).size(), noise.size() * 103 / 100) << "noise should barely grow";
}

// A plain decoder over the same tree code: one bit at a time from the root, no lookup table, no
// bit buffer, a 4096-byte ring of blanks copied byte by byte. Decodes whole symbols until the
// input's bits are used up and returns what they produced.
TByteVector ReferenceDecode(TByteSpan in) {
  using namespace lzh;
  auto tree = std::make_unique<HuffmanTree>();
  HuffmanTree& t = *tree;
  t.Start();
  const size_t total = in.size() * 8;
  size_t bit = 0;
  auto next = [&](int n) {
    unsigned v = 0;
    for (int i = 0; i < n; ++i, ++bit) {
      v = v << 1 | (bit < total ? (in[bit / 8] >> (7 - bit % 8)) & 1u : 0u);
    }
    return v;
  };
  TByteVector ring(N, ' ');
  unsigned r = TLZH::kFirstWrite;
  TByteVector out;
  for (;;) {
    int c = t.son[R];
    while (c < T) c = t.son[c + static_cast<int>(next(1))];
    c -= T;
    t.Update(c);
    if (c < 256) {
      if (bit > total) break;
      out.push_back(static_cast<uint8_t>(c));
      ring[r++ % N] = static_cast<uint8_t>(c);
      continue;
    }
    const size_t at = bit;
    const unsigned lead = next(8);
    bit = at + kPositionCode.length[lead];
    const unsigned distance = (kPositionCode.upper[lead] << 6 | next(6)) + 1;
    if (bit > total) break;
    for (int k = 0; k < c - 256 + kThreshold + 1; ++k, ++r) {
      const uint8_t b = ring[(r - distance) % N];
      out.push_back(b);
      ring[r % N] = b;
    }
  }
  return out;
}

TEST(LzhDecode, AgreesWithAPlainDecoderOnAnyBits) {
  // Random bits are a stream of random symbols: matches of every length and distance, codes
  // reaching deep into the tree and the tree's top reshaped again and again, which the fast
  // decoder's lookup table has to follow exactly.
  TestData gen(11);
  for (size_t size : {1, 5, 64, 3000, 40000, 400000}) {
    const TByteVector in = gen.Noise(size);
    const TByteVector want = ReferenceDecode(in);
    TByteVector got;
    ASSERT_NO_THROW(got = LzhDecode(in, static_cast<uint32_t>(want.size()))) << size;
    EXPECT_EQ(got, want) << size << " random input bytes";
  }
  // Data whose frequent symbols change abruptly: small alphabets in turn, then long copies.
  TByteVector phases;
  for (int phase = 0; phase < 60; ++phase) {
    const unsigned base = gen.Next() % 250;
    const unsigned width = 2 + gen.Next() % 5;
    for (int i = 0; i < 2500; ++i) phases.push_back(static_cast<uint8_t>(base + gen.Next() % width));
    if (phase % 3 == 2) phases.insert(phases.end(), phases.end() - 4000, phases.end() - 1000);
  }
  const TByteVector packed = LzhEncode(phases);
  EXPECT_EQ(LzhDecode(packed, static_cast<uint32_t>(phases.size())), phases);
  const TByteVector reference = ReferenceDecode(packed);
  ASSERT_GE(reference.size(), phases.size());
  EXPECT_TRUE(std::equal(phases.begin(), phases.end(), reference.begin()));
}

TEST(LzhRoundTrip, CompressesWell) {
  TestData gen(3);
  const TByteVector text = gen.Text(100000);
  EXPECT_LT(LzhEncode(text).size(), text.size() * 30 / 100);
  const TByteVector zeros(1 << 20, 0);
  // 60 bytes per match of about two bits plus a 9-bit position.
  EXPECT_LT(LzhEncode(zeros).size(), zeros.size() / 40);
}

TEST(LzhRoundTrip, ObjectIsReusable) {
  TestData gen(4);
  TLZH lzh;
  const TByteVector a = gen.Text(70000);
  const TByteVector b = gen.Pixels(50000);
  TByteVector pa, pb, out;
  lzh.Encode(a, pa);
  lzh.Encode(b, pb);
  lzh.Decode(pa, static_cast<uint32_t>(a.size()), out);
  EXPECT_EQ(out, a);
  lzh.Decode(pb, static_cast<uint32_t>(b.size()), out);
  EXPECT_EQ(out, b);
  EXPECT_EQ(pa, LzhEncode(a)) << "encoding must not depend on the object's history";
}

TEST(LzhDecode, RejectsSizesTheInputCannotHold) {
  TByteVector out = Bytes({1, 2, 3});
  TLZH lzh;
  try {
    lzh.Decode(Bytes({0xC5}), kLzhMaxDecodedSize + 1, out);
    FAIL() << "no exception";
  } catch (const ElzhException& e) {
    EXPECT_NE(std::string(e.what()).find("above the limit"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(out.empty());
  // A few bytes can never expand to a megabyte, so nothing is allocated for it.
  EXPECT_THROW(lzh.Decode(Bytes({0xC5, 0, 0}), 1 << 20, out), ElzhException);
}

TEST(LzhDecode, RejectsStreamsThatRunOutEarly) {
  TestData gen(5);
  const TByteVector data = gen.Noise(30000);
  TByteVector packed = LzhEncode(data);
  packed.resize(packed.size() / 2);
  TLZH lzh;
  TByteVector out;
  try {
    lzh.Decode(packed, static_cast<uint32_t>(data.size()), out);
    FAIL() << "no exception";
  } catch (const ElzhException& e) {
    EXPECT_NE(std::string(e.what()).find("ends before"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(out.empty());
  // An empty stream may still yield a little (zero bits decode to something), but not 800 bytes.
  EXPECT_THROW(lzh.Decode({}, 800, out), ElzhException);
}

}  // namespace
}  // namespace zelvo
