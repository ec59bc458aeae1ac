# Starting the game and installing it: the options, the data and record lookup
# and the lock's place; then a staged install played from its desktop entry.
bm_add_test(NAME launch_test SOURCES launch_test.cpp LIBS bm_game bm_engine bm_platform_x11 LABELS unit)
# Under a sanitizer the frames are too slow for the fetch's clock (label "realtime").
bm_add_script_test(NAME e2e_install SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/e2e/install.sh LABELS "e2e;realtime")
