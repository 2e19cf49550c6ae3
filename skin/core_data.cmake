# Portable skin data: BMP decoding, the skin objects, the description parser and the whole
# load from container bytes.
zelvo_core_part(skindata SOURCES
  skin/Bmp.cpp
  skin/SkinObjects.cpp
  skin/SkinDescription.cpp
  skin/SkinLoad.cpp
  DEPENDS skinread util
)
