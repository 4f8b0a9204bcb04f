# Included by the native build: a short run of each fuzz target of the fuzz
# build, from the seed corpus in the repository, so regressions show in CI.
file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" corpus ${name})
  add_test(NAME fuzz.${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tools/fuzz-run.sh ${FUZZ_BUILD_DIR}/${name}
                   ${PROJECT_SOURCE_DIR}/tests/fuzz/seeds/${corpus} ${CMAKE_BINARY_DIR}/fuzz-corpus/${corpus} 3)
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 120 LABELS fuzz)
endforeach()
