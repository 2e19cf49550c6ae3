// -lh1- encoder: hash-chain match finder with one-step lazy matching, adaptive Huffman coding of
// literals and lengths (the same tree updates as the decoder) and the fixed position code.
//
// The window is modelled as 4036 blanks followed by the input, which is exactly what every
// decoder's ring holds before the stream's first byte; matches never reach further back than
// that prefill, so the ring's remaining 60 bytes (whose initial contents differ between decoders)
// are never read.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "skin/LzhTables.h"
#include "skin/SkinRead.h"

namespace zelvo {

using namespace lzh;

namespace {

constexpr int kPrefill = TLZH::kFirstWrite;  // blanks before the first byte
constexpr int kHashBits = 15;
constexpr uint32_t kHashMask = (1u << kHashBits) - 1;
constexpr int kMaxChain = 1024;  // candidates tried per position
constexpr int kGoodEnough = F;   // stop searching at a maximal match
constexpr int kMinMatch = kThreshold + 1;

class BitWriter {
 public:
  explicit BitWriter(TByteVector& out) : out_(out) {}
  // Appends the low `n` bits of `value` (n <= 32), most significant first.
  void Put(uint32_t value, int n) {
    acc_ |= static_cast<uint64_t>(value & ((uint64_t{1} << n) - 1)) << (64 - count_ - n);
    count_ += n;
    while (count_ >= 8) {
      out_.push_back(static_cast<uint8_t>(acc_ >> 56));
      acc_ <<= 8;
      count_ -= 8;
    }
  }
  void Flush() {
    if (count_ > 0) out_.push_back(static_cast<uint8_t>(acc_ >> 56));
    acc_ = 0;
    count_ = 0;
  }

 private:
  TByteVector& out_;
  uint64_t acc_ = 0;
  int count_ = 0;
};

int PositionBits(uint32_t distance) {
  return kPositionCode.encodeLength[(distance - 1) >> 6] + 6;
}

struct Match {
  int length = 0;
  uint32_t distance = 0;
};

class MatchFinder {
 public:
  explicit MatchFinder(const TByteVector& window)
      : w_(window), head_(size_t{1} << kHashBits, -1), prev_(N, -1) {}

  // Adds every position before `limit` to the chains.
  void InsertUpTo(int limit) {
    const int last = static_cast<int>(w_.size()) - kMinMatch;
    for (; next_ < limit; ++next_) {
      if (next_ > last) continue;
      const uint32_t h = Hash(next_);
      prev_[next_ & (N - 1)] = head_[h];
      head_[h] = next_;
    }
  }

  // Longest match for the bytes at `pos` (all earlier positions inserted), nearest on ties.
  Match Find(int pos) const {
    Match best;
    const int maxLen = std::min<int>(F, static_cast<int>(w_.size()) - pos);
    if (maxLen < kMinMatch) return best;
    const uint8_t* cur = w_.data() + pos;
    int bestLen = kMinMatch - 1;
    int cand = head_[Hash(pos)];
    for (int chain = kMaxChain; cand >= 0 && pos - cand <= N && chain > 0; --chain) {
      const uint8_t* p = w_.data() + cand;
      if (p[bestLen] == cur[bestLen] && p[0] == cur[0] && p[1] == cur[1]) {
        int len = 2;
        while (len < maxLen && p[len] == cur[len]) ++len;
        if (len > bestLen) {
          bestLen = len;
          best.length = len;
          best.distance = static_cast<uint32_t>(pos - cand);
          if (len >= kGoodEnough || len == maxLen) break;
        }
      }
      cand = prev_[cand & (N - 1)];
    }
    return best;
  }

 private:
  uint32_t Hash(int pos) const {
    const uint8_t* p = w_.data() + pos;
    return ((uint32_t{p[0]} << 10) ^ (uint32_t{p[1]} << 5) ^ p[2] ^ (uint32_t{p[0]} >> 3)) &
           kHashMask;
  }

  const TByteVector& w_;
  std::vector<int> head_;
  std::vector<int> prev_;
  int next_ = 0;
};

class Encoder {
 public:
  Encoder(HuffmanTree& tree, TByteVector& out) : t_(tree), bits_(out) {}

  void Symbol(int c) {
    // The code is the path from the root: collect it leaf-upwards, then send it root first.
    uint8_t path[T];
    int n = 0;
    for (int k = t_.prnt[c + T]; k != R; k = t_.prnt[k]) path[n++] = static_cast<uint8_t>(k & 1);
    while (n > 0) {
      uint32_t word = 0;
      const int chunk = std::min(n, 24);
      for (int i = 0; i < chunk; ++i) word = (word << 1) | path[--n];
      bits_.Put(word, chunk);
    }
    t_.Update(c);
  }
  void Literal(uint8_t b) { Symbol(b); }
  void Copy(const Match& m) {
    Symbol(256 + m.length - kMinMatch);
    const uint32_t p = m.distance - 1;
    const uint32_t upper = p >> 6;
    bits_.Put(kPositionCode.encodeBits[upper], kPositionCode.encodeLength[upper]);
    bits_.Put(p & 0x3F, 6);
  }
  void Finish() { bits_.Flush(); }

  // Whether sending `m` beats sending its bytes as literals, by the current code lengths. Only
  // short matches are in doubt; a far three-byte match can cost more than three literals.
  bool Worthwhile(const Match& m, const uint8_t* bytes) const {
    if (m.length > 5) return true;
    int literals = 0;
    for (int i = 0; i < m.length; ++i) literals += t_.CodeLength(bytes[i]);
    const int copy = t_.CodeLength(256 + m.length - kMinMatch) + PositionBits(m.distance);
    return copy < literals;
  }

 private:
  HuffmanTree& t_;
  BitWriter bits_;
};

}  // namespace

void TLZH::Encode(TByteSpan input, TByteVector& output) {
  output.clear();
  if (input.empty()) return;
  TByteVector window;
  try {
    window.reserve(kPrefill + input.size());
    output.reserve(input.size() / 2 + 64);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemoryText);
  }
  window.assign(kPrefill, ' ');
  window.insert(window.end(), input.begin(), input.end());

  HuffmanTree& t = *tree_;
  t.Start();
  Encoder enc(t, output);
  MatchFinder finder(window);
  const int end = static_cast<int>(window.size());
  int pos = kPrefill;
  finder.InsertUpTo(pos);
  Match cur = finder.Find(pos);
  while (pos < end) {
    if (cur.length >= kMinMatch && enc.Worthwhile(cur, &window[pos])) {
      // Lazy step: a longer match one byte later is worth a literal now.
      finder.InsertUpTo(pos + 1);
      if (cur.length < F && pos + 1 < end) {
        const Match next = finder.Find(pos + 1);
        if (next.length > cur.length) {
          enc.Literal(window[pos]);
          ++pos;
          cur = next;
          continue;
        }
      }
      enc.Copy(cur);
      pos += cur.length;
    } else {
      enc.Literal(window[pos]);
      ++pos;
    }
    finder.InsertUpTo(pos);
    cur = finder.Find(pos);
  }
  enc.Finish();
}

TByteVector LzhEncode(TByteSpan input) {
  TLZH lzh;
  TByteVector out;
  lzh.Encode(input, out);
  return out;
}

}  // namespace zelvo
