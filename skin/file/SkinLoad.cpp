#include "skin/file/SkinLoad.h"

#include <new>

namespace zelvo {

TSkinLoadResult LoadSkinFromReader(const TSkinReader& reader, TSkinObjects& skin) {
  TSkinLoadResult result;
  TByteVector description;
  std::string name;
  // The first entry whose name contains ".ini" is the description.
  if (!reader.ExtractByPart(".ini", description, name)) {
    skin = TSkinObjects();
    result.Status = TSkinLoadStatus::NoDescription;
    result.Message = "The skin holds no description (no entry whose name contains \".ini\")";
    return result;
  }
  try {
    const std::string_view text(reinterpret_cast<const char*>(description.data()), description.size());
    ParseSkinDescription(text, TSkinReaderEntries(reader), skin);
  } catch (const Exception& e) {
    skin = TSkinObjects();
    result.Status = TSkinLoadStatus::Damaged;
    result.Message = e.Message();
    return result;
  } catch (const std::bad_alloc&) {
    skin = TSkinObjects();
    result.Status = TSkinLoadStatus::Damaged;
    result.Message = kSkinNoMemoryText;
    return result;
  }
  skin.DescriptionName = name;
  result.Status = TSkinLoadStatus::Loaded;
  return result;
}

TSkinLoadResult LoadSkin(TByteSpan container, TSkinObjects& skin) {
  TSkinReader reader;
  TSkinLoadResult result;
  try {
    if (!reader.Load(container)) {
      skin = TSkinObjects();
      result.Status = TSkinLoadStatus::OlderVersion;
      result.Message = kSkinOlderVersionText;
      return result;
    }
  } catch (const Exception& e) {
    skin = TSkinObjects();
    result.Status = TSkinLoadStatus::Damaged;
    result.Message = e.Message();
    return result;
  } catch (const std::bad_alloc&) {
    skin = TSkinObjects();
    result.Status = TSkinLoadStatus::Damaged;
    result.Message = kSkinNoMemoryText;
    return result;
  }
  return LoadSkinFromReader(reader, skin);
}

}  // namespace zelvo
