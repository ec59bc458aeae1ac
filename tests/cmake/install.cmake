# Starting the game: its options, and where its data and record are found.
bm_add_test(NAME launch_test SOURCES launch_test.cpp LIBS bm_game bm_engine bm_platform_fake LABELS unit)
