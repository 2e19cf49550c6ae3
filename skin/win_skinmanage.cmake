# The skin manager (window hook, popup-menu skins, scheduled actions).
list(APPEND ZELVO_WIN_SOURCES skin/SkinManage.cpp)
# The manager makes form skins once the form skin is part of the build; until then it skins no
# window (its factory can still be replaced).
if(EXISTS ${CMAKE_SOURCE_DIR}/skin/FormSkin.cpp)
  set_source_files_properties(skin/SkinManage.cpp PROPERTIES COMPILE_DEFINITIONS ZELVO_HAVE_FORM_SKIN=1)
endif()
list(APPEND ZELVO_WIN_SOURCES skin/SkinMenuBar.cpp)
