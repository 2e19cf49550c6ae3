# The skinned window frame of top-level windows. It works for the skin manager, and is built (with
# its Wine tests) once the manager's unit is in the tree. The tests learn it from a definition on
# their command line, so a compiler cache never hands back an object made without the manager.
if(EXISTS ${CMAKE_SOURCE_DIR}/skin/SkinManage.h)
  list(APPEND ZELVO_WIN_SOURCES skin/FormSkin.cpp)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/win32/skin/FormSkinTest.cpp
                              ${CMAKE_SOURCE_DIR}/tests/win32/skin/MdiSkinTest.cpp PROPERTIES
                              COMPILE_DEFINITIONS ZELVO_HAVE_SKIN_MANAGE=1)
endif()
