// Extracts the first member of an -lh1- archive the way an archiver does: maps the archive, decodes
// the stream, checks the CRC-16 and writes the data to stdout.
//   lzh_extract ARCHIVE [REPEATS]
// With REPEATS the stream is decoded that many times and the median in-process decode rate
// (processor time) is reported on stderr. scripts/bench-lzh.sh runs it against lhasa, whole process
// against whole process, so it is kept free of anything that costs time at start-up (no benchmark
// framework).
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <memory>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/file/SkinRead.h"
#include "tests/unit/skin/file/LhaSupport.h"

namespace {

using namespace zelvo;

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
    std::fprintf(stderr, "lzh_extract: CRC mismatch\n");
    return 1;
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fprintf(stderr, "in-process decode MB/s: %.1f\n", static_cast<double>(out.size()) / median / 1e6);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: lzh_extract ARCHIVE [REPEATS]\n");
    return 2;
  }
  try {
    return Extract(argv[1], argc == 3 ? std::atoi(argv[2]) : 1);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lzh_extract: %s\n", e.what());
    return 1;
  }
}
