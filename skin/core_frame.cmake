# Portable window-frame core: nine-part rendering, regions, the frame arithmetic and composition.
zelvo_core_part(skinframe SOURCES
  skin/NinePart.cpp
  skin/FormSkin_core.cpp
  skin/SkinPreview.cpp
  DEPENDS skindata
)
