// skinpreview: draws a sample window frame from a skin file or a folder of skin sources, as the
// skinned window draws it, and writes it as a 24-bit BMP.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/file/SkinSource.h"
#include "skin/render/SkinPreview.h"
#include "tools/toolutil_files.h"

namespace fs = std::filesystem;
using namespace zelvo;

namespace {

const char kUsage[] =
    "Usage: skinpreview [options] SKIN OUT.bmp\n"
    "\n"
    "Draws a sample window frame from SKIN (a skin file, or a folder holding one .ini description\n"
    "and its .bmp files) and writes it to OUT.bmp: the four frame sides, the caption strip with\n"
    "its text plate and the caption buttons the window style gives, the client area in the\n"
    "skin's ButtonFace colour, and outside the window's region (its magenta-cut corners) a grey\n"
    "backdrop. The caption text is shown as a plain bar in the caption text colour.\n"
    "\n"
    "Options:\n"
    "  --size WxH          window size in pixels (default 418x275, at most 4096 each)\n"
    "  --caption TEXT      caption text (default \"Zelvo\")\n"
    "  --inactive          draw the inactive frame\n"
    "  --maximized         draw the caption buttons of a maximized window\n"
    "  --style NAME        sizeable (default), single, dialog or popup\n"
    "  --rtl               right-to-left window (caption text right-aligned)\n"
    "  --text-width N      width of the caption text as measured in the caption font\n"
    "  --text-height N     height of the caption font (both default to an estimate)\n"
    "  --icon FILE.bmp     small icon for the system-menu button (magenta is transparent)\n"
    "  --help              show this text\n"
    "\n"
    "Prints the caption text rectangle, the frame's thickness on each side (where the client area\n"
    "lies) and the number of region rectangles.\n"
    "Exit status: 0 when written, 2 when the skin cannot be loaded, the output cannot be\n"
    "written or the arguments are wrong.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "skinpreview: %s\n", message.c_str());
  return 2;
}

bool ParseNumber(const std::string& text, int32_t& value) {
  if (text.empty() || text.size() > 9) return false;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  value = static_cast<int32_t>(std::stol(text));
  return true;
}

bool ParseSize(const std::string& text, int32_t& w, int32_t& h) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  return ParseNumber(text.substr(0, x), w) && ParseNumber(text.substr(x + 1), h) && w >= 1 && h >= 1 &&
         w <= kPreviewMaxSide && h <= kPreviewMaxSide;
}

int Run(int argc, char** argv) {
  TPreviewOptions options;
  std::vector<std::string> positional;
  std::string iconPath;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--inactive") {
      options.Active = false;
    } else if (a == "--maximized") {
      options.Maximized = true;
    } else if (a == "--rtl") {
      options.ExStyle |= wstyle::kExLeftScrollBar;
    } else if (a == "--size") {
      if (!value(v) || !ParseSize(v, options.Width, options.Height)) {
        return Fail("--size needs WxH, each from 1 to " + std::to_string(kPreviewMaxSide));
      }
    } else if (a == "--caption") {
      if (!value(options.Caption)) return Fail("--caption needs a text");
    } else if (a == "--style") {
      if (!value(v) || !PreviewStyleByName(v, options.Style)) {
        return Fail("--style needs sizeable, single, dialog or popup");
      }
    } else if (a == "--text-width") {
      if (!value(v) || !ParseNumber(v, options.TextWidth)) return Fail("--text-width needs a number of pixels");
    } else if (a == "--text-height") {
      if (!value(v) || !ParseNumber(v, options.TextHeight)) return Fail("--text-height needs a number of pixels");
    } else if (a == "--icon") {
      if (!value(iconPath)) return Fail("--icon needs a BMP file");
    } else if (a.size() > 1 && a[0] == '-') {
      return Fail("unknown option " + a + " (see --help)");
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  TBitmap32 icon;
  if (!iconPath.empty()) {
    std::string reason;
    if (!TryReadBmp(tools::ReadFileBounded(iconPath, kMaxSkinSourceBytes), icon, reason)) return Fail(iconPath + ": " + reason);
    options.Icon = &icon;
  }
  const TSkinSource source = LoadSkinSource(TStdSkinFiles(), positional[0], false);
  if (!source.Loaded()) return Fail(source.Error);
  for (const std::string& p : source.Problems) std::fprintf(stderr, "skinpreview: warning: %s\n", p.c_str());
  const TSkinObjects& skin = source.Skin;

  const TPreview preview = RenderPreview(skin, options);
  const std::vector<uint8_t> bmp = WriteBmp24(preview.Bitmap);
  const fs::path out = positional[1];
  tools::WriteFileReplacing(out, bmp);
  const TRectI& t = preview.Layout.Text.TextRect;
  const TFrameThickness& f = preview.Layout.Thickness;
  std::printf("%s: %dx%d, caption text at %d,%d-%d,%d, frame %d,%d,%d,%d, region of %zu rectangles\n",
              out.string().c_str(), preview.Bitmap.Width, preview.Bitmap.Height, t.left, t.top, t.right, t.bottom,
              f.Left, f.Top, f.Right, f.Bottom, preview.Region.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A file that cannot be read or written ends the tool like a skin that cannot be loaded.
  try {
    return Run(argc, argv);
  } catch (const tools::ToolError& e) {
    return Fail(e.what());
  }
}
