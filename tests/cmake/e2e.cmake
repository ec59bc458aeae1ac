# End-to-end runs of the real game under the suite's X server: real input through
# xdotool, checked through screenshots, "dat.bin" and the recorded sound.
foreach(script fetch screens silent)
  bm_add_script_test(NAME e2e_${script} SCRIPT ${CMAKE_SOURCE_DIR}/tests/e2e/${script}.sh LABELS e2e)
endforeach()
