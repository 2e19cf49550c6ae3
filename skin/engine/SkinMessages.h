// The skin engine's private window messages. Their numbers are fixed: skin objects of this
// process talk to each other through them, and a window answers SKIN_QUERY to say that it is
// already skinned. Portable on purpose (plain integers), so both the manager and the form skin
// can include it without pulling in anything else.
#pragma once

namespace zelvo {

// Sent to a window; a skinned window or a skinned popup menu answers 1.
inline constexpr unsigned SKIN_QUERY = 0x3504;
// Posted once right after a window has been attached (wParam 0, lParam kSkinInitLParam); the
// form skin runs its deferred set-up (first sizing, region, hover timer) when it arrives.
inline constexpr unsigned SKIN_INIT = 0x3503;
// Repaints the skinned frame.
inline constexpr unsigned SKIN_REPAINTFRAME = 0x3502;
// To a skinned form: re-apply the skin colours to the form and its controls.
inline constexpr unsigned SKIN_RECOLOR = 0x3401;

inline constexpr long kSkinInitLParam = 1000;

}  // namespace zelvo
