# The card printed for real (cross build only): a private CUPS daemon with a PDF printer is the
# default printer of a Wine prefix of the test's own; a small driver program shows the
# registration form and prints through the form's real print path; the script checks the PDF.
if(CMAKE_CROSSCOMPILING)
  add_executable(e2e_print_driver ${CMAKE_SOURCE_DIR}/tests/e2e/print_card_driver.cpp
                 $<TARGET_OBJECTS:zelvo_resources>)
  zelvo_warnings(e2e_print_driver)
  target_link_libraries(e2e_print_driver PRIVATE zelvo_win zelvo_core ${ZELVO_WIN_LIBS})
  add_test(NAME e2e_print
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/print_e2e.sh $<TARGET_FILE:e2e_print_driver>)
  set_tests_properties(e2e_print PROPERTIES LABELS e2e TIMEOUT 300 RUN_SERIAL TRUE)
endif()
