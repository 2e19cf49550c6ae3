// -lh1- decoder and skin container reader.
#include "skin/file/SkinRead.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "skin/file/LzhTables.h"
#include "util/Util.h"

namespace zelvo {

using namespace lzh;

namespace {

// Zero bytes are supplied past the end of the compressed data (an encoder's last byte may end
// mid-symbol), but a stream needing more than this many of them has run out early.
constexpr size_t kPaddingAllowance = 16;
// Most bytes one input bit can produce: a 60-byte match costs at least one bit for its symbol
// and nine for its position.
constexpr uint64_t kMaxBytesPerInputByte = 8 * F / 10;

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

// Most-significant-first bit reader. `buf` holds `count` valid bits at its top; bits below them
// are either zero or already the following input bits, so a refill may OR whole words in.
class BitReader {
 public:
  explicit BitReader(TByteSpan input) : p_(input.data()), end_(input.data() + input.size()) {}

  void Refill() {
    if (end_ - p_ >= 8) {
      buf_ |= LoadBigEndian64(p_) >> count_;
      const int bytes = (63 - count_) >> 3;
      p_ += bytes;
      count_ += bytes * 8;
      return;
    }
    while (count_ <= 56) {
      uint64_t byte = 0;
      if (p_ < end_) {
        byte = *p_++;
      } else if (++padding_ > kPaddingAllowance + 8) {  // up to 8 may sit unread in the buffer
        throw ElzhException("LZH : Compressed data ends before the declared size");
      }
      buf_ |= byte << (56 - count_);
      count_ += 8;
    }
  }
  unsigned Bit() {
    if (count_ == 0) Refill();
    const unsigned b = static_cast<unsigned>(buf_ >> 63);
    buf_ <<= 1;
    --count_;
    return b;
  }
  // At least n bits (n <= 57) in the buffer.
  void EnsureBits(int n) {
    if (count_ < n) Refill();
  }
  // While eight input bytes remain, tops the buffer up to 56 bits or more whether needed or not
  // and returns true: a refill on every call costs less than a branch on the bit count, which
  // follows the data and so is mispredicted often. Near the end it does nothing and returns
  // false; the caller then refills only as needed, so padding is counted as before.
  bool TopUp() {
    if (end_ - p_ >= 8) [[likely]] {
      buf_ |= LoadBigEndian64(p_) >> count_;
      p_ += (63 - count_) >> 3;
      count_ |= 56;  // count_ + 8 * the bytes just added
      return true;
    }
    return false;
  }
  unsigned Peek(int n) const { return static_cast<unsigned>(buf_ >> (64 - n)); }
  // The buffered bits, next bit at the top; at least `count` of them are valid after EnsureBits.
  uint64_t Buffer() const { return buf_; }
  void Skip(int n) {
    buf_ <<= n;
    count_ -= n;
  }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t buf_ = 0;
  int count_ = 0;
  size_t padding_ = 0;
};

// The first kLookBits bits of a code looked up at once: the position where the walk from the root
// stops (a leaf, or the node reached after kLookBits bits) and how many bits that took. Entries
// name positions, not symbols, so a swap of two leaves leaves the table as it is; only a swap
// that moves a subtree within the table's first levels refreshes the entries below the two
// positions involved. Seven bits pay off best (measured on the bench corpus: six leave more
// codes to the bit-by-bit walk, whose end is mispredicted often; from nine on the refreshes cost
// more than they save; eight is as fast as seven but does more work).
constexpr int kLookBits = 7;
constexpr int kCopyChunks = (F + 15) / 16;  // a whole match in 16-byte chunks
constexpr int kMaxCodeBits = 32;  // a longer code means damaged data (real ones stay near 24)

class CodeLookup {
 public:
  // Brings the table up to date with the tree's changes since the last call.
  void Follow(HuffmanTree& t) {
    if (t.rebuilt) {
      std::memset(t.shallow, 0, sizeof t.shallow);
      Fill(t, R, 0, 0);
    } else {
      for (int k = 0; k < t.movedCount; ++k) Refresh(t, t.moved[k]);
    }
    t.Settled();
  }
  uint16_t Entry(unsigned bits) const { return entry_[bits]; }
  static int Bits(uint16_t entry) { return entry >> 10; }
  static int Position(uint16_t entry) { return entry & 1023; }

 private:
  void Refresh(HuffmanTree& t, int pos) {
    unsigned code = 0;
    int depth = 0;
    for (int p = pos; p != R; p = t.prnt[p], ++depth) {
      // At the table's last level or below: the entries name the same positions as before.
      if (depth >= kLookBits - 1) {
        t.shallow[pos] = 0;
        return;
      }
      code |= static_cast<unsigned>(p - t.son[t.prnt[p]]) << depth;
    }
    Fill(t, pos, code, depth);
  }
  // Marks the positions it expands in t.shallow, so the tree notes the swaps that concern it.
  void Fill(HuffmanTree& t, int pos, unsigned code, int depth) {
    if (depth < kLookBits) t.shallow[pos] = 1;
    if (depth == kLookBits || (depth > 0 && t.son[pos] >= T)) {
      const unsigned first = code << (kLookBits - depth);
      const unsigned count = 1u << (kLookBits - depth);
      const uint16_t e = static_cast<uint16_t>(pos | depth << 10);
      for (unsigned k = 0; k < count; ++k) entry_[first + k] = e;
      return;
    }
    const int child = t.son[pos];
    Fill(t, child, code << 1, depth + 1);
    Fill(t, child + 1, (code << 1) | 1, depth + 1);
  }
  uint16_t entry_[1 << kLookBits];
};

}  // namespace

// ---- The adaptive Huffman tree ----

void HuffmanTree::Start() {
  for (int i = 0; i < kChars; ++i) {
    freq[i] = 1;
    son[i] = static_cast<uint16_t>(i + T);
    prnt[i + T] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = kChars; j <= R; i += 2, ++j) {
    freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<uint16_t>(i);
    prnt[i] = prnt[i + 1] = static_cast<uint16_t>(j);
  }
  std::fill(std::begin(freq) + T, std::end(freq), uint16_t{0xFFFF});
  freq[kAboveRoot] = 0;  // counted by climbs that overshoot; the 0xFFFF after it stops swaps
  prnt[R] = kAboveRoot;
  prnt[kAboveRoot] = kAboveRoot;
  std::memset(shallow, 0, sizeof shallow);
  rebuilt = true;
  movedCount = 0;
}

void HuffmanTree::Rebuild() {
  rebuilt = true;
  // Gather the leaves at the bottom, halving their counts (rounded up so none becomes zero).
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  // Join pairs from the bottom up; each new node goes in at its place in frequency order.
  for (int i = 0, n = kChars; n < T; i += 2, ++n) {
    const uint16_t f = static_cast<uint16_t>(freq[i] + freq[i + 1]);
    // After the last node of frequency f or less (the counts are in order): a binary search.
    const int k = static_cast<int>(std::upper_bound(&freq[i], &freq[n], f) - &freq[0]);
    const size_t shift = static_cast<size_t>(n - k) * sizeof(uint16_t);
    std::memmove(&freq[k + 1], &freq[k], shift);
    freq[k] = f;
    std::memmove(&son[k + 1], &son[k], shift);
    son[k] = static_cast<uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son[i];
    if (k >= T) {
      prnt[k] = static_cast<uint16_t>(i);
    } else {
      prnt[k] = prnt[k + 1] = static_cast<uint16_t>(i);
    }
  }
}

// ---- TLZH ----

TLZH::TLZH() {
  try {
    tree_ = std::make_unique<HuffmanTree>();
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemoryText);
  }
}

TLZH::~TLZH() = default;

namespace {

void CheckDeclaredSize(TByteSpan input, uint64_t size) {
  if (size > kLzhMaxDecodedSize) {
    throw ElzhException("LZH : Declared size of " + std::to_string(size) +
                        " bytes is above the limit of " + std::to_string(kLzhMaxDecodedSize) +
                        " bytes");
  }
  const uint64_t possible = (static_cast<uint64_t>(input.size()) + kPaddingAllowance) *
                                kMaxBytesPerInputByte + F;
  if (size > possible) {
    throw ElzhException("LZH : " + std::to_string(input.size()) +
                        " bytes of compressed data cannot hold the declared " +
                        std::to_string(size) + " bytes");
  }
}

}  // namespace

void TLZH::Decode(TByteSpan input, uint32_t size, TByteVector& output) {
  output.clear();
  CheckDeclaredSize(input, size);
  try {
    output.resize(size);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemoryText);
  }

  try {
    DecodeInto(input, output);
  } catch (...) {
    output.clear();  // a failed decode leaves nothing half-made behind
    throw;
  }
}

void TLZH::DecodeTo(TByteSpan input, std::span<uint8_t> output) {
  CheckDeclaredSize(input, output.size());
  DecodeInto(input, output);
}

void TLZH::DecodeInto(TByteSpan input, std::span<uint8_t> output) {
  const uint32_t size = static_cast<uint32_t>(output.size());
  HuffmanTree& t = *tree_;
  t.Start();
  CodeLookup lookup;
  lookup.Follow(t);
  BitReader in(input);
  uint8_t* const out = output.data();
  uint32_t pos = 0;
  // The whole output stays in memory, so it serves as the ring: a source before the first output
  // byte lies in the ring's initial contents, which are all blanks.
  if (pos < size) in.EnsureBits(32);
  while (pos < size) {
    // A code is at most about 24 bits long (the root's count stays below 0x8000), so one refill
    // covers the whole walk; the walk reads the buffer directly and skips once at the end.
    // While the input lasts, each symbol starts with at least 10 bits buffered (56 after the
    // last top-up, at most 32 + 14 used since), and the top-up only adds bits below them: the
    // table's bits are taken from the buffer as it was, so the next code's lookup does not wait
    // for the refill.
    static_assert(kLookBits <= 56 - kMaxCodeBits - 14, "the table's bits must be buffered");
    uint64_t before = in.Buffer();
    if (!in.TopUp()) [[unlikely]] {
      in.EnsureBits(32);
      before = in.Buffer();
    }
    const uint64_t ahead = in.Buffer();
    const unsigned top = static_cast<unsigned>(before >> (64 - kLookBits));
    const uint16_t e = lookup.Entry(top);
    int used = CodeLookup::Bits(e);
    unsigned leaf = static_cast<unsigned>(CodeLookup::Position(e));
    unsigned c = t.son[leaf];
    while (c < static_cast<unsigned>(T)) {
      if (used == kMaxCodeBits) throw ElzhException("LZH : Damaged data: a code longer than 32 bits");
      leaf = c + static_cast<unsigned>((ahead << used) >> 63);
      ++used;
      c = t.son[leaf];
    }
    in.Skip(used);
    c -= T;
    if (t.freq[R] == TLZH::kMaxFreq) {
      t.Update(static_cast<int>(c));
    } else {
      t.UpdateFromLeaf(leaf, static_cast<unsigned>(used));
    }
    if (t.movedCount != 0 || t.rebuilt) lookup.Follow(t);
    if (c < 256) {
      out[pos++] = static_cast<uint8_t>(c);
      continue;
    }
    in.EnsureBits(16);  // only near the end of the input: TopUp left 56 bits, a code took 32 or less
    const unsigned lead = in.Peek(8);
    const int bits = kPositionCode.length[lead] + 6;
    const uint32_t distance =
        ((static_cast<uint32_t>(kPositionCode.upper[lead]) << 6) | (in.Peek(bits) & 0x3F)) + 1;
    in.Skip(bits);
    uint8_t* dst = out + pos;
    if (distance <= pos && size - pos >= kCopyChunks * 16) {
      // Away from the output's end a copy may write past its length (the bytes after it are
      // written again before anything reads them), so it goes by whole 16-byte chunks, each
      // read before it is written: with a source at least 16 bytes back that repeats the
      // pattern just as a byte-by-byte copy does.
      const uint32_t len = c - 256 + kThreshold + 1;
      const uint8_t* src = dst - distance;
      if (distance >= 16) {
        static_assert(kCopyChunks == 4, "written out for four chunks");
        std::memcpy(dst, src, 16);
        std::memcpy(dst + 16, src + 16, 16);
        std::memcpy(dst + 32, src + 32, 16);
        std::memcpy(dst + 48, src + 48, 16);
      } else if (distance == 1) {
        std::memset(dst, *src, len);
      } else {
        for (uint32_t k = 0; k < len; ++k) dst[k] = src[k];
      }
      pos += len;
      continue;
    }
    const uint32_t len = std::min<uint32_t>(c - 256 + kThreshold + 1, size - pos);
    if (distance <= pos) {
      const uint8_t* src = dst - distance;
      if (distance >= len) {
        std::memcpy(dst, src, len);
      } else {
        for (uint32_t k = 0; k < len; ++k) dst[k] = src[k];  // overlapping: repeats a pattern
      }
    } else {
      for (uint32_t k = 0; k < len; ++k) {
        const int64_t src = static_cast<int64_t>(pos) + k - distance;
        dst[k] = src < 0 ? uint8_t{' '} : out[src];
      }
    }
    pos += len;
  }
}

TByteVector LzhDecode(TByteSpan input, uint32_t size) {
  TLZH lzh;
  TByteVector out;
  lzh.Decode(input, size, out);
  return out;
}

TByteVector SkinContainerDecode(TByteSpan container) {
  if (container.size() < 4) {
    throw ESkinFileError("Skin data is damaged: " + std::to_string(container.size()) +
                         " bytes are too few for a skin container");
  }
  return LzhDecode(container.subspan(4), ReadU32(container.data()));
}

// ---- TSkinReader ----

namespace {

// Splits text into lines at CR, LF or CR LF; a final line break does not start another line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t j = i;
    while (j < text.size() && text[j] != '\r' && text[j] != '\n') ++j;
    lines.emplace_back(text.substr(i, j - i));
    if (j < text.size() && text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ++j;
    i = j + 1;
  }
  return lines;
}

}  // namespace

void TSkinReader::Clear() {
  names_.clear();
  sizes_.clear();
  offsets_.clear();
  data_.clear();
}

bool TSkinReader::Load(TByteSpan container) {
  Clear();
  return Parse(SkinContainerDecode(container));
}

bool TSkinReader::LoadPayload(TByteSpan payload) {
  Clear();
  return Parse(TByteVector(payload.begin(), payload.end()));
}

bool TSkinReader::Parse(TByteVector payload) {
  const size_t total = payload.size();
  if (total < 16) {
    throw ESkinFileError("Skin data is damaged: its header needs 16 bytes, only " +
                         std::to_string(total) + " are there");
  }
  if (ReadU32(payload.data()) != kSkinContainerVersion) return false;
  const uint32_t nameBytes = ReadU32(payload.data() + 4);
  if (nameBytes > total - 16) {
    throw ESkinFileError("Skin data is damaged: its name list of " + std::to_string(nameBytes) +
                         " bytes goes beyond the data");
  }
  std::string text(reinterpret_cast<const char*>(payload.data() + 16), nameBytes);
  std::vector<std::string> names = SplitLines(LowerAscii(std::move(text)));
  if (names.size() > kSkinMaxEntries) {
    throw ESkinFileError("Skin data holds " + std::to_string(names.size()) +
                         " entries; at most " + std::to_string(kSkinMaxEntries) +
                         " are allowed");
  }
  const size_t tableAt = 16 + static_cast<size_t>(nameBytes);
  const size_t dataAt = tableAt + 4 * names.size();
  if (dataAt > total) {
    throw ESkinFileError("Skin data is damaged: the size table of " +
                         std::to_string(names.size()) + " entries goes beyond the data");
  }
  std::vector<uint32_t> sizes(names.size());
  std::vector<size_t> offsets(names.size());
  uint64_t sum = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    sizes[i] = ReadU32(payload.data() + tableAt + 4 * i);
    offsets[i] = dataAt + static_cast<size_t>(sum);
    sum += sizes[i];
    if (sum > total - dataAt) {
      throw ESkinFileError("Skin data is damaged: entry \"" + names[i] + "\" of " +
                           std::to_string(sizes[i]) + " bytes goes beyond the data");
    }
  }
  data_ = std::move(payload);
  names_ = std::move(names);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  return true;
}

TByteSpan TSkinReader::Entry(size_t index) const {
  return TByteSpan(data_).subspan(offsets_[index], sizes_[index]);
}

bool TSkinReader::ExtractByName(std::string_view name, TByteVector& target) const {
  TByteSpan view;
  const bool found = FindByName(name, view);
  target.assign(view.begin(), view.end());
  return found;
}

bool TSkinReader::FindByName(std::string_view name, TByteSpan& view) const {
  view = {};
  const std::string wanted = LowerAscii(std::string(name));
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == wanted) {
      view = Entry(i);
      return true;
    }
  }
  return false;
}

bool TSkinReader::ExtractByPart(std::string_view part, TByteVector& target,
                                std::string& name) const {
  target.clear();
  name.clear();
  const std::string wanted = LowerAscii(std::string(part));
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].find(wanted) != std::string::npos) {
      const TByteSpan e = Entry(i);
      target.assign(e.begin(), e.end());
      name = names_[i];
      return true;
    }
  }
  return false;
}

}  // namespace zelvo
