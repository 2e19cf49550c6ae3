// Time from container bytes to loaded skin objects, on the program's own skin packed from
// resources/skin/ in the set-up; and the steps separately: decoding the container, decoding the
// bitmaps, parsing the description with them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "skin/SkinLoad.h"

namespace {

using namespace zelvo;
namespace fs = std::filesystem;

struct OwnSkin {
  TByteVector container;
  std::vector<std::pair<std::string, TByteVector>> files;  // description first
};

TByteVector ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  TByteVector bytes(static_cast<size_t>(fs::file_size(path)));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

const OwnSkin& Skin() {
  static const OwnSkin skin = [] {
    OwnSkin s;
    const fs::path dir = fs::path(ZELVO_SOURCE_DIR) / "resources" / "skin";
    s.files.emplace_back("skin.ini", ReadFile(dir / "skin.ini"));
    std::vector<fs::path> bitmaps;
    for (const auto& e : fs::directory_iterator(dir)) {
      if (e.path().extension() == ".bmp") bitmaps.push_back(e.path());
    }
    std::sort(bitmaps.begin(), bitmaps.end());
    for (const auto& b : bitmaps) s.files.emplace_back(b.filename().string(), ReadFile(b));
    TSkinWriter writer;
    for (const auto& [name, bytes] : s.files) writer.Add(name, bytes);
    s.container = writer.Container();
    return s;
  }();
  return skin;
}

uint64_t PayloadBytes() {
  uint64_t n = 0;
  for (const auto& f : Skin().files) n += f.second.size();
  return n;
}

void BM_LoadSkinFromContainer(benchmark::State& state) {
  const OwnSkin& s = Skin();
  TSkinObjects skin;
  for (auto _ : state) {
    const TSkinLoadResult r = LoadSkin(s.container, skin);
    if (!r.Ok()) {
      state.SkipWithError(r.Message.c_str());
      break;
    }
    benchmark::DoNotOptimize(skin.Left.Image.Pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PayloadBytes()));
  state.counters["container_bytes"] = static_cast<double>(s.container.size());
  state.counters["entries"] = static_cast<double>(s.files.size());
}

void BM_DecodeContainerOnly(benchmark::State& state) {
  const OwnSkin& s = Skin();
  TSkinReader reader;
  for (auto _ : state) {
    benchmark::DoNotOptimize(reader.Load(s.container));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PayloadBytes()));
}

void BM_DecodeBitmapsOnly(benchmark::State& state) {
  const OwnSkin& s = Skin();
  for (auto _ : state) {
    for (size_t i = 1; i < s.files.size(); ++i) {
      TBitmap32 bmp = ReadBmp(s.files[i].second);
      benchmark::DoNotOptimize(bmp.Pixels.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * (PayloadBytes() - s.files[0].second.size())));
}

void BM_ParseDescriptionWithBitmaps(benchmark::State& state) {
  const OwnSkin& s = Skin();
  TMemorySkinEntries entries;
  for (size_t i = 1; i < s.files.size(); ++i) entries.Add(s.files[i].first, s.files[i].second);
  const std::string text(s.files[0].second.begin(), s.files[0].second.end());
  TSkinObjects skin;
  for (auto _ : state) {
    ParseSkinDescription(text, entries, skin);
    benchmark::DoNotOptimize(skin.CaptionButtons.data());
  }
}

}  // namespace

BENCHMARK(BM_LoadSkinFromContainer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeContainerOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeBitmapsOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseDescriptionWithBitmaps)->Unit(benchmark::kMicrosecond);
