// -lh1- decoder and encoder throughput on a few megabytes of mixed data (text, bitmap-like rows,
// noise, runs), on the program's skin sources when they exist, and two helper modes for
// scripts/bench-lzh.sh, which compares our decoder with lhasa on the same stream:
//   bench_lzh --make-archive FILE [MIB]   writes our stream of the mixed data as an -lh1- archive
//   bench_lzh --make-archive-from IN OUT  the same for the bytes of file IN
//   bench_lzh --extract FILE [REPEATS]    extracts it like an archiver would (read the file,
//                                          decode, check the CRC, write the data to stdout); with
//                                          REPEATS it also reports the median in-process decode
//                                          rate (processor time) on stderr
// Any other arguments go to Google Benchmark.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/SkinRead.h"
#include "tests/unit/skinread/LhaSupport.h"

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

// Memory for a whole decoded stream, not cleared first (the decoder writes every byte), asked to
// be backed by large pages where the system offers them: a multi-megabyte output otherwise costs
// a page fault every 4 KiB.
struct OutputBuffer {
  explicit OutputBuffer(size_t size) : size_(size) {
    constexpr size_t kLarge = size_t{2} << 20;
    const size_t rounded = (std::max<size_t>(size, 1) + kLarge - 1) / kLarge * kLarge;
    data_.reset(static_cast<uint8_t*>(std::aligned_alloc(kLarge, rounded)));
    if (!data_) throw std::bad_alloc();
    ::madvise(data_.get(), rounded, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    // All pages at once rather than one fault per page as the decoder reaches it (ignored by
    // kernels without it).
    ::madvise(data_.get(), rounded, MADV_POPULATE_WRITE);
#endif
  }
  std::span<uint8_t> Span() { return {data_.get(), size_}; }

 private:
  struct Free {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<uint8_t, Free> data_;
  size_t size_;
};

// The archive read through a private mapping, its pages brought in at once: no copy of it is made
// before the stream is decoded.
class MappedFile {
 public:
  explicit MappedFile(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error(std::string("cannot open ") + path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size <= 0) {
      ::close(fd);
      throw std::runtime_error(std::string("cannot size ") + path);
    }
    size_ = static_cast<size_t>(st.st_size);
    void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED) throw std::runtime_error(std::string("cannot map ") + path);
    data_ = static_cast<const uint8_t*>(p);
  }
  ~MappedFile() { ::munmap(const_cast<uint8_t*>(data_), size_); }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  TByteSpan Bytes() const { return {data_, size_}; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// Decodes the archive's stream `repeats` times (the median time is reported on stderr as the
// decoder's in-process throughput), checks the CRC-16 and writes the data to stdout.
int Extract(const char* file, int repeats) {
  const MappedFile archive(file);
  const test::LhaMember m = test::ParseLha(archive.Bytes(), false);
  const TByteSpan packed = archive.Bytes().subspan(m.dataAt, m.packedSize);
  TLZH lzh;
  OutputBuffer buffer(m.originalSize);
  const std::span<uint8_t> out = buffer.Span();
  // Processor time, not wall time, so other work on a shared machine does not count.
  std::vector<double> times;
  for (int i = 0; i < std::max(repeats, 1); ++i) {
    const std::clock_t start = std::clock();
    lzh.DecodeTo(packed, out);
    times.push_back(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
  }
  std::sort(times.begin(), times.end());
  const double median = std::max(times[times.size() / 2], 1e-9);
  if (test::Crc16(out) != m.crc) {
    std::fprintf(stderr, "bench_lzh: CRC mismatch\n");
    return 1;
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fprintf(stderr, "in-process decode MB/s: %.1f\n", static_cast<double>(out.size()) / median / 1e6);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 3 && std::string(argv[1]) == "--make-archive") {
      return MakeArchive(argv[2], argc >= 4 ? std::atoi(argv[3]) : 4);
    }
    if (argc == 4 && std::string(argv[1]) == "--make-archive-from") return MakeArchiveFrom(argv[2], argv[3]);
    if (argc >= 3 && std::string(argv[1]) == "--extract") {
      return Extract(argv[2], argc >= 4 ? std::atoi(argv[3]) : 1);
    }
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
