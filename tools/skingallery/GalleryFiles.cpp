#include "tools/skingallery/GalleryFiles.h"

#include <algorithm>
#include <functional>

#include "framework/Handles.h"
#include "util/Util.h"

namespace zelvo::gallery {

namespace {

constexpr char kSeparators[] = "\\/:";

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char* text = nullptr;
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string s = n && text ? std::string(text, n) : "system error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s;
}

uint64_t Join64(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

bool IsRegularFile(const WIN32_FIND_DATAA& f) {
  return (f.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// Lists the regular files of a folder; false when it cannot be listed.
bool ForEachFile(const std::string& folder, const std::function<void(const WIN32_FIND_DATAA&)>& each) {
  WIN32_FIND_DATAA f{};
  UniqueFindHandle find(FindFirstFileA((TrimSeparators(folder) + "\\*").c_str(), &f));
  if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (IsRegularFile(f)) each(f);
  } while (FindNextFileA(find.Get(), &f));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

}  // namespace

std::string TrimSeparators(std::string path) {
  // A drive's root ("C:\") keeps its separator.
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/') && !(path.size() == 3 && path[1] == ':'))
    path.pop_back();
  return path;
}

std::string PathName(const std::string& path) {
  const std::string trimmed = TrimSeparators(path);
  const size_t at = trimmed.find_last_of(kSeparators);
  return at == std::string::npos ? trimmed : trimmed.substr(at + 1);
}

std::string FolderOf(const std::string& path) {
  const size_t at = path.find_last_of(kSeparators);
  if (at == std::string::npos) return {};
  return path.substr(0, path[at] == ':' ? at + 1 : at);
}

bool IsDescriptionPath(const std::string& path) {
  return path.size() >= 4 && LowerAscii(path.substr(path.size() - 4)) == ".ini";
}

TSkinPathKind TWinSkinFiles::KindOf(const std::string& path) const {
  const DWORD attrs = GetFileAttributesA(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return TSkinPathKind::Missing;
  return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? TSkinPathKind::Folder : TSkinPathKind::File;
}

bool TWinSkinFiles::ListFiles(const std::string& folder, std::vector<std::string>& names, std::string& error) const {
  names.clear();
  if (ForEachFile(folder, [&](const WIN32_FIND_DATAA& f) { names.push_back(f.cFileName); })) return true;
  error = "cannot list the folder: " + LastErrorText();
  return false;
}

TSkinFileRead TWinSkinFiles::ReadFile(const std::string& path, uint64_t maxSize, TByteVector& bytes,
                                      std::string& error) const {
  bytes.clear();
  // Others may read alongside, but none may be writing: an editor still saving holds the file
  // open for writing, and then the file is not read at all.
  UniqueFileHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    if (GetLastError() == ERROR_SHARING_VIOLATION || GetLastError() == ERROR_LOCK_VIOLATION) return TSkinFileRead::Busy;
    error = "cannot open: " + LastErrorText();
    return TSkinFileRead::Failed;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) {
    error = "cannot read: " + LastErrorText();
    return TSkinFileRead::Failed;
  }
  if (static_cast<uint64_t>(size.QuadPart) > maxSize) {
    error = "is " + std::to_string(size.QuadPart) + " bytes long, too large for a skin";
    return TSkinFileRead::Failed;
  }
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())) {
    bytes.clear();
    error = "cannot read: " + LastErrorText();
    return TSkinFileRead::Failed;
  }
  return TSkinFileRead::Ok;
}

std::string TWinSkinFiles::Join(const std::string& folder, const std::string& name) const {
  return TrimSeparators(folder) + "\\" + name;
}

TFolderSnapshot SnapshotFolder(const std::string& folder) {
  TFolderSnapshot files;
  ForEachFile(folder, [&](const WIN32_FIND_DATAA& f) {
    files.push_back({f.cFileName, Join64(f.nFileSizeHigh, f.nFileSizeLow),
                     Join64(f.ftLastWriteTime.dwHighDateTime, f.ftLastWriteTime.dwLowDateTime)});
  });
  std::sort(files.begin(), files.end(), [](const TFolderFile& a, const TFolderFile& b) { return a.Name < b.Name; });
  return files;
}

std::vector<std::string> ChangedFiles(const TFolderSnapshot& before, const TFolderSnapshot& after) {
  std::vector<std::string> changed;
  size_t i = 0, j = 0;
  while (i < before.size() || j < after.size()) {
    if (j == after.size() || (i < before.size() && before[i].Name < after[j].Name)) {
      changed.push_back(before[i++].Name);
    } else if (i == before.size() || after[j].Name < before[i].Name) {
      changed.push_back(after[j++].Name);
    } else {
      if (!(before[i] == after[j])) changed.push_back(after[j].Name);
      ++i;
      ++j;
    }
  }
  return changed;
}

}  // namespace zelvo::gallery
