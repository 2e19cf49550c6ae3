// -lh1- encoder: binary-tree match finder with one-step lazy matching, adaptive Huffman coding of
// literals and lengths (the same tree updates as the decoder) and the fixed position code.
//
// The window is modelled as 4036 blanks followed by the input, which is exactly what every
// decoder's ring holds before the stream's first byte; matches never reach further back than
// that prefill, so the ring's remaining 60 bytes (whose initial contents differ between decoders)
// are never read.
#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <vector>

#include "skin/file/LzhTables.h"
#include "skin/file/SkinRead.h"

namespace zelvo {

using namespace lzh;

namespace {

constexpr int kPrefill = TLZH::kFirstWrite;  // blanks before the first byte
constexpr int kHashBits = 15;
constexpr uint32_t kHashMask = (1u << kHashBits) - 1;
constexpr int kMaxDepth = 64;   // tree nodes visited per position searched
constexpr int kSkipDepth = 32;  // and per position only added
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

// Length of the common prefix of `a` and `b`, known to be at least `len`, at most `maxLen`.
// Compares eight bytes at a time; the window carries kSlack spare bytes so this may read past
// its logical end.
constexpr int kSlack = 8;
int CommonLength(const uint8_t* a, const uint8_t* b, int len, int maxLen) {
  while (len < maxLen) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, a + len, sizeof x);
    std::memcpy(&y, b + len, sizeof y);
    if (const uint64_t d = x ^ y; d != 0) {
      const int same = std::endian::native == std::endian::little ? std::countr_zero(d) / 8
                                                                   : std::countl_zero(d) / 8;
      return std::min(len + same, maxLen);
    }
    len += 8;
  }
  return maxLen;
}

struct Match {
  int length = 0;
  uint32_t distance = 0;
};

// Binary-tree match finder: for each 3-byte hash, the window's positions form a search tree
// ordered by the strings that start there (up to the longest match). Inserting a position walks
// the tree once, finding the longest match on the way and splitting the tree around the new node,
// so runs and repeated rows cost about as little as text. Tree slots are reused cyclically; a node
// further back than the ring is never followed.
class MatchFinder {
 public:
  // `window` holds `size` bytes plus kSlack spare ones.
  MatchFinder(const TByteVector& window, int size)
      : w_(window), size_(size), head_(size_t{1} << kHashBits, -1), tree_(2 * kSlots, -1) {}

  // Longest match for `pos` (nearest among equals found), then adds `pos`. Positions are
  // visited in order, each once, through At or SkipTo.
  Match At(int pos) {
    next_ = pos + 1;
    return Walk(pos, kMaxDepth);
  }
  // Positions inside a match are only added, with a shallower walk: they matter less as
  // match sources than as tree nodes.
  void SkipTo(int pos) {
    while (next_ < pos) Walk(next_++, kSkipDepth);
  }
  int Next() const { return next_; }

 private:
  Match Walk(int pos, int maxDepth) {
    Match best;
    const int maxLen = std::min<int>(F, size_ - pos);
    if (maxLen < kMinMatch) return best;
    const uint8_t* cur = w_.data() + pos;
    const uint32_t h = ((uint32_t{cur[0]} << 10) ^ (uint32_t{cur[1]} << 5) ^ cur[2] ^
                        (uint32_t{cur[0]} >> 3)) & kHashMask;
    int cand = head_[h];
    head_[h] = pos;
    // The new node's two subtrees, strings below and above it, filled in as the walk goes.
    int* below = &tree_[2 * (pos & (kSlots - 1))];
    int* above = below + 1;
    int lenBelow = 0;
    int lenAbove = 0;
    int bestLen = kMinMatch - 1;
    for (int depth = maxDepth;; --depth) {
      // A source may lie the whole ring back (distance N): the ring slot it occupies is read
      // before the copy's first byte overwrites it.
      if (cand < 0 || pos - cand > N || depth == 0) {
        *below = *above = -1;
        break;
      }
      const uint8_t* p = w_.data() + cand;
      const int len = CommonLength(p, cur, std::min(lenBelow, lenAbove), maxLen);
      int* pair = &tree_[2 * (cand & (kSlots - 1))];
      if (len > bestLen) {
        bestLen = len;
        best.length = len;
        best.distance = static_cast<uint32_t>(pos - cand);
        if (len == maxLen) {  // same string: the new node takes over the old one's subtrees
          *below = pair[0];
          *above = pair[1];
          break;
        }
      }
      if (p[len] < cur[len]) {
        *below = cand;
        below = pair + 1;
        cand = *below;
        lenBelow = len;
      } else {
        *above = cand;
        above = pair;
        cand = *above;
        lenAbove = len;
      }
    }
    return best;
  }

  // Twice the ring, so the node a full ring back still has its own slot when `pos` is added.
  static constexpr int kSlots = 2 * N;

  const TByteVector& w_;
  int size_;
  std::vector<int> head_;
  std::vector<int> tree_;  // two children per slot
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
    window.reserve(kPrefill + input.size() + kSlack);
    output.reserve(input.size() / 2 + 64);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemoryText);
  }
  window.assign(kPrefill, ' ');
  window.insert(window.end(), input.begin(), input.end());
  const int end = static_cast<int>(window.size());
  window.resize(window.size() + kSlack, 0);

  HuffmanTree& t = *tree_;
  t.Start();
  Encoder enc(t, output);
  MatchFinder finder(window, end);
  int pos = kPrefill;
  finder.SkipTo(pos);  // the blank prefill is part of the window
  Match cur = finder.At(pos);
  while (pos < end) {
    if (cur.length >= kMinMatch && enc.Worthwhile(cur, &window[pos])) {
      // Lazy step: a longer match one byte later is worth a literal now.
      if (cur.length < F && pos + 1 < end) {
        const Match next = finder.At(pos + 1);
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
    if (pos < end) {
      finder.SkipTo(pos);
      cur = finder.At(pos);
    }
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
