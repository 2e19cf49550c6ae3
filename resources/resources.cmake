# The program's resources, compiled once and linked into register.exe and the Win32 tests.
add_library(zelvo_resources OBJECT ${CMAKE_SOURCE_DIR}/resources/resources.rc)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/resources.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/MainBack.bmp;${CMAKE_SOURCE_DIR}/resources/register.ico;${CMAKE_SOURCE_DIR}/resources/register.manifest")
target_include_directories(zelvo_resources PRIVATE ${CMAKE_SOURCE_DIR}/resources)
