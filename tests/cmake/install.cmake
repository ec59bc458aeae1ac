# Starting the game: its options, where its data and record are found and where
# its single-instance lock may live.
bm_add_test(NAME launch_test SOURCES launch_test.cpp LIBS bm_game bm_engine bm_platform_x11 LABELS unit)
