# The release package signed with a throwaway certificate, verified, its
# signed DLL's spine run in each lane, and the unsigned package unchanged
# by it. Needs both cross builds (make dist packs both) and the Wine rig.
if(WIN32_BUILD_DIR AND WIN64_BUILD_DIR)
  add_test(NAME release.signed
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-signing.sh ${WIN32_BUILD_DIR} ${WIN64_BUILD_DIR}
                   ${CMAKE_BINARY_DIR}/signing-check)
  set_tests_properties(release.signed PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE
                       LABELS "wine;release" SKIP_RETURN_CODE 77)
endif()
