// Skin container writer (the pack tool's side of the format read in SkinRead.cpp).

#include "skin/file/SkinRead.h"

namespace zelvo {

namespace {

void PutU32(TByteVector& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

void TSkinWriter::Add(std::string name, TByteVector data) {
  if (name.empty()) throw ESkinFileError("A skin entry needs a name");
  if (name.find_first_of("\r\n") != std::string::npos) {
    throw ESkinFileError("A skin entry name may not contain a line break");
  }
  if (names_.size() >= kSkinMaxEntries) {
    throw ESkinFileError("A skin holds at most " + std::to_string(kSkinMaxEntries) + " entries");
  }
  if (data.size() > kLzhMaxDecodedSize) {
    throw ESkinFileError("Skin entry \"" + name + "\" is larger than " +
                         std::to_string(kLzhMaxDecodedSize) + " bytes");
  }
  names_.push_back(std::move(name));
  data_.push_back(std::move(data));
}

TByteVector TSkinWriter::Payload() const {
  std::string list;
  for (const std::string& n : names_) list += n + "\r\n";
  uint64_t total = 16 + list.size() + 4 * names_.size();
  for (const TByteVector& d : data_) total += d.size();
  if (total > kLzhMaxDecodedSize) {
    throw ESkinFileError("The skin's " + std::to_string(total) +
                         " bytes are above the limit of " + std::to_string(kLzhMaxDecodedSize) +
                         " bytes");
  }
  TByteVector out;
  out.reserve(static_cast<size_t>(total));
  PutU32(out, kSkinContainerVersion);
  PutU32(out, static_cast<uint32_t>(list.size()));
  PutU32(out, 0);
  PutU32(out, 0);
  out.insert(out.end(), list.begin(), list.end());
  for (const TByteVector& d : data_) PutU32(out, static_cast<uint32_t>(d.size()));
  for (const TByteVector& d : data_) out.insert(out.end(), d.begin(), d.end());
  return out;
}

TByteVector TSkinWriter::Container() const { return SkinContainerEncode(Payload()); }

TByteVector SkinContainerEncode(TByteSpan payload) {
  if (payload.size() > kLzhMaxDecodedSize) {
    throw ElzhException("LZH : " + std::to_string(payload.size()) +
                        " bytes are above the limit of " + std::to_string(kLzhMaxDecodedSize) +
                        " bytes");
  }
  TByteVector out;
  PutU32(out, static_cast<uint32_t>(payload.size()));
  const TByteVector packed = LzhEncode(payload);
  out.insert(out.end(), packed.begin(), packed.end());
  return out;
}

}  // namespace zelvo
