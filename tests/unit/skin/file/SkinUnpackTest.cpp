// skinunpack on hostile containers: names that collide with its own temporary files or repeat,
// links in the target folder, names with terminal escapes. Runs the built tool.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "skin/file/SkinRead.h"

namespace zelvo {
namespace {

namespace fs = std::filesystem;

class SkinUnpack : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("skinunpack_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "out");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Writes a container of the given entries and returns its path.
  fs::path Skin(const std::vector<std::pair<std::string, std::string>>& entries) {
    TSkinWriter w;
    for (const auto& [name, text] : entries) w.Add(name, TByteVector(text.begin(), text.end()));
    const fs::path p = dir_ / "skin.skn";
    const TByteVector bytes = w.Container();
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
    return p;
  }
  // Runs the tool; returns its exit status, with its output (both streams) in `output_`.
  int Run(const std::string& args) {
    const std::string command = std::string(ZELVO_SKINUNPACK) + " " + args + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    output_.clear();
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) output_.append(buf, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Unpack(const fs::path& skin, bool force = false) {
    return (force ? "--force " : "") + skin.string() + " " + (dir_ / "out").string();
  }
  static std::string Text(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  size_t FilesInOut() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_ / "out")) ++n;
    return n;
  }

  fs::path dir_;
  std::string output_;
};

TEST_F(SkinUnpack, NamesLikeTemporaryFilesAreWrittenAndCounted) {
  const fs::path skin = Skin({{"a.bmp.part", "one"}, {"a.bmp", "two"}, {".a.bmp.tmp", "three"}});
  ASSERT_EQ(Run(Unpack(skin)), 0) << output_;
  EXPECT_NE(output_.find(" 3 entries"), std::string::npos) << output_;
  EXPECT_EQ(FilesInOut(), 3u);
  EXPECT_EQ(Text(dir_ / "out" / "a.bmp.part"), "one");
  EXPECT_EQ(Text(dir_ / "out" / "a.bmp"), "two");
  EXPECT_EQ(Text(dir_ / "out" / ".a.bmp.tmp"), "three");
}

TEST_F(SkinUnpack, TheUsersOwnFilesAndLinksAreNeverTouchedWithoutForce) {
  std::ofstream(dir_ / "out" / "a.bmp.part") << "mine";
  std::ofstream(dir_ / "victim") << "precious";
  fs::create_symlink(dir_ / "victim", dir_ / "out" / "b.bmp.part");
  const fs::path skin = Skin({{"a.bmp", "new a"}, {"b.bmp", "new b"}});
  ASSERT_EQ(Run(Unpack(skin)), 0) << output_;
  EXPECT_EQ(Text(dir_ / "out" / "a.bmp.part"), "mine");
  EXPECT_EQ(Text(dir_ / "victim"), "precious");
  EXPECT_EQ(Text(dir_ / "out" / "b.bmp"), "new b");

  // A link (even one to nowhere) under an entry's own name stops the unpack before any write.
  fs::create_symlink(dir_ / "nowhere", dir_ / "out" / "c.bmp");
  const fs::path second = Skin({{"0.bmp", "first"}, {"c.bmp", "new c"}});
  EXPECT_EQ(Run(Unpack(second)), 1);
  EXPECT_NE(output_.find("already exists"), std::string::npos) << output_;
  EXPECT_FALSE(fs::exists(dir_ / "out" / "0.bmp"));
  EXPECT_FALSE(fs::exists(dir_ / "nowhere"));
}

TEST_F(SkinUnpack, ForceReplacesALinkItselfNotTheFileItPointsTo) {
  std::ofstream(dir_ / "victim") << "precious";
  fs::create_symlink(dir_ / "victim", dir_ / "out" / "a.bmp");
  ASSERT_EQ(Run(Unpack(Skin({{"a.bmp", "new"}}), true)), 0) << output_;
  EXPECT_FALSE(fs::is_symlink(dir_ / "out" / "a.bmp"));
  EXPECT_EQ(Text(dir_ / "out" / "a.bmp"), "new");
  EXPECT_EQ(Text(dir_ / "victim"), "precious");
}

TEST_F(SkinUnpack, RepeatedNamesAreRefusedBeforeAnythingIsWritten) {
  // Names are compared as the reader holds them, lower-cased.
  EXPECT_EQ(Run(Unpack(Skin({{"x.bmp", "1"}, {"a.bmp", "2"}, {"A.BMP", "3"}}))), 1);
  EXPECT_NE(output_.find("entry 3"), std::string::npos) << output_;
  EXPECT_NE(output_.find("nothing was written"), std::string::npos) << output_;
  EXPECT_EQ(FilesInOut(), 0u);
}

TEST_F(SkinUnpack, ControlCharactersInNamesAreShownEscaped) {
  const fs::path skin = Skin({{"evil\x1b]2;owned\x07.bmp", "x"}, {"ok.bmp", "y"}});
  ASSERT_EQ(Run("--list " + skin.string()), 0) << output_;
  EXPECT_EQ(output_.find('\x1b'), std::string::npos);
  EXPECT_EQ(output_.find('\x07'), std::string::npos);
  EXPECT_NE(output_.find("evil\\x1B]2;owned\\x07.bmp"), std::string::npos) << output_;

  EXPECT_EQ(Run(Unpack(skin)), 1);
  EXPECT_EQ(output_.find('\x1b'), std::string::npos);
  EXPECT_NE(output_.find("control character"), std::string::npos) << output_;
  EXPECT_EQ(FilesInOut(), 0u);
}

}  // namespace
}  // namespace zelvo
