# vel_lane_test(LANE NAME TIMEOUT COMMAND...): a test that runs under Wine in
# one lane (32 or 64) through tools/lane-run.sh, which sets the lane's Wine
# up, or exits 77 where the run leaves the lane out: CTest then reports the
# test as skipped. Wine tests share one X display and run one at a time.
function(vel_lane_test lane name timeout)
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tools/lane-run.sh ${lane} ${WIN${lane}_BUILD_DIR} ${ARGN})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout} RUN_SERIAL TRUE
                       LABELS "wine;lane${lane}" SKIP_RETURN_CODE 77)
endfunction()

# The lanes whose cross build this tree knows of.
set(VEL_LANES_BUILT)
foreach(lane 32 64)
  if(WIN${lane}_BUILD_DIR)
    list(APPEND VEL_LANES_BUILT ${lane})
  endif()
endforeach()
