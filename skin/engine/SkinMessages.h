// The window-message numbers the skin engine uses and nobody else defines.
//
// The private ones are fixed: skin objects of this process talk to each other through them, and
// a window answers SKIN_QUERY to say that it is already skinned. The system ones are messages the
// platform's headers do not name. Plain integers on purpose, so any engine unit can include this
// without pulling in anything else.
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

// Asks a popup-menu window ("#32768") for the menu it shows.
inline constexpr unsigned kMenuGetMenu = 0x01E1;
// The MDI client posts itself this message to recompute its scroll ranges after a child moved or
// was sized (maximized, restored, minimized).
inline constexpr unsigned kMdiCalcChildScroll = 0x003F;

}  // namespace zelvo
