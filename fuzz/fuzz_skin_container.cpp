// Any bytes as a skin container (and, from the first byte's choice, as a raw -lh1- stream, a
// decoded payload, or data to compress): the reader must neither crash nor read or allocate out
// of bounds, whatever it accepts must be consistent, and any data must survive encoding and
// decoding (the encoder walks the code tree upwards, the decoder through its lookup table, so
// this also checks one against the other).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_limits.h"
#include "skin/file/SkinRead.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Explore(const zelvo::TSkinReader& reader) {
  zelvo::TByteVector out;
  std::string name;
  for (size_t i = 0; i < reader.Count(); ++i) {
    Check(reader.Entry(i).size() == reader.Size(i));
    Check(reader.ExtractByName(reader.Name(i), out));
  }
  if (reader.ExtractByPart(".ini", out, name)) Check(name.find(".ini") != std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const zelvo::TByteSpan rest(data + 1, size - 1);
  zelvo::TSkinReader reader;
  try {
    switch (data[0] % 4) {
      case 0:  // a whole container, as a skin file or the stored stream
        if (reader.Load(rest)) Explore(reader);
        break;
      case 1: {  // a raw stream with a small declared size: the decoder alone
        if (rest.size() < 2) return 0;
        const uint32_t want = rest[0] | (rest[1] << 8);
        const zelvo::TByteVector out = zelvo::LzhDecode(rest.subspan(2), want);
        Check(out.size() == want);
        break;
      }
      case 2:  // a decoded payload: the container structure alone
        if (reader.LoadPayload(rest)) Explore(reader);
        break;
      default: {  // data to pack: it must come back unchanged
        const zelvo::TByteVector packed = zelvo::LzhEncode(rest);
        const zelvo::TByteVector back = zelvo::LzhDecode(packed, static_cast<uint32_t>(rest.size()));
        Check(back.size() == rest.size() && std::equal(back.begin(), back.end(), rest.begin()));
        break;
      }
    }
  } catch (const zelvo::Exception&) {
    // Rejected with a message: fine.
  }
  return 0;
}
