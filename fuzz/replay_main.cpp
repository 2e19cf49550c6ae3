// Replays every file of a seed corpus (a folder, or single files) through a fuzz target, so the
// committed corpus runs as a regression test under the sanitizers of the normal native build.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void RunFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<uint8_t> copy(bytes.begin(), bytes.end());  // exact-size buffer so overreads are caught
  LLVMFuzzerTestOneInput(copy.data(), copy.size());
}

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path p(argv[i]);
    if (std::filesystem::is_directory(p)) {
      for (const auto& e : std::filesystem::recursive_directory_iterator(p)) {
        if (e.is_regular_file()) { RunFile(e.path()); ++count; }
      }
    } else if (std::filesystem::is_regular_file(p)) {
      RunFile(p); ++count;
    } else {
      std::fprintf(stderr, "no such corpus: %s\n", argv[i]);
      return 2;
    }
  }
  if (count == 0) { std::fprintf(stderr, "corpus is empty\n"); return 2; }
  std::printf("replayed %d inputs\n", count);
  return 0;
}
