# skingallery.exe, built beside register.exe: one skinned window with every kind of control the
# skin engine draws, a main menu and a popup menu, for skin authors (tools/skingallery).
if(CMAKE_CROSSCOMPILING AND NOT ZELVO_FUZZ)
  add_executable(skingallery WIN32 ${CMAKE_SOURCE_DIR}/tools/skingallery/skingallery.cpp
                 $<TARGET_OBJECTS:zelvo_resources>)
  zelvo_warnings(skingallery)
  target_link_libraries(skingallery PRIVATE zelvo_win zelvo_core ${ZELVO_WIN_LIBS})
  target_link_options(skingallery PRIVATE -s)
endif()
if(CMAKE_CROSSCOMPILING AND NOT ZELVO_FUZZ)
  # The gallery started as a skin author starts it: its skinned window shows, is saved as a
  # screenshot and closes with Alt+F4.
  add_test(NAME e2e_gallery
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/register_e2e.sh gallery $<TARGET_FILE:skingallery>)
  set_tests_properties(e2e_gallery PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE)
endif()
