#include "tools/toolutil_files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <exception>
#include <fstream>
#include <new>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zelvo::tools {

namespace fs = std::filesystem;

std::string EscapedName(std::string_view name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size());
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == 0x7F || c == 0x9B) {  // 0x9B starts a sequence on some terminals
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string Shown(const fs::path& path) { return "\"" + EscapedName(path.string()) + "\""; }

void Print(const std::string& text) { std::fputs(text.c_str(), stdout); }

std::optional<int> ReadArguments(int argc, char** argv, const char* tool, const char* usage,
                                 const std::function<bool(const std::string&)>& option,
                                 std::vector<std::string>& positional) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      std::fputs(usage, stdout);
      return 0;
    } else if (a.size() > 1 && a[0] == '-') {
      if (!option(a)) {
        std::fprintf(stderr, "%s: unknown option %s (see --help)\n", tool, a.c_str());
        return 2;
      }
    } else {
      positional.push_back(a);
    }
  }
  return std::nullopt;
}

int RunReportingErrors(const char* tool, const std::function<int()>& work) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s: not enough memory\n", tool);
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", tool, e.what());
    return 1;
  }
}

TByteVector ReadFileBounded(const fs::path& path, uintmax_t maxSize) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    throw ToolError(Shown(path) + (fs::exists(path, ec) ? " is not a file" : " does not exist"));
  }
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) throw ToolError("cannot read " + Shown(path) + ": " + ec.message());
  if (size > maxSize) {
    throw ToolError(Shown(path) + " is " + std::to_string(size) + " bytes long; at most " +
                    std::to_string(maxSize) + " are accepted");
  }
  TByteVector bytes(static_cast<size_t>(size));
  std::ifstream in(path, std::ios::binary);
  if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    throw ToolError("cannot read " + Shown(path));
  }
  return bytes;
}

namespace {

#ifdef _WIN32
constexpr int kCreateFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY;
constexpr int kCreateMode = _S_IREAD | _S_IWRITE;
int WriteSome(int fd, const uint8_t* p, size_t n) {
  return _write(fd, p, static_cast<unsigned>(std::min<size_t>(n, 1u << 30)));
}
int CloseFile(int fd) { return _close(fd); }
#else
// O_EXCL with O_CREAT refuses any existing name, a link included; O_NOFOLLOW says so twice.
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t kCreateMode = 0666;  // narrowed by the umask, like any new file
ssize_t WriteSome(int fd, const uint8_t* p, size_t n) { return ::write(fd, p, n); }
int CloseFile(int fd) { return ::close(fd); }
#endif

// Distinct temporary names within one run and across processes.
std::string TempSuffix(unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  const auto now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  char text[64];
  std::snprintf(text, sizeof text, ".%llx-%x-%x.tmp", now & 0xFFFFFFFFFFull, counter++, attempt);
  return text;
}

// Creates a new file of a name no one uses yet beside `target`; returns its descriptor.
int CreateTemp(const fs::path& target, fs::path& temp) {
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temp = target.parent_path() / ("." + target.filename().string() + TempSuffix(attempt));
#ifdef _WIN32
    const int fd = ::_wopen(temp.c_str(), kCreateFlags, kCreateMode);
#else
    const int fd = ::open(temp.c_str(), kCreateFlags, kCreateMode);
#endif
    if (fd >= 0) return fd;
    if (errno != EEXIST) {
      throw ToolError("cannot create a temporary file beside " + Shown(target) + ": " + std::strerror(errno));
    }
  }
  throw ToolError("cannot find a free temporary name beside " + Shown(target));
}

// Moves `temp` to `target` only when `target` does not exist, atomically where the system allows.
bool RenameNoReplace(const fs::path& temp, const fs::path& target, std::error_code& ec) {
#ifdef _WIN32
  // The C library's rename never replaces an existing file on Windows.
  if (::_wrename(temp.c_str(), target.c_str()) == 0) return true;
  ec = std::error_code(errno, std::generic_category());
  return false;
#else
  // A hard link fails on any existing name; then the temporary name goes.
  if (::link(temp.c_str(), target.c_str()) == 0) {
    ::unlink(temp.c_str());
    return true;
  }
  if (errno == EEXIST) {
    ec = std::make_error_code(std::errc::file_exists);
    return false;
  }
  // File systems without hard links: check, then rename (a narrow window, but still no link
  // is ever followed).
  if (NameTaken(target)) {
    ec = std::make_error_code(std::errc::file_exists);
    return false;
  }
  if (::rename(temp.c_str(), target.c_str()) == 0) return true;
  ec = std::error_code(errno, std::generic_category());
  return false;
#endif
}

}  // namespace

bool NameTaken(const fs::path& path) {
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(path, ec);
  return !ec && st.type() != fs::file_type::not_found;
}

void WriteFileSafely(const fs::path& path, TByteSpan bytes, bool replace) {
  if (!replace && NameTaken(path)) {
    throw ToolError(Shown(path) + " already exists (use --force to replace it)");
  }
  fs::path temp;
  const int fd = CreateTemp(path, temp);
  auto discard = [&temp] {
    std::error_code ignored;
    fs::remove(temp, ignored);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const auto n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      const std::string why = std::strerror(errno);
      CloseFile(fd);
      discard();
      throw ToolError("cannot write " + Shown(temp) + ": " + why);
    }
    done += static_cast<size_t>(n);
  }
  if (CloseFile(fd) != 0) {
    const std::string why = std::strerror(errno);
    discard();
    throw ToolError("cannot write " + Shown(temp) + ": " + why);
  }
  std::error_code ec;
  if (!replace) {
    if (!RenameNoReplace(temp, path, ec)) {
      discard();
      if (ec == std::errc::file_exists) {
        throw ToolError(Shown(path) + " already exists (use --force to replace it)");
      }
      throw ToolError("cannot create " + Shown(path) + ": " + ec.message());
    }
    return;
  }
  if (fs::is_directory(fs::symlink_status(path, ec))) {
    discard();
    throw ToolError(Shown(path) + " is a folder");
  }
#ifdef _WIN32
  // Windows' rename does not replace: take the old name (a file or a link itself) away first.
  if (NameTaken(path)) fs::remove(path, ec);
#endif
  // rename() replaces the name itself; a link there is replaced, not followed.
  fs::rename(temp, path, ec);
  if (ec) {
    discard();
    throw ToolError("cannot replace " + Shown(path) + ": " + ec.message());
  }
}

}  // namespace zelvo::tools
