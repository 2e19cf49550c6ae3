// -lh1- decoder and encoder throughput on a few megabytes of mixed data (text, bitmap-like rows,
// noise, runs), on the program's skin sources when they exist, and two helper modes that make
// archives for scripts/bench-lzh.sh (which extracts them with lzh_extract and with lhasa):
//   bench_lzh --make-archive FILE [MIB]   writes our stream of the mixed data as an -lh1- archive
//   bench_lzh --make-archive-from IN OUT  the same for the bytes of file IN
// Any other arguments go to Google Benchmark.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "skin/file/SkinRead.h"
#include "tests/unit/skin/file/LhaSupport.h"

namespace {

using namespace zelvo;
namespace fs = std::filesystem;

const TByteVector& MixedData() {
  static const TByteVector data = test::TestData(2024).Mixed(4u << 20);
  return data;
}

void BM_DecodeMixed(benchmark::State& state) {
  const TByteVector& data = MixedData();
  const TByteVector packed = LzhEncode(data);
  TLZH lzh;
  TByteVector out;
  for (auto _ : state) {
    lzh.Decode(packed, static_cast<uint32_t>(data.size()), out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
  state.counters["ratio%"] = 100.0 * static_cast<double>(packed.size()) / static_cast<double>(data.size());
}
BENCHMARK(BM_DecodeMixed)->Unit(benchmark::kMillisecond);

void BM_EncodeMixed(benchmark::State& state) {
  const TByteVector& data = MixedData();
  TLZH lzh;
  TByteVector out;
  for (auto _ : state) {
    lzh.Encode(data, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_EncodeMixed)->Unit(benchmark::kMillisecond);

// The program's own skin, packed in memory from its sources (skipped until they exist).
TByteVector SkinContainerFromSources() {
  const fs::path dir = fs::path(ZELVO_SOURCE_DIR) / "resources" / "skin";
  if (!fs::is_directory(dir)) return {};
  TSkinWriter w;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string ext = e.path().extension().string();
    if (e.is_regular_file() && (ext == ".bmp" || ext == ".ini")) {
      w.Add(e.path().filename().string(), test::ReadFileBytes(e.path()));
    }
  }
  return w.Count() ? w.Container() : TByteVector{};
}

void BM_DecodeProgramSkin(benchmark::State& state) {
  const TByteVector container = SkinContainerFromSources();
  if (container.empty()) {
    state.SkipWithError("resources/skin does not exist yet");
    return;
  }
  TSkinReader reader;
  for (auto _ : state) {
    benchmark::DoNotOptimize(reader.Load(container));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * test::Le32(container, 0)));
}
BENCHMARK(BM_DecodeProgramSkin)->Unit(benchmark::kMicrosecond);

int MakeArchive(const char* file, int mib) {
  const TByteVector data = test::TestData(2024).Mixed(static_cast<size_t>(mib) << 20);
  const TByteVector packed = LzhEncode(data);
  test::WriteFileBytes(file, test::MakeLh1Archive("mixed.bin", data, packed));
  std::printf("%zu bytes packed into %zu\n", data.size(), packed.size());
  return 0;
}

int MakeArchiveFrom(const char* in, const char* file) {
  const TByteVector data = test::ReadFileBytes(in);
  const TByteVector packed = LzhEncode(data);
  test::WriteFileBytes(file, test::MakeLh1Archive("corpus.bin", data, packed));
  std::printf("%zu bytes packed into %zu\n", data.size(), packed.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 3 && std::string(argv[1]) == "--make-archive") {
      return MakeArchive(argv[2], argc >= 4 ? std::atoi(argv[3]) : 4);
    }
    if (argc == 4 && std::string(argv[1]) == "--make-archive-from") return MakeArchiveFrom(argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_lzh: %s\n", e.what());
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
