// The skin container: a 4-byte little-endian decoded size followed by an -lh1- compressed stream
// (LZSS over a 4096-byte ring with adaptive Huffman coding of literals and match lengths). The
// decoded payload is a small archive:
//   offset 0   u32 version, always 20000
//   offset 4   u32 L, byte length of the name list
//   offset 8   two reserved u32 values, ignored on reading
//   offset 16  L bytes of entry names, one per line (CR LF)
//   then       u32 size of each entry, in name order
//   then       the entries' bytes back to back, in name order
// Everything here is portable; the decoder, the reader and the writer (for the pack tool) all work
// on byte vectors in memory. All integers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/file/LzhFormat.h"
#include "util/Exceptions.h"

namespace zelvo {

namespace lzh {
struct HuffmanTree;
}

using TByteVector = std::vector<uint8_t>;
using TByteSpan = std::span<const uint8_t>;

// Failures of the compressed layer (memory, declared size out of bounds, truncated stream).
class ElzhException : public Exception {
 public:
  using Exception::Exception;
};

// A container whose structure is damaged (too short, too many entries, sizes beyond the data).
class ESkinFileError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr uint32_t kSkinContainerVersion = 20000;
// The reader's size table holds at most this many entries; a container with more is rejected.
inline constexpr uint32_t kSkinMaxEntries = 1001;
// Largest decoded payload accepted (the program's own skin is about 110 KiB; a skin of large
// bitmaps stays far below this). Checked before anything is allocated.
inline constexpr uint32_t kLzhMaxDecodedSize = 64u * 1024u * 1024u;
// Shown by the caller when Load returns False.
inline constexpr char kSkinOlderVersionText[] = "This is Older Skin File\rPlease update to new version !";
inline constexpr char kLzhNoMemoryText[] = "LZH : Cannot get memory for dictionary tables";

// The -lh1- coder. One object can decode and encode any number of streams in turn; its tables are
// allocated once at construction (ElzhException kLzhNoMemoryText when that fails).
class TLZH {
 public:
  static constexpr int kRingSize = lzh::kRingSize;
  static constexpr int kMaxMatch = lzh::kMaxMatch;
  static constexpr int kThreshold = lzh::kThreshold;
  static constexpr int kFirstWrite = lzh::kFirstWrite;
  static constexpr int kCharCount = lzh::kCharCount;
  static constexpr int kTreeSize = lzh::kTreeSize;
  static constexpr int kRoot = lzh::kRoot;
  static constexpr unsigned kMaxFreq = lzh::kMaxFreq;

  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Decodes `input` until exactly `size` bytes are produced; `output` is replaced by them. Past the
  // end of input zero bytes are supplied, but a stream that runs out well before `size` bytes
  // (more than a few padding bytes used) raises ElzhException, as does `size` above
  // kLzhMaxDecodedSize or above what `input` could possibly expand to; `output` is then empty.
  // The output itself serves as the ring (the whole of it is in memory), with every byte before
  // the first one reading as a blank, as in a ring filled with blanks.
  void Decode(TByteSpan input, uint32_t size, TByteVector& output);
  // The same into memory the caller provides (all of `output` is written; nothing is cleared on
  // failure): for callers that keep the output elsewhere than in a vector.
  void DecodeTo(TByteSpan input, std::span<uint8_t> output);

  // Encodes `input` as an -lh1- stream that any -lh1- reader decodes (matches never reach ring
  // bytes the stream has not written, apart from the blank prefill). `output` is replaced.
  void Encode(TByteSpan input, TByteVector& output);

 private:
  void DecodeInto(TByteSpan input, std::span<uint8_t> output);  // fills all of output

  std::unique_ptr<lzh::HuffmanTree> tree_;
};

// Convenience wrappers around one-off TLZH objects.
TByteVector LzhDecode(TByteSpan input, uint32_t size);
TByteVector LzhEncode(TByteSpan input);

// Whole container <-> payload: the 4-byte decoded size, then the compressed stream.
// SkinContainerDecode raises ElzhException (or ESkinFileError for fewer than 4 bytes).
TByteVector SkinContainerDecode(TByteSpan container);
TByteVector SkinContainerEncode(TByteSpan payload);

// Reads a skin container. Entry names are held lower-cased; lookups take the first match.
class TSkinReader {
 public:
  // Decodes and parses a container. Returns False (nothing loaded) when the version is not
  // 20000; the caller then shows kSkinOlderVersionText. Damaged data raises ElzhException or
  // ESkinFileError with a message saying what is wrong; the reader is then left empty.
  bool Load(TByteSpan container);
  // Same, from an already decoded payload (used by tests and tools).
  bool LoadPayload(TByteSpan payload);

  // Copies the entry whose (lower-cased) name equals the lower-cased `name`; leaves `target`
  // empty and returns False when there is none.
  bool ExtractByName(std::string_view name, TByteVector& target) const;
  // The same as a view into the reader's data (valid until the next Load or Clear).
  bool FindByName(std::string_view name, TByteSpan& view) const;
  // Copies the first entry whose name contains `part` (lower-cased) and returns its name in
  // `name`; `target` and `name` are left empty and False returned when there is none.
  bool ExtractByPart(std::string_view part, TByteVector& target, std::string& name) const;

  size_t Count() const { return names_.size(); }
  const std::string& Name(size_t index) const { return names_[index]; }
  uint32_t Size(size_t index) const { return sizes_[index]; }
  TByteSpan Entry(size_t index) const;  // view into the reader's data, valid until the next Load
  void Clear();

 private:
  bool Parse(TByteVector payload);  // keeps the payload as the entries' storage

  std::vector<std::string> names_;
  std::vector<uint32_t> sizes_;
  std::vector<size_t> offsets_;
  TByteVector data_;  // the whole payload; offsets_ point into it
};

// Builds a container (for the pack tool and tests). Names keep their letter case; a name may not
// be empty or contain CR or LF, and at most kSkinMaxEntries entries fit (ESkinFileError).
class TSkinWriter {
 public:
  void Add(std::string name, TByteVector data);
  size_t Count() const { return names_.size(); }
  TByteVector Payload() const;    // the decoded form
  TByteVector Container() const;  // size + compressed payload, ready to save as a skin file

 private:
  std::vector<std::string> names_;
  std::vector<TByteVector> data_;
};

}  // namespace zelvo
