// The gallery's file access: the skin loader's files through the system's ANSI calls (the paths
// the open dialog and the command line give), and a snapshot of a skin folder that tells whether
// anything in it changed between two looks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/file/SkinSource.h"

namespace zelvo::gallery {

// Reads files with the share mode that keeps writers out: a file another program still has open
// for writing is Busy, not read half-written.
class TWinSkinFiles : public ISkinFiles {
 public:
  TSkinPathKind KindOf(const std::string& path) const override;
  bool ListFiles(const std::string& folder, std::vector<std::string>& names, std::string& error) const override;
  TSkinFileRead ReadFile(const std::string& path, uint64_t maxSize, TByteVector& bytes,
                         std::string& error) const override;
  std::string Join(const std::string& folder, const std::string& name) const override;
};

// Each regular file of a folder with its size and last write time, sorted by name.
struct TFolderFile {
  std::string Name;
  uint64_t Size = 0;
  uint64_t WriteTime = 0;
  bool operator==(const TFolderFile&) const = default;
};
using TFolderSnapshot = std::vector<TFolderFile>;
TFolderSnapshot SnapshotFolder(const std::string& folder);

// Names of the files that differ between two snapshots (added, removed, resized or rewritten).
std::vector<std::string> ChangedFiles(const TFolderSnapshot& before, const TFolderSnapshot& after);

// The path without separators at its end (a drive's root keeps its one).
std::string TrimSeparators(std::string path);
// The last part of a path (a file's or a folder's name), without trailing separators.
std::string PathName(const std::string& path);
// The folder part of a file's path ("" when it has none).
std::string FolderOf(const std::string& path);
// Whether the path names a description file (".ini", any case).
bool IsDescriptionPath(const std::string& path);

}  // namespace zelvo::gallery
