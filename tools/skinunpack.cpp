// skinunpack: unpacks a compressed skin file into a folder of its entries (the description .ini
// file and the .bmp files), ready to edit and pack again with skinpack.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "skin/file/SkinRead.h"
#include "tools/toolutil_files.h"

namespace fs = std::filesystem;
using namespace zelvo;
using zelvo::tools::Print;
using zelvo::tools::Shown;
using zelvo::tools::ToolError;

namespace {

const char kUsage[] =
    "Usage: skinunpack [options] SKINFILE FOLDER\n"
    "       skinunpack --list SKINFILE\n"
    "\n"
    "Unpacks every entry of the compressed skin file SKINFILE into FOLDER (created when needed),\n"
    "one file per entry under its (lower-case) entry name. Nothing is written unless the whole\n"
    "skin file reads correctly and every entry name is a new, plain file name; existing files\n"
    "(and links) are not replaced unless --force is given, and links are never followed.\n"
    "\n"
    "Options:\n"
    "  -l, --list     only list the entries and their sizes\n"
    "  -f, --force    replace files that already exist in FOLDER\n"
    "  -v, --verbose  list each entry as it is written\n"
    "  -h, --help     show this text\n"
    "\n"
    "Exit status: 0 on success, 1 on any error, 2 when the arguments are wrong.\n";

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

// A compressed skin file is never much larger than its decoded limit.
constexpr uintmax_t kMaxSkinFileSize = uintmax_t{kLzhMaxDecodedSize} * 2;

struct Options {
  fs::path input;
  fs::path folder;
  bool list = false;
  bool force = false;
  bool verbose = false;
};

// Entry names come from outside: only plain file names are written.
// The same rules hold on every system, so a skin unpacks alike on Linux and Windows.
std::string UnsafeReason(const std::string& name) {
  if (name.empty()) return "is empty";
  if (name == "." || name == "..") return "is not a file name";
  for (unsigned char c : name) {
    if (c < 32) return "holds a control character";
    if (c == '/' || c == '\\' || c == ':') return "holds a path separator or drive colon";
    if (std::string_view("<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos) {
      return "holds a character Windows does not allow in file names";
    }
  }
  if (name.back() == '.' || name.back() == ' ') return "ends with a dot or blank";
  std::string stem = name.substr(0, name.find('.'));
  for (char& c : stem) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  for (const char* d : kDevices) {
    if (stem == d) return "is a Windows device name";
  }
  if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
      stem[3] >= '1' && stem[3] <= '9') {
    return "is a Windows device name";
  }
  return "";
}

int Run(const Options& opt) {
  const TByteVector bytes = tools::ReadFileBounded(opt.input, kMaxSkinFileSize);
  TSkinReader reader;
  try {
    if (!reader.Load(bytes)) {
      throw ToolError(Shown(opt.input) + " is an older skin file (its version is not " +
                      std::to_string(kSkinContainerVersion) + ")");
    }
  } catch (const zelvo::Exception& e) {
    throw ToolError(Shown(opt.input) + ": " + e.what());
  }

  if (opt.list) {
    for (size_t i = 0; i < reader.Count(); ++i) {
      Print(Padded(std::to_string(reader.Size(i)), 10) + "  " + tools::EscapedName(reader.Name(i)) + "\n");
    }
    Print(std::to_string(reader.Count()) + " entries\n");
    return 0;
  }

  // Check every name and target before writing anything: a name that is unsafe, that repeats
  // another, or whose file already exists (unless forced) stops the whole unpack.
  std::set<std::string> seen;
  for (size_t i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Name(i);
    const std::string shown = "entry " + std::to_string(i + 1) + " (\"" + tools::EscapedName(name) + "\") ";
    if (const std::string why = UnsafeReason(name); !why.empty()) {
      throw ToolError(shown + why + "; nothing was written");
    }
    if (!seen.insert(name).second) {
      throw ToolError(shown + "repeats an earlier entry's name; nothing was written");
    }
  }
  std::error_code ec;
  if (tools::NameTaken(opt.folder) && !fs::is_directory(fs::symlink_status(opt.folder, ec))) {
    throw ToolError(Shown(opt.folder) + " exists and is not a folder");
  }
  for (size_t i = 0; i < reader.Count(); ++i) {
    const fs::path target = opt.folder / reader.Name(i);
    if (!tools::NameTaken(target)) continue;
    if (!opt.force) {
      throw ToolError(Shown(target) + " already exists (use --force to replace it); nothing was written");
    }
    if (fs::is_directory(fs::symlink_status(target, ec))) {
      throw ToolError(Shown(target) + " is a folder; nothing was written");
    }
  }
  fs::create_directories(opt.folder, ec);
  if (ec) throw ToolError("cannot create " + Shown(opt.folder) + ": " + ec.message());

  size_t written = 0;
  uint64_t total = 0;
  for (size_t i = 0; i < reader.Count(); ++i) {
    try {
      tools::WriteFileSafely(opt.folder / reader.Name(i), reader.Entry(i), opt.force);
    } catch (const ToolError& e) {
      throw ToolError(std::string(e.what()) + "; " + std::to_string(written) + " of " +
                      std::to_string(reader.Count()) + " entries had been written");
    }
    ++written;
    total += reader.Size(i);
    if (opt.verbose) {
      Print("  " + tools::EscapedName(reader.Name(i)) + "  " + std::to_string(reader.Size(i)) + " bytes\n");
    }
  }
  Print("skinunpack: " + std::to_string(written) + " entries, " + std::to_string(total) +
        " bytes written to " + tools::EscapedName(opt.folder.string()) + "\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  std::vector<std::string> positional;
  const auto option = [&opt](const std::string& a) {
    if (a == "-l" || a == "--list") {
      opt.list = true;
    } else if (a == "-f" || a == "--force") {
      opt.force = true;
    } else if (a == "-v" || a == "--verbose") {
      opt.verbose = true;
    } else {
      return false;
    }
    return true;
  };
  if (const auto status = tools::ReadArguments(argc, argv, "skinunpack", kUsage, option, positional)) {
    return *status;
  }
  if (positional.size() != (opt.list ? 1u : 2u)) {
    std::fprintf(stderr, "skinunpack: expected %s (see --help)\n",
                 opt.list ? "SKINFILE" : "SKINFILE and FOLDER");
    return 2;
  }
  opt.input = positional[0];
  if (!opt.list) opt.folder = positional[1];
  return tools::RunReportingErrors("skinunpack", [&opt] { return Run(opt); });
}
