# The program's resources, compiled once and linked into register.exe and the Win32 tests.
add_library(zelvo_resources OBJECT ${CMAKE_SOURCE_DIR}/resources/resources.rc)
# Every picture, icon and glyph the script names: a changed file rebuilds the resources.
file(GLOB_RECURSE zelvo_resource_files CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/resources/*.bmp ${CMAKE_SOURCE_DIR}/resources/*.ico ${CMAKE_SOURCE_DIR}/resources/*.manifest)
list(FILTER zelvo_resource_files EXCLUDE REGEX "/resources/skin/")  # packed separately
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/resources.rc PROPERTIES
  OBJECT_DEPENDS "${zelvo_resource_files}")
target_include_directories(zelvo_resources PRIVATE ${CMAKE_SOURCE_DIR}/resources)
