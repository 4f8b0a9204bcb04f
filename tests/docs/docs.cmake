# The reference in docs/ against the DLL. The cross build adds the catalogue
# dump; the native build registers the check that compares the pages with
# what the DLL registers and writes, run under Wine by the stand-in host.
if(WIN32)
  add_executable(catalogue_dump ${CMAKE_CURRENT_LIST_DIR}/catalogue_dump.cpp)
  target_link_options(catalogue_dump PRIVATE ${VEL_WIN_LINK_OPTIONS})
  add_dependencies(catalogue_dump VelDialogs)
elseif(NOT VEL_FUZZ AND WIN32_BUILD_DIR)
  add_test(NAME docs.reference
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-docs.sh ${WIN32_BUILD_DIR})
  set_tests_properties(docs.reference PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS wine)
endif()
