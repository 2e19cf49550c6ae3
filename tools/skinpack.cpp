// skinpack: packs a folder of skin sources (the description .ini file and its .bmp files) into a
// compressed skin file, the format the program embeds and loads as a skin file.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/file/SkinRead.h"
#include "tools/toolutil_files.h"
#include "util/Util.h"

namespace fs = std::filesystem;
using namespace zelvo;
using zelvo::tools::Print;
using zelvo::tools::Shown;
using zelvo::tools::ToolError;

namespace {

const char kUsage[] =
    "Usage: skinpack [options] FOLDER SKINFILE\n"
    "\n"
    "Packs the skin sources in FOLDER into the compressed skin file SKINFILE: the description\n"
    "file (*.ini, exactly one) and every bitmap (*.bmp). Other files and sub-folders are left\n"
    "out (with --all every file is packed). The description goes first, the bitmaps follow in\n"
    "name order. The result is checked by unpacking it again before SKINFILE is replaced.\n"
    "\n"
    "Options:\n"
    "  --all          pack every file of FOLDER, not only .ini and .bmp files\n"
    "  -v, --verbose  list each entry with its size\n"
    "  -h, --help     show this text\n"
    "\n"
    "Exit status: 0 when the skin file was written, 1 on any error (SKINFILE is then left as it\n"
    "was), 2 when the arguments are wrong.\n";

struct Options {
  fs::path folder;
  fs::path output;
  bool all = false;
  bool verbose = false;
};

std::string Extension(const fs::path& p) { return LowerAscii(p.extension().string()); }

struct Source {
  std::string name;
  fs::path path;
};

std::vector<Source> CollectSources(const Options& opt) {
  std::error_code ec;
  if (!fs::is_directory(opt.folder, ec)) {
    throw ToolError(Shown(opt.folder) + (fs::exists(opt.folder, ec) ? " is not a folder"
                                                                     : " does not exist"));
  }
  std::vector<Source> sources;
  for (const auto& e : fs::directory_iterator(opt.folder)) {
    const std::string name = e.path().filename().string();
    if (!e.is_regular_file()) {
      if (opt.verbose) Print("  skipped " + name + " (not a file)\n");
      continue;
    }
    const std::string ext = Extension(e.path());
    if (!opt.all && ext != ".bmp" && ext != ".ini") {
      if (opt.verbose) Print("  skipped " + name + " (neither .bmp nor .ini)\n");
      continue;
    }
    sources.push_back({name, e.path()});
  }
  // The program finds its description as the first entry whose name contains ".ini" and looks
  // entries up by lower-cased name; anything ambiguous would silently pick one file.
  std::vector<std::string> descriptions;
  for (const Source& s : sources) {
    if (LowerAscii(s.name).find(".ini") != std::string::npos) descriptions.push_back(s.name);
  }
  if (descriptions.empty()) throw ToolError(Shown(opt.folder) + " holds no description (.ini) file");
  if (descriptions.size() > 1) {
    std::string list;
    for (const std::string& d : descriptions) list += (list.empty() ? "" : ", ") + d;
    throw ToolError("more than one name contains \".ini\" (" + list +
                    "); the program would use only one of them");
  }
  std::sort(sources.begin(), sources.end(), [](const Source& a, const Source& b) {
    const bool ai = LowerAscii(a.name).find(".ini") != std::string::npos;
    const bool bi = LowerAscii(b.name).find(".ini") != std::string::npos;
    if (ai != bi) return ai;
    return LowerAscii(a.name) < LowerAscii(b.name);
  });
  for (size_t i = 1; i < sources.size(); ++i) {
    if (LowerAscii(sources[i].name) == LowerAscii(sources[i - 1].name)) {
      throw ToolError("\"" + sources[i - 1].name + "\" and \"" + sources[i].name +
                      "\" differ only in letter case; the program could reach only one of them");
    }
  }
  if (sources.size() > kSkinMaxEntries) {
    throw ToolError("a skin holds at most " + std::to_string(kSkinMaxEntries) + " entries, " +
                    Shown(opt.folder) + " has " + std::to_string(sources.size()));
  }
  return sources;
}

int Pack(const Options& opt) {
  const std::vector<Source> sources = CollectSources(opt);
  TSkinWriter writer;
  for (const Source& s : sources) {
    TByteVector data = tools::ReadFileBounded(s.path, kLzhMaxDecodedSize);
    if (opt.verbose) Print("  " + s.name + "  " + std::to_string(data.size()) + " bytes\n");
    writer.Add(s.name, std::move(data));
  }
  const TByteVector payload = writer.Payload();
  const TByteVector container = SkinContainerEncode(payload);

  // Read it back the way the program will before anything is replaced.
  TSkinReader check;
  if (!check.Load(container) || check.Count() != sources.size()) {
    throw ToolError("internal error: the packed skin does not read back");
  }
  for (const Source& s : sources) {
    TByteVector entry;
    if (!check.ExtractByName(s.name, entry)) {
      throw ToolError("internal error: entry \"" + s.name + "\" does not read back");
    }
  }
  if (SkinContainerDecode(container) != payload) {
    throw ToolError("internal error: the packed skin does not decode to what was packed");
  }

  tools::WriteFileReplacing(opt.output, container);
  Print("skinpack: " + std::to_string(sources.size()) + " entries, " +
        std::to_string(payload.size()) + " bytes packed into " + std::to_string(container.size()) +
        " bytes: " + opt.output.string() + "\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  std::vector<std::string> positional;
  const auto option = [&opt](const std::string& a) {
    if (a == "--all") {
      opt.all = true;
    } else if (a == "-v" || a == "--verbose") {
      opt.verbose = true;
    } else {
      return false;
    }
    return true;
  };
  if (const auto status = tools::ReadArguments(argc, argv, "skinpack", kUsage, option, positional)) {
    return *status;
  }
  if (positional.size() != 2) {
    std::fprintf(stderr, "skinpack: expected FOLDER and SKINFILE (see --help)\n");
    return 2;
  }
  opt.folder = positional[0];
  opt.output = positional[1];
  return tools::RunReportingErrors("skinpack", [&opt] { return Pack(opt); });
}
