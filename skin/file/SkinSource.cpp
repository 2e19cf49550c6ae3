#include "skin/file/SkinSource.h"

#include <algorithm>
#include <new>
#include <optional>
#include <set>
#include <utility>

#include "util/Util.h"

namespace zelvo {

namespace {

using TOutcome = TSkinSource::TOutcome;

bool IsBmpName(const std::string& name) {
  return name.size() >= 4 && LowerAscii(name.substr(name.size() - 4)) == ".bmp";
}

// What the listing says of each entry. Only the headers are read unless every entry is to be
// decoded; then each bitmap entry is decoded in turn and dropped, the decoded sizes counted
// against the budget a skin load has, so that a skin of many huge entries cannot take unbounded
// time or memory.
class TEntryNotes {
 public:
  explicit TEntryNotes(bool decode) : decode_(decode) {}

  void Describe(TSkinSourceEntry& e, TByteSpan bytes) {
    if (!IsBmpName(e.Name)) return;
    TBmpSize size;
    try {
      size = ReadBmpSize(bytes);
    } catch (const EBmpError& err) {
      e.Problem = "unreadable: " + err.Message();
      return;
    }
    e.Note = "bitmap " + std::to_string(size.Width) + " x " + std::to_string(size.Height) + ", " +
             std::to_string(size.Bits) + " bits";
    if (!decode_) return;
    if (size.PixelBytes() > kSkinImageBudget - spent_) {
      e.Problem = "not decoded: the entries before it used up the " + std::to_string(kSkinImageBudget >> 20) +
                  " MiB budget";
      return;
    }
    spent_ += size.PixelBytes();
    TBitmap32 bmp;
    std::string reason;
    if (!TryReadBmp(bytes, bmp, reason)) {
      e.Problem = "unreadable: " + reason;
      return;
    }
    e.Note += ", decodes";
  }

 private:
  bool decode_;
  size_t spent_ = 0;
};

void Fail(TSkinSource& s, TOutcome outcome, std::string error) {
  s.Outcome = outcome;
  s.Error = std::move(error);
  s.Skin = TSkinObjects();
  s.Container.clear();
  s.Problems.clear();
}

// Reads one file; false (with the outcome set) when it could not be read.
bool Read(const ISkinFiles& files, const std::string& path, uint64_t maxSize, TByteVector& bytes, TSkinSource& s) {
  std::string error;
  switch (files.ReadFile(path, maxSize, bytes, error)) {
    case TSkinFileRead::Ok: return true;
    case TSkinFileRead::Busy: Fail(s, TOutcome::Busy, path + ": still being written"); return false;
    case TSkinFileRead::Failed: break;
  }
  Fail(s, TOutcome::Failed, path + ": " + error);
  return false;
}

void LoadFolder(const ISkinFiles& files, const std::string& path, bool decode, TSkinSource& s) {
  s.Folder = true;
  std::vector<std::string> names;
  std::string error;
  if (!files.ListFiles(path, names, error)) {
    Fail(s, TOutcome::Failed, path + ": " + error);
    return;
  }
  if (names.size() > kSkinMaxEntries) {
    Fail(s, TOutcome::Failed, path + ": holds " + std::to_string(names.size()) + " files, more than a skin can have (" +
                                  std::to_string(kSkinMaxEntries) + ")");
    return;
  }
  std::sort(names.begin(), names.end());
  TEntryNotes notes(decode);
  TMemorySkinEntries entries;
  std::optional<std::string> description;  // an empty description is still one
  std::string descriptionName;
  for (const std::string& name : names) {
    TByteVector bytes;
    if (!Read(files, files.Join(path, name), kMaxSkinSourceBytes - s.EntryBytes, bytes, s)) return;
    s.EntryBytes += bytes.size();
    TSkinSourceEntry& e = s.Entries.emplace_back();
    e.Name = name;
    e.Size = bytes.size();
    notes.Describe(e, bytes);
    if (!description && LowerAscii(name).find(".ini") != std::string::npos) {
      description.emplace(bytes.begin(), bytes.end());
      descriptionName = LowerAscii(name);
    }
    entries.Add(name, std::move(bytes));
  }
  if (!description) {
    Fail(s, TOutcome::Failed, path + ": holds no .ini description");
    return;
  }
  try {
    ParseSkinDescription(*description, entries, s.Skin);
  } catch (const Exception& e) {
    Fail(s, TOutcome::Failed, path + ": " + e.Message());
    return;
  }
  s.Skin.DescriptionName = descriptionName;
  s.Outcome = TOutcome::Loaded;
}

void LoadContainer(const std::string& name, TByteVector bytes, bool decode, TSkinSource& s) {
  TSkinReader reader;
  try {
    if (!reader.Load(bytes)) {
      Fail(s, TOutcome::OlderVersion, name + ": an older skin format the program does not read");
      return;
    }
  } catch (const Exception& e) {
    Fail(s, TOutcome::Failed, name + ": " + e.Message());
    return;
  }
  TEntryNotes notes(decode);
  std::set<std::string> seen;
  for (size_t i = 0; i < reader.Count(); ++i) {
    TSkinSourceEntry& e = s.Entries.emplace_back();
    e.Name = reader.Name(i);
    e.Size = reader.Size(i);
    s.EntryBytes += e.Size;
    if (seen.insert(e.Name).second) {
      notes.Describe(e, reader.Entry(i));
    } else {
      e.Duplicate = true;
      e.Problem = "duplicate name, never used";
    }
  }
  const TSkinLoadResult r = LoadSkinFromReader(reader, s.Skin);
  if (!r.Ok()) {
    Fail(s, TOutcome::Failed, name + ": " + r.Message);
    return;
  }
  s.Container = std::move(bytes);
  s.Outcome = TOutcome::Loaded;
}

// Every problem of a loaded skin in the inspect tool's words.
void ListProblems(TSkinSource& s) {
  if (!s.Loaded()) return;
  for (const TSkinSourceEntry& e : s.Entries) {
    if (!e.Problem.empty() && !e.Duplicate) s.Problems.push_back(e.Name + ": " + e.Problem);
  }
  for (const TSkinImageProblem& p : s.Skin.ImageProblems) {
    s.Problems.push_back("[" + p.Section + "] " + p.Key + "=" + p.Value + ": " + p.Reason);
  }
  for (const std::string& w : s.Skin.Warnings) s.Problems.push_back("Warning: " + w);
}

// Runs a load, turning a lack of memory into an outcome.
template <class Load>
TSkinSource Guarded(const std::string& name, Load load) {
  TSkinSource s;
  try {
    load(s);
  } catch (const std::bad_alloc&) {
    s.Entries.clear();
    Fail(s, TOutcome::Failed, name + ": " + kSkinNoMemoryText);
  }
  ListProblems(s);
  return s;
}

}  // namespace

TSkinSource LoadSkinSource(const ISkinFiles& files, const std::string& path, bool decodeEveryEntry) {
  return Guarded(path, [&](TSkinSource& s) {
    switch (files.KindOf(path)) {
      case TSkinPathKind::Missing: Fail(s, TOutcome::Failed, path + ": no such file or folder"); break;
      case TSkinPathKind::Folder: LoadFolder(files, path, decodeEveryEntry, s); break;
      case TSkinPathKind::File: {
        TByteVector bytes;
        if (Read(files, path, kMaxSkinSourceBytes, bytes, s)) LoadContainer(path, std::move(bytes), decodeEveryEntry, s);
        break;
      }
    }
  });
}

TSkinSource LoadSkinContainer(const std::string& name, TByteVector container, bool decodeEveryEntry) {
  return Guarded(name, [&](TSkinSource& s) { LoadContainer(name, std::move(container), decodeEveryEntry, s); });
}

size_t StrictProblemCount(const TSkinSource& source) {
  const auto entries = std::count_if(source.Entries.begin(), source.Entries.end(),
                                     [](const TSkinSourceEntry& e) { return !e.Problem.empty() && !e.Duplicate; });
  return static_cast<size_t>(entries) + source.Skin.ImageProblems.size();
}

}  // namespace zelvo
