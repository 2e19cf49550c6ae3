# The control skins and skinned menu items of skinned windows (built with the form skin that owns
# them).
if(EXISTS ${CMAKE_SOURCE_DIR}/skin/FormSkin.cpp)
  list(APPEND ZELVO_WIN_SOURCES skin/ControlSkins.cpp skin/ControlSkinsScroll.cpp skin/ControlSkinsLists.cpp
              skin/MenuSkin.cpp)
endif()
