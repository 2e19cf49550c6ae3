// The skin loader's files through the standard library (the portable tools). Kept apart from the
// loader so that a program reading skins through its own calls does not carry this in.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "skin/file/SkinSource.h"

namespace zelvo {

namespace fs = std::filesystem;

TSkinPathKind TStdSkinFiles::KindOf(const std::string& path) const {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (ec || !fs::exists(st)) return TSkinPathKind::Missing;
  return fs::is_directory(st) ? TSkinPathKind::Folder : TSkinPathKind::File;
}

bool TStdSkinFiles::ListFiles(const std::string& folder, std::vector<std::string>& names, std::string& error) const {
  names.clear();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
  }
  if (ec) {
    error = "cannot list the folder: " + ec.message();
    return false;
  }
  return true;
}

TSkinFileRead TStdSkinFiles::ReadFile(const std::string& path, uint64_t maxSize, TByteVector& bytes,
                                      std::string& error) const {
  bytes.clear();
  std::error_code ec;
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) {
    error = "cannot read: " + ec.message();
    return TSkinFileRead::Failed;
  }
  if (size > maxSize) {
    error = "is " + std::to_string(size) + " bytes long, too large for a skin";
    return TSkinFileRead::Failed;
  }
  std::ifstream in(path, std::ios::binary);
  bytes.resize(static_cast<size_t>(size));
  if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    bytes.clear();
    error = "cannot read the file";
    return TSkinFileRead::Failed;
  }
  return TSkinFileRead::Ok;
}

std::string TStdSkinFiles::Join(const std::string& folder, const std::string& name) const {
  return (fs::path(folder) / name).string();
}

}  // namespace zelvo
