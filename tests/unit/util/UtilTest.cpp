#include "util/Util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "util/Exceptions.h"

using namespace zelvo;

TEST(Util, DoubleAmpersandsDoublesEachOneOnce) {
  EXPECT_EQ(DoubleAmpersands("a&b&&c"), "a&&b&&&&c");
  EXPECT_EQ(DoubleAmpersands(""), "");
  EXPECT_EQ(DoubleAmpersands("&"), "&&");
}

TEST(Util, AcceleratorIsTheCharacterAfterASingleAmpersand) {
  EXPECT_EQ(AcceleratorChar("&Second:"), 'S');
  EXPECT_EQ(AcceleratorChar("Kin&d:"), 'd') << "as written, not upper-cased";
  EXPECT_EQ(AcceleratorChar("Fish && &Chips"), 'C');
  EXPECT_EQ(AcceleratorChar("a&&&b"), 'b') << "a doubled ampersand, then a marker";
  EXPECT_EQ(AcceleratorChar("R&&D"), 0);
  EXPECT_EQ(AcceleratorChar("Trailing&"), 0);
  EXPECT_EQ(AcceleratorChar("&&&"), 0);
  EXPECT_EQ(AcceleratorChar(""), 0);
}

TEST(Util, RemoveCharsAndSpaces) {
  EXPECT_EQ(RemoveChars("&Yes", "&"), "Yes");
  EXPECT_EQ(RemoveChars("N&o to All", "&"), "No to All");
  EXPECT_EQ(RemoveChars("a-b_c", "-_"), "abc");
  EXPECT_EQ(RemoveSpaces(" U S A "), "USA");
  EXPECT_EQ(RemoveChar("xxx", 'x'), "");
}

TEST(Util, RemoveCharLooksAtTheFirst65535CharactersOnly) {
  std::string text(70000, 'a');
  std::string result = RemoveChar(text, 'a');
  EXPECT_EQ(result.size(), 70000u - 65535u);
}

TEST(Util, MaxOfTakesTheLargest) {
  EXPECT_EQ(MaxOf({7}), 7);
  EXPECT_EQ(MaxOf({25, 23}), 25);
  EXPECT_EQ(MaxOf({23, 25}), 25);
  EXPECT_EQ(MaxOf({-9, -3, -5}), -3);
  std::vector<int32_t> none;
  EXPECT_THROW(MaxOf(std::span<const int32_t>(none)), std::invalid_argument);
}

TEST(Util, RoundOffRoundsHalvesAwayFromZero) {
  EXPECT_EQ(RoundOff(1.5L), 2);
  EXPECT_EQ(RoundOff(2.5L), 3);
  EXPECT_EQ(RoundOff(3.5L), 4);
  EXPECT_EQ(RoundOff(-1.5L), -2);
  EXPECT_EQ(RoundOff(-2.5L), -3);
  EXPECT_EQ(RoundOff(0.5L), 1);
  EXPECT_EQ(RoundOff(2.4999L), 2);
  EXPECT_EQ(RoundOff(255.99L), 256);
  EXPECT_EQ(RoundOff(-0.4L), 0);
  // The result is the low 32 bits of the 64-bit integer.
  EXPECT_EQ(RoundOff(4294967296.0L + 5), 5);
}

TEST(Util, LastPosFindsTheLastOccurrence) {
  EXPECT_EQ(LastPos("\\", "a\\b\\c"), 4);
  EXPECT_EQ(LastPos("ab", "abab"), 3);
  EXPECT_EQ(LastPos("z", "abc"), 0);
  EXPECT_EQ(LastPos("", "abc"), 0);
  EXPECT_EQ(LastPos("a", ""), 0);
}

TEST(Util, EndsWithChar) {
  EXPECT_TRUE(EndsWithChar('\\', ""));
  EXPECT_FALSE(EndsWithChar('\\', "C:"));
  EXPECT_TRUE(EndsWithChar('\\', "C:\\"));
  EXPECT_FALSE(EndsWithChar('\\', "a\\b"));
}

TEST(Util, TrimBackslashKeepsDriveRoot) {
  EXPECT_EQ(TrimBackslash("C:\\"), "C:\\");
  EXPECT_EQ(TrimBackslash("C:\\a\\"), "C:\\a");
  EXPECT_EQ(TrimBackslash("C:\\Apps\\Reg"), "C:\\Apps\\Reg");
  EXPECT_EQ(TrimBackslash(""), "");
  EXPECT_EQ(TrimBackslash("ab\\"), "ab\\");  // three characters: unchanged
}

TEST(Util, PathJoin) {
  EXPECT_EQ(PathJoin("reg.ini", ""), "reg.ini");
  EXPECT_EQ(PathJoin("D:x.ini", "C:\\Apps"), "D:x.ini");
  EXPECT_EQ(PathJoin("sub\\x.ini", "C:\\Apps"), "sub\\x.ini");
  EXPECT_EQ(PathJoin("x.ini", "C:\\"), "C:\\x.ini");
  EXPECT_EQ(PathJoin("x.ini", "C:\\Apps"), "C:\\Apps\\x.ini");
}

TEST(Util, ProgramDirFilePlacesTheNameInTheProgramDirectory) {
  std::string saved = ProgramDir;
  ProgramDir = "C:\\Apps\\Reg";
  EXPECT_EQ(ProgramDirFile("D:\\Other\\register.ini"), "C:\\Apps\\Reg\\register.ini");
  EXPECT_EQ(FileInDir("E:readme.txt", "C:\\"), "C:\\readme.txt");
  ProgramDir = "C:\\";
  EXPECT_EQ(ProgramDirFile("C:\\register.ini"), "C:\\register.ini");
  ProgramDir = saved;
}

TEST(Util, FilePathPieces) {
  EXPECT_EQ(ExtractFilePath("C:\\A\\b.exe"), "C:\\A\\");
  EXPECT_EQ(ExtractFileName("C:\\A\\b.exe"), "b.exe");
  EXPECT_EQ(ExtractFileName("C:b.exe"), "b.exe");
  EXPECT_EQ(ChangeFileExt("C:\\A\\register.exe", ".ini"), "C:\\A\\register.ini");
  EXPECT_EQ(ChangeFileExt("C:\\A.B\\register", ".ini"), "C:\\A.B\\register.ini");
  EXPECT_EQ(ChangeFileExt("C:\\A\\re.g.exe", ".ini"), "C:\\A\\re.g.ini");
  EXPECT_EQ(LowerAscii("SiLeNt\xC4"), "silent\xC4");
}

namespace {
// The program path's call as systems answer it when the buffer is too small: older ones fill
// it without a terminator, newer ones cut one character short to end it with a zero; both
// answer the buffer's size.
TFillBuffer PathSource(const std::string& path, bool terminates, int& calls) {
  return [&path, terminates, &calls](char* buffer, uint32_t size) -> uint32_t {
    ++calls;
    if (path.size() < size) {
      std::copy(path.begin(), path.end(), buffer);
      buffer[path.size()] = '\0';
      return static_cast<uint32_t>(path.size());
    }
    const size_t kept = terminates ? size - 1 : size;
    std::copy(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(kept), buffer);
    if (terminates) buffer[kept] = '\0';
    return size;
  };
}
}  // namespace

TEST(ReadWholeText, GrowsUntilTheAnswerIsNotCut) {
  for (bool terminates : {false, true}) {
    for (size_t length : {size_t{1}, size_t{259}, size_t{260}, size_t{261}, size_t{4000}, size_t{32766}}) {
      SCOPED_TRACE(std::to_string(length) + (terminates ? " terminated" : " unterminated"));
      std::string path(length, 'p');
      path.front() = 'C';
      path.back() = 'e';
      int calls = 0;
      EXPECT_EQ(ReadWholeText(PathSource(path, terminates, calls), 32768), path);
      EXPECT_LE(calls, 9) << "the buffer doubles";
    }
  }
}

TEST(ReadWholeText, FailureAndTextsTooLong) {
  int calls = 0;
  const std::string none;
  EXPECT_EQ(ReadWholeText(PathSource(none, true, calls), 32768), "");
  const std::string huge(40000, 'x');
  EXPECT_THROW(ReadWholeText(PathSource(huge, false, calls), 32768), Exception);
  // A text exactly as long as the limit cannot be told from a cut one.
  const std::string limit(1000, 'x');
  EXPECT_THROW(ReadWholeText(PathSource(limit, false, calls), 1000), Exception);
  EXPECT_EQ(ReadWholeText(PathSource(limit, false, calls), 1001), limit);
}
