// The skinned frame of a 418 x 275 window with the program's own skin (packed from
// resources/skin/ and read with the skin loader in the set-up): laying it out, composing every
// side, the caption strip and its buttons, and computing its window region; and one nine-part
// render of the caption side on its own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/render/FormSkin_core.h"
#include "skin/file/SkinLoad.h"

namespace {

using namespace zelvo;
namespace fs = std::filesystem;

constexpr int32_t kWidth = 418;
constexpr int32_t kHeight = 275;

TByteVector ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TByteVector((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const TSkinObjects& OwnSkin() {
  static const TSkinObjects skin = [] {
    const fs::path dir = fs::path(ZELVO_SOURCE_DIR) / "resources" / "skin";
    TSkinWriter writer;
    writer.Add("skin.ini", ReadFile(dir / "skin.ini"));
    std::vector<fs::path> bitmaps;
    for (const auto& e : fs::directory_iterator(dir)) {
      if (e.path().extension() == ".bmp") bitmaps.push_back(e.path());
    }
    std::sort(bitmaps.begin(), bitmaps.end());
    for (const auto& b : bitmaps) writer.Add(b.filename().string(), ReadFile(b));
    TSkinObjects s;
    if (!LoadSkin(writer.Container(), s).Ok()) std::abort();
    return s;
  }();
  return skin;
}

TFrameInput Window() {
  TFrameInput in;
  in.Width = kWidth;
  in.Height = kHeight;
  in.Style = wstyle::kCaption | wstyle::kSysMenu | wstyle::kMinimizeBox;
  in.HasSystemMenu = true;
  in.CaptionTextWidth = 90;
  in.CaptionTextHeight = 15;
  return in;
}

void BM_NinePartCaptionSide(benchmark::State& state) {
  const TSkinObjects& skin = OwnSkin();
  TBitmap32 target(kWidth, kHeight);
  const TRectI dest{4, 0, kWidth - 4, 28};
  for (auto _ : state) {
    RenderNinePart(target, dest, FrameSidePart(skin.Top, true), 1);
    benchmark::DoNotOptimize(target.At(10, 10));
  }
}
BENCHMARK(BM_NinePartCaptionSide)->Unit(benchmark::kMicrosecond);

void BM_LayoutAndComposeFrame(benchmark::State& state) {
  const TSkinObjects& skin = OwnSkin();
  const TFrameInput in = Window();
  TBitmap32 target(kWidth, kHeight);
  for (auto _ : state) {
    const TFrameLayout layout = LayoutFrame(skin, in);
    ComposeFrame(target, skin, layout, in);
    benchmark::DoNotOptimize(target.At(0, 0));
  }
}
BENCHMARK(BM_LayoutAndComposeFrame)->Unit(benchmark::kMicrosecond);

void BM_FrameRegion(benchmark::State& state) {
  const TSkinObjects& skin = OwnSkin();
  const TFrameInput in = Window();
  TBitmap32 target(kWidth, kHeight);
  const TFrameLayout layout = LayoutFrame(skin, in);
  ComposeFrame(target, skin, layout, in);
  size_t rects = 0;
  for (auto _ : state) {
    const auto region = FrameRegion(skin, layout, in, &target);
    rects = region.size();
    benchmark::DoNotOptimize(rects);
  }
  state.counters["rects"] = static_cast<double>(rects);
}
BENCHMARK(BM_FrameRegion)->Unit(benchmark::kMicrosecond);

// What a resize costs the frame: layout, composition and region together.
void BM_FrameAndRegion(benchmark::State& state) {
  const TSkinObjects& skin = OwnSkin();
  const TFrameInput in = Window();
  TBitmap32 target(kWidth, kHeight);
  for (auto _ : state) {
    const TFrameLayout layout = LayoutFrame(skin, in);
    ComposeFrame(target, skin, layout, in);
    const auto region = FrameRegion(skin, layout, in, &target);
    benchmark::DoNotOptimize(region.data());
  }
}
BENCHMARK(BM_FrameAndRegion)->Unit(benchmark::kMicrosecond);

}  // namespace
