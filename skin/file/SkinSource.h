// A skin as its author keeps it on disk: a skin file (the compressed container) or a skin folder
// (one .ini description and its .bmp files, as the pack tool takes them). One loader for the
// inspect tool, the preview tool and the gallery, so that all three read a skin the same way and
// word its problems the same way. Portable: the files are reached through ISkinFiles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/file/SkinLoad.h"

namespace zelvo {

// Largest file a skin source reads: a skin file, or one file of a skin folder. A folder holds
// at most kSkinMaxEntries files and at most this many bytes in all, as a container would.
inline constexpr uint64_t kMaxSkinSourceBytes = 256u * 1024u * 1024u;

enum class TSkinPathKind : uint8_t { Missing, File, Folder };

enum class TSkinFileRead : uint8_t {
  Ok,
  Busy,    // another program has the file open for writing: try again later
  Failed,  // the error says why
};

// The file system as the loader sees it. The tools use the standard library's (TStdSkinFiles);
// a Windows program uses the system's ANSI calls, which also tell a file that is still being
// written.
class ISkinFiles {
 public:
  virtual ~ISkinFiles() = default;
  virtual TSkinPathKind KindOf(const std::string& path) const = 0;
  // Names (no folder part) of the regular files directly inside `folder`, in any order; False
  // with `error` when the folder cannot be listed.
  virtual bool ListFiles(const std::string& folder, std::vector<std::string>& names, std::string& error) const = 0;
  // The whole file. A file longer than `maxSize` is refused before anything is read (Failed).
  // `error` says what is wrong without naming the file.
  virtual TSkinFileRead ReadFile(const std::string& path, uint64_t maxSize, TByteVector& bytes,
                                 std::string& error) const = 0;
  virtual std::string Join(const std::string& folder, const std::string& name) const = 0;
};

// The standard library's file system (the portable tools).
class TStdSkinFiles : public ISkinFiles {
 public:
  TSkinPathKind KindOf(const std::string& path) const override;
  bool ListFiles(const std::string& folder, std::vector<std::string>& names, std::string& error) const override;
  TSkinFileRead ReadFile(const std::string& path, uint64_t maxSize, TByteVector& bytes,
                         std::string& error) const override;
  std::string Join(const std::string& folder, const std::string& name) const override;
};

// One entry of a skin (a file of the folder, an entry of the container) as the inspect tool
// lists it.
struct TSkinSourceEntry {
  std::string Name;
  uint64_t Size = 0;
  // What its headers say ("bitmap 75 x 21, 24 bits", with ", decodes" once decoded), empty for
  // entries that are no bitmaps.
  std::string Note;
  // What is wrong with it, empty when nothing is: "unreadable: ...", "not decoded: ...", or
  // "duplicate name, never used" (a container's later entry of a name already taken, which is
  // no problem of the skin).
  std::string Problem;
  bool Duplicate = false;
};

struct TSkinSource {
  enum class TOutcome : uint8_t {
    Loaded,
    Busy,          // a file was still being written: nothing loaded, try again
    OlderVersion,  // a container of an older format
    Failed,        // Error says why
  };
  TOutcome Outcome = TOutcome::Failed;
  bool Folder = false;
  // Why the skin did not load, naming the path and the problem: "<path>: <what is wrong>".
  std::string Error;
  TSkinObjects Skin;           // the loaded skin (empty unless Loaded)
  TByteVector Container;       // a skin file's bytes
  uint64_t EntryBytes = 0;     // what the entries hold in all
  std::vector<TSkinSourceEntry> Entries;  // folder: sorted by name; file: container order
  // Every problem of a loaded skin, one line each, in the inspect tool's words: unreadable
  // entries, then the bitmaps the description names that cannot be used, then the warnings.
  std::vector<std::string> Problems;
  bool Loaded() const { return Outcome == TOutcome::Loaded; }
};

// Loads the skin at `path`, a skin file or a skin folder. With `decodeEveryEntry` (the inspect
// tool's --check) every .bmp entry is decoded too, within the skin's image budget, and each that
// cannot be is a problem; otherwise only their headers are read. Never raises for bad data or a
// lack of memory: both are outcomes.
TSkinSource LoadSkinSource(const ISkinFiles& files, const std::string& path, bool decodeEveryEntry);
// The same for a container in memory (a program's stored skin); `name` stands for its path.
TSkinSource LoadSkinContainer(const std::string& name, TByteVector container, bool decodeEveryEntry);

// The problems a strict check fails on: unreadable entries and bitmaps that cannot be used (the
// warnings about values held to their ranges are not counted).
size_t StrictProblemCount(const TSkinSource& source);

}  // namespace zelvo
