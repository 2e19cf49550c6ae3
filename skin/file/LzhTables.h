// Internal to the -lh1- coder (SkinRead.cpp, LzhCompress.cpp): the adaptive Huffman tree and the
// fixed position code. Not part of the public skin API.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "skin/file/LzhFormat.h"

namespace zelvo::lzh {

inline constexpr int N = kRingSize;
inline constexpr int F = kMaxMatch;
inline constexpr int kChars = kCharCount;  // 314 leaves
inline constexpr int T = kTreeSize;        // 627 nodes
inline constexpr int R = kRoot;            // 626

// A position (0..4095, the copy source lies position+1 bytes back) is sent as its upper 6 bits
// through a fixed prefix code, then its lower 6 bits as they are. The decoder looks at the next
// 8 bits: `upper[b]` is the upper 6 bits they start with and `length[b]` the prefix code's length
// (3 to 8 bits). Short codes go to near positions: 1 upper value has a 3-bit code, 3 have 4 bits,
// 8 have 5, 12 have 6, 24 have 7 and the last 16 have 8 bits.
struct PositionCode {
  std::array<uint8_t, 256> upper{};
  std::array<uint8_t, 256> length{};
  std::array<uint8_t, 64> encodeLength{};  // by upper value
  std::array<uint8_t, 64> encodeBits{};    // the prefix code, right-aligned
};

constexpr PositionCode MakePositionCode() {
  constexpr int kGroups[6][2] = {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}};
  PositionCode pc;
  int code = 0;   // next free 8-bit pattern
  int value = 0;  // next upper-6-bit value
  for (const auto& g : kGroups) {
    const int len = g[1];
    const int span = 1 << (8 - len);
    for (int k = 0; k < g[0]; ++k, ++value) {
      pc.encodeLength[value] = static_cast<uint8_t>(len);
      pc.encodeBits[value] = static_cast<uint8_t>(code >> (8 - len));
      for (int i = 0; i < span; ++i, ++code) {
        pc.upper[code] = static_cast<uint8_t>(value);
        pc.length[code] = static_cast<uint8_t>(len);
      }
    }
  }
  return pc;
}

inline constexpr PositionCode kPositionCode = MakePositionCode();

// The adaptive Huffman tree of the 314 literal/length symbols. Nodes are kept in order of
// non-decreasing frequency (sibling property); `son[n]` is the first of a node's two children
// (the second is son[n] + 1), or symbol + T for a leaf; `prnt` maps nodes and leaves (at
// symbol + T) to their parent.
struct HuffmanTree {
  // Where a climb from a leaf ends: the root's parent, a place outside the tree that is its own
  // parent and counts anything without ever breaking the order (the count after it is 0xFFFF).
  static constexpr size_t kAboveRoot = T + kChars;
  // After the nodes, 0xFFFF everywhere (kAboveRoot's own count aside): the first eight are the
  // sentinels that end the update's scan, read eight at a time.
  uint16_t freq[kAboveRoot + 2];
  uint16_t prnt[kAboveRoot + 1];
  uint16_t son[T];
  // Positions whose subtrees were exchanged by a swap that was not between two leaves and that
  // touched a position marked in `shallow`, and whether the tree was rebuilt, since the last
  // Settled(): the decoder's lookup table follows the tree's shape through them.
  uint16_t moved[2 * T];
  // Positions the lookup table expands (within its first levels, set by the table): a swap
  // between two positions that are both unmarked does not change the table. Marks may outlive
  // their position's move downwards; that only costs a refresh that finds nothing to do.
  uint8_t shallow[T];
  int movedCount = 0;
  bool rebuilt = false;

  void Start();
  void Rebuild();
  void Settled() {
    movedCount = 0;
    rebuilt = false;
  }

  // Counts one more occurrence of symbol `c`, keeping the tree ordered; rebuilds it first when
  // the root has reached kMaxFreq. Inline: it runs once per symbol on both sides.
  void Update(int c) {
    if (freq[R] == kMaxFreq) Rebuild();
    UpdateFrom(prnt[c + T]);
  }
  // The same for the symbol whose leaf is at position `c`, when the root is below kMaxFreq (the
  // decoder knows the position from its walk, which saves a lookup).
  void UpdateFrom(size_t c) {
    while (c != kAboveRoot) c = CountUp(c);
  }
  // The same when the leaf's depth is known (the decoder's walk measured it): the climb takes
  // depth + 1 steps unless a swap moves it, so it first takes that many, counted. The loop then
  // ends on a counter that is known at once, not on the end of the chain of parent loads, so a
  // mispredicted end is found and left early while the loads are still under way. Steps past
  // the root stay above it; steps short of it are taken by the loop after, which is rarely
  // entered.
  void UpdateFromLeaf(size_t c, unsigned depth) {
    for (unsigned n = depth + 1; n != 0; --n) c = CountUp(c);
    UpdateFrom(c);
  }

  // Depth of a symbol's leaf, i.e. the length of its current code in bits.
  int CodeLength(int c) const {
    int len = 0;
    for (int k = prnt[c + T]; k != R; k = prnt[k]) ++len;
    return len;
  }

 private:
  // One step of the climb: counts the node at `c` once more, keeps the order and returns the
  // parent. Positions are unsigned and word-sized, so the step up is a single load.
  size_t CountUp(size_t c) {
    const uint16_t k = ++freq[c];
    // When the order breaks, swap this node with the last one of lower frequency.
    if (k > freq[c + 1]) c = SwapUp(c, k);
    return prnt[c];
  }
  // The node at `c`, just counted up to `k`, breaks the order: it changes places with the last
  // node of lower frequency. Returns its new position.
  size_t SwapUp(size_t c, uint16_t k) {
    // The nodes after c up to l all count k - 1 (c did before; the counts are in order), and so
    // does c + 1, or the order would still hold. The run's length follows the data, so where
    // the processor compares eight counts at once it is measured that way: one test, rarely
    // repeated, instead of a branch per node whose exit is mispredicted at almost every swap.
    size_t l = c + 2;
#if defined(__SSE2__)
    const __m128i run = _mm_set1_epi16(static_cast<short>(k - 1));
    for (;; l += 8) {
      const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&freq[l]));
      const unsigned same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(w, run)));
      if (same != 0xFFFF) {
        l += static_cast<size_t>(std::countr_one(same) >> 1);
        break;
      }
    }
#else
    while (k > freq[l]) ++l;
#endif
    --l;
    freq[c] = freq[l];
    freq[l] = k;

    const size_t i = son[c];
    const size_t j = son[l];
    if ((i < T || j < T) && (shallow[c] | shallow[l])) NoteMoved(c, l);
    prnt[i] = static_cast<uint16_t>(l);
    if (i < T) prnt[i + 1] = static_cast<uint16_t>(l);
    son[l] = static_cast<uint16_t>(i);
    prnt[j] = static_cast<uint16_t>(c);
    if (j < T) prnt[j + 1] = static_cast<uint16_t>(c);
    son[c] = static_cast<uint16_t>(j);
    return l;
  }
  void NoteMoved(size_t a, size_t b) {
    if (movedCount + 2 > 2 * T) {
      rebuilt = true;  // more than the list holds: treat it as a rebuild
      return;
    }
    moved[movedCount++] = static_cast<uint16_t>(a);
    moved[movedCount++] = static_cast<uint16_t>(b);
  }
};

}  // namespace zelvo::lzh
