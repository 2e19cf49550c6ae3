// Interchange with other -lh1- programs: archives written by independent LHA programs decode to
// the CRC-16 in their headers, and archives of our streams extract byte for byte with lhasa.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "skin/file/SkinRead.h"
#include "tests/unit/skin/file/LhaSupport.h"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
using test::Crc16;

TEST(LhaSupport, Crc16KnownValue) {
  const std::string s = "123456789";
  EXPECT_EQ(Crc16(TByteSpan(reinterpret_cast<const uint8_t*>(s.data()), s.size())), 0xBB3D);
}

// The table and folding paths against one bit at a time: every length up to a few blocks past
// the 64-byte fold, at aligned and unaligned starts, and a long run of zeros and ones.
TEST(LhaSupport, Crc16AgreesWithABitwiseCrc) {
  auto bitwise = [](TByteSpan data) {
    unsigned c = 0;
    for (uint8_t b : data) {
      c ^= b;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xA001 : c >> 1;
    }
    return static_cast<uint16_t>(c);
  };
  const TByteVector data = test::TestData(7).Mixed(1024);
  for (size_t start : {0, 1, 13}) {
    for (size_t n = 0; n + start <= 300; ++n) {
      const TByteSpan part(data.data() + start, n);
      ASSERT_EQ(Crc16(part), bitwise(part)) << "start " << start << ", length " << n;
    }
  }
  TByteVector runs(100000, 0);
  std::fill(runs.begin() + 50000, runs.end(), uint8_t{0xFF});
  EXPECT_EQ(Crc16(runs), bitwise(runs));
  EXPECT_EQ(Crc16(data), bitwise(data));
}

TEST(LhaArchives, EveryTestArchiveDecodesToItsCrc) {
  const fs::path dir = fs::path(ZELVO_TESTDATA_DIR) / "lh1";
  ASSERT_TRUE(fs::is_directory(dir)) << dir;
  int decoded = 0;
  std::set<int> levels;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".lzh") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const test::LhaMember m = test::ParseLha(test::ReadFileBytes(entry.path()));
    TByteVector out;
    if (m.method == "-lh0-") {
      out = m.packed;  // stored: one archive of the set holds a single byte this way
    } else {
      ASSERT_EQ(m.method, "-lh1-");
      out = LzhDecode(m.packed, m.originalSize);
      ++decoded;
      levels.insert(m.level);
    }
    EXPECT_EQ(out.size(), m.originalSize);
    EXPECT_EQ(Crc16(out), m.crc);
  }
  EXPECT_GE(decoded, 23);
  EXPECT_EQ(levels, (std::set<int>{0, 1, 2}));
}

TEST(LhaArchives, SameTextFromEveryProgram) {
  // All programs' archives of the 18,092-byte text decode to the same bytes.
  const fs::path dir = fs::path(ZELVO_TESTDATA_DIR) / "lh1";
  TByteVector first;
  for (const char* name : {"lharc113_lh1.lzh", "lha_amiga_212_lh1.lzh", "lhmelt_16536_h2_lh1.lzh",
                           "lha_os9_211c_h1_lh1.lzh", "morphos_lha_2717_h0_lh1.lzh"}) {
    const test::LhaMember m = test::ParseLha(test::ReadFileBytes(dir / name));
    const TByteVector out = LzhDecode(m.packed, m.originalSize);
    ASSERT_EQ(out.size(), 18092u) << name;
    if (first.empty()) first = out;
    EXPECT_EQ(out, first) << name;
  }
  // It begins with blanks, so the writers matched against the ring's blank prefill.
  EXPECT_EQ(std::string(first.begin(), first.begin() + 4), "    ");
}

class LhasaExtract : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists("/usr/bin/lhasa")) GTEST_SKIP() << "lhasa is not installed (/usr/bin/lhasa)";
    dir_ = fs::temp_directory_path() /
           ("zelvo_lhasa_" + std::to_string(std::random_device{}()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "out");
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  // Archives our stream of `data`, lets lhasa extract it and returns what it wrote.
  TByteVector ThroughLhasa(const TByteVector& data) {
    const TByteVector archive = test::MakeLh1Archive("data.bin", data, LzhEncode(data));
    test::WriteFileBytes(dir_ / "test.lzh", archive);
    const std::string cmd = "cd '" + dir_.string() + "' && /usr/bin/lhasa xqfw=out test.lzh";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const fs::path file = dir_ / "out" / "data.bin";
    if (!fs::exists(file)) {
      ADD_FAILURE() << "lhasa wrote no file";
      return {};
    }
    return test::ReadFileBytes(file);
  }
  fs::path dir_;
};

TEST_F(LhasaExtract, Text) {
  test::TestData gen(11);
  const TByteVector text = gen.Text(60000);
  EXPECT_EQ(ThroughLhasa(text), text);
}

TEST_F(LhasaExtract, Binary) {
  test::TestData gen(12);
  TByteVector bin = gen.Noise(40000);
  const TByteVector px = gen.Pixels(80000);
  bin.insert(bin.end(), px.begin(), px.end());
  EXPECT_EQ(ThroughLhasa(bin), bin);
}

TEST_F(LhasaExtract, Empty) { EXPECT_EQ(ThroughLhasa({}), TByteVector{}); }

TEST_F(LhasaExtract, LargeMixed) {
  test::TestData gen(13);
  const TByteVector big = gen.Mixed(4 << 20);
  EXPECT_EQ(ThroughLhasa(big), big);
}

TEST_F(LhasaExtract, CopiesAFullRingBack) {
  test::TestData gen(14);
  TByteVector data = gen.Noise(4096);
  for (int i = 0; i < 3; ++i) data.insert(data.end(), data.begin(), data.begin() + 4096);
  EXPECT_EQ(ThroughLhasa(data), data);
}

TEST_F(LhasaExtract, LeadingBlanksAndLongRuns) {
  // Matches into the blank prefill and the longest matches at the very start of the stream.
  TByteVector data(300, ' ');
  data.insert(data.end(), 5000, 'x');
  data.insert(data.end(), 70, ' ');
  EXPECT_EQ(ThroughLhasa(data), data);
}

}  // namespace
}  // namespace zelvo
