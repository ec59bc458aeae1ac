# End-to-end runs of the real game under the suite's X server: real input through
# xdotool, held until the game has drawn frames that saw it, checked through
# screenshots, window geometry, "dat.bin" and the recorded sound.
add_executable(bm_frames ${CMAKE_SOURCE_DIR}/tests/tools/frames.c)
target_link_libraries(bm_frames PRIVATE X11::X11 X11::Xdamage)
bm_add_script_test(NAME e2e_fetch SCRIPT ${CMAKE_SOURCE_DIR}/tests/e2e/fetch.sh LABELS e2e)
bm_add_script_test(NAME e2e_extensible_sound SCRIPT ${CMAKE_SOURCE_DIR}/tests/e2e/extensible_sound.sh LABELS e2e)
