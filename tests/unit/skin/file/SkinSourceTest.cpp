// A skin as its author keeps it: a folder and the same files packed read to the same skin and the
// same problems in the same words, and every way a path fails to give a skin is named with the
// path and the problem.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "skin/file/SkinSource.h"

namespace zelvo {
namespace {

// Files in memory: "dir/name" paths; a folder is any prefix of a file's path.
class TMemoryFiles : public ISkinFiles {
 public:
  std::map<std::string, TByteVector> files;
  std::set<std::string> busy;
  std::set<std::string> folders;

  TSkinPathKind KindOf(const std::string& path) const override {
    if (files.count(path)) return TSkinPathKind::File;
    return folders.count(path) ? TSkinPathKind::Folder : TSkinPathKind::Missing;
  }
  bool ListFiles(const std::string& folder, std::vector<std::string>& names, std::string&) const override {
    for (const auto& [path, bytes] : files)
      if (path.rfind(folder + "/", 0) == 0) names.push_back(path.substr(folder.size() + 1));
    return true;
  }
  TSkinFileRead ReadFile(const std::string& path, uint64_t maxSize, TByteVector& bytes,
                         std::string& error) const override {
    if (busy.count(path)) return TSkinFileRead::Busy;
    const auto it = files.find(path);
    if (it == files.end() || it->second.size() > maxSize) {
      error = "cannot read";
      return TSkinFileRead::Failed;
    }
    bytes = it->second;
    return TSkinFileRead::Ok;
  }
  std::string Join(const std::string& folder, const std::string& name) const override { return folder + "/" + name; }
};

TByteVector Text(std::string_view s) { return TByteVector(s.begin(), s.end()); }

const std::string kDescription =
    "[Personality]\r\nLeft=side.bmp\r\nRight=gone.bmp\r\nTop=cut.bmp\r\n[Buttons]\r\nBitmap=side.bmp\r\n";

TEST(SkinSource, FolderAndItsContainerReadAlikeWithTheProblemsInTheInspectToolsWords) {
  const TByteVector side = WriteBmp24(TBitmap32(8, 4, MakePixel(1, 2, 3)));
  const TByteVector cut(side.begin(), side.begin() + static_cast<std::ptrdiff_t>(side.size() / 2));
  TMemoryFiles fs;
  fs.folders.insert("skin");
  // Listed in another order than the names sort in: the folder's entries come sorted.
  fs.files["skin/side.bmp"] = side;
  fs.files["skin/cut.bmp"] = cut;
  fs.files["skin/skin.ini"] = Text(kDescription);
  TSkinWriter writer;
  for (const char* name : {"cut.bmp", "side.bmp", "skin.ini", "side.bmp"}) writer.Add(name, fs.files[std::string("skin/") + name]);
  fs.files["skin.skn"] = writer.Container();

  const TSkinSource folder = LoadSkinSource(fs, "skin", true);
  const TSkinSource file = LoadSkinSource(fs, "skin.skn", true);
  ASSERT_TRUE(folder.Loaded()) << folder.Error;
  ASSERT_TRUE(file.Loaded()) << file.Error;
  EXPECT_TRUE(folder.Folder);
  EXPECT_FALSE(file.Folder);
  EXPECT_TRUE(folder.Container.empty());
  EXPECT_EQ(file.Container, fs.files["skin.skn"]);
  EXPECT_EQ(folder.Skin.DescriptionName, "skin.ini");
  EXPECT_TRUE(folder.Skin.Left.Image == file.Skin.Left.Image);

  ASSERT_EQ(folder.Problems.size(), 3u);
  EXPECT_EQ(folder.Problems[0].rfind("cut.bmp: unreadable: ", 0), 0u) << folder.Problems[0];
  EXPECT_EQ(folder.Problems[1].rfind("[Personality] Right=gone.bmp: ", 0), 0u) << folder.Problems[1];
  EXPECT_EQ(folder.Problems[2].rfind("[Personality] Top=cut.bmp: ", 0), 0u) << folder.Problems[2];
  EXPECT_EQ(file.Problems, folder.Problems) << "the duplicate entry is listed but is no problem";
  EXPECT_EQ(StrictProblemCount(folder), 3u);
  ASSERT_EQ(file.Entries.size(), 4u);
  EXPECT_TRUE(file.Entries[3].Duplicate);
  EXPECT_EQ(folder.Entries[1].Note, "bitmap 8 x 4, 24 bits, decodes");

  // Without decoding every entry only the headers are read: the cut bitmap's header is whole.
  const TSkinSource headers = LoadSkinSource(fs, "skin", false);
  ASSERT_TRUE(headers.Loaded());
  EXPECT_EQ(headers.Entries[0].Problem, "");
  EXPECT_EQ(headers.Entries[1].Note, "bitmap 8 x 4, 24 bits");
}

TEST(SkinSource, EveryRefusalNamesThePathAndTheProblem) {
  TMemoryFiles fs;
  fs.folders = {"none", "many", "blank", "busy"};
  fs.files["none/side.bmp"] = Text("BM");
  for (int i = 0; i <= static_cast<int>(kSkinMaxEntries); ++i) fs.files["many/" + std::to_string(i) + ".bmp"] = {};
  fs.files["blank/skin.ini"] = {};
  fs.files["busy/skin.ini"] = Text(kDescription);
  fs.busy.insert("busy/skin.ini");
  fs.files["junk.skn"] = Text("not a skin container at all");

  struct Case {
    std::string path;
    TSkinSource::TOutcome outcome;
    std::string error;  // the start of the error
  };
  using O = TSkinSource::TOutcome;
  const Case cases[] = {
      {"absent", O::Failed, "absent: no such file or folder"},
      {"none", O::Failed, "none: holds no .ini description"},
      {"many", O::Failed, "many: holds 1002 files, more than a skin can have (1001)"},
      {"busy", O::Busy, "busy/skin.ini: still being written"},
      {"junk.skn", O::Failed, "junk.skn: "},
  };
  for (const Case& c : cases) {
    const TSkinSource s = LoadSkinSource(fs, c.path, true);
    EXPECT_EQ(s.Outcome, c.outcome) << c.path;
    EXPECT_EQ(s.Error.rfind(c.error, 0), 0u) << c.path << ": " << s.Error;
    EXPECT_TRUE(s.Skin.ImageProblems.empty() && s.Problems.empty() && s.Container.empty()) << c.path;
  }
  // An empty description is a description: a skin of every default.
  const TSkinSource blank = LoadSkinSource(fs, "blank", true);
  EXPECT_TRUE(blank.Loaded()) << blank.Error;
  EXPECT_TRUE(blank.Problems.empty());
}

}  // namespace
}  // namespace zelvo
