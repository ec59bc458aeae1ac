# Hard stops and damaged data end to end: the record under kill -9 at every system
# call of its write, and the real game with each Data file removed and cut in half
# (normal build only: sanitized frames are too slow for its 42 runs).
bm_add_test(NAME record_kill_test SOURCES record_kill_test.cpp LIBS bm_game bm_engine bm_platform_fake LABELS faults)
bm_add_script_test(NAME fault_matrix SCRIPT ${CMAKE_SOURCE_DIR}/tests/e2e/fault_matrix.sh LABELS "e2e;realtime")
