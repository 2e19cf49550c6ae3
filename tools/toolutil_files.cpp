#include "tools/toolutil_files.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <system_error>

namespace zelvo::tools {

namespace fs = std::filesystem;

std::string Shown(const fs::path& path) { return "\"" + path.string() + "\""; }

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

void WriteFileReplacing(const fs::path& path, TByteSpan bytes) {
  fs::path temp = path;
  temp += ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw ToolError("cannot create " + Shown(temp));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw ToolError("cannot write " + Shown(temp) + " (disk full?)");
    }
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw ToolError("cannot replace " + Shown(path) + ": " + ec.message());
  }
}

}  // namespace zelvo::tools
