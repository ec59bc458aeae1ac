# End-to-end runs of the real game under the suite's X server: real input through
# xdotool, checked through screenshots, "dat.bin" and the recorded sound.
foreach(script screens silent)
  bm_add_script_test(NAME e2e_${script} SCRIPT ${CMAKE_SOURCE_DIR}/tests/e2e/${script}.sh LABELS e2e)
endforeach()
# The fetch waits on game time and on the sound recording: under a sanitizer the
# frames are too slow for its clock, so the sanitizer pass leaves it out
# (label "realtime"); the same paths run there through the frame tests.
bm_add_script_test(NAME e2e_fetch SCRIPT ${CMAKE_SOURCE_DIR}/tests/e2e/fetch.sh LABELS "e2e;realtime")
