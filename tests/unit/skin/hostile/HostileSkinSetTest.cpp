// The hostile skins of the test set (tests/data/hostile_skins, and the huge set its generator
// makes): each loads, within the budget, and draws whole without a fault, or is refused with a
// message, as its outcomes.txt says; the preview tool agrees, as a skin author runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "skin/file/SkinLoad.h"
#include "tests/unit/skin/hostile/DrawWholeSkin.h"
#include "util/Util.h"

namespace zelvo {
namespace {

namespace fs = std::filesystem;
const fs::path kSetDir = fs::path(ZELVO_TESTDATA_DIR);

struct TOutcome {
  std::string Name;
  bool Loads = false;
  std::string Text;      // in the refusal message or in one of the load's warnings
  std::string ToolText;  // in the tools' message, where the tools word it as skininspect does
};

std::vector<TOutcome> ReadOutcomes(const fs::path& dir) {
  std::vector<TOutcome> out;
  std::ifstream in(dir / "outcomes.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    TOutcome o;
    std::string kind;
    std::getline(fields, o.Name, '\t');
    std::getline(fields, kind, '\t');
    std::getline(fields, o.Text, '\t');
    std::getline(fields, o.ToolText);
    if (o.ToolText.empty()) o.ToolText = o.Text;
    EXPECT_TRUE(kind == "loads" || kind == "refused") << line;
    o.Loads = kind == "loads";
    out.push_back(o);
  }
  return out;
}

TByteVector ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TByteVector((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct TLoaded {
  bool Ok = false;
  std::string Message;
  TSkinObjects Skin;
};

// A skin file through the program's loader; a folder as the tools read one: every file an entry,
// the first whose name contains ".ini" the description.
TLoaded Load(const fs::path& item) {
  TLoaded r;
  if (!fs::is_directory(item)) {
    const TSkinLoadResult result = LoadSkin(ReadFile(item), r.Skin);
    r.Ok = result.Ok();
    r.Message = result.Message;
    return r;
  }
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(item)) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  TMemorySkinEntries entries;
  std::optional<TByteVector> description;
  for (const fs::path& f : files) {
    TByteVector bytes = ReadFile(f);
    if (!description && LowerAscii(f.filename().string()).find(".ini") != std::string::npos) description = bytes;
    entries.Add(f.filename().string(), std::move(bytes));
  }
  if (!description) {
    r.Message = "no description";
    return r;
  }
  try {
    ParseSkinDescription(std::string_view(reinterpret_cast<const char*>(description->data()), description->size()),
                         entries, r.Skin);
    r.Ok = true;
  } catch (const Exception& e) {
    r.Message = e.Message();
  }
  return r;
}

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
  return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

// A file or folder of this test process in the temporary folder (other test runs may share it).
fs::path TempPath(const std::string& name) {
  return fs::path(::testing::TempDir()) / (name + "_" + std::to_string(getpid()));
}

// Runs the preview tool on an item; its exit status and what it wrote to standard error.
std::pair<int, std::string> Preview(const fs::path& item) {
  const fs::path out = TempPath("hostile_preview.bmp");
  const fs::path err = TempPath("hostile_preview.txt");
  const std::string command = std::string("'") + ZELVO_SKINPREVIEW + "' '" + item.string() + "' '" + out.string() +
                              "' >/dev/null 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  const TByteVector text = ReadFile(err);
  std::error_code ec;
  fs::remove(out, ec);
  fs::remove(err, ec);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(text.begin(), text.end())};
}

void CheckSet(const fs::path& dir, bool withTool) {
  const std::vector<TOutcome> outcomes = ReadOutcomes(dir);
  ASSERT_FALSE(outcomes.empty()) << dir;
  // The listing and the folder hold the same items.
  std::vector<std::string> listed, present;
  for (const TOutcome& o : outcomes) listed.push_back(o.Name);
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (name != "outcomes.txt" && name != "README.md") present.push_back(name);
  }
  std::sort(listed.begin(), listed.end());
  std::sort(present.begin(), present.end());
  EXPECT_EQ(listed, present);

  for (const TOutcome& o : outcomes) {
    SCOPED_TRACE(o.Name);
    const TLoaded loaded = Load(dir / o.Name);
    ASSERT_EQ(loaded.Ok, o.Loads) << loaded.Message;
    if (!o.Loads) {
      EXPECT_FALSE(loaded.Message.empty());
      EXPECT_NE(loaded.Message.find(o.Text), std::string::npos) << loaded.Message;
    } else {
      EXPECT_LE(loaded.Skin.ImageBytes, kSkinImageBudget);
      if (!o.Text.empty()) {
        EXPECT_TRUE(AnyContains(loaded.Skin.Warnings, o.Text));
      }
      const test::TSkinDrawing drawing = test::DrawWholeSkin(loaded.Skin);
      EXPECT_TRUE(drawing.Faults.empty()) << drawing.Faults.front();
    }
    if (withTool) {
      const auto [status, errors] = Preview(dir / o.Name);
      EXPECT_EQ(status, o.Loads ? 0 : 2) << errors;
      if (!o.Loads) {
        EXPECT_NE(errors.find("skinpreview: "), std::string::npos) << errors;
      }
      EXPECT_NE(errors.find(o.ToolText), std::string::npos) << errors;
    }
  }
}

TEST(HostileSkinSet, EachLoadsAndDrawsOrIsRefusedWithAMessage) { CheckSet(kSetDir, true); }

// The huge set is made here by its generator (about 130 MB in a temporary folder).
TEST(HostileSkinSet, HugeOnesLoadWithinTheBudgetOrAreRefused) {
  const fs::path dir = TempPath("hostile_skins_huge");
  const std::string command = "python3 '" + (fs::path(ZELVO_SOURCE_DIR) / "scripts" / "make_hostile_skins.py").string() +
                              "' '" + dir.string() + "' --huge";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  CheckSet(dir, false);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
}  // namespace zelvo
