# The reference in docs/ against the DLL. The cross build adds the catalogue
# dump; the native build registers the check that compares the pages with
# what the DLL registers and writes, run under Wine by the stand-in host.
if(WIN32)
  add_executable(catalogue_dump ${CMAKE_CURRENT_LIST_DIR}/catalogue_dump.cpp)
  target_link_options(catalogue_dump PRIVATE ${VEL_WIN_LINK_OPTIONS})
  add_dependencies(catalogue_dump VelDialogs)
elseif(NOT VEL_FUZZ)
  foreach(lane ${VEL_LANES_BUILT})
    vel_lane_test(${lane} docs${lane}.reference 300
                  ${CMAKE_CURRENT_LIST_DIR}/check-docs.sh ${WIN${lane}_BUILD_DIR})
    # The pages quote the English interface, as the transcripts do.
    set_tests_properties(docs${lane}.reference PROPERTIES ENVIRONMENT LC_ALL=C.UTF-8)
  endforeach()
  # The release package as a script author opens it: README.txt, and every
  # HTML page in headless Chromium (a few seconds); the pictures it takes
  # stay in package-check/shots.
  if(WIN32_BUILD_DIR AND WIN64_BUILD_DIR)
    add_test(NAME docs.package
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-package.sh ${WIN32_BUILD_DIR} ${WIN64_BUILD_DIR}
                     ${CMAKE_BINARY_DIR}/package-check)
    set_tests_properties(docs.package PROPERTIES TIMEOUT 300 LABELS docs)
  endif()
endif()
