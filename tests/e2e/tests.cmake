# End-to-end scripts driving the real register.exe under Xvfb and Wine (scripts/test.sh provides
# the display and the prefix).
foreach(case click enter-no-settings lowercase-settings silent silent-refused shell-refuses screenshot
             system-menu utf16-settings long-address too-long-address)
  add_test(NAME e2e_${case}
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/register_e2e.sh ${case} $<TARGET_FILE:register>)
  set_tests_properties(e2e_${case} PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE)
endforeach()
