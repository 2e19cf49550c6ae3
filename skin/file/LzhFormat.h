// The -lh1- stream's fixed sizes: the ring, the match lengths and the adaptive Huffman tree over
// the literal/length symbols. Shared by the coder's public class and its internal tables.
#pragma once

namespace zelvo::lzh {

inline constexpr int kRingSize = 4096;                            // N
inline constexpr int kMaxMatch = 60;                              // F
inline constexpr int kThreshold = 2;                              // a match is longer than this
inline constexpr int kFirstWrite = kRingSize - kMaxMatch;         // 4036; ring starts all blanks
inline constexpr int kCharCount = 256 - kThreshold + kMaxMatch;   // 314 symbols
inline constexpr int kTreeSize = 2 * kCharCount - 1;              // 627 nodes
inline constexpr int kRoot = kTreeSize - 1;                       // 626
inline constexpr unsigned kMaxFreq = 0x8000;  // root frequency that triggers the tree rebuild

}  // namespace zelvo::lzh
