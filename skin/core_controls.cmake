# Portable rules of the skinned controls and menu items: the control-skin choice and the geometry
# the Windows control skins draw with.
zelvo_core_part(skincontrols SOURCES
  skin/ControlSkins_core.cpp
  skin/MenuSkin_core.cpp
  DEPENDS skindata framework
)
