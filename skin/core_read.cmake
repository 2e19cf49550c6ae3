# Portable skin container: the -lh1- coder, the container reader and writer.
zelvo_core_part(skinread SOURCES
  skin/SkinRead.cpp
  skin/LzhCompress.cpp
  skin/SkinWrite.cpp
  DEPENDS util
)
