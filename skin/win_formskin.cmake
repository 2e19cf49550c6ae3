# The skinned window frame of top-level windows. It works for the skin manager, and is built once
# the manager's unit is in the tree.
if(EXISTS ${CMAKE_SOURCE_DIR}/skin/SkinManage.h)
  list(APPEND ZELVO_WIN_SOURCES skin/FormSkin.cpp)
endif()
