// Test helpers: LHA archive headers (levels 0, 1, 2) around -lh1- streams, CRC-16, test data.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/file/SkinRead.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

namespace zelvo::test {

// CRC-16 of LHA archives: polynomial 0xA001 (reflected), initial value 0. Checking large outputs
// must not dominate the benchmarks (the whole-process comparison with lhasa includes it), so the
// tables go sixteen bytes per step, and where the processor multiplies without carries the bulk
// of the data is folded 64 bytes per step instead.
inline const std::array<std::array<uint16_t, 256>, 16>& Crc16Tables() {
  static const auto kTables = [] {
    std::array<std::array<uint16_t, 256>, 16> t{};
    for (unsigned n = 0; n < 256; ++n) {
      unsigned c = n;
      for (int i = 0; i < 8; ++i) c = (c & 1) ? (c >> 1) ^ 0xA001 : c >> 1;
      t[0][n] = static_cast<uint16_t>(c);
    }
    for (size_t k = 1; k < t.size(); ++k) {
      for (unsigned n = 0; n < 256; ++n) {
        t[k][n] = static_cast<uint16_t>((t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF]);
      }
    }
    return t;
  }();
  return kTables;
}

inline uint16_t Crc16Update(unsigned crc, const uint8_t* data, size_t size) {
  const auto& t = Crc16Tables();
  size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    const uint8_t* b = data + i;
    crc = t[15][(b[0] ^ crc) & 0xFF] ^ t[14][(b[1] ^ (crc >> 8)) & 0xFF] ^ t[13][b[2]] ^
          t[12][b[3]] ^ t[11][b[4]] ^ t[10][b[5]] ^ t[9][b[6]] ^ t[8][b[7]] ^ t[7][b[8]] ^
          t[6][b[9]] ^ t[5][b[10]] ^ t[4][b[11]] ^ t[3][b[12]] ^ t[2][b[13]] ^ t[1][b[14]] ^
          t[0][b[15]];
  }
  for (; i < size; ++i) crc = (crc >> 8) ^ t[0][(crc ^ data[i]) & 0xFF];
  return static_cast<uint16_t>(crc);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define ZELVO_CRC16_FOLD 1

// Folding: the CRC of a message depends only on it modulo the generator P = x^16 + x^15 + x^2 + 1,
// so a 128-bit block followed by n more bits may be replaced by its two 64-bit halves multiplied
// by x^(n + 64) mod P and x^n mod P: a shorter message with the same CRC. Blocks are bit-reversed
// polynomials (the first byte's lowest bit is the highest power), so the low half is the high
// one, each constant is stored reversed in 64 bits, and a carry-less product of two reversed
// values comes out one place short: hence x^(n - 1).
inline uint64_t Crc16FoldConstant(int power) {
  unsigned r = 1;
  for (int i = 0; i < power; ++i) {
    r <<= 1;
    if (r & 0x10000) r ^= 0x18005;
  }
  uint64_t reversed = 0;
  for (int f = 0; f < 16; ++f) {
    if ((r >> f) & 1) reversed |= uint64_t{1} << (63 - f);
  }
  return reversed;
}

__attribute__((target("sse2"))) inline __m128i Crc16Load(const uint8_t* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

__attribute__((target("pclmul,sse2"))) inline __m128i Crc16Fold(__m128i v, __m128i by) {
  return _mm_xor_si128(_mm_clmulepi64_si128(v, by, 0x00), _mm_clmulepi64_si128(v, by, 0x11));
}

// At least 64 bytes: four blocks are folded side by side (each over the 512 bits to its next
// one), then into one, then the rest goes through the tables.
__attribute__((target("pclmul,sse2"))) inline uint16_t Crc16Folded(TByteSpan data) {
  static const uint64_t k[4] = {Crc16FoldConstant(575), Crc16FoldConstant(511),
                                Crc16FoldConstant(191), Crc16FoldConstant(127)};
  const __m128i by512 = _mm_set_epi64x(static_cast<long long>(k[1]), static_cast<long long>(k[0]));
  const __m128i by128 = _mm_set_epi64x(static_cast<long long>(k[3]), static_cast<long long>(k[2]));
  const uint8_t* p = data.data();
  size_t n = data.size();
  __m128i a0 = Crc16Load(p);
  __m128i a1 = Crc16Load(p + 16);
  __m128i a2 = Crc16Load(p + 32);
  __m128i a3 = Crc16Load(p + 48);
  for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
    a0 = _mm_xor_si128(Crc16Fold(a0, by512), Crc16Load(p));
    a1 = _mm_xor_si128(Crc16Fold(a1, by512), Crc16Load(p + 16));
    a2 = _mm_xor_si128(Crc16Fold(a2, by512), Crc16Load(p + 32));
    a3 = _mm_xor_si128(Crc16Fold(a3, by512), Crc16Load(p + 48));
  }
  __m128i a = _mm_xor_si128(Crc16Fold(a0, by128), a1);
  a = _mm_xor_si128(Crc16Fold(a, by128), a2);
  a = _mm_xor_si128(Crc16Fold(a, by128), a3);
  for (; n >= 16; p += 16, n -= 16) a = _mm_xor_si128(Crc16Fold(a, by128), Crc16Load(p));
  uint8_t folded[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), a);
  return Crc16Update(Crc16Update(0, folded, sizeof folded), p, n);
}
#endif

inline uint16_t Crc16(TByteSpan data) {
#ifdef ZELVO_CRC16_FOLD
  static const bool kFold = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
  if (kFold && data.size() >= 64) return Crc16Folded(data);
#endif
  return Crc16Update(0, data.data(), data.size());
}

inline uint32_t Le32(TByteSpan a, size_t at) {
  if (at + 4 > a.size()) throw std::runtime_error("header cut short");
  return a[at] | a[at + 1] << 8 | a[at + 2] << 16 | static_cast<uint32_t>(a[at + 3]) << 24;
}
inline uint16_t Le16(TByteSpan a, size_t at) {
  if (at + 2 > a.size()) throw std::runtime_error("header cut short");
  return static_cast<uint16_t>(a[at] | a[at + 1] << 8);
}

struct LhaMember {
  int level = -1;
  std::string method;  // "-lh1-", "-lh0-", ...
  uint32_t originalSize = 0;
  uint16_t crc = 0;
  TByteVector packed;  // the compressed stream (left empty when not asked for)
  size_t dataAt = 0;   // where the stream starts in the archive
  uint32_t packedSize = 0;
};

// Reads the first member of an archive; with `copyData` false the caller takes the stream from
// the archive itself (dataAt, packedSize).
inline LhaMember ParseLha(TByteSpan a, bool copyData = true) {
  if (a.size() < 24) throw std::runtime_error("too short for an LHA header");
  LhaMember m;
  m.level = a[20];
  m.method.assign(a.begin() + 2, a.begin() + 7);
  m.originalSize = Le32(a, 11);
  uint32_t packedSize = Le32(a, 7);
  size_t dataAt = 0;
  if (m.level == 0 || m.level == 1) {
    const size_t h = a[0];
    if (h + 2 > a.size()) throw std::runtime_error("header cut short");
    uint8_t sum = 0;
    for (size_t i = 2; i < h + 2; ++i) sum = static_cast<uint8_t>(sum + a[i]);
    if (sum != a[1]) throw std::runtime_error("header checksum mismatch");
    const size_t nameLen = a[21];
    m.crc = Le16(a, 22 + nameLen);
    dataAt = h + 2;
    if (m.level == 1) {
      // Extended headers follow; each ends with the size of the next. The level-1 packed size
      // counts them too.
      size_t next = Le16(a, h);
      while (next != 0) {
        if (next < 3 || packedSize < next) throw std::runtime_error("bad extended header");
        packedSize -= static_cast<uint32_t>(next);
        dataAt += next;
        next = Le16(a, dataAt - 2);
      }
    }
  } else if (m.level == 2) {
    // Writers disagree on the total header size at offset 0: one OS-9 writer adds a padding
    // byte after the extended headers, an OS-9/68k writer counts two bytes short. The data
    // starts after both the extended headers and the stated size.
    m.crc = Le16(a, 21);
    size_t next = Le16(a, 24);
    dataAt = 26;
    while (next != 0) {
      if (next < 3) throw std::runtime_error("bad extended header");
      dataAt += next;
      next = Le16(a, dataAt - 2);
    }
    dataAt = std::max<size_t>(dataAt, Le16(a, 0));
  } else {
    throw std::runtime_error("unknown header level");
  }
  if (dataAt + packedSize > a.size()) throw std::runtime_error("member data cut short");
  m.dataAt = dataAt;
  m.packedSize = packedSize;
  if (copyData) {
    m.packed.assign(a.begin() + static_cast<std::ptrdiff_t>(dataAt),
                    a.begin() + static_cast<std::ptrdiff_t>(dataAt + packedSize));
  }
  return m;
}

// A single-file archive with a level-0 header, method "-lh1-", and the end-of-archive byte.
inline TByteVector MakeLh1Archive(const std::string& name, TByteSpan original, TByteSpan packed) {
  TByteVector h;
  auto put32 = [&h](uint32_t v) {
    for (int i = 0; i < 4; ++i) h.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  h.push_back(0);  // header size, filled below
  h.push_back(0);  // checksum, filled below
  for (char c : std::string("-lh1-")) h.push_back(static_cast<uint8_t>(c));
  put32(static_cast<uint32_t>(packed.size()));
  put32(static_cast<uint32_t>(original.size()));
  put32(0x5A210000);  // DOS time stamp: 1 January 2025, midnight
  h.push_back(0x20);  // attribute: archive
  h.push_back(0);     // level 0
  h.push_back(static_cast<uint8_t>(name.size()));
  h.insert(h.end(), name.begin(), name.end());
  const uint16_t crc = Crc16(original);
  h.push_back(static_cast<uint8_t>(crc));
  h.push_back(static_cast<uint8_t>(crc >> 8));
  h[0] = static_cast<uint8_t>(h.size() - 2);
  uint8_t sum = 0;
  for (size_t i = 2; i < h.size(); ++i) sum = static_cast<uint8_t>(sum + h[i]);
  h[1] = sum;
  h.insert(h.end(), packed.begin(), packed.end());
  h.push_back(0);
  return h;
}

// In one read where the size is known up front (the benchmark reads multi-megabyte archives).
inline TByteVector ReadFileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot open " + p.string());
  const std::streamoff size = in.tellg();
  if (size < 0) throw std::runtime_error("cannot size " + p.string());
  TByteVector bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
    throw std::runtime_error("cannot read " + p.string());
  }
  return bytes;
}

inline void WriteFileBytes(const std::filesystem::path& p, TByteSpan bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

// Deterministic test data: English-like text, binary records, runs and noise, mixed.
class TestData {
 public:
  explicit TestData(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  TByteVector Text(size_t size) {
    static const char* const kWords[] = {"the", "skin", "window", "frame", "button", "caption",
                                         "bitmap", "of", "and", "registration", "a", "to",
                                         "program", "menu", "colour", "is", "in", "draws"};
    TByteVector out;
    while (out.size() < size) {
      const std::string w = kWords[Next() % (sizeof kWords / sizeof *kWords)];
      out.insert(out.end(), w.begin(), w.end());
      out.push_back((Next() % 11) == 0 ? '\n' : ' ');
    }
    out.resize(size);
    return out;
  }
  TByteVector Noise(size_t size) {
    TByteVector out(size);
    for (auto& b : out) b = static_cast<uint8_t>(Next());
    return out;
  }
  // Bitmap-like rows: a few colours in runs, each row close to the one before.
  TByteVector Pixels(size_t size) {
    TByteVector out;
    const size_t row = 96 + Next() % 64;
    while (out.size() < size) {
      if (out.size() >= row && Next() % 4 != 0) {
        out.push_back(out[out.size() - row]);
      } else {
        const uint8_t v = static_cast<uint8_t>((Next() % 6) * 40);
        for (uint32_t k = Next() % 12 + 1; k > 0; --k) out.push_back(v);
      }
    }
    out.resize(size);
    return out;
  }
  TByteVector Mixed(size_t size) {
    TByteVector out;
    while (out.size() < size) {
      const size_t chunk = 2048 + Next() % 30000;
      TByteVector part;
      switch (Next() % 4) {
        case 0: part = Text(chunk); break;
        case 1: part = Pixels(chunk); break;
        case 2: part = Noise(chunk / 8); break;
        default: part.assign(chunk / 4, static_cast<uint8_t>(Next())); break;
      }
      out.insert(out.end(), part.begin(), part.end());
    }
    out.resize(size);
    return out;
  }

 private:
  uint32_t state_;
};

}  // namespace zelvo::test
