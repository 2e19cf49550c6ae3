// Time from container bytes to loaded skin objects, on the program's own skin packed from
// resources/skin/ in the set-up; and the steps separately: decoding the container, decoding the
// bitmaps, parsing the description with them. Two helper modes measure hostile skins, one process
// per file so each peak is its own:
//   bench_skin_load --write-hostile DIR   writes the hostile skins (tests/unit/skin/file/HostileSkins.h)
//   bench_skin_load --measure FILE        loads FILE once; prints wall time, peak resident memory
//                                         and the outcome
// Any other arguments go to Google Benchmark.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <new>

#include "skin/file/SkinLoad.h"
#include "tests/unit/skin/file/HostileSkins.h"

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
    benchmark::DoNotOptimize(skin.Left.Image.Pixels().data());
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
      benchmark::DoNotOptimize(bmp.Pixels().data());
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

namespace {

int WriteHostile(const fs::path& dir) {
  fs::create_directories(dir);
  const test::HostileSkin skins[] = {test::OneBigBitmapEverywhere(),
                                     // about 63 MiB of runs in a 1 x 1 bitmap
                                     test::LongRunsFourTimes(33000000), test::OverBudget(),
                                     test::ManyHugeEntries(1000)};
  for (const test::HostileSkin& h : skins) {
    std::ofstream(dir / h.Name, std::ios::binary)
        .write(reinterpret_cast<const char*>(h.Bytes.data()), static_cast<std::streamsize>(h.Bytes.size()));
    std::printf("%-20s %9zu bytes\n", h.Name.c_str(), h.Bytes.size());
  }
  return 0;
}

int Measure(const fs::path& file) {
  const TByteVector bytes = ReadFile(file);
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  TSkinObjects skin;
  const TSkinLoadResult r = LoadSkin(bytes, skin);
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%-20s cpu %6.3f s  wall %6.3f s  peak %6.1f MiB  image memory %5.1f MiB  %s\n",
              file.filename().string().c_str(), cpu, seconds, static_cast<double>(usage.ru_maxrss) / 1024.0,
              static_cast<double>(skin.ImageBytes) / 1048576.0, r.Ok() ? "loaded" : r.Message.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string(argv[1]) == "--write-hostile") return WriteHostile(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--measure") return Measure(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_skin_load: %s\n", e.what());
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
