#include "skin/file/SkinLoad.h"

#include <new>
#include <string>
#include <utility>

namespace zelvo {

namespace {
// A refused skin: the objects are emptied so that nothing half-loaded is used.
TSkinLoadResult Refused(TSkinObjects& skin, TSkinLoadStatus status, std::string message) {
  skin = TSkinObjects();
  TSkinLoadResult result;
  result.Status = status;
  result.Message = std::move(message);
  return result;
}

// Runs one step of the load; a damaged skin, or one too large for memory, is refused.
template <typename Step>
bool Guarded(TSkinObjects& skin, TSkinLoadResult& refusal, Step step) {
  try {
    step();
    return true;
  } catch (const Exception& e) {
    refusal = Refused(skin, TSkinLoadStatus::Damaged, e.Message());
  } catch (const std::bad_alloc&) {
    refusal = Refused(skin, TSkinLoadStatus::Damaged, kSkinNoMemoryText);
  }
  return false;
}
}  // namespace

TSkinLoadResult LoadSkinFromReader(const TSkinReader& reader, TSkinObjects& skin) {
  TByteVector description;
  std::string name;
  // The first entry whose name contains ".ini" is the description.
  if (!reader.ExtractByPart(".ini", description, name)) {
    return Refused(skin, TSkinLoadStatus::NoDescription,
                   "The skin holds no description (no entry whose name contains \".ini\")");
  }
  TSkinLoadResult result;
  if (!Guarded(skin, result, [&] {
        const std::string_view text(reinterpret_cast<const char*>(description.data()), description.size());
        ParseSkinDescription(text, TSkinReaderEntries(reader), skin);
      })) {
    return result;
  }
  skin.DescriptionName = name;
  result.Status = TSkinLoadStatus::Loaded;
  return result;
}

TSkinLoadResult LoadSkin(TByteSpan container, TSkinObjects& skin) {
  TSkinReader reader;
  TSkinLoadResult result;
  bool current = false;
  if (!Guarded(skin, result, [&] { current = reader.Load(container); })) return result;
  if (!current) return Refused(skin, TSkinLoadStatus::OlderVersion, kSkinOlderVersionText);
  return LoadSkinFromReader(reader, skin);
}

}  // namespace zelvo
