# Portable skin data: BMP decoding, the skin objects and the description parser.
zelvo_core_part(skindata SOURCES
  skin/Bmp.cpp
  skin/SkinObjects.cpp
  skin/SkinDescription.cpp
  DEPENDS util
)
