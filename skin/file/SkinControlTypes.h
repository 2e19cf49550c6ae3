// The kinds of control and menu a skin component may draw, and sets of them. Portable: the
// component stores the set and the control-skin choice rules read it.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace zelvo {

// Kinds of control and menu the skin may draw; a set of them is a bit set, bit n = ordinal n.
enum class TSkinControlType : uint8_t {
  xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
  xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab,
  xcSystemMenu, xcFastReport
};
inline constexpr int kSkinControlTypeCount = 19;

class TSkinControlTypes {
 public:
  constexpr TSkinControlTypes() = default;
  constexpr TSkinControlTypes(std::initializer_list<TSkinControlType> members) {
    for (TSkinControlType m : members) bits_ |= Bit(m);
  }
  // Bits beyond the 19 members are dropped.
  static constexpr TSkinControlTypes FromBits(uint32_t bits) {
    TSkinControlTypes s;
    s.bits_ = bits & kAllBits;
    return s;
  }
  static constexpr TSkinControlTypes All() { return FromBits(kAllBits); }
  constexpr uint32_t Bits() const { return bits_; }
  constexpr bool Contains(TSkinControlType m) const { return (bits_ & Bit(m)) != 0; }
  constexpr TSkinControlTypes& Include(TSkinControlType m) { bits_ |= Bit(m); return *this; }
  constexpr TSkinControlTypes& Exclude(TSkinControlType m) { bits_ &= ~Bit(m); return *this; }
  constexpr TSkinControlTypes Without(TSkinControlType m) const { return FromBits(bits_ & ~Bit(m)); }
  constexpr bool operator==(const TSkinControlTypes&) const = default;

 private:
  static constexpr uint32_t kAllBits = (1u << kSkinControlTypeCount) - 1;
  static constexpr uint32_t Bit(TSkinControlType m) { return 1u << static_cast<unsigned>(m); }
  uint32_t bits_ = 0;
};

// Every member except xcFastReport: the component's default.
inline constexpr TSkinControlTypes kDefaultSkinControls =
    TSkinControlTypes::All().Exclude(TSkinControlType::xcFastReport);

}  // namespace zelvo
